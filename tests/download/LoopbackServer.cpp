#include "download/LoopbackServer.h"

#include "download/HeadlessDownload.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine::test {

namespace {

// The whole content, chunked: the server applies no range of its own to it.
void SendWhole(httplib::Response& response, const std::shared_ptr<const std::string>& content) {
    response.set_chunked_content_provider("application/octet-stream",
                                          [content](std::size_t offset, httplib::DataSink& sink) {
                                              if (offset == 0) {
                                                  sink.write(content->data(), content->size());
                                              } else {
                                                  sink.done();
                                              }
                                              return true;
                                          });
}

} // namespace

LoopbackServer::LoopbackServer() {
    m_port = m_server.bind_to_any_port("127.0.0.1");
    EXPECT_GT(m_port, 0) << "cannot bind a loopback port";
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LoopbackServer::~LoopbackServer() {
    Release();
    m_server.stop();
    m_thread.join();
}

std::string LoopbackServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

void LoopbackServer::Record(const httplib::Request& request) {
    const std::lock_guard lock(m_mutex);
    m_requests[request.path].push_back(request.get_header_value("Range"));
}

std::vector<std::string> LoopbackServer::Requests(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    const auto found = m_requests.find(path);
    return found == m_requests.end() ? std::vector<std::string>{} : found->second;
}

void LoopbackServer::Release() {
    const std::lock_guard lock(m_mutex);
    m_isReleased = true;
    m_released.notify_all();
}

bool LoopbackServer::WaitForRelease() {
    std::unique_lock lock(m_mutex);
    return m_released.wait_for(lock, std::chrono::seconds(10), [this] { return m_isReleased; });
}

void LoopbackServer::Serve(const std::string& path, std::string content) {
    m_server.Get(path,
                 [this, content](const httplib::Request& request, httplib::Response& response) {
                     Record(request);
                     response.set_content(content, "application/octet-stream");
                 });
}

void LoopbackServer::ServeFolder(const std::string& mount, const std::string& folder) {
    m_server.set_mount_point(mount, folder);
    m_server.set_file_request_handler([this](const httplib::Request& request,
                                             httplib::Response& /*response*/) { Record(request); });
}

void LoopbackServer::ServeStatus(const std::string& path, int status) {
    m_server.Get(
        path, [this, status](const httplib::Request& request, httplib::Response& response) {
            Record(request);
            response.status = status;
            response.set_content("<html><body>Error " + std::to_string(status) + "</body></html>",
                                 "text/html");
        });
}

void LoopbackServer::ServeDroppingOnce(const std::string& path, std::string content,
                                       std::size_t dropAfter, bool honourRanges) {
    auto shared = std::make_shared<const std::string>(std::move(content));
    auto dropped = std::make_shared<std::atomic<bool>>(false);
    m_server.Get(path, [this, shared, dropped, dropAfter, honourRanges](
                           const httplib::Request& request, httplib::Response& response) {
        Record(request);
        const bool drop = !dropped->exchange(true);
        if (drop || honourRanges) {
            response.set_content_provider(shared->size(), "application/octet-stream",
                                          [shared, drop, dropAfter](std::size_t offset,
                                                                    std::size_t length,
                                                                    httplib::DataSink& sink) {
                                              if (drop) {
                                                  sink.write(shared->data(), dropAfter);
                                                  return false; // the connection closes mid-file
                                              }
                                              return sink.write(shared->data() + offset, length);
                                          });
            return;
        }
        // a server that knows no ranges: the whole file, whatever was asked
        response.status = 200;
        SendWhole(response, shared);
    });
}

void LoopbackServer::ServeBreakingOff(const std::string& path, std::string content,
                                      std::size_t declared, std::size_t perConnection) {
    auto shared = std::make_shared<const std::string>(std::move(content));
    m_server.Get(path, [this, shared, declared, perConnection](const httplib::Request& request,
                                                               httplib::Response& response) {
        Record(request);
        response.set_content_provider(
            declared, "application/octet-stream",
            [shared, perConnection](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (offset < shared->size()) {
                    sink.write(shared->data() + offset,
                               std::min(perConnection, shared->size() - offset));
                }
                return false; // the connection closes
            });
    });
}

void LoopbackServer::ServeHeld(const std::string& path, std::string content) {
    m_server.Get(path,
                 [this, content](const httplib::Request& request, httplib::Response& response) {
                     Record(request);
                     WaitForRelease();
                     response.set_content(content, "application/octet-stream");
                 });
}

void LoopbackServer::ServeWrongPart(const std::string& path, std::string content,
                                    std::size_t dropAfter) {
    auto shared = std::make_shared<const std::string>(std::move(content));
    auto dropped = std::make_shared<std::atomic<bool>>(false);
    m_server.Get(path, [this, shared, dropped, dropAfter](const httplib::Request& request,
                                                          httplib::Response& response) {
        Record(request);
        if (!dropped->exchange(true)) {
            response.set_content_provider(
                shared->size(), "application/octet-stream",
                [shared, dropAfter](std::size_t, std::size_t, httplib::DataSink& sink) {
                    sink.write(shared->data(), dropAfter);
                    return false;
                });
            return;
        }
        if (request.has_header("Range")) {
            // a part that begins at 0, whatever was asked
            response.status = 206;
            response.set_header("Content-Range", "bytes 0-" + std::to_string(shared->size() - 1) +
                                                     "/" + std::to_string(shared->size()));
        }
        SendWhole(response, shared);
    });
}

void LoopbackServer::ServeStalling(const std::string& path, std::string content,
                                   std::size_t stallAfter) {
    auto shared = std::make_shared<const std::string>(std::move(content));
    m_server.Get(path, [this, shared, stallAfter](const httplib::Request& request,
                                                  httplib::Response& response) {
        Record(request);
        response.set_content_provider(
            shared->size(), "application/octet-stream",
            [this, shared, stallAfter](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (offset < stallAfter) {
                    return sink.write(shared->data() + offset, stallAfter - offset);
                }
                WaitForRelease();
                return false;
            });
    });
}

bool PumpUntil(DownloadTransfer& transfer, const std::function<bool()>& done, int limitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        PumpTransfer(transfer, 10);
    }
    return true;
}

} // namespace ballotine::test
