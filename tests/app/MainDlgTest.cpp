#include "DemoWindow.h"
#include "WorkTiming.h"
#include "app/BusyWork.h"
#include "support/TestFiles.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
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
                           Ui().downloadedValue->text(), Ui().descriptionFrame->title(),
                           Ui().description->toPlainText()}
            .join('|');
    }
    bool& Changed() { return window->Model().Settings().uncompiledChanges; }
};

TEST_F(MainDlgTest, StartsWithTheDemoModsMapsAndSettingsAndTheControlsFollow) {
    Start();
    EXPECT_EQ(window->windowTitle(), "Ballotine V2.2");
    EXPECT_EQ(Ui().modSelector->count(), 2);
    EXPECT_EQ(Ui().modSelector->itemText(0), "Half-Life Deathmatch");
    EXPECT_EQ(Ui().modSelector->currentText(), "Team Fortress Classic");
    EXPECT_EQ(Lists(), "2fort ballot_bay canalworks frostfall harbourside quarry rock2 skyline | "
                       "lakeside well");
    EXPECT_EQ(Ui().availableMaps->StateAt(0), MapState::Installed);     // 2fort
    EXPECT_EQ(Ui().availableMaps->StateAt(3), MapState::NotDownloaded); // frostfall
    EXPECT_EQ(Ui().availableMaps->StateAt(4), MapState::Configurable);  // harbourside
    EXPECT_EQ(Labels(), "2/12 (Thugs/Players), Normal Walls");
    EXPECT_TRUE(Ui().thugs->isChecked());
    EXPECT_TRUE(Changed()) << "set once when the window appears";
    EXPECT_FALSE(Ui().settings->isEnabled());
    EXPECT_TRUE(Ui().checkForUpdates->isVisible() && Ui().checkForUpdates->isEnabled());

    Ui().playersSlider->setValue(22);
    EXPECT_EQ(Ui().playersLabel->text(), "3/22 (Thugs/Players)");
    QTest::mouseClick(Ui().thugs, Qt::LeftButton);
    EXPECT_EQ(Ui().playersLabel->text(), "0/22 (Thugs/Players)");
    Ui().wallsSlider->setValue(3);
    EXPECT_EQ(Ui().wallsLabel->text(), "Super Walls");

    Ui().modSelector->setCurrentIndex(0);
    EXPECT_EQ(Lists(), " | ") << "a mod without sprites";
    for (QWidget* control : std::initializer_list<QWidget*>{
             Ui().add, Ui().compile, Ui().playersSlider, Ui().availableMaps, Ui().settings}) {
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    }
    EXPECT_TRUE(Ui().modSelector->isEnabled() && Ui().about->isEnabled());
    Ui().modSelector->setCurrentIndex(1);
    EXPECT_EQ(Ui().chosenMaps->Names().join(' '), "lakeside well");
    EXPECT_TRUE(Ui().add->isEnabled());
}

TEST_F(MainDlgTest, MovingMapsBothWaysKeepsBothListsSorted) {
    Start();
    Click(Ui().availableMaps, "skyline");
    Click(Ui().availableMaps, "2fort", Qt::ControlModifier);
    Click(Ui().availableMaps, "frostfall", Qt::ControlModifier);
    Changed() = false;
    QTest::mouseClick(Ui().add, Qt::LeftButton);
    EXPECT_EQ(Lists(), "ballot_bay canalworks harbourside quarry rock2 | "
                       "2fort frostfall lakeside skyline well");
    EXPECT_TRUE(Changed());

    Changed() = false;
    Click(Ui().chosenMaps, "well");
    Click(Ui().chosenMaps, "frostfall", Qt::ControlModifier);
    QTest::mouseClick(Ui().remove, Qt::LeftButton);
    EXPECT_TRUE(Changed());
    EXPECT_EQ(Lists(), "ballot_bay canalworks frostfall harbourside quarry rock2 well | "
                       "2fort lakeside skyline");
    EXPECT_EQ(Ui().availableMaps->StateAt(2), MapState::NotDownloaded) << "frostfall's state";

    QTest::mouseClick(Ui().clear, Qt::LeftButton);
    EXPECT_EQ(Ui().availableMaps->Names().size(), 10);
}

