#include "app/ResourceListDlg.h"

#include "DemoWindow.h"
#include "WorkTiming.h"
#include "app/InstallSummaryDlg.h"
#include "download/DownloadTransfer.h"
#include "download/LoopbackServer.h"
#include "support/OtherLockHolder.h"
#include "support/TestFiles.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

// "Check For Updates" on the demo installation, from the main window through the update
// list and its download windows; the built zip tool unpacks, the log viewer is only noted.
class ResourceListDlgTest : public test::DemoWindow {
protected:
    ResourceListDlgTest() { runner.RunWith(tools); }
    void Start() {
        DemoWindow::Start();
        window->SetUpdatesOpener(MakeUpdatesOpener(session, tables, transfer, services));
    }

    // Presses "Check For Updates"; while the windows it opens run, `step` is called every
    // 20 ms with the update list once it shows (else null) until it returns true.
    void CheckForUpdates(const std::function<bool(CResourceListDlg*)>& step) {
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* list = qobject_cast<CResourceListDlg*>(QApplication::activeModalWidget());
            if (step(list != nullptr && list->isVisible() ? list : nullptr)) {
                driver.stop();
            }
        });
        driver.start(20);
        QTimer::singleShot(30000, [] {
            ADD_FAILURE() << "the update windows did not close";
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        window->Ui().checkForUpdates->click();
    }

    // Answers the summary after "Download...": notes what it says, presses "Show Log", notes
    // the text of our own log window when that opens (and closes it), then presses OK.
    void AnswerTheSummary() {
        m_summaryDriver = std::make_unique<QTimer>();
        QObject::connect(m_summaryDriver.get(), &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* log = qobject_cast<CLogViewerDlg*>(modal)) {
                logWindowText = log->Text()->toPlainText();
                log->reject();
            } else if (auto* summary = qobject_cast<CInstallSummaryDlg*>(modal);
                       summary != nullptr && summaryText.isEmpty()) {
                summaryText =
                    summary->Ui().headline->text() + "|" + summary->Ui().details->toPlainText();
                // Pressed from a slot of its own: the log window runs inside the press.
                QTimer::singleShot(0, summary, [summary] {
                    summary->Ui().showLog->click();
                    summary->Ui().ok->click();
                });
            }
        });
        m_summaryDriver->start(20);
    }

    // A double click on a package of the list.
    static void Tick(CResourceListDlg* list, const QString& title) {
        QTreeWidgetItem* item = list->Ui().tree->findItems(title, Qt::MatchRecursive).value(0);
        list->Ui().tree->setCurrentItem(item);
        emit list->Ui().tree->itemDoubleClicked(item, 0);
    }

    // Ticks two packages, waits for the refresh to count them, then downloads.
    static std::function<bool(CResourceListDlg*)> TickAndDownload() {
        return [](CResourceListDlg* list) {
            if (list == nullptr) {
                return false;
            }
            if (!list->Ui().download->isEnabled()) {
                Tick(list, "Lakeside server sizes");
                Tick(list, "Ridgeline - Attack / Defend");
                return false;
            }
            EXPECT_TRUE(list->Ui().status->text().startsWith("  Total Files Selected:2 of 7 files"))
                << list->Ui().status->text().toStdString();
            list->Ui().download->click();
            return true;
        };
    }

    void ExpectInstalledAndShown() {
        EXPECT_EQ(summaryText.toStdString(),
                  "2 installed, 0 skipped, 0 failed.|Installed (2):\n"
                  "  Lakeside server sizes\n  Ridgeline - Attack / Defend\n"); // queue order
        const std::string work = demo.Game("Ballotine/tfc/");
        EXPECT_TRUE(fs::exists(work + "update.log"));
        const std::string record = ReadFile(work + "config.conf");
        EXPECT_NE(record.find("lakeside 1 1\n"), std::string::npos) << record;
        EXPECT_NE(record.find("ridgeline 1 0\n"), std::string::npos) << record;
        EXPECT_EQ(ReadFile(demo.Game("tfc/maps/ridgeline.bsp")).substr(0, 1), "\x1e");
        EXPECT_EQ(runner.Calls().back().Line(),
                  "xdg-open " + session.paths.modWorkDir + "update.log")
            << "\"Show Log\" shows the report";
        EXPECT_TRUE(runner.Calls().back().detached);
        EXPECT_TRUE(window->Ui().availableMaps->Names().contains("ridgeline"));
        EXPECT_EQ(window->Ui().chosenMaps->StateAt(0), MapState::Configurable); // lakeside
        EXPECT_TRUE(prompter.Messages().empty()) << prompter.Messages().front();
    }

    SpawnToolRunner tools{{test::BuiltProgram("pkzip25").parent_path()}};
    QString summaryText;
    QString logWindowText;
    std::unique_ptr<QTimer> m_summaryDriver;
    UpdateTables tables;
    DownloadTransfer transfer{clock};
};

