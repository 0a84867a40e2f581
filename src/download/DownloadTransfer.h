#pragma once

#include "download/DownloadQueue.h"
#include "download/SocketWatcher.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ballotine {

// What arrived for the active file since the previous ReadChunk.
enum class ReadOutcome {
    Waiting,    // nothing yet: the address is still opening, the server is slow, or a dropped
                // connection waits to be asked again
    ReadFailed, // the connection had dropped; the rest is asked for again now
    Received,   // bytes arrived
    EndOfData,  // the file is complete and in place at its local path
    FileFailed, // no address opened, the server misbehaved beyond the limits below, or the
                // local file could not be created or written; FailureReason() says which
};

// Fetches one file at a time over HTTP(S) or from a file:// address into its local path, on
// libcurl's multi socket interface: nothing here ever blocks, and data is taken whenever the
// owner reports a ready socket, not only when the owner reads the figures.
//
// The data goes to a temporary file beside the local path, renamed over it only when the
// transfer ends well, so a failed, skipped or cancelled download leaves an earlier file whole
// and no partial one; the temporaries a killed run left are removed when a later run first
// writes into their folder.
//
// What a server may do is bounded: a file may not grow beyond the size its list gives plus a
// margin (SizeLimit); a dropped connection is asked again after a growing pause, at most
// kMaxResumes times and not once no new byte has come for kNoProgressLimitMs; an answer with
// another part of the file than asked for starts the file over; an item whose list came from
// the network may not name a local file.
class DownloadTransfer {
public:
    static constexpr int kMaxResumes = 10;
    static constexpr std::uint64_t kNoProgressLimitMs = 60000;
    // The pause before asking again after a drop: doubled for every drop in a row that brought
    // no new byte, up to the longest.
    static constexpr std::uint64_t kFirstRetryDelayMs = 250;
    static constexpr std::uint64_t kLongestRetryDelayMs = 8000;

    // The most a file whose list gives `declared` bytes may bring; -1 when the list gives none.
    static std::int64_t SizeLimit(std::int64_t declared);

    explicit DownloadTransfer(const Clock& clock);
    ~DownloadTransfer();
    DownloadTransfer(const DownloadTransfer&) = delete;
    DownloadTransfer& operator=(const DownloadTransfer&) = delete;

    // Null: the owner polls Sockets() and TimeoutMs() instead.
    void SetSocketWatcher(SocketWatcher* watcher) { m_watcher = watcher; }
    // Receives texts about what went wrong; nothing of it is shown to the user.
    void SetDiagnostics(std::function<void(const std::string&)> sink) {
        m_diagnostics = std::move(sink);
    }

    bool OpenInternet();
    bool CloseInternet();
    bool IsInternetOpen() const;

    // Begins fetching an item (its address, then its mirror if it has one). `refresh` is called
    // now, with the counters at zero, and again once the address has opened and the file is
    // counted as started. False when no request could be begun at all: the item failed.
    bool StartFile(const DownloadItem& item, std::function<void()> refresh);
    ReadOutcome ReadChunk();
    // Ends the active file; an unfinished one leaves no trace. False when none was active.
    bool CloseFile();

    // The event loop's side: a watched socket is ready / the timeout ran out.
    void SocketReady(int fd, bool readable, bool writable);
    void TimeoutExpired();
    struct WatchedSocket {
        int fd;
        bool read;
        bool write;
    };
    std::vector<WatchedSocket> Sockets() const;
    // Milliseconds until TimeoutExpired is due; -1 when nothing is due.
    long TimeoutMs() const;

    // A file is being fetched (opening, receiving, or ended and not yet closed).
    bool IsActive() const { return m_phase != Phase::Idle; }
    // A request for the active file has begun and no byte of it has arrived yet.
    bool IsOpening() const { return m_phase == Phase::Opening; }
    // The active file's data is complete and in place (not yet closed).
    bool IsComplete() const { return m_phase == Phase::Done; }
    const std::string& CurrentName() const { return m_currentName; }
    const std::string& CurrentUrl() const { return m_currentUrl; }
    const std::string& CurrentPath() const { return m_currentPath; }
    // Why the active file failed, in words for the user; empty while it has not.
    const std::string& FailureReason() const { return m_failure; }
    std::int64_t FileSize() const { return m_fileSize; }
    std::int64_t FileReceived() const { return m_fileReceived; }
    std::int64_t TotalReceived() const { return m_totalReceived; }
    std::int32_t FilesStarted() const { return m_filesStarted; }
    std::uint64_t FileStartTick() const { return m_fileStartTick; }
    // A new run: totalReceived and filesStarted start again from zero.
    void ResetCounters();

private:
    struct Curl;
    enum class Phase { Idle, Opening, Receiving, Dropped, Done, Failed };
    enum class Abort { None, ErrorStatus, CannotCreate, CannotWrite, TooLarge, WrongPart };

    static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);
    static int OnSocket(void* easy, int fd, int what, void* self, void* socketData);
    static int OnTimer(void* multi, long ms, void* self);

    std::size_t TakeData(const char* data, std::size_t size);
    bool BeginRequest(const std::string& url, std::int64_t from);
    void EndRequest();
    bool OpenLocalFile();
    bool CheckResponse();
    std::int64_t AnsweredFrom() const;
    bool StartOver();
    void AfterAction();
    void Finished(int result);
    void TryMirror(const std::string& error);
    void Fail(const std::string& reason);
    void RetryLater(bool startOver, const std::string& error);
    void Resume();
    void RemoveAbandonedTemporaries();
    long ResponseCode() const;
    void Diagnose(const std::string& text) const;

    const Clock& m_clock;
    std::unique_ptr<Curl> m_curl;
    SocketWatcher* m_watcher = nullptr;
    std::function<void(const std::string&)> m_diagnostics;
    std::map<int, WatchedSocket> m_sockets;

    Phase m_phase = Phase::Idle;
    Abort m_abort = Abort::None;
    std::string m_currentName;
    std::string m_currentUrl;
    std::string m_currentPath;
    std::optional<std::string> m_mirrorUrl;
    AddressOrigin m_origin = AddressOrigin::RemoteList;
    std::string m_failure;
    bool m_triedMirror = false;
    std::int64_t m_requestFrom = 0; // where the request's answer must begin
    bool m_responseChecked = false; // the answer's status and range were looked at
    bool m_startOverNext = false;   // the server refused the range or sent another: ask for all
    std::optional<AtomicFile> m_file;
    std::set<std::string> m_cleanedFolders; // where this run removed abandoned temporaries
    std::function<void()> m_refresh;
    bool m_refreshDue = false;

    std::int64_t m_fileSize = -1;
    std::int64_t m_sizeLimit = -1;
    std::int64_t m_fileReceived = 0;
    std::int64_t m_mostReceived = 0; // of the file, over every attempt
    std::int64_t m_mostAtLastDrop = 0;
    int m_resumes = 0;
    int m_fruitlessDrops = 0; // in a row, each without a new byte
    std::uint64_t m_lastNewByteTick = 0;
    std::uint64_t m_retryAtTick = 0;
    std::int64_t m_totalReceived = 0;
    std::int64_t m_arrived = 0;       // since the last ReadChunk
    std::int64_t m_takenThisTurn = 0; // since the owner last reported a socket or timeout
    bool m_paused = false;
    std::int32_t m_filesStarted = 0;
    std::uint64_t m_fileStartTick = 0;
};

} // namespace ballotine
