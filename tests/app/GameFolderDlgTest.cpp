#include "app/GameFolderDlg.h"

#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The first start's dialog, driven by mouse as a user would; "Browse..." picks from a script.
class GameFolderDlgTest : public testing::Test {
protected:
    GameFolderDlgTest() {
        test::WriteFile(dir.Path() / "steam/Half-Life/valve/liblist.gam", "game \"Half-Life\"");
        test::WriteFile(dir.Path() / "hlds/hlds_run", "x");
        test::WriteFile(dir.Path() / "other/Half-Life/hl_linux", "x");
        test::WriteFile(dir.Path() / "music/song.ogg", "x");
    }
    void Open(const std::vector<fs::path>& found) {
        dialog = std::make_unique<CGameFolderDlg>(found, prompter);
        dialog->SetFolderPicker([this](QWidget*, const std::string& start) {
            starts.push_back(start);
            std::optional<std::string> next = picks.front();
            picks.erase(picks.begin());
            return next;
        });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QStringList Shown() const {
        QStringList shown;
        for (int row = 0; row < dialog->Ui().folders->count(); ++row) {
            shown << dialog->Ui().folders->item(row)->text();
        }
        return shown;
    }
    static QString Q(const std::string& text) { return QString::fromStdString(text); }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::unique_ptr<CGameFolderDlg> dialog;
    std::vector<std::optional<std::string>> picks;
    std::vector<std::string> starts;
};

TEST_F(GameFolderDlgTest, BrowseTakesOnlyAGameFolderAndUseTakesTheChosenOne) {
    Open({dir.Path() / "steam/Half-Life", dir.Path() / "hlds"});
    EXPECT_EQ(Shown(), (QStringList{Q(dir / "steam/Half-Life"), Q(dir / "hlds")}));
    EXPECT_EQ(dialog->Ui().folders->currentRow(), 0) << "the first found is chosen";
    picks = {std::nullopt, dir / "music", dir / "other/Half-Life/", dir / "steam/Half-Life"};
    Click(dialog->Ui().browse); // cancelled: nothing changes
    Click(dialog->Ui().browse);
    EXPECT_EQ(prompter.Messages(),
              Names{"'" + (dir / "music") +
                    "' does not look like a Half-Life folder: it holds no valve folder, no game "
                    "program (hl_linux, hlds_linux, hlds_run, hl.sh, hl.exe) and no Ballotine "
                    "folder."});
    EXPECT_EQ(Shown().size(), 2);
    Click(dialog->Ui().browse);
    EXPECT_EQ(Shown().back(), Q(dir / "other/Half-Life"));
    EXPECT_EQ(dialog->Ui().folders->currentRow(), 2) << "the folder browsed to is chosen";
    Click(dialog->Ui().browse);
    EXPECT_EQ(Shown().size(), 3) << "a folder listed already is chosen, not listed twice";
    EXPECT_EQ(dialog->Ui().folders->currentRow(), 0);
    EXPECT_EQ(starts.front(), dir / "steam/Half-Life") << "browsing starts at the chosen folder";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->ChosenFolder());
    Click(dialog->Ui().use);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->ChosenFolder(), dir.Path() / "steam/Half-Life");
}

TEST_F(GameFolderDlgTest, WithNothingFoundUseWaitsForBrowseAndCancelChoosesNothing) {
    Open({});
    EXPECT_TRUE(dialog->Ui().intro->text().contains("No game folder was found"));
    EXPECT_FALSE(dialog->Ui().use->isEnabled());
    picks = {dir / "hlds"};
    Click(dialog->Ui().browse);
    fs::remove_all(dir.Path() / "hlds"); // gone before it is used: checked again
    Click(dialog->Ui().use);
    EXPECT_EQ(prompter.Messages().back(), "'" + (dir / "hlds") + "' is not a folder.");
    Click(dialog->Ui().cancel);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->ChosenFolder());
}

} // namespace
} // namespace ballotine
