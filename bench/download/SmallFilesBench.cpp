// BM_Download200Small_*: 200 packages of 10 KB from a loopback server through the progress
// window (ours) and one `curl` process fetching the same 200 addresses (reference).
// BM_Download200SmallCli_*: the same through the command line's loop.
// BM_UpdatesLists_*: `ballotine-cli updates` on the demo installation served over loopback HTTP
// (the two small lists fetched, the catalogue printed); `curl` fetching the two lists.
#include "BenchSupport.h"
#include "DownloadBenchSupport.h"
#include "app/DownloadDlg.h"
#include "demo/DemoInstallation.h"
#include "download/HeadlessDownload.h"
#include "platform/Clock.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace ballotine;
using namespace ballotine::bench;
namespace fs = std::filesystem;

constexpr int kSmallFiles = 200;

std::vector<std::string> SmallUrls(const BenchServer& server) {
    std::vector<std::string> urls;
    for (int index = 0; index < kSmallFiles; ++index) {
        urls.push_back(server.Url("/small/" + std::to_string(index)));
    }
    return urls;
}

// Where the packages are written: in memory when the system has a tmpfs for it. Creating a file
// on this machine's disk costs half a millisecond, and between two folders of the same disk
// (ours and curl's) by up to twice as much: that would measure the disk, not the downloads.
fs::path PackageFolderBase() {
    std::error_code error;
    return fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// Every package arrives new, as in a fresh download: the folder is emptied between runs.
void EmptyFolder(const fs::path& folder) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        fs::remove(entry.path(), error);
    }
}

DownloadQueue SmallQueue(const std::vector<std::string>& urls, const ScratchDir& folder) {
    DownloadQueue queue;
    for (std::size_t index = 0; index < urls.size(); ++index) {
        DownloadItem item;
        item.name = "Package " + std::to_string(index);
        item.url = urls[index];
        item.localPath = (folder / ("p" + std::to_string(index) + ".zip")).string();
        item.size = static_cast<std::int64_t>(kSmallFileSize);
        item.status = DownloadStatus::Pending;
        queue.push_back(std::move(item));
    }
    return queue;
}

// Runs `fetch(queue)` once per iteration on a fresh queue; every file must have arrived.
template <typename Fetch>
void DownloadSmallEach(benchmark::State& state, Fetch fetch) {
    const BenchServer server;
    const std::vector<std::string> urls = SmallUrls(server);
    const ScratchDir folder(PackageFolderBase());
    for (auto _ : state) {
        state.PauseTiming();
        EmptyFolder(folder / "");
        DownloadQueue queue = SmallQueue(urls, folder);
        state.ResumeTiming();
        fetch(queue);
        for (const DownloadItem& item : queue) {
            if (item.status != DownloadStatus::Downloaded) {
                state.SkipWithError("a package did not arrive");
                return;
            }
        }
    }
}

void BM_Download200Small_Ours(benchmark::State& state) {
    SteadyClock clock;
    DownloadTransfer transfer(clock);
    DownloadSmallEach(state, [&](DownloadQueue& queue) {
        CDownloadDlg dialog(queue, true, transfer, clock);
        dialog.exec();
    });
}

void BM_Download200SmallCli_Ours(benchmark::State& state) {
    SteadyClock clock;
    DownloadTransfer transfer(clock);
    DownloadSmallEach(
        state, [&](DownloadQueue& queue) { RunDownloadQueue(queue, transfer, clock, nullptr); });
}

void BM_Download200Small_Reference(benchmark::State& state) {
    const BenchServer server;
    const ScratchDir folder(PackageFolderBase());
    std::vector<std::string> arguments{"curl", "-sf"};
    const std::vector<std::string> urls = SmallUrls(server);
    for (std::size_t index = 0; index < urls.size(); ++index) {
        arguments.insert(
            arguments.end(),
            {"-o", (folder / ("p" + std::to_string(index) + ".zip")).string(), urls[index]});
    }
    for (auto _ : state) {
        state.PauseTiming();
        EmptyFolder(folder / "");
        state.ResumeTiming();
        if (RunProgram(arguments) != 0) {
            state.SkipWithError("curl failed");
        }
    }
}

void ReplaceInFile(const fs::path& file, const std::string& from, const std::string& to) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string content = text.str();
    for (std::size_t at = content.find(from); at != std::string::npos;
         at = content.find(from, at + to.size())) {
        content.replace(at, from.size(), to);
    }
    WriteBytes(file, content);
}

bool WriteDemo(const demo::DemoLayout& layout) {
    std::string error;
    return demo::WriteDemoInstallation(layout, error);
}

// The demo installation whose update server is reached over loopback HTTP: the lists and the
// mod list in mods.cfg name the server's http:// addresses instead of file:// ones.
struct DemoOverHttp {
    DemoOverHttp() {
        const std::string local = layout.ServerUrl();
        const std::string remote = server.Url("");
        for (const fs::path& file :
             {layout.serverDir / "tfc/database.conf", layout.serverDir / "modsupdate.cfg",
              layout.gameDir / "Ballotine/mods.cfg"}) {
            ReplaceInFile(file, local, remote);
        }
    }
    std::vector<std::string> Updates() const {
        return {"--registry", layout.registryFile.string(), "updates"};
    }

    ScratchDir root;
    const demo::DemoLayout layout{root / "demo", BALLOTINE_BIN_DIR};
    const bool ok = WriteDemo(layout); // before the server, which serves the folder it writes
    const BenchServer server{layout.serverDir};
};

void BM_UpdatesLists_Ours(benchmark::State& state) {
    const DemoOverHttp demo;
    // the first run also fetches and installs the vote data the demo lacks
    SpawnToolRunner runner({BALLOTINE_BIN_DIR});
    const ToolRun first = runner.RunTool("ballotine-cli", demo.Updates(), {});
    if (!demo.ok || !first.Succeeded()) {
        state.SkipWithError(("the demo's update check fails: " + first.FailureReason()).c_str());
        return;
    }
    RunEachIteration(state, "ballotine-cli", demo.Updates());
}

void BM_UpdatesLists_Reference(benchmark::State& state) {
    const DemoOverHttp demo;
    for (auto _ : state) {
        if (RunProgram({"curl", "-sf", "-o", "/dev/null", demo.server.Url("/tfc/database.conf"),
                        "-o", "/dev/null", demo.server.Url("/modsupdate.cfg")}) != 0) {
            state.SkipWithError("curl failed");
        }
    }
}

BENCHMARK(BM_Download200Small_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_Download200Small_Reference)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);
BENCHMARK(BM_Download200SmallCli_Ours)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);
BENCHMARK(BM_Download200Small_Reference)
    ->Name("BM_Download200SmallCli_Reference")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);
BENCHMARK(BM_UpdatesLists_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_UpdatesLists_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
