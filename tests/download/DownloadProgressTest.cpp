#include "download/DownloadProgress.h"

#include "download/DownloadFixture.h"
#include "download/TextProgressLine.h"
#include "support/FakeCommandRunner.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

using test::ReadFile;
using test::WriteFile;

TEST(DownloadQueue, AnEmptyQueueAnswersEmptyAndIgnoresChanges) {
    DownloadQueue queue;
    queue.Rewind();
    EXPECT_FALSE(queue.HasCurrent());
    EXPECT_FALSE(queue.Advance());
    EXPECT_FALSE(queue.FindByName("anything"));
    queue.SetStatus(StatusPending); // nothing to change, nothing to crash
    EXPECT_EQ(queue.GetStatus(), StatusNone);
    EXPECT_EQ(queue.GetName(), "");
}

TEST(DownloadQueue, TheCursorMovesOnlyWhenTold) {
    DownloadQueue queue;
    queue.Rewind();
    for (const char* name : {"Alpha", "Beta", "beta"}) {
        queue.Append(name, "http://host/file", "N/A", "/tmp/file", 10, 1, "key", false);
    }
    EXPECT_FALSE(queue.HasCurrent()) << "Append moved the cursor";
    queue.Rewind();
    queue.SetStatus(StatusPending);
    // By name without regard to case, the first of two; a miss leaves the cursor.
    ASSERT_TRUE(queue.FindByName("BETA"));
    queue.SetStatus(StatusDownloaded);
    EXPECT_FALSE(queue.FindByName("gamma"));
    EXPECT_EQ(queue.GetName(), "Beta");
    EXPECT_TRUE(queue.Advance());
    EXPECT_FALSE(queue.Advance()) << "the last item";
    EXPECT_EQ(queue.GetName(), "beta");

    queue.Rewind();
    EXPECT_EQ(queue.GetStatus(), StatusPending);
    queue.Advance();
    EXPECT_EQ(queue.GetStatus(), StatusDownloaded);
    queue.Advance();
    EXPECT_EQ(queue.GetStatus(), StatusNone);
}

TEST(DownloadFigures, ChunkSizeFollowsTheRateWithStrictThresholdsAndTimesShowHours) {
    const std::pair<float, int> cases[] = {{0.0F, 512},  {2.5F, 512},   {2.51F, 1024},
                                           {7.0F, 1024}, {7.01F, 1536}, {12.0F, 1536},
                                           {12.5F, 2048}};
    for (const auto& [rate, chunkSize] : cases) {
        EXPECT_EQ(DownloadProgress::ChunkSizeForRate(rate), chunkSize) << rate;
    }
    EXPECT_EQ(DownloadProgress::FormatTime(3661), "01:01:01");
    EXPECT_EQ(DownloadProgress::FormatTime(360000), "100:00:00");
}

// Ticks are driven by hand: the clock moves 100 ms before each, and the transfer only works
// when the test pumps it, so what arrives before which tick is fixed.
class Progress : public test::DownloadFixture<test::ManualClock> {
protected:
    void Tick(int count = 1) {
        for (int tick = 0; tick < count; ++tick) {
            clock.Advance(DownloadProgress::kTickMs);
            progress.Tick();
        }
    }
    bool PumpUntilReceived(std::int64_t bytes) {
        return test::PumpUntil(transfer, [&] { return transfer.FileReceived() >= bytes; });
    }

    DownloadProgress progress{queue, transfer, clock};
};

TEST_F(Progress, AQueueWithoutPendingItemsEndsOnTheFirstTickWithResultOne) {
    queue.Append("Unticked", server.Url("/a"), "N/A", folder / "a", 10, 0, "a", false);
    AddPending("Done before", server.Url("/b"), "N/A", "b", 10);
    queue.SetStatus(StatusDownloaded);

    EXPECT_EQ(progress.Result(), 0);
    ASSERT_TRUE(progress.Start());
    EXPECT_EQ(progress.Result(), 1);
    Tick();

    EXPECT_EQ(progress.GetState(), DownloadProgress::State::Finished);
    EXPECT_EQ(progress.Result(), 1);
    EXPECT_EQ(StatusOf("Unticked"), StatusNone);
    EXPECT_EQ(StatusOf("Done before"), StatusDownloaded);
    EXPECT_FALSE(transfer.IsInternetOpen());
    EXPECT_TRUE(server.Requests("/a").empty());
}

