// BM_CompileGap_* and BM_InstallGap100MB_*: the longest the window's thread goes without
// handling its events (MaxGapMs) while a 16-map vote map compiles and while a 100 MB map
// package installs. Ours runs the work as the window does, off its thread; the reference runs
// the same work on the window's thread, as the program did before.
#include "GeneratedGame.h"
#include "SixteenMapDemo.h"
#include "app/BusyWork.h"
#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "catalogue/ModTable.h"
#include "catalogue/Session.h"
#include "download/DownloadQueue.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/InstallQueue.h"
#include "models/CompileFlow.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "votemap/VoteMapKeywords.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace ballotine::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Notes the longest wait between two firings of a timer that should fire every 5 ms.
class GapMeter {
public:
    GapMeter() {
        m_timer.setInterval(5);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Note(); });
    }
    void Start() {
        m_last = Clock::now();
        m_timer.start();
    }
    void Stop() {
        Note();
        m_timer.stop();
    }
    double LongestMs() const { return m_longest; }

private:
    void Note() {
        const auto now = Clock::now();
        m_longest =
            std::max(m_longest, std::chrono::duration<double, std::milli>(now - m_last).count());
        m_last = now;
    }

    QTimer m_timer;
    Clock::time_point m_last;
    double m_longest = 0;
};

// The main window on the sixteen-map demo with sixteen maps in "Vote Map List".
struct SixteenMapWindow {
    bool Start() {
        const SixteenMapDemo& demo = SixteenMapDemo::Shared();
        registry = RegistryFile::Load(demo.layout.registryFile);
        if (!demo.ok || !window.StartUp()) {
            return false;
        }
        window.show();
        window.Ui().clear->click();
        MapListWidget* available = window.Ui().availableMaps;
        for (int row = 0; row < available->topLevelItemCount() && row < kVoteMapSlots; ++row) {
            available->topLevelItem(row)->setSelected(true);
        }
        window.Ui().add->click();
        QApplication::processEvents();
        return window.Model().ChosenMaps().Count() == kVoteMapSlots;
    }

    YesPrompter prompter;
    SpawnToolRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
    RegistryFile registry;
    Session session;
    CMainDlg window{session, services, registry};
};

template <typename Compile>
void MeasureCompileGap(benchmark::State& state, Compile compile) {
    SixteenMapWindow shown;
    if (!shown.Start()) {
        state.SkipWithError("the demo does not start");
        return;
    }
    GapMeter gaps;
    for (auto _ : state) {
        shown.prompter.lastMessage.clear();
        gaps.Start();
        compile(shown);
        gaps.Stop();
        if (shown.prompter.lastMessage != kCompileSucceededMessage) {
            state.SkipWithError(("the compile failed: " + shown.prompter.lastMessage).c_str());
            return;
        }
    }
    state.counters["MaxGapMs"] = gaps.LongestMs();
}

// "Compile VoteMap" pressed: the questions, the entity tool and the message.
void BM_CompileGap_Ours(benchmark::State& state) {
    MeasureCompileGap(state, [](SixteenMapWindow& shown) { shown.window.Ui().compile->click(); });
}

void BM_CompileGap_Reference(benchmark::State& state) {
    MeasureCompileGap(state, [](SixteenMapWindow& shown) {
        QTimer::singleShot(0, [&shown] { CompileVoteMap(shown.window.Model(), shown.services); });
        while (shown.prompter.lastMessage.empty()) {
            QApplication::processEvents();
        }
    });
}

// One downloaded 100 MB map package installed by the installation run: unpacked, placed,
// cleaned up and reported, over a window that goes on handling its events.
class PackageInstall {
public:
    void Run() {
        DownloadQueue queue(1);
        queue[0].name = "Big Map";
        queue[0].packageKey = "bigmap";
        queue[0].localPath = game.Package();
        queue[0].status = DownloadStatus::Downloaded;
        queue[0].fullPackage = true;
        InstallContext context{game.paths, "tfc", mods, mappings, log, prompter, runner};
        context.showLog = false;
        installed = InstallQueue(queue, context).failed == 0 &&
                    queue[0].status == DownloadStatus::Installed;
    }

    const GeneratedGame& game = GeneratedGame::Shared();
    ModTable mods;
    InstallMappings mappings;
    InstallLog log;
    YesPrompter prompter;
    SpawnToolRunner runner{{BALLOTINE_BIN_DIR}};
    bool installed = false;
};

template <typename Install>
void MeasureInstallGap(benchmark::State& state, Install install) {
    PackageInstall package;
    QDialog window;
    window.resize(400, 300);
    window.show();
    QApplication::processEvents();
    GapMeter gaps;
    for (auto _ : state) {
        gaps.Start();
        install(window, package);
        gaps.Stop();
        if (!package.installed) {
            state.SkipWithError("the installation failed");
            return;
        }
        state.PauseTiming();
        package.game.RemovePlaced();
        state.ResumeTiming();
    }
    state.counters["MaxGapMs"] = gaps.LongestMs();
}

void BM_InstallGap100MB_Ours(benchmark::State& state) {
    MeasureInstallGap(state, [](QDialog& window, PackageInstall& package) {
        RunBusy(window, QStringLiteral("Installing the packages..."), [&] { package.Run(); });
    });
}

void BM_InstallGap100MB_Reference(benchmark::State& state) {
    MeasureInstallGap(state, [](QDialog&, PackageInstall& package) {
        QTimer::singleShot(0, [&package] { package.Run(); });
        QApplication::processEvents();
    });
}

BENCHMARK(BM_CompileGap_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_CompileGap_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_InstallGap100MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_InstallGap100MB_Reference)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace
} // namespace ballotine::bench

BALLOTINE_BENCHMARK_QT_MAIN()
