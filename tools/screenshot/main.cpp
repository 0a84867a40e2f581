#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "app/QtPrompter.h"
#include "catalogue/Session.h"
#include "platform/Clock.h"
#include "platform/CommandRunner.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <QApplication>
#include <QPixmap>
#include <QStringList>
#include <iostream>

// ballotine-screenshot REGISTRY OUTPUT.png [MAP]: opens the main window on the game the
// registry file names, shows the details of MAP (a map of "Available Maps") and saves a
// picture of the window. Meant for the offscreen platform.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3 || arguments.size() > 4) {
        std::cerr << "Usage: ballotine-screenshot REGISTRY OUTPUT.png [MAP]\n";
        return 2;
    }
    ballotine::QtPrompter prompter;
    ballotine::ShellCommandRunner runner;
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

    if (arguments.size() == 4) {
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
    return 0;
}
