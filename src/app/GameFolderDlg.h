#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace ballotine {

class Prompter;

// The first start's question where the game is: the game folders found in the usual places,
// "Browse..." for any other, "Use This Folder" and "Cancel". A folder is taken only when it
// looks like a Half-Life installation; otherwise the prompter says what it lacks.
class CGameFolderDlg : public QDialog {
    Q_OBJECT

public:
    // Asks for a folder to look at, starting in `start`; nothing when the user cancels.
    using FolderPicker =
        std::function<std::optional<std::string>(QWidget* parent, const std::string& start)>;

    CGameFolderDlg(const std::vector<std::filesystem::path>& found, Prompter& prompter,
                   QWidget* parent = nullptr);

    // The checked folder after "Use This Folder"; nothing before.
    const std::optional<std::filesystem::path>& ChosenFolder() const { return m_chosen; }
    // Tests pick folders without a file dialog.
    void SetFolderPicker(FolderPicker picker) { m_pickFolder = std::move(picker); }

    struct Controls {
        QLabel* intro = nullptr;
        QListWidget* folders = nullptr;
        QPushButton* browse = nullptr;
        QPushButton* use = nullptr;
        QPushButton* cancel = nullptr;
    };
    const Controls& Ui() const { return m_ui; }

private:
    void Browse();
    void UseSelected();
    void ShowFolder(const std::filesystem::path& folder);
    void ShowEnabled();

    Prompter& m_prompter;
    FolderPicker m_pickFolder;
    Controls m_ui;
    std::optional<std::filesystem::path> m_chosen;
};

} // namespace ballotine
