#include "DemoWindow.h"
#include "app/AboutDlg.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

class MainDlgTest : public test::DemoWindow {
protected:
    // "available names | vote list names"
    QString Lists() const {
        return Ui().availableMaps->Names().join(' ') + " | " + Ui().chosenMaps->Names().join(' ');
    }
    QString Labels() const { return Ui().playersLabel->text() + ", " + Ui().wallsLabel->text(); }
    QString Details() const {
        return QStringList{Ui().nameValue->text(), Ui().sizeValue->text(),
                           Ui().downloadedValue->text(), Ui().descriptionFrame->title()}
            .join('|');
    }
};

TEST_F(MainDlgTest, StartsWithTheDemoModsMapsAndSettings) {
    Start();
    EXPECT_EQ(window->windowTitle(), "Ballotine V2.2");
    ASSERT_EQ(Ui().modSelector->count(), 2);
    EXPECT_EQ(Ui().modSelector->itemText(0), "Half-Life Deathmatch");
    EXPECT_EQ(Ui().modSelector->currentText(), "Team Fortress Classic");
    EXPECT_EQ(Lists(), "2fort ballot_bay canalworks frostfall harbourside quarry rock2 skyline | "
                       "lakeside well");
    EXPECT_EQ(Ui().availableMaps->StateAt(0), MapState::Installed);     // 2fort
    EXPECT_EQ(Ui().availableMaps->StateAt(3), MapState::NotDownloaded); // frostfall
    EXPECT_EQ(Ui().availableMaps->StateAt(4), MapState::Configurable);  // harbourside
    EXPECT_EQ(Ui().availableMaps->headerItem()->text(0), "Map Name");
    EXPECT_EQ(Ui().chosenMaps->headerItem()->text(0), "Vote Map");
    EXPECT_EQ(Labels(), "2/12 (Thugs/Players), Normal Walls");
    EXPECT_TRUE(Ui().thugs->isChecked());
    EXPECT_TRUE(window->Model().Settings().uncompiledChanges) << "set once when the window appears";
    EXPECT_FALSE(Ui().settings->isEnabled());
    EXPECT_TRUE(Ui().checkForUpdates->isVisible() && Ui().checkForUpdates->isEnabled());
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "fixed size";

    Ui().playersSlider->setValue(22);
    EXPECT_EQ(Ui().playersLabel->text(), "3/22 (Thugs/Players)");
    QTest::mouseClick(Ui().thugs, Qt::LeftButton);
    EXPECT_EQ(Ui().playersLabel->text(), "0/22 (Thugs/Players)");
    Ui().wallsSlider->setValue(3);
    EXPECT_EQ(Ui().wallsLabel->text(), "Super Walls");
    EXPECT_EQ(window->Model().Settings().wallStrength, 3);
}

TEST_F(MainDlgTest, MovingMapsBothWaysKeepsBothListsSorted) {
    Start();
    Click(Ui().availableMaps, "skyline");
    Click(Ui().availableMaps, "2fort", Qt::ControlModifier);
    Click(Ui().availableMaps, "frostfall", Qt::ControlModifier);
    window->Model().Settings().uncompiledChanges = false;
    QTest::mouseClick(Ui().add, Qt::LeftButton);
    EXPECT_EQ(Lists(), "ballot_bay canalworks harbourside quarry rock2 | "
                       "2fort frostfall lakeside skyline well");
    EXPECT_TRUE(window->Model().Settings().uncompiledChanges);

    window->Model().Settings().uncompiledChanges = false;
    Click(Ui().chosenMaps, "well");
    Click(Ui().chosenMaps, "frostfall", Qt::ControlModifier);
    QTest::mouseClick(Ui().remove, Qt::LeftButton);
    EXPECT_TRUE(window->Model().Settings().uncompiledChanges);
    EXPECT_EQ(Lists(), "ballot_bay canalworks frostfall harbourside quarry rock2 well | "
                       "2fort lakeside skyline");
    EXPECT_EQ(Ui().availableMaps->StateAt(2), MapState::NotDownloaded)
        << "frostfall keeps its state";

    QTest::mouseClick(Ui().clear, Qt::LeftButton);
    EXPECT_TRUE(Ui().chosenMaps->Names().isEmpty());
    EXPECT_EQ(Ui().availableMaps->Names().size(), 10);
}

