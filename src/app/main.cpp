#include "app/VoteMapApp.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ballotine"));

    // --registry FILE reads the game's location from FILE instead of the default place.
    std::filesystem::path registryFile = ballotine::DefaultRegistryPath();
    const QStringList arguments = QApplication::arguments();
    const qsizetype option = arguments.indexOf(QStringLiteral("--registry"));
    if (option >= 0 && option + 1 < arguments.size()) {
        registryFile = arguments.at(option + 1).toStdString();
    }

    ballotine::CVoteMapApp app(registryFile);
    return app.Run();
}