TEST_F(Progress, BeforeTheFirstMeasurementTheRateIsSixAndTheOpeningFileIsNumberZero) {
    server.ServeStalling("/slow.zip", test::PatternedBytes(10000), 0);
    AddPending("Slow", server.Url("/slow.zip"), "N/A", "slow.zip", 10000);
    ASSERT_TRUE(progress.Start());
    EXPECT_EQ(progress.Labels().progressMaximum, 9);

    Tick();
    ASSERT_TRUE(test::PumpUntil(transfer, [&] { return !server.Requests("/slow.zip").empty(); }));
    EXPECT_EQ(progress.Labels().fileGroup, "Download 0 of 1");
    EXPECT_EQ(progress.Labels().fileName, "Slow");
    EXPECT_EQ(progress.Labels().totalBytes, "0 of 10000");
    Tick(4);

    EXPECT_EQ(progress.Labels().totalBytes, "0 of 10000 (6.00 Kb/Sec)");
    EXPECT_EQ(progress.Labels().fileBytes, "0 of 10000");
}

struct FigureCase {
    std::int64_t size;
    const char* fileBytes;
    const char* fileTimes; // elapsed and remaining
    const char* remaining;
};

class ProgressFigures : public Progress, public ::testing::WithParamInterface<FigureCase> {};