void ExpectCatalogueShown(CResourceListDlg* list) {
    EXPECT_EQ(list->windowTitle(), "New 'Team Fortress Classic' Downloads...");
    EXPECT_FALSE(list->Ui().download->isEnabled());
    EXPECT_TRUE(list->TimerRunning());
    const QTreeWidget* tree = list->Ui().tree;
    ASSERT_EQ(tree->topLevelItemCount(), 5);
    const QTreeWidgetItem* newMaps = tree->topLevelItem(1);
    EXPECT_TRUE(newMaps->font(0).bold() && newMaps->isExpanded());
    EXPECT_EQ(newMaps->text(0) + "|" + newMaps->child(0)->text(0),
              "New Maps|Frostfall - Capture The Flag");
    list->Ui().tree->setCurrentItem(tree->topLevelItem(4));
    EXPECT_EQ(list->Ui().detailsFrame->title(), "Downloadable Maps");
    EXPECT_EQ(list->Ui().details->text(), "These are the list of maps which you can download...");
}

// Space ticks the current package or category with the double click's cascade, the tree
// tells assistive technology the real check states, and Enter in the tree downloads nothing.
TEST_F(ResourceListDlgTest, SpaceTicksAPackageOrCategoryAndEnterDownloadsNothing) {
    Start();
    const auto checkedOf = [](CResourceListDlg* list, QTreeWidgetItem* item) {
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(list->Ui().tree);
        for (int i = 0; i < tree->childCount(); ++i) {
            QAccessibleInterface* cell = tree->child(i);
            if (cell->text(QAccessible::Name) == item->text(0)) {
                EXPECT_TRUE(cell->state().checkable) << item->text(0);
                EXPECT_EQ(cell->state().checked, item->checkState(0) == Qt::Checked);
                return cell->state().checked != 0;
            }
        }
        ADD_FAILURE() << "no accessible row " << item->text(0);
        return false;
    };
    enum { kTickPackage, kTickCategory, kCheckCascade, kDone } phase = kTickPackage;
    int waited = 0; // driver steps since the last key, for the refresh to pass
    QTreeWidgetItem* package = nullptr;
    QTreeWidgetItem* category = nullptr;
    CheckForUpdates([&](CResourceListDlg* list) {
        if (list == nullptr) {
            return false;
        }
        QTreeWidget* tree = list->Ui().tree;
        if (phase == kTickPackage) {
            package = tree->findItems("Lakeside server sizes", Qt::MatchRecursive).value(0);
            category = tree->topLevelItem(4); // "Downloadable Maps"
            EXPECT_FALSE(checkedOf(list, package));
            tree->setFocus();
            tree->setCurrentItem(package);
            QTest::keyClick(tree, Qt::Key_Space);
            phase = kTickCategory;
            return false;
        }
        if (!list->Ui().download->isEnabled() && ++waited < 100) {
            return false; // the refresh has not passed yet
        }
        waited = 0;
        if (phase == kTickCategory) {
            EXPECT_TRUE(checkedOf(list, package));
            QTest::keyClick(tree, Qt::Key_Return);
            EXPECT_TRUE(list->isVisible()) << "Enter in the tree starts no download";
            tree->setCurrentItem(category);
            QTest::keyClick(tree, Qt::Key_Space);
            phase = kCheckCascade;
            return false;
        }
        if (!checkedOf(list, category) && ++waited < 100) {
            return false;
        }
        EXPECT_TRUE(checkedOf(list, category));
        for (int child = 0; child < category->childCount(); ++child) {
            EXPECT_TRUE(checkedOf(list, category->child(child))) << "the cascade";
        }
        EXPECT_FALSE(list->Ui().download->isDefault());
        list->Ui().cancel->click();
        phase = kDone;
        return true;
    });
    EXPECT_EQ(phase, kDone);
    EXPECT_FALSE(fs::exists(demo.Game("Ballotine/tfc/update.log"))) << "nothing was installed";
}

