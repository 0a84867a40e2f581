// BM_Install100MB_*: a 100 MB map package unpacked, placed and cleaned up (ours) against
// `unzip` plus `cp -r`. BM_Extract100MB_*: pkzip25 unpacking the same package against `unzip`.
#include "BenchSupport.h"
#include "GeneratedGame.h"
#include "install/Extraction.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/Placement.h"

namespace {

namespace fs = std::filesystem;
using namespace ballotine;
using bench::GeneratedGame;
using bench::kFiles;
using bench::kFileSize;

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
