#include "download/DownloadProgress.h"

#include "download/DownloadFixture.h"
#include "support/FakeCommandRunner.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

using test::ReadFile;
using test::WriteFile;

TEST(DownloadFigures, ChunkSizeFollowsTheRateWithStrictThresholds) {
    const struct {
        float rate;
        int chunkSize;
    } cases[] = {{0.0F, 512},   {2.5F, 512},   {2.51F, 1024}, {7.0F, 1024},
                 {7.01F, 1536}, {12.0F, 1536}, {12.5F, 2048}};
    for (const auto& c : cases) {
        EXPECT_EQ(DownloadProgress::ChunkSizeForRate(c.rate), c.chunkSize) << c.rate;
    }
}

TEST(DownloadFigures, TimesShowHoursMinutesAndSeconds) {
    EXPECT_EQ(DownloadProgress::FormatTime(0), "00:00:00");
    EXPECT_EQ(DownloadProgress::FormatTime(3661), "01:01:01");
    EXPECT_EQ(DownloadProgress::FormatTime(86399), "23:59:59");
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
    const char* name;
};

class ProgressFigures : public Progress, public ::testing::WithParamInterface<FigureCase> {};

// 3000 bytes arrive just before the fifth tick, 500 ms after the start: 5.86 KB/s.
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

INSTANTIATE_TEST_SUITE_P(
    Sizes, ProgressFigures,
    ::testing::Values(FigureCase{-1, "3000", "Not Available", "00:00:00", "Unknown"},
                      FigureCase{1000, "3000 of 1000", "00:00:00", "00:00:00", "Exceeded"},
                      FigureCase{1000000, "3000 of 1000000", "00:00:00", "00:02:46", "Large"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(Progress, SkipLowersTheTotalByWhatWasNotReceivedAndTheRunGoesOn) {
    server.ServeStalling("/skip.zip", test::PatternedBytes(10000), 4000);
    server.Serve("/next.zip", "next");
    WriteFile(folder / "skip.zip", "installed before");
    AddPending("Skipped", server.Url("/skip.zip"), "N/A", "skip.zip", 10000);
    AddPending("Unknown size", server.Url("/skip.zip"), "N/A", "unknown.zip", -1);
    AddPending("Next", server.Url("/next.zip"), "N/A", "next.zip", 100000);
    ASSERT_TRUE(progress.Start());
    ASSERT_EQ(progress.TotalSize(), 110000);
    Tick();
    ASSERT_TRUE(PumpUntilReceived(4000));

    progress.SkipFile();

    EXPECT_EQ(progress.TotalSize(), 104000);
    EXPECT_EQ(progress.Labels().progressMaximum, 104000 / 1024);
    EXPECT_EQ(transfer.TotalReceived(), 4000);
    EXPECT_EQ(StatusOf("Skipped"), StatusFailed);
    EXPECT_EQ(ReadFile(folder / "skip.zip"), "installed before");

    // a file whose size was never counted leaves the total as it is
    queue.FindByName("Unknown size");
    Tick();
    ASSERT_TRUE(PumpUntilReceived(4000));
    progress.SkipFile();
    EXPECT_EQ(progress.TotalSize(), 104000);
    EXPECT_EQ(StatusOf("Unknown size"), StatusFailed);

    queue.FindByName("Unknown size");
    for (int tick = 0; tick < 50 && progress.IsRunning(); ++tick) {
        Tick();
        test::PumpUntil(
            transfer, [] { return false; }, 20);
    }
    EXPECT_EQ(progress.GetState(), DownloadProgress::State::Finished);
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

} // namespace
} // namespace ballotine
