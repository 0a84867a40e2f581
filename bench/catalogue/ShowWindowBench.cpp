#include "LargeMod.h"
#include "WindowServices.h"
#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "catalogue/Session.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace ballotine::bench {
namespace {

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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
