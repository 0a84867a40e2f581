#include "BenchSupport.h"
#include "SixteenMapDemo.h"
#include "catalogue/Session.h"
#include "models/CompileFlow.h"
#include "models/MainWindowModel.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "votemap/VoteMapKeywords.h"

namespace {

namespace fs = std::filesystem;
using namespace ballotine;
using bench::SixteenMapDemo;
using bench::YesPrompter;

// A 16-map compile as the button runs it, with the real entity tool.
void BM_Compile_Ours(benchmark::State& state) {
    YesPrompter prompter;
    SpawnToolRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
    Session session;
    MainWindowModel model(session);
    const SixteenMapDemo& demo = SixteenMapDemo::Shared();
    if (!demo.ok ||
        !StartSession(session, RegistryFile::Load(demo.layout.registryFile), prompter)) {
        state.SkipWithError("the demo does not start");
        return;
    }
    model.ScanAvailableMaps();
    for (std::size_t i = 0; i < kVoteMapSlots && i < model.AvailableMaps().Count(); ++i) {
        model.AvailableMaps().SetSelected(i, true);
    }
    model.AddChosenMaps();
    for (auto _ : state) {
        if (!CompileVoteMap(model, services)) {
            state.SkipWithError("the compile failed");
            return;
        }
    }
    state.counters["maps"] = static_cast<double>(model.ChosenMaps().Count());
}

void BM_Compile_Reference(benchmark::State& state) {
    const fs::path& maps = SixteenMapDemo::Shared().maps;
    bench::RunEachIteration(state, "cp",
                            {(maps / "vote.bsp").string(), (maps / "copy.bsp").string()});
}

BENCHMARK(BM_Compile_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Compile_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
