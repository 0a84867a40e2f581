#pragma once

#include "download/DownloadTransfer.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <httplib.h>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace ballotine::test {

// An HTTP server on 127.0.0.1 for download tests, running on its own thread from construction
// to destruction. Every route records the Range header of each request it answers.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();

    std::string Url(std::string_view path) const;

    // The content, with byte ranges honoured.
    void Serve(const std::string& path, std::string content);
    // The files below `folder` under `mount` ("/srv"), read at each request as a static web
    // server does.
    void ServeFolder(const std::string& mount, const std::string& folder);
    // An error status with a page of text.
    void ServeStatus(const std::string& path, int status);
    // The first request's connection drops after `dropAfter` bytes; later ones are answered
    // normally, ranges honoured or, with `honourRanges` false, always the whole file.
    void ServeDroppingOnce(const std::string& path, std::string content, std::size_t dropAfter,
                           bool honourRanges);
    // Answers each request only after Release() (or ten seconds), then with the content.
    void ServeHeld(const std::string& path, std::string content);
    // Every answer claims the file is `declared` bytes long (ranges honoured), sends at most
    // `perConnection` bytes of `content` from where it was asked, and closes the connection.
    void ServeBreakingOff(const std::string& path, std::string content, std::size_t declared,
                          std::size_t perConnection);
    // The first request's connection drops after `dropAfter` bytes; a request for the rest is
    // answered with the whole file as a part beginning at 0; one for everything, with it.
    void ServeWrongPart(const std::string& path, std::string content, std::size_t dropAfter);
    // Sends `stallAfter` bytes, then nothing until Release() (or ten seconds).
    void ServeStalling(const std::string& path, std::string content, std::size_t stallAfter);
    void Release();

    // The Range header of each request to `path` so far ("" for none), in order.
    std::vector<std::string> Requests(const std::string& path) const;

private:
    void Record(const httplib::Request& request);
    bool WaitForRelease();

    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_isReleased = false;
    std::map<std::string, std::vector<std::string>> m_requests;
};

// Lets a transfer without a socket watcher work until `done` holds; false when it does not
// within `limitMs`.
bool PumpUntil(DownloadTransfer& transfer, const std::function<bool()>& done, int limitMs = 5000);

} // namespace ballotine::test
