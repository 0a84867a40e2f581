#include "app/VoteMapApp.h"

#include "app/GameFolderDlg.h"
#include "app/MainDlg.h"
#include "app/MapSettingsDlg.h"
#include "app/ResourceListDlg.h"
#include "models/WindowStart.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>

namespace ballotine {

CVoteMapApp::CVoteMapApp(const std::filesystem::path& registryFile)
    : m_registryFile(registryFile),
      m_runner(HelperToolFolders(ProgramFolder())), m_services{m_prompter, m_runner, m_clock},
      m_registry(RegistryFile::Load(registryFile)),
      m_windowSizeFile(
          QString::fromStdString((registryFile.parent_path() / "window.conf").string())) {}

std::optional<std::filesystem::path>
CVoteMapApp::ChooseGameFolder(const std::vector<std::filesystem::path>& found) {
    CGameFolderDlg dialog(found, m_prompter);
    m_prompter.SetParent(&dialog);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    m_prompter.SetParent(nullptr);
    return chosen ? dialog.ChosenFolder() : std::nullopt;
}

int CVoteMapApp::Run() {
    const StartPlaces places{m_registryFile, QFile::encodeName(QDir::homePath()).toStdString(),
                             ProgramFolder()};
    if (!PrepareWindowStart(m_registry, places, m_services,
                            [this](const auto& found) { return ChooseGameFolder(found); })) {
        return 1; // its message has been shown
    }
    CMainDlg window(m_session, m_services, m_registry);
    m_prompter.SetParent(&window);
    window.RememberSizeIn(m_windowSizeFile);
    window.SetMapSettingsOpener(MakeMapSettingsOpener(m_session, m_mapSettings, m_services));
    window.SetUpdatesOpener(MakeUpdatesOpener(m_session, m_updates, m_transfer, m_services));
    if (!window.StartUp()) {
        return 1; // its message has been shown
    }
    window.exec();
    m_prompter.SetParent(nullptr);
    return 0;
}

} // namespace ballotine