// The catalogue shows, the ticked packages install from the demo server, and they are
// unpacked and placed off the window's thread: while the zip tool runs, the window's thread
// never waits 100 ms or more for its events.
TEST_F(ResourceListDlgTest, DownloadsAndInstallsAndTheWindowStaysResponsive) {
    test::SlowRunner slow(tools, std::chrono::milliseconds(400));
    runner.RunWith(slow);
    Start();
    AnswerTheSummary();
    std::size_t beforeDownload = 0;
    bool inspected = false;
    const auto tickAndDownload = TickAndDownload();
    std::optional<test::EventLoopGaps> gaps;
    CheckForUpdates([&](CResourceListDlg* list) {
        if (list != nullptr && !inspected) {
            inspected = true;
            ExpectCatalogueShown(list);
        }
        if (list != nullptr && list->Ui().download->isEnabled()) {
            beforeDownload = slow.Runs().size();
            gaps.emplace();
        }
        return tickAndDownload(list);
    });
    EXPECT_TRUE(inspected);
    ASSERT_TRUE(gaps.has_value());
    const std::vector<test::Span> installing = slow.Runs(beforeDownload);
    EXPECT_EQ(installing.size(), 2u) << "the two packages unpacked";
    EXPECT_LT(gaps->LongestOver(installing), 100.0);
    EXPECT_FALSE(slow.AnyOnUiThread()) << "neither the list's nor the packages' installation";
    ExpectInstalledAndShown();
}

// Over HTTP, and without a viewer that starts: "Show Log" opens the log in a window of our own.
TEST_F(ResourceListDlgTest, DownloadsAndInstallsOverHttpAndShowsTheLogItself) {
    runner.SetDetachedStarts(false);
    // The demo server's files over HTTP, their addresses rewritten to point there.
    test::LoopbackServer server;
    const std::string fileServer = demo.Layout().ServerUrl();
    const std::string httpServer = server.Url("");
    const auto rewritten = [&](const std::string& text) {
        std::string result = text;
        for (std::size_t at = 0; (at = result.find(fileServer, at)) != std::string::npos;) {
            result.replace(at, fileServer.size(), httpServer);
            at += httpServer.size();
        }
        return result;
    };
    for (const auto& entry : fs::recursive_directory_iterator(demo.Layout().serverDir)) {
        if (entry.is_regular_file()) {
            const std::string relative =
                entry.path().lexically_relative(demo.Layout().serverDir).generic_string();
            server.Serve("/" + relative, rewritten(ReadFile(entry.path())));
        }
    }
    const std::string modList = demo.Game("Ballotine/mods.cfg");
    WriteFile(modList, rewritten(ReadFile(modList)));

    Start();
    AnswerTheSummary();
    CheckForUpdates(TickAndDownload());
    ExpectInstalledAndShown();
    EXPECT_TRUE(logWindowText.startsWith("Map Download & Installation Log V1.0\n"));
    EXPECT_TRUE(logWindowText.contains("Ridgeline - Attack / Defend...")) << logWindowText;
    EXPECT_EQ(server.Requests("/tfc/voteVM/ridgelineVM.zip").size(), 1u);
    EXPECT_EQ(server.Requests("/tfc/maps/ridgeline.zip").size(), 1u);
}

