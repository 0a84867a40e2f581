#include "app/DownloadDlg.h"

#include "download/LoopbackServer.h"
#include "platform/Clock.h"
#include "support/TestFiles.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

using test::ReadFile;

class DownloadDlg : public ::testing::Test {
protected:
    void AddPending(const std::string& name, const std::string& url, const std::string& altUrl,
                    const std::string& file, std::int64_t size) {
        queue.Append(name, url, altUrl, folder / file, size, 0, "N/A", false);
        queue.FindByName(name);
        queue.SetStatus(StatusPending);
    }

    // The items' statuses in queue order: N none, P pending, D downloaded, F failed, I installed.
    std::string Statuses() {
        std::string statuses;
        queue.Rewind();
        for (std::int32_t i = 0; i < queue.GetCount(); ++i, queue.Advance()) {
            statuses += queue.GetStatus() == StatusInstalled ? 'I' : "NPDF"[queue.GetStatus()];
        }
        return statuses;
    }

    // Runs the window; `whileRunning` is called every 10 ms until it returns true. A run that
    // does not end within 20 s is cancelled so the test fails rather than hangs.
    int Run(CDownloadDlg& dialog, std::function<bool(CDownloadDlg&)> whileRunning = {}) {
        QTimer poll;
        if (whileRunning) {
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (whileRunning(dialog)) {
                    poll.stop();
                }
            });
            poll.start(10);
        }
        QTimer::singleShot(20000, &dialog, [&dialog] {
            ADD_FAILURE() << "the download window did not close";
            dialog.reject();
        });
        return dialog.exec();
    }

    test::TempDir folder;
    test::LoopbackServer server;
    SteadyClock clock;
    DownloadTransfer transfer{clock};
    DownloadQueue queue;
};

TEST_F(DownloadDlg, SkipsAndWorksThroughTheQueueAndClosesAccepted) {
    server.ServeStalling("/stall.zip", std::string(10000, 's'), 4000);
    server.ServeStatus("/gone.conf", 404);
    server.Serve("/mirror.conf", std::string(3000, 'c'));
    server.Serve("/mods.cfg", "mods");
    AddPending("Stalling", server.Url("/stall.zip"), "N/A", "stall.zip", 10000);
    AddPending("Entity Config List...", server.Url("/gone.conf"), server.Url("/mirror.conf"),
               "update.conf", -1);
    AddPending("Master Map...", server.Url("/mods.cfg"), "N/A", "modsupdate.cfg", -1);
    CDownloadDlg dialog(queue, true, transfer, clock);
    EXPECT_EQ(dialog.Result(), 0);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));

    const int outcome = Run(dialog, [&](CDownloadDlg& running) {
        if (transfer.FileReceived() < 4000) {
            return false;
        }
        running.findChild<QPushButton*>("skipButton")->click();
        return true;
    });

    EXPECT_EQ(outcome, QDialog::Accepted);
    EXPECT_EQ(dialog.Result(), 1);
    EXPECT_EQ(dialog.Progress().TotalSize(), 4000) << "the skipped file's 6000 missing bytes";
    EXPECT_EQ(Statuses(), "FDD");
    EXPECT_FALSE(std::filesystem::exists(folder / "stall.zip"));
    EXPECT_EQ(ReadFile(folder / "update.conf"), std::string(3000, 'c'));
    EXPECT_EQ(ReadFile(folder / "modsupdate.cfg"), "mods");
    EXPECT_EQ(dialog.findChild<QGroupBox*>("fileGroup")->title(), "Download 3 of 3");
    EXPECT_EQ(dialog.findChild<QLabel*>("fileName")->text(), "Master Map...");
    EXPECT_EQ(dialog.findChild<QLabel*>("fileElapsed")->text(), "Not Available");
}

TEST_F(DownloadDlg, CancelAllDuringAStallClosesRejectedAndKeepsWhatWasThere) {
    server.Serve("/first.zip", "first");
    server.ServeStalling("/big.zip", std::string(200000, 'b'), 4000);
    test::WriteFile(folder / "big.zip", "installed before");
    AddPending("First", server.Url("/first.zip"), "N/A", "first.zip", 5);
    AddPending("Big", server.Url("/big.zip"), "N/A", "big.zip", 100 * 1024 * 1024);
    AddPending("After", server.Url("/first.zip"), "N/A", "after.zip", 5);
    CDownloadDlg dialog(queue, false, transfer, clock);
    int barMaximum = 0;

    const int outcome = Run(dialog, [&](CDownloadDlg& running) {
        if (transfer.CurrentName() != "Big" || transfer.FileReceived() < 4000) {
            return false;
        }
        EXPECT_FALSE(running.findChild<QPushButton*>("skipButton")->isEnabled());
        barMaximum = running.findChild<QProgressBar*>("progressBar")->maximum();
        running.findChild<QPushButton*>("cancelButton")->click();
        return true;
    });

    EXPECT_EQ(outcome, QDialog::Rejected);
    EXPECT_EQ(dialog.Result(), -1);
    EXPECT_EQ(barMaximum, 102400) << "the bar's range wrapped";
    EXPECT_EQ(Statuses(), "DFP");
    EXPECT_EQ(ReadFile(folder / "big.zip"), "installed before");
    EXPECT_FALSE(transfer.IsInternetOpen());
}

} // namespace
} // namespace ballotine