TEST_F(MainDlgTest, SettingsButtonOnlyForAConfigurableMap) {
    Start();
    std::vector<std::string> opened;
    window->SetMapSettingsOpener([&](CMainDlg&, const std::string& map) { opened.push_back(map); });

    Click(Ui().availableMaps, "harbourside");
    EXPECT_TRUE(Ui().settings->isEnabled());
    Click(Ui().availableMaps, "2fort");
    EXPECT_FALSE(Ui().settings->isEnabled());
    Click(Ui().chosenMaps, "lakeside");
    EXPECT_FALSE(Ui().settings->isEnabled());

    DoubleClick(Ui().availableMaps, "canalworks");
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(Ui().nameValue->text(), "canalworks") << "the click before shows the map";
    DoubleClick(Ui().availableMaps, "harbourside");
    Click(Ui().availableMaps, "harbourside");
    QTest::mouseClick(Ui().settings, Qt::LeftButton);
    EXPECT_EQ(opened, (std::vector<std::string>{"harbourside", "harbourside"}));
}

TEST_F(MainDlgTest, DetailsPaneForBuiltInPresentAndMissingMaps) {
    Start();
    Click(Ui().availableMaps, "2fort");
    EXPECT_EQ(Details(), "2fort|2613248|By Default|2 Fortresses - Capture The Flag");
    EXPECT_TRUE(Ui().description->toPlainText().startsWith("Objective: "));
    const QImage preview = Ui().preview->pixmap().toImage();
    EXPECT_EQ(preview.size(), QSize(128, 64));
    EXPECT_NE(preview.pixel(64, 50), qRgb(0, 0, 0)) << "the sprite's picture, not black";

    Click(Ui().availableMaps, "ballot_bay");
    const auto size = std::filesystem::file_size(demo.Game("tfc/maps/ballot_bay.bsp"));
    EXPECT_EQ(Details(),
              "ballot_bay|" + QString::number(size) + " bytes|Yes|Ballot Bay - Capture The Flag");
    EXPECT_TRUE(
        Ui().description->toPlainText().startsWith("Two lighthouses guard a sheltered bay. "));

    Click(Ui().availableMaps, "frostfall");
    EXPECT_EQ(Details(), "frostfall|N/A|No|frostfall");
    EXPECT_EQ(Ui().description->toPlainText(), "Map description not available");
}

TEST_F(MainDlgTest, EnterAsksAboutUncompiledChangesEscapeDoesNot) {
    Start();
    prompter.AnswerNo();
    QTest::keyClick(Ui().availableMaps, Qt::Key_Return);
    EXPECT_EQ(prompter.Questions(),
              (std::vector<std::string>{
                  "You have not compiled this votemap yet.\nAbandon all changes?"}));
    EXPECT_TRUE(window->isVisible());

    prompter.AnswerYes();
    QTest::mouseClick(Ui().exit, Qt::LeftButton); // Exit is OK
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);

    window->show();
    prompter.Forget();
    QTest::keyClick(Ui().availableMaps, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);

    window->show();
    window->Model().Settings().uncompiledChanges = false;
    QTest::keyClick(window.get(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(window->isVisible()) << "no changes: closes without asking";
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(MainDlgTest, AModWithoutSpritesDisablesTheWorkingControls) {
    Start();
    Click(Ui().availableMaps, "harbourside");
    Ui().modSelector->setCurrentIndex(Ui().modSelector->findText("Half-Life Deathmatch"));
    EXPECT_EQ(session.paths.modWorkDir, session.paths.workDir + "valve/");
    EXPECT_EQ(Lists(), " | ");
    for (QWidget* control : std::initializer_list<QWidget*>{
             Ui().add, Ui().compile, Ui().playersSlider, Ui().availableMaps, Ui().settings}) {
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{Ui().modSelector, Ui().about, Ui().exit, Ui().preview}) {
        EXPECT_TRUE(control->isEnabled()) << control->metaObject()->className();
    }
    Ui().modSelector->setCurrentIndex(Ui().modSelector->findText("Team Fortress Classic"));
    EXPECT_EQ(Ui().chosenMaps->Names().join(' '), "lakeside well");
    EXPECT_TRUE(Ui().add->isEnabled());
}

TEST_F(MainDlgTest, StartUpFailsWithTheMessageWithoutAModList) {
    std::filesystem::remove(demo.Game("Ballotine/mods.cfg"));
    CMainDlg failing(session, services, registry);
    EXPECT_FALSE(failing.StartUp());
    EXPECT_EQ(prompter.Messages(), (std::vector<std::string>{"Mod Data not found. Aborting..."}));
}

TEST_F(MainDlgTest, AboutBoxAndTheWindowMenuEntry) {
    Start();
    QString aboutTitle;
    QTimer::singleShot(0, [&] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            aboutTitle = about->windowTitle();
            about->accept();
        }
    });
    QTest::mouseClick(Ui().about, Qt::LeftButton);
    EXPECT_EQ(aboutTitle, "Ballotine V2.2");

    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions()) {
                entries.append(action->text());
            }
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            window->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window.get(), &event);
    EXPECT_EQ(entries, QStringList{"&About Tallyworks..."});

    // The about text's order: a blank line, product and version, build date, credits, quote.
    const QString text = AboutText();
    EXPECT_TRUE(text.startsWith("\nBallotine V2.2\nBuilt "));
    EXPECT_LT(text.indexOf("Designed"), text.indexOf("RipEnt Utility"));
    EXPECT_TRUE(text.endsWith("voted for.\""));
}

