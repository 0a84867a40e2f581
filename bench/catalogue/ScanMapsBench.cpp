#include "LargeMod.h"
#include "catalogue/Session.h"
#include "models/MainWindowModel.h"

namespace ballotine::bench {
namespace {

// Start-up's part of the catalogue: both lists filled from the three folders.
void BM_ScanMaps_Ours(benchmark::State& state) {
    Session session;
    session.paths.installDir = LargeMod::Shared().GameDir().string();
    ComputeWorkDir(session.paths);
    ComputeModPaths(session.paths, "tfc");
    MainWindowModel model(session);
    for (auto _ : state) {
        model.ScanAvailableMaps();
        model.LoadCurrentVoteMap();
        benchmark::DoNotOptimize(model.AvailableMaps().Count());
    }
    state.counters["available"] = static_cast<double>(model.AvailableMaps().Count());
    state.counters["chosen"] = static_cast<double>(model.ChosenMaps().Count());
}
BENCHMARK(BM_ScanMaps_Ours)->Unit(benchmark::kMillisecond);

// `find` listing the same three folders.
void BM_ScanMaps_Reference(benchmark::State& state) {
    RunShellEachIteration(state, LargeMod::Shared().FindCommand());
}
BENCHMARK(BM_ScanMaps_Reference)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ballotine::bench

BENCHMARK_MAIN();
