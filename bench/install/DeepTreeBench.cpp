// BM_PlaceDeep800_*, BM_PlaceDeep1500_*: an unpacked package whose one folder nests 800 (1,500)
// levels deep, a small file on every level, placed into the mod and its extraction folder
// deleted (ours) against `cp -r` plus `rm -r` of the same tree. Each level costs the same, so
// the time should grow with the depth, not with its square.
#include "BenchSupport.h"
#include "install/Extraction.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/Placement.h"

#include <map>

namespace {

namespace fs = std::filesystem;
using namespace ballotine;

// A game folder with the tfc mod and an extraction folder holding a tree `depth` levels deep.
class DeepGame {
public:
    static const DeepGame& Shared(int depth) {
        static std::map<int, std::unique_ptr<DeepGame>> games;
        auto& game = games[depth];
        if (!game) {
            game.reset(new DeepGame(depth));
        }
        return *game;
    }
    std::string Unpacked() const { return paths.modWorkDir + "mapzips/deep"; }
    std::string Copy() const { return paths.modWorkDir + "mapzips/copy"; }
    // The unpacked tree back in its place, and the placed one taken away.
    bool Reset() const {
        std::error_code error;
        fs::remove_all(paths.modDir + "d", error);
        fs::remove_all(Copy(), error);
        fs::copy(root / "source", Unpacked(), fs::copy_options::recursive, error);
        return !error;
    }

    bench::ScratchDir root;
    WorkingPaths paths = bench::TfcPaths(root / "Half-Life");
    bool ok = true;

private:
    explicit DeepGame(int depth) {
        fs::path level = root / "source";
        for (int i = 0; ok && i < depth; ++i) {
            level /= "d";
            ok = bench::WriteBytes(level / "f.txt", "level " + std::to_string(i) + "\n");
        }
    }
};

void MeasurePlacement(benchmark::State& state, int depth) {
    const DeepGame& game = DeepGame::Shared(depth);
    InstallMappings mappings; // no mappings: the folder goes into the mod
    for (auto _ : state) {
        state.PauseTiming();
        const bool reset = game.ok && game.Reset();
        state.ResumeTiming();
        InstallLog log;
        const bool placed = reset && PlaceContents(game.Unpacked(), mappings, game.paths, log);
        DeleteTree(game.Unpacked(), log);
        if (!placed || fs::exists(game.Unpacked())) {
            state.SkipWithError("the placement failed");
            return;
        }
    }
}

void MeasureReference(benchmark::State& state, int depth) {
    const DeepGame& game = DeepGame::Shared(depth);
    SpawnToolRunner runner;
    for (auto _ : state) {
        state.PauseTiming();
        const bool reset = game.ok && game.Reset();
        state.ResumeTiming();
        const ToolRun run =
            reset ? runner.RunTool("/bin/sh", {"-c", "cp -r deep/d copy && rm -r deep"},
                                   game.paths.modWorkDir + "mapzips")
                  : ToolRun{};
        if (!run.Succeeded()) {
            state.SkipWithError(("failed: " + run.FailureReason()).c_str());
            return;
        }
    }
}

void BM_PlaceDeep800_Ours(benchmark::State& state) {
    MeasurePlacement(state, 800);
}
void BM_PlaceDeep800_Reference(benchmark::State& state) {
    MeasureReference(state, 800);
}
void BM_PlaceDeep1500_Ours(benchmark::State& state) {
    MeasurePlacement(state, 1500);
}
void BM_PlaceDeep1500_Reference(benchmark::State& state) {
    MeasureReference(state, 1500);
}

BENCHMARK(BM_PlaceDeep800_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PlaceDeep800_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PlaceDeep1500_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PlaceDeep1500_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
