// BM_Install100MB_*: a 100 MB map package unpacked, placed and cleaned up (ours) against
// `unzip` plus `cp -r`. BM_Extract100MB_*: pkzip25 unpacking the same package against `unzip`.
#include "BenchSupport.h"
#include "install/Extraction.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/Placement.h"

#include <cstring>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace ballotine;

constexpr int kFiles = 2000;
constexpr std::size_t kFileSize = 50 * 1024; // 100 MB in all

// A game folder with the tfc mod and, in its mapzips folder, a map package of 2,000 files: a
// map at the top, the rest in 20 sound folders; half of each file random, half repeated, so it
// packs as map data roughly does and inflating does real work.
class GeneratedGame {
public:
    static const GeneratedGame& Shared() {
        static const GeneratedGame game;
        return game;
    }
    std::string Package() const { return paths.modWorkDir + "mapzips/bigmap.zip"; }
    std::string ExtractionFolder() const { return paths.modWorkDir + "mapzips/bigmap"; }
    // Takes away what a run placed or unpacked, so every run starts from the same game.
    void RemovePlaced() const {
        for (const fs::path& placed :
             {fs::path(paths.modDir + "sound"), fs::path(paths.mapsDir + "bigmap.bsp"),
              root / "scratch", fs::path(ExtractionFolder())}) {
            std::error_code error;
            fs::remove_all(placed, error);
        }
    }

    bench::ScratchDir root;
    WorkingPaths paths = bench::TfcPaths(root / "Half-Life");
    bool ok = true;

private:
    GeneratedGame() {
        std::mt19937_64 random(7);
        std::string content(kFileSize, 'm');
        for (int index = 0; ok && index < kFiles; ++index) {
            for (std::size_t at = 0; at + 8 <= kFileSize / 2; at += 8) {
                const std::uint64_t bits = random();
                std::memcpy(content.data() + at, &bits, sizeof bits);
            }
            ok = bench::WriteBytes(index == 0 ? root / "source/bigmap.bsp"
                                              : root / "source/sound" /
                                                    ("set" + std::to_string(index / 100)) /
                                                    ("s" + std::to_string(index) + ".wav"),
                                   content);
        }
        ok = ok &&
             bench::WriteBytes(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n") &&
             SpawnToolRunner()
                 .RunTool("zip", {"-q", "-r", "-1", Package(), "."}, root / "source")
                 .Succeeded();
    }
};

// Extract with pkzip25, place by the mappings, delete the extraction folder, with a log.
void BM_Install100MB_Ours(benchmark::State& state) {
    const GeneratedGame& game = GeneratedGame::Shared();
    SpawnToolRunner runner({BALLOTINE_BIN_DIR});
    const ExtractionSetup setup{game.paths, "tfc", runner};
    InstallMappings mappings;
    LoadMappings(mappings, game.paths);
    for (auto _ : state) {
        InstallLog log;
        log.Open((game.root / "update.log").string());
        const bool installed = game.ok && ExtractPackage(game.Package(), "bigmap", setup, log) &&
                               PlaceContents(game.ExtractionFolder(), mappings, game.paths, log);
        DeleteTree(game.ExtractionFolder(), log);
        log.Close();
        if (!installed || fs::exists(game.ExtractionFolder())) {
            state.SkipWithError("the installation failed");
            return;
        }
        state.PauseTiming();
        game.RemovePlaced();
        state.ResumeTiming();
    }
}

// Unpacks with `program` (run in the package's folder), taking away what it made after each run.
void MeasureTool(benchmark::State& state, const std::string& program,
                 const std::vector<std::string>& arguments) {
    const GeneratedGame& game = GeneratedGame::Shared();
    SpawnToolRunner runner({BALLOTINE_BIN_DIR});
    for (auto _ : state) {
        const ToolRun run =
            game.ok ? runner.RunTool(program, arguments, game.paths.modWorkDir + "mapzips")
                    : ToolRun{};
        if (!run.Succeeded()) {
            state.SkipWithError(("failed: " + program + ": " + run.FailureReason()).c_str());
            return;
        }
        state.PauseTiming();
        game.RemovePlaced();
        state.ResumeTiming();
    }
}

void BM_Install100MB_Reference(benchmark::State& state) {
    const GeneratedGame& game = GeneratedGame::Shared();
    const std::string scratch = (game.root / "scratch").string();
    MeasureTool(state, "/bin/sh",
                {"-c", "unzip -o -q bigmap.zip -d '" + scratch + "' && cp -r '" + scratch +
                           "/.' '" + game.paths.modDir + "'"});
}

void BM_Extract100MB_Ours(benchmark::State& state) {
    MeasureTool(state, "pkzip25",
                {"-extract", "-nofix", "-direct", "-over=all", "bigmap.zip", "bigmap/"});
    state.SetBytesProcessed(state.iterations() * kFiles * static_cast<std::int64_t>(kFileSize));
}

void BM_Extract100MB_Reference(benchmark::State& state) {
    MeasureTool(state, "unzip", {"-o", "-q", "bigmap.zip", "-d", "bigmap/"});
    state.SetBytesProcessed(state.iterations() * kFiles * static_cast<std::int64_t>(kFileSize));
}

BENCHMARK(BM_Install100MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Install100MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Extract100MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Extract100MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
