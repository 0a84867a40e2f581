// BM_Download200MB_*: one 200 MB file from a loopback server, through the progress window
// (ours) and with `curl -o` (reference). The window's run also reports the largest gap between
// its 100 ms ticks. BM_Download200MBCli_*: the command line's loop against `curl -o`.
// BM_CancelStalled_*: from "Cancel All" (ours) or SIGINT (curl) against a server that stalls
// mid-file, to the download being over.
#include "BenchSupport.h"
#include "DownloadBenchSupport.h"
#include "app/DownloadDlg.h"
#include "download/HeadlessDownload.h"
#include "platform/Clock.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

namespace {

using namespace ballotine;
using namespace ballotine::bench;
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

constexpr std::size_t kFileSize = kBigFileSize;

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
