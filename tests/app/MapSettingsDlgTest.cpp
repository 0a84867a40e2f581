#include "app/MapSettingsDlg.h"

#include "DemoWindow.h"
#include "platform/ToolRunner.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

namespace ballotine {
namespace {
namespace fs = std::filesystem;

// The settings window on the demo, the demo's own entity tool doing the import.
class MapSettingsDlgTest : public test::DemoWindow {
protected:
    MapSettingsDlgTest() {
        runner.RunWith(tools);
        EXPECT_TRUE(StartSession(session, registry, prompter));
    }
    // The window for a map, shown as the opener shows it but without its own event loop.
    std::unique_ptr<CMapSettingsDlg> Open(const std::string& map) {
        auto dialog = std::make_unique<CMapSettingsDlg>(CopyMapSettingsPaths(session.paths), map,
                                                        tables, services);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }
    static void ClickRow(CMapSettingsDlg& dialog, int row) {
        QTreeWidget* list = dialog.Ui().serverSizes;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(row)).center());
    }
    // "caption|frame|rows|first name=key"
    static QString Shown(const CMapSettingsDlg& dialog) {
        const QTreeWidget* list = dialog.Ui().serverSizes;
        return QStringList{dialog.windowTitle(), dialog.Ui().serverSizeFrame->title(),
                           QString::number(list->topLevelItemCount()),
                           list->topLevelItem(0)->text(0) + "=" + list->topLevelItem(0)->text(1)}
            .join('|');
    }
    std::string Maps(const std::string& file) const { return demo.Game("tfc/maps/" + file); }

    SpawnToolRunner tools;
    MapSettingsTables tables;
};

TEST_F(MapSettingsDlgTest, TheMainWindowOpensItForTheChosenMapEachTimeAnew) {
    Start();
    window->SetMapSettingsOpener(MakeMapSettingsOpener(session, tables, services));
    QStringList seen;
    std::vector<QImage> previews;
    const auto closeTheSettingsWindow = [&] {
        auto* dialog = qobject_cast<CMapSettingsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen << Shown(*dialog);
        previews.push_back(dialog->Ui().preview->Image());
        dialog->Ui().cancel->click();
    };
    Click(Ui().availableMaps, "harbourside");
    QTimer::singleShot(0, closeTheSettingsWindow);
    QTest::mouseDClick(Ui().availableMaps->viewport(), Qt::LeftButton, {},
                       At(Ui().availableMaps, "harbourside"));
    Click(Ui().availableMaps, "skyline");
    QTimer::singleShot(0, closeTheSettingsWindow);
    QTest::mouseClick(Ui().settings, Qt::LeftButton);

    EXPECT_EQ(seen, QStringList({"Map Settings For 'harbourside'|harbourside|4|"
                                 "Medium server (12 to 20 players)=16",
                                 "Map Settings For 'skyline'|skyline|2|"
                                 "Small server (up to 12 players)=12"}));
    ASSERT_EQ(previews.size(), 2u);
    EXPECT_EQ(previews[0].size(), QSize(128, 64));
    EXPECT_NE(previews[0], previews[1]) << "each map shows its own sprite";
    EXPECT_TRUE(prompter.Transcript().empty());
}

TEST_F(MapSettingsDlgTest, AFailedUpdateLeavesTheWindowOpenAsItWas) {
    const auto dialog = Open("skyline");
    ClickRow(*dialog, 1);
    fs::remove(Maps("skyline.bsp"));
    prompter.AnswerYes();
    QTest::mouseClick(dialog->Ui().update, Qt::LeftButton);
    EXPECT_EQ(prompter.Messages().size(), 1u) << "the update's own tests pin the words";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Ui().settingFrame->title(), "Large server");
    EXPECT_TRUE(dialog->Ui().update->isEnabled());
    QTest::mouseClick(dialog->Ui().cancel, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(MapSettingsDlgTest, AClickShowsTheSettingAndUpdateRewritesTheMap) {
    const auto dialog = Open("harbourside");
    const CMapSettingsDlg::Controls& ui = dialog->Ui();
    EXPECT_TRUE(ui.serverSizes->isColumnHidden(1));
    EXPECT_EQ(ui.settingFrame->title() + "|" + ui.description->toPlainText(),
              "Setting|No Server Size selected...");
    EXPECT_FALSE(ui.update->isEnabled());
    EXPECT_FALSE(ui.update->isDefault()) << "Enter acts only on the focused button";

    ClickRow(*dialog, 2);
    EXPECT_EQ(ui.settingFrame->title() + "|" + ui.description->toPlainText(),
              "LAN party|No respawn delay and short rounds for players in one room.\n");
    QTest::keyClick(ui.serverSizes, Qt::Key_Up);
    EXPECT_EQ(ui.settingFrame->title(), "Full server") << "a row chosen by keyboard shows too";
    QTest::keyClick(ui.serverSizes, Qt::Key_Return);
    EXPECT_TRUE(prompter.Transcript().empty()) << "Enter in the list updates nothing";

    prompter.AnswerYes();
    QTest::mouseClick(ui.update, Qt::LeftButton);
    EXPECT_EQ(prompter.Transcript(),
              (std::vector<std::string>{
                  "? Are you sure you wish to update this map with the selected entities?",
                  "New Entities have been successfully compiled into this map"}));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_NE(test::ReadFile(Maps("harbourside.bsp"))
                  .find("\"message\" \"Blue has 15 minutes to take the cranes\""),
              std::string::npos);
    EXPECT_NE(test::ReadFile(Maps("harbourside.txt")).find("Set up for full servers."),
              std::string::npos);
}

} // namespace
} // namespace ballotine
