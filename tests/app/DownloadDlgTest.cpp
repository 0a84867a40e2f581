#include "app/DownloadDlg.h"

#include "download/LoopbackServer.h"
#include "platform/Clock.h"
#include "support/DownloadItems.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QElapsedTimer>
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

// The download window over a loopback server; each item is saved under its own name.
class DownloadDlg : public ::testing::Test {
protected:
    void Add(const std::string& name, const std::string& path, std::int64_t size) {
        queue.push_back(test::Item(name, server.Url(path), folder / name, size));
    }
    // Runs the window, calling `step` every 10 ms until it returns true; after 20 s the run
    // is cancelled so the test fails rather than hangs.
    int Run(CDownloadDlg& dialog, std::function<bool(CDownloadDlg&)> step) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (step(dialog)) {
                poll.stop();
            }
        });
        poll.start(10);
        QTimer::singleShot(20000, &dialog, [&dialog] {
            ADD_FAILURE() << "the download window did not close";
            dialog.reject();
        });
        return dialog.exec();
    }
    template <typename Widget>
    static Widget* Find(CDownloadDlg& dialog, const char* name) {
        return dialog.findChild<Widget*>(name);
    }

    test::TempDir folder;
    test::LoopbackServer server;
    SteadyClock clock;
    DownloadTransfer transfer{clock};
    DownloadQueue queue;
};

// Skip on one stalled file, Cancel All on the next: the old files stay, later items pending.
TEST_F(DownloadDlg, SkipAndCancelAllDuringStallsKeepWhatWasThere) {
    server.Serve("/first.zip", "first");
    server.ServeStalling("/big.zip", std::string(200000, 'b'), 4000);
    test::WriteFile(folder / "big.zip", "installed before");
    Add("first.zip", "/first.zip", -1);
    Add("big.zip", "/big.zip", 100 * 1024 * 1024);
    Add("next.zip", "/big.zip", 10000);
    Add("after.zip", "/first.zip", 5);
    CDownloadDlg dialog(queue, true, transfer, clock);
    EXPECT_EQ(dialog.Result(), DownloadRunResult::NotRun);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    dialog.show();
    const QSize opened = dialog.size();
    Find<QLabel>(dialog, "fileName")->setText(QString(300, 'x'));
    Find<QLabel>(dialog, "totalBytes")->setText(QString(300, 'y'));
    QApplication::processEvents();
    EXPECT_EQ(dialog.size(), opened) << "long texts do not widen the window";
    dialog.hide();
    QStringList seen;
    std::string stalledFile;
    QElapsedTimer stalled;
    const auto step = [&](CDownloadDlg& running) {
        const bool big = transfer.CurrentName() == "big.zip";
        if (transfer.FileReceived() < 4000 || (big && !seen.isEmpty())) {
            return false;
        }
        // the figures are redrawn on the window's 100 ms tick
        if (stalledFile != transfer.CurrentName()) {
            stalledFile = transfer.CurrentName();
            stalled.start();
        }
        if (stalled.elapsed() < 2 * DownloadProgress::kTickMs) {
            return false;
        }
        seen << Find<QGroupBox>(running, "fileGroup")->title()
             << QString::number(Find<QProgressBar>(running, "progressBar")->maximum());
        Find<QPushButton>(running, big ? "skipButton" : "cancelButton")->click();
        return !big;
    };
    EXPECT_EQ(Run(dialog, step), QDialog::Rejected);
    EXPECT_EQ(dialog.Result(), DownloadRunResult::Cancelled);
    EXPECT_EQ(seen, QStringList({"Download 2 of 4", "102409", "Download 3 of 4", "13"}))
        << "the bar's range is not wrapped; the skip lowered it";
    EXPECT_EQ(test::StatusLetters(queue), "DFFP");
    EXPECT_EQ(ReadFile(folder / "big.zip"), "installed before");
    EXPECT_FALSE(std::filesystem::exists(folder / "next.zip"));
    EXPECT_FALSE(transfer.IsInternetOpen());

    Add("list.conf", "/big.zip", -1);
    CDownloadDlg lists(queue, false, transfer, clock);
    bool skipEnabled = true;
    EXPECT_EQ(Run(lists,
                  [&](CDownloadDlg& running) {
                      skipEnabled = Find<QPushButton>(running, "skipButton")->isEnabled();
                      Find<QPushButton>(running, "cancelButton")->click();
                      return true;
                  }),
              QDialog::Rejected);
    EXPECT_FALSE(skipEnabled) << "lists cannot be skipped";
}

// Each file used to wait for the window's next 100 ms tick: the first, and one that failed.
TEST_F(DownloadDlg, TheNextFileStartsAsSoonAsOneEnds) {
    server.ServeStatus("/gone", 404);
    for (const std::string name : {"a", "b", "c", "d", "e"}) {
        server.Serve("/" + name, name);
        Add(name, "/" + name, 1);
        Add(name + ".gone", "/gone", -1);
    }
    CDownloadDlg dialog(queue, true, transfer, clock);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(Run(dialog, [](CDownloadDlg&) { return true; }), QDialog::Accepted);
    EXPECT_LT(elapsed.elapsed(), 2 * DownloadProgress::kTickMs);
    EXPECT_EQ(test::StatusLetters(queue), "DFDFDFDFDF");
}

} // namespace
} // namespace ballotine
