#pragma once

#include "app/QtPrompter.h"
#include "catalogue/Session.h"
#include "download/DownloadTransfer.h"
#include "models/MapSettingsModel.h"
#include "models/UpdateRoad.h"
#include "platform/Clock.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/ToolRunner.h"

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace ballotine {

// The application object: owns the program-wide state and the real services, runs the main
// window modally and ends the program when it closes.
class CVoteMapApp {
public:
    explicit CVoteMapApp(const std::filesystem::path& registryFile);
    CVoteMapApp(const CVoteMapApp&) = delete;
    CVoteMapApp& operator=(const CVoteMapApp&) = delete;

    // Runs the main window; returns the program's exit status.
    int Run();

private:
    // The first start's dialog: the game folders found, "Browse..." for another.
    std::optional<std::filesystem::path>
    ChooseGameFolder(const std::vector<std::filesystem::path>& found);

    std::filesystem::path m_registryFile;
    QtPrompter m_prompter;
    SpawnToolRunner m_runner;
    SteadyClock m_clock;
    Services m_services;
    RegistryFile m_registry;
    QString m_windowSizeFile; // beside the registry file
    Session m_session;
    MapSettingsTables m_mapSettings;
    UpdateTables m_updates;
    DownloadTransfer m_transfer{m_clock}; // one connection pool for every download window
};

} // namespace ballotine