TEST_F(MainDlgTest, SettingsOnlyForAConfigurableMapAndTheDetailsPane) {
    Start();
    std::vector<std::string> opened;
    window->SetMapSettingsOpener([&](const MapSettingsOpening& opening) {
        EXPECT_EQ(opening.parent, window.get());
        opened.push_back(opening.map);
    });
    // Which maps enable "Settings..." is pinned by the keyboard test below.
    DoubleClick(Ui().availableMaps, "harbourside");
    QTest::mouseClick(Ui().settings, Qt::LeftButton);
    DoubleClick(Ui().availableMaps, "2fort");
    EXPECT_EQ(opened, (std::vector<std::string>{"harbourside", "harbourside"}));

    EXPECT_TRUE(Details().startsWith(
        "2fort|2613248|By Default|2 Fortresses - Capture The Flag|Objective: "));
    const QImage preview = Ui().preview->Image();
    EXPECT_EQ(preview.size(), QSize(128, 64));
    EXPECT_NE(preview.pixel(64, 50), qRgb(0, 0, 0)) << "the sprite's picture, not black";
    Click(Ui().availableMaps, "ballot_bay");
    const auto size = std::filesystem::file_size(demo.Game("tfc/maps/ballot_bay.bsp"));
    EXPECT_TRUE(Details().startsWith("ballot_bay|" + QString::number(size) +
                                     " bytes|Yes|Ballot Bay - Capture The Flag|Two lighthouses "
                                     "guard a sheltered bay. "));
    Click(Ui().availableMaps, "frostfall");
    EXPECT_EQ(Details(), "frostfall|N/A|No|frostfall|Map description not available");
}

// The details pane, its picture and "Settings..." follow the current map, moved by mouse or
// by keyboard, in either list; a change of mod empties the pane.
TEST_F(MainDlgTest, DetailsFollowTheCurrentMapByKeyboardAndAModChangeClearsThem) {
    Start();
    Click(Ui().availableMaps, "2fort");
    const struct {
        MapListWidget* list;
        Qt::Key key;
        const char* shown;
        bool settings;
    } steps[] = {
        {Ui().availableMaps, Qt::Key_Down, "ballot_bay", false},
        {Ui().availableMaps, Qt::Key_End, "skyline", true},
        {Ui().availableMaps, Qt::Key_Up, "rock2", false},
        {Ui().availableMaps, Qt::Key_Up, "quarry", false},
        {Ui().availableMaps, Qt::Key_Up, "harbourside", true},
        {Ui().chosenMaps, Qt::Key_Home, "lakeside", false},
        {Ui().chosenMaps, Qt::Key_Down, "well", false},
    };
    QImage previous = Ui().preview->Image();
    for (const auto& step : steps) {
        step.list->setFocus();
        QTest::keyClick(step.list, step.key);
        EXPECT_EQ(Ui().nameValue->text(), step.shown);
        EXPECT_EQ(Ui().settings->isEnabled(), step.settings) << step.shown;
        EXPECT_EQ(window->Model().SelectedMap(), step.shown);
        const QImage preview = Ui().preview->Image();
        EXPECT_NE(preview, previous) << step.shown << ": its own picture";
        previous = preview;
    }

    Ui().modSelector->setCurrentIndex(0);
    EXPECT_EQ(Details(), "|||Map Description|");
    EXPECT_EQ(Ui().preview->Image().pixel(64, 32), qRgb(0, 0, 0));
    EXPECT_FALSE(Ui().settings->isEnabled());
    EXPECT_EQ(window->Model().SelectedMap(), "");
}

