#pragma once

#include <QDialog>

class QComboBox;

namespace ballotine {

class RegistryFile;
struct Services;
struct Session;

// The main window.
class CMainDlg : public QDialog {
    Q_OBJECT

public:
    CMainDlg(Session& session, Services& services, const RegistryFile& registry,
             QWidget* parent = nullptr);

    // The start-up sequence: finds the game and the mods and fills the window. False when
    // the program cannot go on (its message has been shown).
    bool StartUp();

    QComboBox* ModSelector() const { return m_modSelector; }

private:
    void FillModSelector();
    void OnModSelected(int index);

    Session& m_session;
    Services& m_services;
    const RegistryFile& m_registry;
    QComboBox* m_modSelector;
};

} // namespace ballotine
