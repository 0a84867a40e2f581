#include "LargeMod.h"
#include "app/Artwork.h"
#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "app/QtPrompter.h"
#include "catalogue/Session.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QTreeWidget>

namespace ballotine::bench {
namespace {

// What the main window is given to start on the large mod, as the program gives it.
struct WindowServices {
    RegistryFile registry = RegistryFile::Load(LargeMod::Shared().RegistryFile());
    QtPrompter prompter;
    SpawnToolRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
};

// The main window started on the large mod and shown; false (the figure skipped) when it
// cannot start.
struct ShownWindow {
    bool Show(benchmark::State& state) {
        if (!window.StartUp()) {
            state.SkipWithError("start-up failed");
            return false;
        }
        window.show();
        QApplication::processEvents();
        return true;
    }

    WindowServices environment;
    Session session;
    CMainDlg window{session, environment.services, environment.registry};
};

// Every available map to "Vote Map List" with "<--", then all of them back with "-->": the
// largest moves a user can make on the large mod, lists shown anew after each.
void BM_MoveMaps_Ours(benchmark::State& state) {
    ShownWindow shown;
    if (!shown.Show(state)) {
        return;
    }
    const CMainDlg::Controls& ui = shown.window.Ui();
    // The user's selecting is not the move's cost.
    const auto select = [&state](QTreeWidget* list) {
        state.PauseTiming();
        list->selectAll();
        state.ResumeTiming();
    };
    for (auto _ : state) {
        select(ui.availableMaps);
        ui.add->click();
        select(ui.chosenMaps);
        ui.remove->click();
        QApplication::processEvents();
    }
    state.counters["moved"] = static_cast<double>(ui.availableMaps->topLevelItemCount());
}
BENCHMARK(BM_MoveMaps_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// What Qt itself needs for the same: both lists emptied and refilled with as many rows as the
// window shows them (name and marker), twice (once per move). A move cannot show its result
// with less.
void BM_MoveMaps_Reference(benchmark::State& state) {
    QTreeWidget available;
    QTreeWidget chosen;
    available.show();
    chosen.show();
    const QIcon marker(MakeMarker(MapState::Installed));
    QStringList names;
    for (int i = 0; i < LargeMod::kSprites; ++i) {
        names.append(QStringLiteral("map%1").arg(i, 5, 10, QLatin1Char('0')));
    }
    const auto refill = [&names, &marker](QTreeWidget& list, bool withNames) {
        list.clear();
        if (!withNames) {
            return;
        }
        QList<QTreeWidgetItem*> items;
        items.reserve(names.size());
        for (const QString& name : names) {
            auto* item = new QTreeWidgetItem(QStringList{name});
            item->setIcon(0, marker);
            items.append(item);
        }
        list.addTopLevelItems(items);
    };
    for (auto _ : state) {
        refill(chosen, true);
        refill(available, false);
        refill(available, true);
        refill(chosen, false);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_MoveMaps_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a user types into the filter of "Available Maps" and takes back, one keystroke per
// iteration, on the large mod's names ("ctf_0000", "tfc_0001", "0002", "push_0003", ...).
const QStringList& Keystrokes() {
    static const QStringList typed = {"c",     "ct",   "ctf", "ctf_", "ctf_1", "ctf_12",
                                      "ctf_1", "ctf_", "ctf", "ct",   "c",     "",
                                      "1",     "12",   "1",   ""};
    return typed;
}

// One keystroke in the filter field: the list narrowed or widened and drawn again.
void BM_FilterMaps_Ours(benchmark::State& state) {
    ShownWindow shown;
    if (!shown.Show(state)) {
        return;
    }
    const CMainDlg& window = shown.window;
    int key = 0;
    for (auto _ : state) {
        window.Ui().filter->setText(Keystrokes()[key++ % Keystrokes().size()]);
        QApplication::processEvents();
    }
    state.counters["maps"] = static_cast<double>(window.Ui().availableMaps->topLevelItemCount());
}
BENCHMARK(BM_FilterMaps_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// Qt's own filter for the same keystrokes: a sort-filter proxy over a list model of as many
// names, shown in a list view.
void BM_FilterMaps_Reference(benchmark::State& state) {
    QStringList names;
    for (int i = 0; i < LargeMod::kSprites; ++i) {
        static const char* const kPrefixes[] = {"ctf_", "tfc_", "", "push_", "hunt_"};
        names.append(QString::fromLatin1(kPrefixes[i % 5]) +
                     QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')));
    }
    QStringListModel model(names);
    QSortFilterProxyModel filter;
    filter.setSourceModel(&model);
    filter.setFilterCaseSensitivity(Qt::CaseInsensitive);
    QListView view;
    view.setModel(&filter);
    view.show();
    QApplication::processEvents();
    int key = 0;
    for (auto _ : state) {
        filter.setFilterFixedString(Keystrokes()[key++ % Keystrokes().size()]);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FilterMaps_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

// From nothing to the main window on screen with the large mod's lists filled.
void BM_ShowWindow_Ours(benchmark::State& state) {
    WindowServices environment;
    for (auto _ : state) {
        Session session;
        CMainDlg window(session, environment.services, environment.registry);
        if (!window.StartUp()) {
            state.SkipWithError("start-up failed");
            break;
        }
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.Ui().availableMaps->topLevelItemCount());
    }
}
BENCHMARK(BM_ShowWindow_Ours)->Unit(benchmark::kMillisecond);

// A bare window with one list of as many names, for what Qt itself needs.
void BM_ShowWindow_Reference(benchmark::State& state) {
    for (auto _ : state) {
        QDialog window;
        auto* list = new QTreeWidget(&window);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(list);
        QList<QTreeWidgetItem*> items;
        for (int i = 0; i < LargeMod::kSprites; ++i) {
            items.append(new QTreeWidgetItem(QStringList{QString::number(i)}));
        }
        list->addTopLevelItems(items);
        window.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowWindow_Reference)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace ballotine::bench

BALLOTINE_BENCHMARK_QT_MAIN()