// Every control can be reached and named without the mouse: Tab follows the layout, every
// button has a mnemonic (none used twice) or a shortcut, every control a name, every marker
// its meaning in words.
TEST_F(MainDlgTest, KeyboardAndAssistiveTechnologyReachEveryControl) {
    Start();
    const QStringList tabOrder = {"Mod",
                                  "Load MapList...",
                                  "Save MapList",
                                  "Save MapList As...",
                                  "Compile VoteMap",
                                  "About...",
                                  "Exit",
                                  "Vote Map List",
                                  "Back to Available Maps",
                                  "Add to Vote Map List",
                                  "Clear Vote Map List",
                                  "Filter Available Maps",
                                  "Available Maps",
                                  "Make Vote Pictures",
                                  "Wall strength",
                                  "Expected players",
                                  "Thugs?",
                                  "Settings...",
                                  "Map Description",
                                  "Check For Updates"};
    QStringList visited;
    QWidget* widget = Ui().modSelector;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->window() == window.get()) {
            visited << widget->accessibleName();
            if (visited.back().isEmpty()) {
                visited.back() =
                    QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            }
        }
        widget = widget->nextInFocusChain();
    } while (widget != Ui().modSelector);
    EXPECT_EQ(visited, tabOrder);

    QStringList mnemonics;
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        const QKeySequence mnemonic = QKeySequence::mnemonic(button->text());
        EXPECT_TRUE(!mnemonic.isEmpty() || !button->shortcut().isEmpty())
            << button->text().toStdString();
        if (!mnemonic.isEmpty()) {
            EXPECT_FALSE(mnemonics.contains(mnemonic.toString()))
                << mnemonic.toString().toStdString();
            mnemonics << mnemonic.toString();
        }
    }
    for (const QWidget* value : std::initializer_list<QWidget*>{
             Ui().nameValue, Ui().sizeValue, Ui().downloadedValue, Ui().preview}) {
        EXPECT_FALSE(value->accessibleName().isEmpty());
    }

    const struct {
        const char* map;
        const char* meaning;
    } markers[] = {{"2fort", "installed"},
                   {"harbourside", "has server-size settings"},
                   {"frostfall", "not downloaded"}};
    MapListWidget* list = Ui().availableMaps;
    for (const auto& marker : markers) {
        const QModelIndex row =
            list->model()->index(static_cast<int>(list->Names().indexOf(marker.map)), 0);
        EXPECT_EQ(row.data(Qt::ToolTipRole).toString(), marker.meaning);
        EXPECT_EQ(row.data(Qt::AccessibleDescriptionRole).toString(), marker.meaning);
    }
}

// Long texts (a mod title, a map name, a description's caption) are cut where they are shown,
// whole in their tooltips; the window keeps the size it has with short ones.
TEST_F(MainDlgTest, LongTextsKeepTheWindowsSize) {
    Start();
    const QSize usual = window->size();
    const QString longCaption = "The Longest Caption " + QString(200, 'X');
    const std::string longName = "ctf_" + std::string(120, 'n');
    const std::string modList = demo.Game("Ballotine/mods.cfg");
    std::string mods = test::ReadFile(modList);
    mods.replace(mods.find("Half-Life Deathmatch"), 20, std::string(150, 'H'));
    test::WriteFile(modList, mods);
    test::WriteFile(demo.Game("tfc/maps/ballot_bay.txt"), longCaption.toStdString() + "\nText.\n");
    std::filesystem::copy_file(demo.Game("tfc/sprites/vote/2fort.spr"),
                               demo.Game("tfc/sprites/vote/" + longName + ".spr"));

    Start();
    EXPECT_EQ(window->size(), usual) << "a long mod title";
    Click(Ui().availableMaps, longName.c_str());
    Click(Ui().availableMaps, "ballot_bay");
    QApplication::processEvents();
    EXPECT_EQ(window->size(), usual) << "a long caption";
    EXPECT_EQ(Ui().descriptionFrame->WholeTitle(), longCaption);
    EXPECT_EQ(Ui().descriptionFrame->toolTip(), longCaption);
    EXPECT_TRUE(Ui().descriptionFrame->title().endsWith(QChar(0x2026)));
    Click(Ui().availableMaps, longName.c_str());
    QApplication::processEvents();
    EXPECT_EQ(window->size(), usual) << "a long map name";
    EXPECT_EQ(Ui().nameValue->text().toStdString(), longName);
    EXPECT_EQ(Ui().nameValue->toolTip().toStdString(), longName);
    Click(Ui().availableMaps, "canalworks");
    EXPECT_TRUE(Ui().descriptionFrame->toolTip().isEmpty()) << "a caption that fits has no tip";
    EXPECT_TRUE(Ui().nameValue->toolTip().isEmpty());
}