// 3000 bytes arrive just before the fifth tick, 500 ms after the start: 5.86 KB/s. A size the
// server exceeds or does not know never makes a time negative.
TEST_P(ProgressFigures, AreMeasuredOnTheFifthTick) {
    const FigureCase& figures = GetParam();
    server.ServeStalling("/file.zip", test::PatternedBytes(8000), 3000);
    AddPending("File", server.Url("/file.zip"), "N/A", "file.zip", figures.size);
    ASSERT_TRUE(progress.Start());
    Tick(4);
    ASSERT_TRUE(PumpUntilReceived(3000));
    EXPECT_EQ(progress.Labels().fileGroup, "Download 1 of 1");
    EXPECT_EQ(progress.Labels().fileElapsed, figures.fileTimes);
    Tick();

    EXPECT_NEAR(progress.Rate(), 5.859375F, 1e-4F);
    EXPECT_EQ(transfer.ChunkSize(), 1024);
    EXPECT_EQ(progress.Labels().fileBytes, figures.fileBytes);
    EXPECT_EQ(progress.Labels().fileElapsed, figures.fileTimes);
    EXPECT_EQ(progress.Labels().fileRemaining,
              figures.size < 0 ? figures.fileTimes : figures.remaining);
    EXPECT_EQ(progress.Labels().totalRemaining, figures.remaining);
    EXPECT_EQ(progress.Labels().progressPosition, 2);
    EXPECT_GE(progress.FileRemaining(), 0);
    EXPECT_GE(progress.TotalRemaining(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgressFigures,
                         ::testing::Values(FigureCase{-1, "3000", "Not Available", "00:00:00"},
                                           FigureCase{1000, "3000 of 1000", "00:00:00", "00:00:00"},
                                           FigureCase{1000000, "3000 of 1000000", "00:00:00",
                                                      "00:02:46"}));

TEST_F(Progress, SkipLowersTheTotalByWhatWasNotReceivedAndTheRunGoesOn) {
    server.ServeStalling("/skip.zip", test::PatternedBytes(10000), 4000);
    server.Serve("/next.zip", "next");
    WriteFile(folder / "skip.zip", "installed before");
    AddPending("Skipped", server.Url("/skip.zip"), "N/A", "skip.zip", 10000);
    AddPending("Unknown size", server.Url("/skip.zip"), "N/A", "unknown.zip", -1);
    AddPending("Next", server.Url("/next.zip"), "N/A", "next.zip", 100000);
    ASSERT_TRUE(progress.Start());
    ASSERT_EQ(progress.TotalSize(), 110000);
    // A file whose size was never counted leaves the total as it is.
    for (const std::int64_t total : {104000, 104000}) {
        Tick();
        ASSERT_TRUE(PumpUntilReceived(4000));
        progress.SkipFile();
        EXPECT_EQ(progress.TotalSize(), total);
    }
    EXPECT_EQ(progress.Labels().progressMaximum, 104000 / 1024);
    EXPECT_EQ(transfer.TotalReceived(), 8000);
    EXPECT_EQ(StatusOf("Skipped"), StatusFailed);
    EXPECT_EQ(StatusOf("Unknown size"), StatusFailed);
    EXPECT_EQ(ReadFile(folder / "skip.zip"), "installed before");

    for (int tick = 0; tick < 50 && progress.IsRunning(); ++tick) {
        Tick();
        test::PumpUntil(
            transfer, [] { return false; }, 20);
    }
    EXPECT_EQ(progress.Result(), 1);
    EXPECT_EQ(StatusOf("Next"), StatusDownloaded);
    EXPECT_EQ(FilesInFolder(), 2);
}

TEST_F(Progress, CancelWithTheCursorOnAFinishedItemMarksNothing) {
    AddPending("Already here", server.Url("/here"), "N/A", "here.zip", 10);
    queue.SetStatus(StatusDownloaded);
    AddPending("Waiting", server.Url("/waiting"), "N/A", "waiting.zip", 10);
    WriteFile(folder / "here.zip", "whole");
    ASSERT_TRUE(progress.Start());

    progress.SkipFile();
    progress.Cancel();

    EXPECT_EQ(progress.Result(), -1);
    EXPECT_EQ(progress.GetState(), DownloadProgress::State::Cancelled);
    EXPECT_EQ(StatusOf("Already here"), StatusDownloaded);
    EXPECT_EQ(StatusOf("Waiting"), StatusPending);
    EXPECT_EQ(ReadFile(folder / "here.zip"), "whole");
    EXPECT_FALSE(transfer.IsInternetOpen());
}

TEST_F(Progress, AFileThatArrivedWholeBeforeACancelIsKeptAsDownloaded) {
    server.Serve("/quick.txt", "quick");
    AddPending("Quick", server.Url("/quick.txt"), "N/A", "quick.txt", 5);
    AddPending("Later", server.Url("/quick.txt"), "N/A", "later.txt", 5);
    ASSERT_TRUE(progress.Start());
    Tick();
    ASSERT_TRUE(test::PumpUntil(transfer, [&] { return transfer.IsComplete(); }));

    progress.Cancel();

    EXPECT_EQ(StatusOf("Quick"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "quick.txt"), "quick");
    EXPECT_EQ(StatusOf("Later"), StatusPending);
}

DownloadLabels LabelsOf(const char* name, const char* bytes, const char* remaining) {
    DownloadLabels labels;
    labels.fileName = name;
    labels.fileBytes = bytes;
    labels.fileRemaining = remaining;
    return labels;
}

TEST(TextProgressLine, OnATerminalRewritesOneLineAndClosesItWithTheOutcome) {
    std::ostringstream out;
    TextProgressLine line(out, true);

    line.Show(LabelsOf("2fort.zip", "1000 of 20000", "00:00:09"), 6.0F);
    line.Show(LabelsOf("2fort.zip", "20000 of 20000", "00:00:00"), 12.5F);
    line.FileEnded("2fort.zip", StatusDownloaded, 20000, 12.5F);
    line.Show(LabelsOf("list", "7", "Not Available"), 1.0F);

    const std::string first = "2fort.zip  1000 of 20000 bytes  6.00 Kb/Sec  00:00:09 left";
    const std::string second = "2fort.zip  20000 of 20000 bytes  12.50 Kb/Sec  00:00:00 left";
    const std::string closing = "2fort.zip  20000 bytes  12.50 Kb/Sec  downloaded";
    EXPECT_EQ(out.str(), "\r" + first + "\r" + second + "\r" + closing +
                             std::string(second.size() - closing.size(), ' ') + "\n" +
                             "\rlist  7 bytes  1.00 Kb/Sec  Not Available left");
}

TEST(TextProgressLine, ElsewhereWritesOneRecordPerFile) {
    std::ostringstream out;
    TextProgressLine line(out, false);

    line.Show(LabelsOf("a.zip", "10 of 20", "00:00:01"), 6.0F);
    line.FileEnded("a.zip", StatusFailed, 10, 6.0F);
    line.FileEnded("b.zip", StatusDownloaded, 20, 7.5F);

    EXPECT_EQ(out.str(), "a.zip\tfailed\t10\t6.00\nb.zip\tdownloaded\t20\t7.50\n");
}

} // namespace
} // namespace ballotine
