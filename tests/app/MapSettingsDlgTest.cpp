#include "app/MapSettingsDlg.h"

#include "app/MainDlg.h"
#include "app/MapListWidget.h"
#include "catalogue/Session.h"
#include "platform/CommandRunner.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/DemoFixture.h"
#include "support/FakeCommandRunner.h"
#include "support/ScriptedPrompter.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;

// What an opened settings window showed before it was closed.
struct Seen {
    QString caption;
    QString frame;
    QStringList rows;
    QImage preview;
};

class MapSettingsDlgTest : public ::testing::Test {
protected:
    MapSettingsDlgTest() {
        registry = RegistryFile::Load(demo.Layout().registryFile);
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
    static QStringList Rows(const CMapSettingsDlg& dialog) {
        QStringList rows;
        QTreeWidget* list = dialog.Ui().serverSizes;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            rows << list->topLevelItem(i)->text(0) + "=" + list->topLevelItem(i)->text(1);
        }
        return rows;
    }
    std::string Maps(const std::string& file) const { return demo.Game("tfc/maps/" + file); }

    test::DemoFixture demo;
    test::ScriptedPrompter prompter;
    ShellCommandRunner runner; // the demo's own entity tool does the import
    test::ManualClock clock;
    Services services{prompter, runner, clock};
    RegistryFile registry;
    Session session;
    MapSettingsTables tables;
};

TEST_F(MapSettingsDlgTest, TheMainWindowOpensItForTheChosenMapEachTimeAnew) {
    CMainDlg window(session, services, registry);
    ASSERT_TRUE(window.StartUp());
    window.SetMapSettingsOpener(MakeMapSettingsOpener(session, tables, services));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    std::vector<Seen> seen;
    const auto closeTheSettingsWindow = [&seen] {
        auto* dialog = qobject_cast<CMapSettingsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen.push_back({dialog->windowTitle(), dialog->Ui().serverSizeFrame->title(), Rows(*dialog),
                        dialog->Ui().preview->pixmap().toImage()});
        dialog->Ui().cancel->click();
    };
    MapListWidget* available = window.Ui().availableMaps;
    const auto at = [available](const char* name) {
        const auto row = available->Names().indexOf(QString::fromLatin1(name));
        return available->visualItemRect(available->topLevelItem(static_cast<int>(row))).center();
    };

    QTest::mouseClick(available->viewport(), Qt::LeftButton, {}, at("harbourside"));
    QTimer::singleShot(0, closeTheSettingsWindow);
    QTest::mouseDClick(available->viewport(), Qt::LeftButton, {}, at("harbourside"));
    QTest::mouseClick(available->viewport(), Qt::LeftButton, {}, at("skyline"));
    QTimer::singleShot(0, closeTheSettingsWindow);
    QTest::mouseClick(window.Ui().settings, Qt::LeftButton);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Map Settings For 'harbourside'");
    EXPECT_EQ(seen[0].frame, "harbourside");
    EXPECT_EQ(
        seen[0].rows,
        QStringList({"Medium server (12 to 20 players)=16", "Full server (28 to 32 players)=32",
                     "LAN party (no respawn delay)=LAN", "Clan match (8 against 8)=ClanMatch"}));
    EXPECT_EQ(seen[1].caption, "Map Settings For 'skyline'");
    EXPECT_EQ(seen[1].rows, QStringList({"Small server (up to 12 players)=12",
                                         "Large server (20 to 28 players)=24"}));
    EXPECT_EQ(seen[0].preview.size(), QSize(128, 64));
    EXPECT_NE(seen[0].preview, seen[1].preview) << "each map shows its own sprite";
    EXPECT_TRUE(prompter.Transcript().empty());
}

TEST_F(MapSettingsDlgTest, AClickShowsTheSettingAndUpdateRewritesTheMap) {
    const auto dialog = Open("harbourside");
    const CMapSettingsDlg::Controls& ui = dialog->Ui();
    EXPECT_TRUE(ui.serverSizes->isColumnHidden(1));
    EXPECT_EQ(ui.settingFrame->title(), "Setting");
    EXPECT_EQ(ui.description->toPlainText(), "No Server Size selected...");
    EXPECT_FALSE(ui.update->isEnabled());
    EXPECT_TRUE(ui.update->isDefault());

    ClickRow(*dialog, 2);
    EXPECT_EQ(ui.settingFrame->title(), "LAN party");
    EXPECT_EQ(ui.description->toPlainText(),
              "No respawn delay and short rounds for players in one room.\n");
    EXPECT_TRUE(ui.update->isEnabled());
    QTest::keyClick(ui.serverSizes, Qt::Key_Up);
    EXPECT_EQ(ui.settingFrame->title(), "Full server") << "a row chosen by keyboard shows too";

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
    EXPECT_FALSE(fs::exists(Maps("harbourside.ent")));
}

TEST_F(MapSettingsDlgTest, WhatCannotBeUpdatedLeavesTheWindowOpenAsItWas) {
    const auto empty = Open("canalworks");
    EXPECT_EQ(empty->Ui().serverSizes->topLevelItemCount(), 0);
    QTest::mouseClick(empty->Ui().serverSizes->viewport(), Qt::LeftButton);
    EXPECT_EQ(empty->Ui().description->toPlainText(), "No Server Size selected...");
    EXPECT_FALSE(empty->Ui().update->isEnabled());
    QTest::keyClick(empty.get(), Qt::Key_Return);
    EXPECT_TRUE(prompter.Transcript().empty());
    EXPECT_TRUE(empty->isVisible());

    const auto dialog = Open("skyline");
    ClickRow(*dialog, 1);
    fs::remove(Maps("skyline.bsp"));
    prompter.AnswerYes();
    QTest::mouseClick(dialog->Ui().update, Qt::LeftButton);
    EXPECT_EQ(prompter.Messages(),
              std::vector<std::string>{
                  "An error has occurred compiling the new entities into the map. Aborting..."});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Ui().settingFrame->title(), "Large server");
    EXPECT_TRUE(dialog->Ui().update->isEnabled());
    EXPECT_TRUE(fs::exists(Maps("skyline.ent")));
    QTest::mouseClick(dialog->Ui().cancel, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

} // namespace
} // namespace ballotine