// The window may be enlarged, not shrunk below its laid-out size: the lists and the description
// take the room, the details keep theirs; the size is kept for the next run.
TEST_F(MainDlgTest, EnlargingGrowsTheListsAndTheSizeIsKept) {
    test::TempDir config;
    const QString sizeFile = QString::fromStdString(config / "window.conf");
    Start(sizeFile);
    const QSize usual = window->size();
    EXPECT_EQ(window->minimumSize(), usual);
    const auto sizes = [this] {
        return std::vector<QSize>{Ui().chosenMaps->size(), Ui().availableMaps->size(),
                                  Ui().description->size(), Ui().detailsFrame->size()};
    };
    const std::vector<QSize> before = sizes();
    window->resize(usual + QSize(300, 200));
    QApplication::processEvents();
    const std::vector<QSize> after = sizes();
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_GT(after[i].width(), before[i].width()) << i;
        EXPECT_GT(after[i].height(), before[i].height()) << i;
    }
    EXPECT_EQ(after[3].width(), before[3].width()) << "the details pane keeps its width";

    const QSize enlarged = usual + QSize(40, 30);
    window->resize(enlarged);
    Changed() = false;
    QTest::mouseClick(Ui().exit, Qt::LeftButton);
    Start(sizeFile);
    EXPECT_EQ(window->size(), enlarged.boundedTo(window->screen()->availableSize()))
        << "opens at the size it had";
    Start();
    EXPECT_EQ(window->size(), usual) << "without a size file";
}

