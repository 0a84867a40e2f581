#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <httplib.h>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ballotine::bench {

inline constexpr std::size_t kBigFileSize = 200u << 20;
inline constexpr std::size_t kStallAfter = 64u << 10;
inline constexpr std::size_t kSmallFileSize = 10u << 10;

// Serves on 127.0.0.1: /big (200 MB), /stall (stops after 64 KB until released), /small/N
// (10 KB each) and, when given a folder, the files below it.
class BenchServer {
public:
    explicit BenchServer(const std::filesystem::path& folder = {}) : m_block(1u << 20, '\0') {
        for (std::size_t index = 0; index < m_block.size(); ++index) {
            m_block[index] = static_cast<char>(index * 131);
        }
        for (const bool stalls : {false, true}) {
            m_server.Get(stalls ? "/stall" : "/big", [this, stalls](const httplib::Request&,
                                                                    httplib::Response& response) {
                response.set_content_provider(kBigFileSize, "application/octet-stream",
                                              [this, stalls](std::size_t offset, std::size_t length,
                                                             httplib::DataSink& sink) {
                                                  return Provide(stalls, offset, length, sink);
                                              });
            });
        }
        m_server.Get(R"(/small/\d+)", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content(m_block.data(), kSmallFileSize, "application/octet-stream");
        });
        // answers go out at once, not held back until the client acknowledges their headers
        m_server.set_tcp_nodelay(true);
        if (!folder.empty()) {
            m_server.set_mount_point("/", folder.string());
        }
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~BenchServer() {
        Release(true);
        m_server.stop();
        m_thread.join();
    }
    BenchServer(const BenchServer&) = delete;
    BenchServer& operator=(const BenchServer&) = delete;

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    // Lets a stalled answer end (true) or makes the next one stall again (false).
    void Release(bool released) {
        const std::lock_guard lock(m_mutex);
        m_released = released;
        m_releasedSignal.notify_all();
    }

private:
    bool Provide(bool stalls, std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (stalls && offset >= kStallAfter) {
            std::unique_lock lock(m_mutex);
            m_releasedSignal.wait_for(lock, std::chrono::seconds(30),
                                      [this] { return m_released; });
            return false;
        }
        const std::size_t start = offset % m_block.size();
        const std::size_t limit = stalls ? kStallAfter - offset : length;
        return sink.write(m_block.data() + start, std::min({length, limit, m_block.size() - start,
                                                            std::size_t{256} << 10}));
    }

    std::string m_block;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_releasedSignal;
    bool m_released = false;
};

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Runs a program found on the PATH and waits for it: its exit status, -1 when it could not be
// started or did not exit. With `started`, returns at once with its process id there.
inline int RunProgram(const std::vector<std::string>& arguments, pid_t* started = nullptr) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    if (started != nullptr) {
        *started = pid;
        return 0;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace ballotine::bench
