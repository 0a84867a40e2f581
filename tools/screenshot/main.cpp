#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "app/MapSettingsDlg.h"
#include "app/QtPrompter.h"
#include "app/ResourceListDlg.h"
#include "catalogue/Session.h"
#include "download/DownloadTransfer.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/ToolRunner.h"

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QTreeWidget>
#include <iostream>

namespace {

// The map settings window of the map whose details the main window shows, with its first
// server size clicked.
bool SaveMapSettingsPicture(const ballotine::Session& session, ballotine::Services& services,
                            const std::string& map, const QString& output) {
    ballotine::MapSettingsTables tables;
    ballotine::CMapSettingsDlg dialog(ballotine::CopyMapSettingsPaths(session.paths), map, tables,
                                      services);
    dialog.show();
    QApplication::processEvents();
    QTreeWidget* sizes = dialog.Ui().serverSizes;
    if (sizes->topLevelItemCount() > 0) {
        sizes->setCurrentItem(sizes->topLevelItem(0));
        QApplication::processEvents();
    }
    return dialog.grab().save(output, "PNG");
}

// The update list of the selected mod, with its "Downloadable Maps" category ticked and the
// first new map selected. Its lists come from the demo's file:// server.
bool SaveUpdateListPicture(ballotine::Session& session, ballotine::Services& services,
                           ballotine::CMainDlg& window, const QString& output) {
    const auto request = ballotine::MakeResourceListRequest(session);
    if (!request) {
        return false;
    }
    ballotine::UpdateTables tables;
    ballotine::DownloadTransfer transfer(services.clock);
    ballotine::DialogDownloadRunner downloader(transfer, services.clock, &window);
    ballotine::UpdateRoad road{tables.downloads,  tables.versions, tables.mappings, tables.log,
                               services.prompter, services.runner, downloader,      {}};
    ballotine::ResourceList list(*request, session.mods, road);
    ballotine::CResourceListDlg dialog(list, &window);
    bool saved = false;
    // The list's own download windows run first; act once the list shows.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (!dialog.isVisible()) {
            return;
        }
        poll.stop();
        QTreeWidget* tree = dialog.Ui().tree;
        tree->setCurrentItem(tree->topLevelItem(4));
        emit tree->itemDoubleClicked(tree->topLevelItem(4), 0);
        tree->setCurrentItem(tree->topLevelItem(1)->child(0));
        QTimer::singleShot(300, &dialog, [&] {
            saved = dialog.grab().save(output, "PNG");
            dialog.reject();
        });
    });
    poll.start(20);
    dialog.exec();
    return saved;
}

} // namespace

// ballotine-screenshot REGISTRY OUTPUT.png [MAP [SETTINGS.png [UPDATES.png]]]: opens the main
// window on the game the registry file names, shows the details of MAP (a map of "Available
// Maps") and saves a picture of the window; with SETTINGS.png also one of MAP's map settings
// window, with UPDATES.png one of the update list. Meant for the offscreen platform.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3 || arguments.size() > 6) {
        std::cerr << "Usage: ballotine-screenshot REGISTRY OUTPUT.png [MAP [SETTINGS.png "
                     "[UPDATES.png]]]\n";
        return 2;
    }
    ballotine::QtPrompter prompter;
    ballotine::SpawnToolRunner runner({ballotine::ProgramFolder()});
    ballotine::SteadyClock clock;
    ballotine::Services services{prompter, runner, clock};
    const auto registry = ballotine::RegistryFile::Load(arguments.at(1).toStdString());
    ballotine::Session session;
    ballotine::CMainDlg window(session, services, registry);
    prompter.SetParent(&window);
    if (!window.StartUp()) {
        return 1;
    }
    window.show();
    QApplication::processEvents();

    if (arguments.size() >= 4) {
        ballotine::MapListWidget* list = window.Ui().availableMaps;
        const int row = static_cast<int>(list->Names().indexOf(arguments.at(3)));
        if (row < 0) {
            std::cerr << "ballotine-screenshot: no available map " << arguments.at(3).toStdString()
                      << "\n";
            return 1;
        }
        QTreeWidgetItem* item = list->topLevelItem(row);
        list->setCurrentItem(item);
        emit list->itemClicked(item, 0);
        QApplication::processEvents();
    }
    if (!window.grab().save(arguments.at(2), "PNG")) {
        std::cerr << "ballotine-screenshot: cannot write " << arguments.at(2).toStdString() << "\n";
        return 1;
    }
    if (arguments.size() >= 5 &&
        !SaveMapSettingsPicture(session, services, arguments.at(3).toStdString(),
                                arguments.at(4))) {
        std::cerr << "ballotine-screenshot: cannot write " << arguments.at(4).toStdString() << "\n";
        return 1;
    }
    if (arguments.size() == 6 &&
        !SaveUpdateListPicture(session, services, window, arguments.at(5))) {
        std::cerr << "ballotine-screenshot: cannot write " << arguments.at(5).toStdString() << "\n";
        return 1;
    }
    return 0;
}