// The filter narrows "Available Maps" as one types; a move takes only the maps shown, and
// the maps hidden stay in the list.
TEST_F(MainDlgTest, TheFilterNarrowsTheListAndMovesTakeOnlyWhatIsShown) {
    Start();
    Ui().filter->setFocus();
    QTest::keyClicks(Ui().filter, "R");
    EXPECT_EQ(Ui().availableMaps->VisibleNames().join(' '),
              "2fort canalworks frostfall harbourside quarry rock2");
    QTest::keyClicks(Ui().filter, "o");
    EXPECT_EQ(Ui().availableMaps->VisibleNames().join(' '), "frostfall rock2");
    QTest::keyClick(Ui().filter, Qt::Key_Backspace);
    Ui().availableMaps->setFocus();
    QTest::keyClick(Ui().availableMaps, Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(Ui().add, Qt::LeftButton);
    EXPECT_EQ(Lists(), "ballot_bay skyline | "
                       "2fort canalworks frostfall harbourside lakeside quarry rock2 well");
    EXPECT_TRUE(Ui().availableMaps->VisibleNames().isEmpty()) << "the filter still applies";
    Ui().filter->clear();
    EXPECT_EQ(Ui().availableMaps->VisibleNames().join(' '), "ballot_bay skyline");
}

// A mod without vote pictures says so where its maps would be listed; "Make Vote Pictures"
// draws them from its maps, the lists fill and a message tells what was drawn.
TEST_F(MainDlgTest, AModWithoutPicturesSaysSoAndTheWindowDrawsThem) {
    Start();
    const QSize withPictures = window->size();
    std::filesystem::remove_all(demo.Game("tfc/sprites/vote"));
    Start();
    EXPECT_EQ(window->size(), withPictures) << "the notice takes the list's room, no more";
    // Whatever the font, the notice asks for no room of its own: it scrolls in the list's.
    EXPECT_EQ(Ui().availableStack->sizeHint(), Ui().availableMaps->sizeHint());
    EXPECT_EQ(Ui().availableStack->minimumSizeHint(), Ui().availableMaps->minimumSizeHint());
    EXPECT_TRUE(Ui().noPicturesNotice->isVisible());
    EXPECT_FALSE(Ui().availableMaps->isVisible());
    EXPECT_TRUE(Ui().makePictures->isEnabled());
    EXPECT_FALSE(Ui().filter->isEnabled());
    const QLabel* notice = Ui().noPicturesNotice->findChild<QLabel*>();
    ASSERT_NE(notice, nullptr);
    EXPECT_GE(notice->height(), notice->heightForWidth(notice->width())) << "every line shown";
    EXPECT_TRUE(notice->text().contains("ballotine-cli sprites"));

    QTest::mouseClick(Ui().makePictures, Qt::LeftButton);
    EXPECT_EQ(prompter.Messages(), std::vector<std::string>{"Vote pictures drawn: 5."});
    EXPECT_TRUE(Ui().availableMaps->isVisible());
    EXPECT_EQ(Lists(), "ballot_bay canalworks harbourside skyline | lakeside") << "vote.ent's maps";
    EXPECT_TRUE(std::filesystem::exists(demo.Game("tfc/sprites/vote/skyline.spr")));

    // The list's context menu offers it again; every map has its picture now.
    QStringList entries;
    QTimer::singleShot(0, [&] {
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            entries << action->text();
        }
        menu->actions().first()->trigger();
        menu->close();
    });
    emit Ui().availableMaps->customContextMenuRequested(QPoint(5, 5));
    EXPECT_EQ(entries, QStringList{"Make &Vote Pictures"});
    EXPECT_EQ(prompter.Messages().back(), "Every map of this mod has a vote picture already.");
}

// Enter acts only on the focused button: from a list, slider, check box or the mod selector
// it neither closes the window nor asks; on "Exit" it asks, with No as Enter's answer.
TEST_F(MainDlgTest, EnterClosesNothingButTheFocusedButtonActs) {
    Start();
    // With changes pending, and with none (as after a compile, when nothing would ask first).
    for (const bool pending : {true, false}) {
        Changed() = pending;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 Ui().availableMaps, Ui().chosenMaps, Ui().wallsSlider, Ui().playersSlider,
                 Ui().thugs, Ui().modSelector, Ui().description}) {
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Return);
            QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_TRUE(window->isVisible()) << control->metaObject()->className() << pending;
        }
    }
    Changed() = true;
    EXPECT_TRUE(prompter.Questions().empty());
    EXPECT_TRUE(Ui().thugs->isChecked()) << "Enter does not toggle the check box";
    for (const QPushButton* button : window->findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault()) << button->text().toStdString();
    }

    prompter.AnswerNo();
    Ui().exit->setFocus();
    QTest::keyClick(Ui().exit, Qt::Key_Return);
    EXPECT_EQ(prompter.AbandonQuestions(),
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
    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_TRUE(prompter.Questions().empty()) << "Escape closes without asking";
    window->show();
    Changed() = false;
    Ui().exit->setFocus();
    QTest::keyClick(Ui().exit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(window->isVisible()) << "no changes: closes without asking";
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(MainDlgTest, AboutBoxAndTheWindowMenuEntry) {
    Start();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        seen << QApplication::activeModalWidget()->windowTitle();
        QApplication::activeModalWidget()->close();
    });
    QTest::mouseClick(Ui().about, Qt::LeftButton);
    QTimer::singleShot(0, [&] {
        for (const QAction* action : QApplication::activePopupWidget()->actions()) {
            seen << action->text();
        }
        QApplication::activePopupWidget()->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5}, window->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window.get(), &event);
    EXPECT_EQ(seen, QStringList({"Ballotine V2.2", "&About Ballotine..."}));
}