TEST_F(ResourceListDlgTest, ACancelledListDownloadStillSavesTheModList) {
    test::LoopbackServer server;
    server.ServeStalling("/tfc/database.conf", std::string(4000, 'x'), 100);
    const std::string modList = demo.Game("Ballotine/mods.cfg");
    std::string text = ReadFile(modList);
    const std::string base = demo.Layout().ServerUrl("tfc") + "\n";
    text.replace(text.find(base), base.size(), server.Url("/tfc") + "\n");
    WriteFile(modList, text);
    Start();
    fs::remove(modList);

    CheckForUpdates([](CResourceListDlg* list) {
        EXPECT_EQ(list, nullptr) << "the update list is never shown";
        if (auto* download = QApplication::activeModalWidget()) {
            download->close();
            return true;
        }
        return false;
    });
    server.Release();
    EXPECT_EQ(prompter.Messages(),
              std::vector<std::string>{"Unable to download config list. Retry again later..."});
    EXPECT_TRUE(fs::exists(modList)) << "saved after the update list, however it ended";
}

// Two packages of one title: ticking the second installs the second.
TEST_F(ResourceListDlgTest, TickingTheSecondOfOneTitleInstallsTheSecond) {
    const fs::path listFile = demo.Layout().serverDir / "tfc/database.conf";
    std::string list = ReadFile(listFile);
    const std::string frostfall = "Frostfall - Capture The Flag";
    list.replace(list.find(frostfall), frostfall.size(), "Quarry - Capture The Flag");
    WriteFile(listFile, list);
    Start();
    AnswerTheSummary();
    CheckForUpdates([](CResourceListDlg* dialog) {
        if (dialog == nullptr) {
            return false;
        }
        if (!dialog->Ui().download->isEnabled()) {
            Tick(dialog, "Quarry - Capture The Flag (quarry)");
            return false;
        }
        dialog->Ui().download->click();
        return true;
    });
    EXPECT_TRUE(fs::exists(demo.Game("tfc/maps/quarry.bsp")));
    EXPECT_FALSE(fs::exists(demo.Game("tfc/maps/frostfall.bsp")));
}

// Another program changes the game: the window says who and lets the user try again or give
// up; giving up fetches nothing.
TEST_F(ResourceListDlgTest, WhileAnotherProgramChangesTheGameTheUserMayGiveUp) {
    Start();
    test::OtherLockHolder other(demo.Game("Ballotine"), "updates");
    prompter.AnswerYes(); // try again: still held
    prompter.AnswerNo();
    prompter.AnswerNo(); // the mod list is saved after the update list, however it ended
    CheckForUpdates([](CResourceListDlg* dialog) {
        EXPECT_EQ(dialog, nullptr) << "the update list is never shown";
        return true;
    });
    ASSERT_EQ(prompter.Questions().size(), 3u);
    for (const std::string& question : prompter.Questions()) {
        EXPECT_EQ(question.find("Another program is changing this game: "), 0u) << question;
        EXPECT_NE(
            question.find("(process " + std::to_string(other.Pid()) + ", updates).\nTry again?"),
            std::string::npos)
            << question;
    }
    EXPECT_FALSE(fs::exists(demo.Game("tfc/sprites/vote/ridgeline.spr"))) << "nothing fetched";
}

TEST_F(ResourceListDlgTest, WithoutASelectedModNothingOpens) {
    Start();
    int opened = 0;
    window->SetUpdatesOpener([&opened](const UpdatesOpening&) {
        ++opened;
        return UpdatesOutcome{};
    });
    session.selector.Clear();
    window->Ui().checkForUpdates->click();
    EXPECT_EQ(opened, 0);
}

} // namespace
} // namespace ballotine
