#include "BuildInfo.h"
#include "app/VoteMapApp.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QStringList>
#include <cstdio>

namespace {

constexpr int kExitUsage = 2;

// The desktop entry, icon and AppStream data are installed under this name.
constexpr const char* kDesktopId = "io.github.ballotine.Ballotine";

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The usage line names the program as its manual page does, whatever path started it (Qt
// writes argv[0] there, or "<executable_name>" before the application object exists).
QString HelpText(const QCommandLineParser& parser) {
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    const qsizetype options = text.indexOf(QStringLiteral(" [options]"));
    if (text.startsWith(usage) && options > usage.size()) {
        text.replace(usage.size(), options - usage.size(), QStringLiteral("ballotine"));
    }
    return text;
}

int UsageError(const QCommandLineParser& parser, const QString& error) {
    Print(stderr, QStringLiteral("ballotine: %1\n\n").arg(error) + HelpText(parser));
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds vote maps for Half-Life servers running Team Fortress Classic: pick the maps,\n"
        "set the expected players, wall strength and thugs, and compile them into vote.bsp.\n"
        "Opens the main window on the game that the registry file names; ballotine-cli does\n"
        "the same work without a window."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version."));
    const QCommandLineOption registry(
        QStringLiteral("registry"),
        QStringLiteral("Reads the game's InstallPath from <FILE> instead of "
                       "~/.config/Ballotine/registry.conf."),
        QStringLiteral("FILE"));
    parser.addOptions({help, version, registry});

    // --help and --version answer before the window system starts, so they work without a
    // display. Qt's own options (-platform, -style, ...) are not known yet: they are read below.
    const bool early = parser.parse(ArgumentsOf(argc, argv));
    if (parser.isSet(help)) {
        Print(stdout, HelpText(parser));
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout,
              QStringLiteral("ballotine %1\n").arg(QString::fromLatin1(ballotine::kVersion)));
        return 0;
    }
    if (!early && parser.unknownOptionNames().isEmpty()) {
        return UsageError(parser, parser.errorText());
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ballotine"));
    QApplication::setApplicationVersion(QString::fromLatin1(ballotine::kVersion));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    if (!parser.parse(QApplication::arguments())) {
        return UsageError(parser, parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(parser, QStringLiteral("unexpected argument '%1'")
                                      .arg(parser.positionalArguments().constFirst()));
    }

    const std::filesystem::path registryFile =
        parser.isSet(registry)
            ? std::filesystem::path(QFile::encodeName(parser.value(registry)).toStdString())
            : ballotine::DefaultRegistryPath();
    ballotine::CVoteMapApp app(registryFile);
    return app.Run();
}