// The compile runs off the window's thread: the window goes on handling events (no wait over
// 100 ms while the entity tool runs), shows that it is busy and takes no input meanwhile (no
// button, key, shortcut or closing); the question comes before and the message after.
TEST_F(MainDlgTest, ACompileRunsOffTheWindowsThreadAndTheWindowTakesNoInput) {
    Start();
    test::FakeToolRunner succeeding;
    test::SlowRunner slow(succeeding, std::chrono::milliseconds(600));
    runner.RunWith(slow);
    prompter.AnswerYes();
    const QString lists = Lists();
    QStringList during;
    const QObject scope; // the look during the compile ends with the test, whatever happens
    QTimer::singleShot(300, &scope, [&] {
        const auto* indicator = window->findChild<QWidget*>(kBusyIndicatorName);
        during << (indicator != nullptr && indicator->isVisible() ? "busy" : "not busy");
        QTest::mouseClick(Ui().clear, Qt::LeftButton);
        QTest::keyClick(Ui().availableMaps, Qt::Key_Escape);
        QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);
        window->close();
        during << (window->isVisible() ? "open" : "closed");
    });
    const test::EventLoopGaps gaps;
    QTest::mouseClick(Ui().compile, Qt::LeftButton);
    EXPECT_EQ(slow.Runs().size(), 1u);
    EXPECT_FALSE(slow.AnyOnUiThread());
    EXPECT_LT(gaps.LongestOver(slow.Runs()), 100.0);
    EXPECT_EQ(during, QStringList({"busy", "open"}));
    EXPECT_EQ(Lists(), lists) << "\"Clr\" was not taken";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->findChild<QWidget*>(kBusyIndicatorName), nullptr) << "gone afterwards";
    EXPECT_EQ(prompter.Transcript(),
              (std::vector<std::string>{"? Are you sure you want to create a 2 level VoteMap?",
                                        "VoteMap successfully Compiled"}));
}

// The list files are pinned by the vote map tests; this checks the buttons' wiring and what the
// window shows afterwards.
TEST_F(MainDlgTest, ListButtonsDriveTheWindow) {
    Start();
    const std::string list = demo.Game("Ballotine/tfc/VoteMapLists/cup.VML");
    test::WriteFile(list, "VML Header V1.2\n22 1 3\nSKYLINE\n2fort\n");
    prompter.NextFile(list);
    QTest::mouseClick(Ui().loadList, Qt::LeftButton);
    EXPECT_EQ(Ui().chosenMaps->Names().join(' '), "2fort skyline");
    EXPECT_EQ(Labels(), "3/22 (Thugs/Players), Super Walls");
    EXPECT_EQ(Ui().playersSlider->value() * 10 + Ui().wallsSlider->value(), 223);
    EXPECT_EQ(window->windowTitle(), "Ballotine V2.1 - cup.VML");

    test::TempDir elsewhere;
    prompter.NextFile(elsewhere / "final.VML");
    QString titleDuringMessage;
    prompter.OnMessage([&](std::string_view) { titleDuringMessage = window->windowTitle(); });
    QTest::mouseClick(Ui().saveListAs, Qt::LeftButton);
    EXPECT_EQ(titleDuringMessage, "Ballotine V2.1 - final.VML") << "the title first";
    prompter.OnMessage(nullptr);
    EXPECT_EQ(test::ReadFile(elsewhere.Path() / "final.VML"),
              "VML Header V1.2\n22 3 3\n2fort\nskyline\n");
}

} // namespace
} // namespace ballotine
