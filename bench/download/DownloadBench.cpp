// BM_Download200MB_*: one 200 MB file from a loopback server, through the progress window
// (ours) and with `curl -o` (reference). The window's run also reports the largest gap between
// its 100 ms ticks. BM_Download200MBCli_*: the command line's loop against `curl -o`.
// BM_CancelStalled_*: from "Cancel All" (ours) or SIGINT (curl) against a server that stalls
// mid-file, to the download being over.
#include "BenchSupport.h"
#include "app/DownloadDlg.h"
#include "download/HeadlessDownload.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <httplib.h>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace ballotine;
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

constexpr std::size_t kFileSize = 200u << 20;
constexpr std::size_t kStallAfter = 64u << 10;

double MillisecondsSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

// Serves /big (200 MB) and /stall (stops after 64 KB until released) on 127.0.0.1.
class BenchServer {
public:
    BenchServer() : m_block(1u << 20, '\0') {
        for (std::size_t index = 0; index < m_block.size(); ++index) {
            m_block[index] = static_cast<char>(index * 131);
        }
        for (const bool stalls : {false, true}) {
            m_server.Get(stalls ? "/stall" : "/big", [this, stalls](const httplib::Request&,
                                                                    httplib::Response& response) {
                response.set_content_provider(kFileSize, "application/octet-stream",
                                              [this, stalls](std::size_t offset, std::size_t length,
                                                             httplib::DataSink& sink) {
                                                  return Provide(stalls, offset, length, sink);
                                              });
            });
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

    std::string Url(const char* path) const {
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

fs::path Scratch(const char* name) {
    return fs::temp_directory_path() / (std::string("ballotine-bench-") + name);
}

void QueueOne(DownloadQueue& queue, const std::string& url, const fs::path& target) {
    DownloadItem item;
    item.name = "Download";
    item.url = url;
    item.localPath = target.string();
    item.size = static_cast<std::int64_t>(kFileSize);
    item.status = DownloadStatus::Pending;
    queue.push_back(std::move(item));
}

// The window's own 100 ms timer, to time its ticks.
QTimer* TickTimer(CDownloadDlg& dialog) {
    for (QTimer* timer : dialog.findChildren<QTimer*>()) {
        if (timer->interval() == DownloadProgress::kTickMs && !timer->isSingleShot()) {
            return timer;
        }
    }
    return nullptr;
}

int RunProgram(const std::vector<std::string>& arguments, pid_t* started = nullptr) {
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

// Fetches /big once per run with `fetch(url, target)`; a file that did not arrive whole fails.
template <typename Fetch>
void DownloadEach(benchmark::State& state, const char* name, Fetch fetch) {
    BenchServer server;
    const fs::path target = Scratch(name);
    for (auto _ : state) {
        fetch(server.Url("/big"), target);
        state.PauseTiming();
        std::error_code error;
        if (fs::file_size(target, error) != kFileSize) {
            state.SkipWithError("the file did not arrive whole");
        }
        fs::remove(target, error);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_Download200MB_Ours(benchmark::State& state) {
    SteadyClock clock;
    DownloadTransfer transfer(clock);
    double maxGap = 0;
    DownloadEach(state, "ours.bin", [&](const std::string& url, const fs::path& target) {
        DownloadQueue queue;
        QueueOne(queue, url, target);
        CDownloadDlg dialog(queue, true, transfer, clock);
        Steady::time_point lastTick = Steady::now();
        QObject::connect(TickTimer(dialog), &QTimer::timeout, [&] {
            maxGap = std::max(maxGap, MillisecondsSince(lastTick));
            lastTick = Steady::now();
        });
        dialog.exec();
    });
    state.counters["MaxTickGapMs"] = maxGap;
}

void BM_Download200MB_Reference(benchmark::State& state) {
    DownloadEach(state, "curl.bin", [&](const std::string& url, const fs::path& target) {
        if (RunProgram({"curl", "-s", "-o", target.string(), url}) != 0) {
            state.SkipWithError("curl failed");
        }
    });
}

void BM_Download200MBCli_Ours(benchmark::State& state) {
    SteadyClock clock;
    DownloadTransfer transfer(clock);
    DownloadEach(state, "cli.bin", [&](const std::string& url, const fs::path& target) {
        DownloadQueue queue;
        QueueOne(queue, url, target);
        RunDownloadQueue(queue, transfer, clock, nullptr);
    });
}

void BM_CancelStalled_Ours(benchmark::State& state) {
    BenchServer server;
    SteadyClock clock;
    DownloadTransfer transfer(clock);
    const fs::path target = Scratch("stall.bin");
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        server.Release(false);
        DownloadQueue queue;
        QueueOne(queue, server.Url("/stall"), target);
        CDownloadDlg dialog(queue, true, transfer, clock);
        Steady::time_point clicked;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (transfer.FileReceived() >= static_cast<std::int64_t>(kStallAfter)) {
                poll.stop();
                // wait past a tick, so the click lands while the window is idle on a stall
                QTimer::singleShot(150, &dialog, [&] {
                    clicked = Steady::now();
                    dialog.findChild<QPushButton*>("cancelButton")->click();
                });
            }
        });
        poll.start(5);
        dialog.exec();
        const double latency = MillisecondsSince(clicked);
        worst = std::max(worst, latency);
        state.SetIterationTime(latency / 1000.0);
        server.Release(true);
        state.ResumeTiming();
    }
    state.counters["WorstCancelMs"] = worst;
}

void BM_CancelStalled_Reference(benchmark::State& state) {
    BenchServer server;
    const fs::path target = Scratch("stall-curl.bin");
    for (auto _ : state) {
        server.Release(false);
        pid_t pid = 0;
        std::error_code error;
        fs::remove(target, error);
        RunProgram({"curl", "-s", "-o", target.string(), server.Url("/stall")}, &pid);
        while (fs::file_size(target, error) < kStallAfter || error) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        const Steady::time_point signalled = Steady::now();
        ::kill(pid, SIGINT);
        int status = 0;
        ::waitpid(pid, &status, 0);
        state.SetIterationTime(MillisecondsSince(signalled) / 1000.0);
        server.Release(true);
        fs::remove(target, error);
    }
}

// Each figure from a few runs: a run moves 200 MB, or waits on a stall.
BENCHMARK(BM_Download200MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Download200MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Download200MBCli_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Download200MB_Reference)
    ->Name("BM_Download200MBCli_Reference")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_CancelStalled_Ours)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_CancelStalled_Reference)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

} // namespace

BALLOTINE_BENCHMARK_QT_MAIN()
