#include "app/VoteMapApp.h"

#include "app/MainDlg.h"
#include "app/MapSettingsDlg.h"
#include "app/ResourceListDlg.h"
#include "platform/Paths.h"

namespace ballotine {

CVoteMapApp::CVoteMapApp(const std::filesystem::path& registryFile)
    : m_runner(HelperToolFolders(ProgramFolder())), m_services{m_prompter, m_runner, m_clock},
      m_registry(RegistryFile::Load(registryFile)),
      m_windowSizeFile(
          QString::fromStdString((registryFile.parent_path() / "window.conf").string())) {}

int CVoteMapApp::Run() {
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
