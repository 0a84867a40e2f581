#include "BenchSupport.h"
#include "catalogue/Session.h"
#include "demo/DemoInstallation.h"
#include "models/CompileFlow.h"
#include "models/MainWindowModel.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "votemap/VoteMapKeywords.h"

namespace {

namespace fs = std::filesystem;
using namespace ballotine;

// Answers Yes to every question and keeps quiet otherwise.
class YesPrompter final : public Prompter {
public:
    void ShowMessage(std::string_view) override {}
    bool AskYesNo(std::string_view) override { return true; }
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return {}; }
};

// The demo installation with eight more installed maps: sixteen to vote for.
struct SixteenMapDemo {
    static const SixteenMapDemo& Shared() {
        static const SixteenMapDemo demo;
        return demo;
    }
    SixteenMapDemo() {
        std::string error;
        ok = demo::WriteDemoInstallation(layout, error);
        const fs::path sprites = layout.gameDir / "tfc/sprites/vote";
        for (int i = 1; ok && i <= 8; ++i) {
            const std::string name = "extra" + std::to_string(i);
            ok = CopyFileReplacing(sprites / "skyline.spr", sprites / (name + ".spr")) &&
                 CopyFileReplacing(maps / "skyline.bsp", maps / (name + ".bsp"));
        }
    }

    bench::ScratchDir root;
    const demo::DemoLayout layout{root / "demo", BALLOTINE_BIN_DIR};
    const fs::path maps = layout.gameDir / "tfc/maps";
    bool ok = false;
};

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
