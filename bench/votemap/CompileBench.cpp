#include "catalogue/MainWindowModel.h"
#include "catalogue/Session.h"
#include "demo/DemoInstallation.h"
#include "platform/Clock.h"
#include "platform/CommandRunner.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "votemap/VoteMapCompile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

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

// The demo installation with sixteen installed maps to vote for.
class SixteenMapDemo {
public:
    SixteenMapDemo() {
        std::string pattern = (fs::temp_directory_path() / "ballotine-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_root = pattern;
        const demo::DemoLayout layout(m_root / "demo", BALLOTINE_BIN_DIR);
        std::string error;
        if (!demo::WriteDemoInstallation(layout, error)) {
            return;
        }
        const fs::path tfc = layout.gameDir / "tfc";
        for (int i = 1; i <= 8; ++i) {
            const std::string name = "extra" + std::to_string(i);
            if (!CopyFileReplacing(tfc / "sprites/vote/skyline.spr",
                                   tfc / ("sprites/vote/" + name + ".spr")) ||
                !CopyFileReplacing(tfc / "maps/skyline.bsp", tfc / ("maps/" + name + ".bsp"))) {
                return;
            }
        }
        m_registry = layout.registryFile;
        m_mapsDir = tfc / "maps";
    }
    ~SixteenMapDemo() {
        std::error_code error;
        if (!m_root.empty()) {
            fs::remove_all(m_root, error);
        }
    }
    SixteenMapDemo(const SixteenMapDemo&) = delete;
    SixteenMapDemo& operator=(const SixteenMapDemo&) = delete;

    bool Ok() const { return !m_registry.empty(); }
    const fs::path& RegistryPath() const { return m_registry; }
    const fs::path& MapsDir() const { return m_mapsDir; }

private:
    fs::path m_root;
    fs::path m_registry;
    fs::path m_mapsDir;
};

const SixteenMapDemo& SharedDemo() {
    static const SixteenMapDemo demo;
    return demo;
}

// A 16-map compile as the button runs it, with the real entity tool.
void BM_Compile_Ours(benchmark::State& state) {
    if (!SharedDemo().Ok()) {
        state.SkipWithError("cannot write the demo installation");
        return;
    }
    YesPrompter prompter;
    ShellCommandRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
    Session session;
    MainWindowModel model(session);
    if (!StartSession(session, RegistryFile::Load(SharedDemo().RegistryPath()), prompter)) {
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
    if (!SharedDemo().Ok()) {
        state.SkipWithError("cannot write the demo installation");
        return;
    }
    ShellCommandRunner runner;
    const std::string command = "cp \"" + (SharedDemo().MapsDir() / "vote.bsp").string() + "\" \"" +
                                (SharedDemo().MapsDir() / "copy.bsp").string() + "\"";
    for (auto _ : state) {
        if (runner.Run(command) != 0) {
            state.SkipWithError("cp failed");
            return;
        }
    }
}

BENCHMARK(BM_Compile_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Compile_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