// The list files and the compile are pinned by the vote map tests; these check the buttons'
// wiring and what the window shows afterwards.
TEST_F(MainDlgTest, ListButtonsLoadAndSaveAndRenameTheWindow) {
    Start();
    const std::string list = demo.Game("Ballotine/tfc/VoteMapLists/cup.VML");
    test::WriteFile(list, "VML Header V1.2\n22 1 3\nSKYLINE\n2fort\n");
    prompter.NextFile(list);
    QTest::mouseClick(Ui().loadList, Qt::LeftButton);
    EXPECT_EQ(Ui().chosenMaps->Names().join(' '), "2fort skyline");
    EXPECT_EQ(Ui().playersSlider->value(), 22);
    EXPECT_EQ(Ui().wallsSlider->value(), 3);
    EXPECT_EQ(Labels(), "3/22 (Thugs/Players), Super Walls");
    EXPECT_EQ(window->windowTitle(), "Ballotine V2.1 - cup.VML");

    test::TempDir elsewhere;
    prompter.NextFile(elsewhere / "final.VML");
    QTest::mouseClick(Ui().saveListAs, Qt::LeftButton);
    EXPECT_EQ(window->windowTitle(), "Ballotine V2.1 - final.VML");
    EXPECT_EQ(test::ReadFile(elsewhere.Path() / "final.VML"),
              "VML Header V1.2\n22 3 3\n2fort\nskyline\n");
    Ui().wallsSlider->setValue(0);
    QTest::mouseClick(Ui().saveList, Qt::LeftButton);
    EXPECT_EQ(test::ReadFile(demo.Game("Ballotine/tfc/VoteMapLists/final.VML")),
              "VML Header V1.2\n22 3 0\n2fort\nskyline\n");
    EXPECT_EQ(prompter.Messages(),
              (std::vector<std::string>{"VoteMap List 'final.VML' successfully saved!",
                                        "VoteMap List 'final.VML' successfully saved!"}));
}

TEST_F(MainDlgTest, CompileVoteMapRunsTheToolAndClearsTheChanges) {
    Start();
    prompter.AnswerYes();
    QTest::mouseClick(Ui().compile, Qt::LeftButton);
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_NE(runner.Calls()[0].commandLine.find("ripent\" -import \""), std::string::npos);
    EXPECT_EQ(prompter.Transcript(),
              (std::vector<std::string>{"? Are you sure you want to create a 2 level VoteMap?",
                                        "VoteMap successfully Compiled"}));
    EXPECT_EQ(prompter.BusyCount(), 1);
    EXPECT_FALSE(window->Model().Settings().uncompiledChanges);
}

} // namespace
} // namespace ballotine
