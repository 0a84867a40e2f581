#include "download/DownloadProgress.h"
#include "download/DownloadQueue.h"
#include "download/DownloadTransfer.h"
#include "download/HeadlessDownload.h"
#include "download/LoopbackServer.h"
#include "download/TextProgressLine.h"
#include "platform/Clock.h"
#include "support/DownloadItems.h"
#include "support/FileSizeLimit.h"
#include "support/ManualClock.h"
#include "support/TestFiles.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;

// Bytes that differ from position to position, so a misplaced range shows.
std::string Patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t index = 0; index < size; ++index) {
        bytes[index] = static_cast<char>((index * 131 + index / 251) & 0xFF);
    }
    return bytes;
}

TEST(DownloadFigures, TimesShowHoursBeyondADay) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3600, "01:00:00"}, {360061, "100:01:01"}};
    for (const auto& [seconds, shown] : cases) {
        EXPECT_EQ(DownloadProgress::FormatTime(seconds), shown);
    }
}

// A loopback server, a temporary folder and a queue of pending items.
template <typename ClockType>
class DownloadFixture : public ::testing::Test {
protected:
    DownloadItem& AddPending(const std::string& name, const std::string& path,
                             const std::string& file, std::int64_t size = -1,
                             std::optional<std::string> mirrorUrl = std::nullopt) {
        queue.push_back(
            test::Item(name, path.starts_with("/") ? server.Url(path) : path, folder / file, size));
        queue.back().mirrorUrl = std::move(mirrorUrl);
        return queue.back();
    }
    DownloadStatus StatusOf(const std::string& name) { return test::ItemNamed(queue, name).status; }
    // Every file the folder holds, temporary ones included.
    auto FilesInFolder() const {
        const std::filesystem::directory_iterator files(folder.Path());
        return std::distance(begin(files), end(files));
    }

    test::TempDir folder;
    test::LoopbackServer server;
    ClockType clock;
    DownloadTransfer transfer{clock};
    DownloadQueue queue;
};

class Transfer : public DownloadFixture<SteadyClock> {
protected:
    DownloadRunResult Run(const HeadlessDownloadOptions& options = {},
                          TextProgressLine* line = nullptr) {
        return RunDownloadQueue(queue, transfer, clock, line, options);
    }
};

// Only an opened file counts as started, a mirror tried after an error status included; a
// file the disk cannot take fails like an error page, and both keep the file there before.
TEST_F(Transfer, EachItemEndsDownloadedOrFailedAndAFailureKeepsTheOldFile) {
    server.ServeStatus("/gone.zip", 404);
    server.Serve("/mirror.zip", "the package");
    server.Serve("/file.zip", "content");
    server.Serve("/empty.conf", "");
    server.Serve("/big.zip", Patterned(400000));
    WriteFile(folder / "first.zip", "old first");
    WriteFile(folder / "big.zip", "installed before");
    AddPending("Mirror", "/gone.zip", "package.zip", -1, server.Url("/mirror.zip"));
    AddPending("Error page", "/gone.zip", "first.zip", -1);
    AddPending("No folder", "/file.zip", "none/file.zip", -1, server.Url("/mirror.zip"));
    AddPending("Empty", "/empty.conf", "update.conf");
    AddPending("Big", "/big.zip", "big.zip", 400000);
    {
        const test::FileSizeLimit limit(100000);
        EXPECT_EQ(Run(), DownloadRunResult::WorkedThrough);
    }

    EXPECT_EQ(StatusOf("Mirror"), DownloadStatus::Downloaded);
    EXPECT_EQ(ReadFile(folder / "package.zip"), "the package");
    EXPECT_EQ(StatusOf("Error page"), DownloadStatus::Failed);
    EXPECT_EQ(ReadFile(folder / "first.zip"), "old first") << "an error page was stored";
    EXPECT_EQ(StatusOf("No folder"), DownloadStatus::Failed);
    EXPECT_EQ(server.Requests("/file.zip").size(), 1U);
    EXPECT_EQ(server.Requests("/mirror.zip").size(), 1U) << "tried for the error status only";
    EXPECT_EQ(StatusOf("Empty"), DownloadStatus::Downloaded);
    EXPECT_EQ(ReadFile(folder / "update.conf"), "");
    EXPECT_EQ(StatusOf("Big"), DownloadStatus::Failed);
    EXPECT_EQ(ReadFile(folder / "big.zip"), "installed before");
    EXPECT_EQ(transfer.FilesStarted(), 3);
    EXPECT_FALSE(transfer.IsActive());
    EXPECT_EQ(FilesInFolder(), 4) << "no temporary file left";
}

// Each file used to wait for the next 100 ms tick: the first for the first tick, one that
// failed or arrived for the next.
TEST_F(Transfer, TheNextFileStartsAsSoonAsOneEndsWhetherItArrivedOrFailed) {
    server.ServeStatus("/gone", 404);
    for (const std::string name : {"a", "b", "c", "d", "e"}) {
        server.Serve("/" + name, name);
        AddPending(name, "/" + name, name);
        AddPending(name + " gone", "/gone", name + ".gone");
    }
    const std::uint64_t started = clock.TickMs();
    EXPECT_EQ(Run(), DownloadRunResult::WorkedThrough);
    EXPECT_LT(clock.TickMs() - started, 2u * DownloadProgress::kTickMs);
    EXPECT_EQ(test::StatusLetters(queue), "DFDFDFDFDF");
}

// A writer killed mid-file (a second Ctrl-C, a shutdown) leaves its temporary; the next run
// that writes into the folder removes it, and keeps those of writers still running.
TEST_F(Transfer, TemporariesOfAKilledRunGoWhenTheNextRunWritesThere) {
    const pid_t gone = ::fork();
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string killed = ".quarry.zip.tmp" + std::to_string(gone) + "-12345";
    const std::string running = ".quarry.zip.tmp" + std::to_string(::getpid()) + "-678";
    for (const std::string& name : {killed, running, std::string(".notes.tmp")}) {
        WriteFile(folder / name, "half a package");
    }
    server.Serve("/new.zip", "new");
    AddPending("New", "/new.zip", "new.zip");

    EXPECT_EQ(Run(), DownloadRunResult::WorkedThrough);

    EXPECT_FALSE(std::filesystem::exists(folder / killed));
    EXPECT_TRUE(std::filesystem::exists(folder / running));
    EXPECT_TRUE(std::filesystem::exists(folder / ".notes.tmp")) << "not a temporary of ours";
}

// Large enough that the transfer pauses between turns several times before and after the drop;
// one server honours the range asked for after the drop, the other sends the whole file again.
TEST_F(Transfer, AConnectionDroppedMidFileCompletesWithTheRightBytes) {
    const std::string content = Patterned(10000000);
    for (const bool ranges : {true, false}) {
        const std::string name = ranges ? "ranges" : "whole";
        server.ServeDroppingOnce("/" + name, content, 6000000, ranges);
        AddPending(name, "/" + name, name, 10000000);
    }

    EXPECT_EQ(Run(), DownloadRunResult::WorkedThrough);

    for (const std::string name : {"ranges", "whole"}) {
        EXPECT_EQ(StatusOf(name), DownloadStatus::Downloaded);
        EXPECT_TRUE(ReadFile(folder / name) == content) << name << ": the file's bytes differ";
        EXPECT_EQ(server.Requests("/" + name), (std::vector<std::string>{"", "bytes=6000000-"}));
    }
    EXPECT_EQ(transfer.TotalReceived(), 20000000);
    EXPECT_EQ(FilesInFolder(), 2);
}

TEST_F(Transfer, WithoutAnyoneToSkipAFileThatBringsNoByteFailsAndTheRunGoesOn) {
    server.ServeStalling("/stall.zip", Patterned(10000), 4000);
    server.Serve("/next.txt", "next");
    AddPending("Stalling", "/stall.zip", "stall.zip", 10000);
    AddPending("Next", "/next.txt", "next.txt", 4);
    std::ostringstream out;
    TextProgressLine line(out, TextProgressLine::Style::Records);
    HeadlessDownloadOptions options;
    options.noProgressLimitMs = 300;

    EXPECT_EQ(Run(options, &line), DownloadRunResult::WorkedThrough);

    EXPECT_EQ(StatusOf("Next"), DownloadStatus::Downloaded);
    EXPECT_EQ(FilesInFolder(), 1);
    EXPECT_EQ(out.str().rfind("Stalling\tfailed\t4000\t", 0), 0U) << out.str();
}

// Runs fifty times faster than the steady clock: the transfer's pauses and limits (seconds to a
// minute) pass in a fraction of that, while the server answers in real time.
class FastClock final : public Clock {
public:
    std::uint64_t TickMs() const override { return m_steady.TickMs() * 50; }

private:
    SteadyClock m_steady;
};

struct HostileCase {
    const char* behaviour;
    std::function<void(test::LoopbackServer&, const std::string& path)> serve;
    std::int64_t listedSize;
    DownloadStatus status;
    const char* reason; // the beginning of what the user is told
    std::size_t requestsAtMost;
};

// Each server misbehaves on its own file; an earlier file of that name must stay as it was, and
// no partial file may be left. The run's own limit on silence is set aside: these are the
// transfer's limits, the window's too.
TEST(HostileServer, IsRefusedOrOutlastedWithinBoundsAndTheUserIsToldWhy) {
    test::TempDir folder;
    test::LoopbackServer server;
    FastClock clock;
    DownloadTransfer transfer(clock);
    const std::string body = Patterned(100000);
    const HostileCase cases[] = {
        {"a body far beyond its listed size",
         [](auto& http, const auto& path) { http.Serve(path, Patterned(300000)); }, 10240,
         DownloadStatus::Failed,
         "refused: the server sent more than the 10240 bytes its list gives", 1},
        {"a Content-Length that promises more than ever comes",
         [](auto& http, const auto& path) {
             http.ServeBreakingOff(path, Patterned(10000), 20000, SIZE_MAX);
         },
         -1, DownloadStatus::Failed, "gave up", DownloadTransfer::kMaxResumes + 1},
        {"a huge Content-Length, every connection dropped after 1000 bytes",
         [&](auto& http, const auto& path) {
             http.ServeBreakingOff(path, body, std::size_t{1} << 40, 1000);
         },
         -1, DownloadStatus::Failed, "gave up after the connection broke off 11 times",
         DownloadTransfer::kMaxResumes + 1},
        {"every connection dropped before the first byte",
         [](auto& http, const auto& path) { http.ServeBreakingOff(path, "", 10000, 0); }, -1,
         DownloadStatus::Failed, "transfer closed", 1},
        {"a part that begins elsewhere than asked",
         [&](auto& http, const auto& path) { http.ServeWrongPart(path, body, 6000); }, -1,
         DownloadStatus::Downloaded, "", 3},
    };
    DownloadQueue queue;
    for (std::size_t index = 0; index < std::size(cases); ++index) {
        const std::string name = "case" + std::to_string(index);
        cases[index].serve(server, "/" + name);
        WriteFile(folder / name, "installed before");
        queue.push_back(
            test::Item(name, server.Url("/" + name), folder / name, cases[index].listedSize));
    }
    // and a list fetched over the network naming a local file
    WriteFile(folder / "secret.txt", "the user's own");
    queue.push_back(test::Item("local", "FILE://" + (folder / "secret.txt"), folder / "local", 10));
    HeadlessDownloadOptions options;
    options.noProgressLimitMs = 3600000;

    EXPECT_EQ(RunDownloadQueue(queue, transfer, clock, nullptr, options),
              DownloadRunResult::WorkedThrough);

    for (std::size_t index = 0; index < std::size(cases); ++index) {
        const HostileCase& hostile = cases[index];
        const std::string name = "case" + std::to_string(index);
        SCOPED_TRACE(hostile.behaviour);
        EXPECT_EQ(queue[index].status, hostile.status);
        EXPECT_EQ(queue[index].failure.rfind(hostile.reason, 0), 0U) << queue[index].failure;
        EXPECT_LE(server.Requests("/" + name).size(), hostile.requestsAtMost);
        EXPECT_TRUE(ReadFile(folder / name) ==
                    (hostile.status == DownloadStatus::Failed ? "installed before" : body));
    }
    EXPECT_EQ(server.Requests("/case2").size(), DownloadTransfer::kMaxResumes + 1U);
    EXPECT_EQ(server.Requests("/case4"), (std::vector<std::string>{"", "bytes=6000-", ""}));
    EXPECT_EQ(queue.back().status, DownloadStatus::Failed);
    EXPECT_EQ(queue.back().failure,
              "refused 'FILE://" + (folder / "secret.txt") +
                  "': a list fetched over the network may name only http:// and https:// "
                  "addresses");
    EXPECT_FALSE(std::filesystem::exists(folder / "local"));
    const std::filesystem::directory_iterator files(folder.Path());
    EXPECT_EQ(std::distance(begin(files), end(files)), std::ssize(cases) + 1)
        << "a partial or copied file was left";
}

// Ticks are driven by hand: the clock moves 100 ms before each, and the transfer only works
// when the test pumps it, so what arrives before which tick is fixed.
class Progress : public DownloadFixture<test::ManualClock> {
protected:
    void Tick(int count = 1) {
        for (int tick = 0; tick < count; ++tick) {
            clock.Advance(DownloadProgress::kTickMs);
            progress.Tick();
        }
    }
    bool PumpUntil(const std::function<bool()>& done) { return test::PumpUntil(transfer, done); }
    bool PumpUntilReceived(std::int64_t bytes) {
        return PumpUntil([&] { return transfer.FileReceived() >= bytes; });
    }

    DownloadProgress progress{queue, transfer, clock};
};

TEST_F(Progress, AQueueWithoutPendingItemsEndsOnTheFirstTickWorkedThrough) {
    AddPending("Unticked", "/a", "a", 10).status = DownloadStatus::None;
    AddPending("Done before", "/b", "b", 10).status = DownloadStatus::Downloaded;

    ASSERT_TRUE(progress.Start());
    Tick();

    EXPECT_EQ(progress.GetState(), DownloadProgress::State::Finished);
    EXPECT_EQ(progress.Result(), DownloadRunResult::WorkedThrough);
    EXPECT_EQ(StatusOf("Unticked"), DownloadStatus::None);
    EXPECT_EQ(StatusOf("Done before"), DownloadStatus::Downloaded);
    EXPECT_TRUE(server.Requests("/a").empty());
}

TEST_F(Progress, BeforeTheFirstMeasurementTheRateIsSixAndTheOpeningFileIsNumberZero) {
    server.ServeStalling("/slow.zip", Patterned(10000), 0);
    AddPending("Slow", "/slow.zip", "slow.zip", 10000);
    ASSERT_TRUE(progress.Start());
    EXPECT_EQ(progress.Labels().progressMaximum, 9);

    Tick();
    ASSERT_TRUE(PumpUntil([&] { return !server.Requests("/slow.zip").empty(); }));
    EXPECT_EQ(progress.Labels().fileGroup, "Download 0 of 1");
    EXPECT_EQ(progress.Labels().totalBytes, "0 of 10000");
    Tick(4);
    EXPECT_EQ(progress.Labels().totalBytes, "0 of 10000 (6.00 Kb/Sec)");
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
    server.ServeStalling("/file.zip", Patterned(8000), 3000);
    AddPending("File", "/file.zip", "file.zip", figures.size);
    ASSERT_TRUE(progress.Start());
    Tick(4);
    ASSERT_TRUE(PumpUntilReceived(3000));
    EXPECT_EQ(progress.Labels().fileGroup, "Download 1 of 1");
    Tick();

    EXPECT_NEAR(progress.Rate(), 5.859375F, 1e-4F);
    EXPECT_EQ(progress.Labels().fileBytes, figures.fileBytes);
    EXPECT_EQ(progress.Labels().fileElapsed, figures.fileTimes);
    EXPECT_EQ(progress.Labels().fileRemaining,
              figures.size < 0 ? figures.fileTimes : figures.remaining);
    EXPECT_EQ(progress.Labels().totalRemaining, figures.remaining);
    EXPECT_EQ(progress.Labels().progressPosition, 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgressFigures,
                         ::testing::Values(FigureCase{-1, "3000", "Not Available", "00:00:00"},
                                           FigureCase{1000, "3000 of 1000", "00:00:00", "00:00:00"},
                                           FigureCase{1000000, "3000 of 1000000", "00:00:00",
                                                      "00:02:46"}));

// Measured only on every fifth tick, a file that ended between two showed the rate of 6.00
// it had before any measurement.
TEST_F(Progress, AFileThatEndsBetweenTwoRefreshesIsMeasured) {
    server.Serve("/small.zip", Patterned(3000));
    AddPending("Small", "/small.zip", "small.zip", 3000);
    AddPending("Next", "/small.zip", "next.zip", 1000000);
    ASSERT_TRUE(progress.Start());
    Tick();
    clock.Advance(50);
    ASSERT_TRUE(PumpUntil([&] { return transfer.IsComplete(); }));
    progress.Advance();
    EXPECT_EQ(StatusOf("Small"), DownloadStatus::Downloaded);
    EXPECT_NEAR(progress.Rate(), 3000 / 0.15F / 1024, 1e-3F);
    EXPECT_EQ(progress.TotalRemaining(), 49) << "976 KB at 19.53 KB/s";
}

TEST_F(Progress, SkipLowersTheTotalByWhatWasNotReceived) {
    server.ServeStalling("/skip.zip", Patterned(10000), 4000);
    WriteFile(folder / "skip.zip", "installed before");
    AddPending("Skipped", "/skip.zip", "skip.zip", 10000);
    AddPending("Unknown size", "/skip.zip", "unknown.zip", -1);
    AddPending("Next", "/next.zip", "next.zip", 100000);
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
    EXPECT_EQ(StatusOf("Skipped"), DownloadStatus::Failed);
    EXPECT_EQ(StatusOf("Unknown size"), DownloadStatus::Failed);
    EXPECT_EQ(ReadFile(folder / "skip.zip"), "installed before");
}

// Skip and cancel mark the run's item only while it is pending or transferring.
TEST_F(Progress, CancelBeforeAnyFileStartedMarksNothing) {
    AddPending("Already here", "/here", "here.zip", 10).status = DownloadStatus::Downloaded;
    AddPending("Waiting", "/waiting", "waiting.zip", 10);
    ASSERT_TRUE(progress.Start());
    progress.SkipFile();
    progress.Cancel();
    EXPECT_EQ(progress.Result(), DownloadRunResult::Cancelled);
    EXPECT_EQ(StatusOf("Already here"), DownloadStatus::Downloaded);
    EXPECT_EQ(StatusOf("Waiting"), DownloadStatus::Pending);
    EXPECT_FALSE(transfer.IsInternetOpen());
}

TEST_F(Progress, AFileThatArrivedWholeBeforeACancelIsKeptAsDownloaded) {
    server.Serve("/quick.txt", "quick");
    AddPending("Quick", "/quick.txt", "quick.txt", 5);
    AddPending("Later", "/quick.txt", "later.txt", 5);
    ASSERT_TRUE(progress.Start());
    Tick();
    ASSERT_TRUE(PumpUntil([&] { return transfer.IsComplete(); }));
    progress.Cancel();
    EXPECT_EQ(StatusOf("Quick"), DownloadStatus::Downloaded);
    EXPECT_EQ(ReadFile(folder / "quick.txt"), "quick");
    EXPECT_EQ(StatusOf("Later"), DownloadStatus::Pending);
}

// Whatever the style, a failure's reason goes to the messages, never into the records.
TEST(TextProgressLine, OnATerminalRewritesOneLineElsewhereWritesOneRecordPerFileQuietNothing) {
    using Style = TextProgressLine::Style;
    const auto labels = [](const char* bytes, const char* remaining) {
        DownloadLabels shown;
        shown.fileName = "a.zip";
        shown.fileBytes = bytes;
        shown.fileRemaining = remaining;
        return shown;
    };
    const std::string first = "a.zip  1000 of 20000 bytes  6.00 Kb/Sec  00:00:09 left";
    const std::string closing = "a.zip  20000 bytes  12.50 Kb/Sec  downloaded";
    const std::string second = "a.zip  7 bytes  1.00 Kb/Sec  Not Available left";
    const std::string failed = "a.zip  7 bytes  1.00 Kb/Sec  failed";
    const std::pair<Style, std::string> cases[] = {
        {Style::InPlace,
         "\r" + first + "\r" + closing + std::string(first.size() - closing.size(), ' ') + "\n\r" +
             second + "\r" + failed + std::string(second.size() - failed.size(), ' ') + "\n"},
        {Style::Records, "a.zip\tdownloaded\t20000\t12.50\na.zip\tfailed\t7\t1.00\n"},
        {Style::Quiet, ""},
    };
    for (const auto& [style, shown] : cases) {
        std::ostringstream out;
        std::ostringstream messages;
        TextProgressLine line(out, style, &messages);
        line.Show(labels("1000 of 20000", "00:00:09"), 6.0F);
        line.FileEnded("a.zip", DownloadStatus::Downloaded, 20000, 12.5F);
        line.Show(labels("7", "Not Available"), 1.0F);
        line.FileEnded("a.zip", DownloadStatus::Failed, 7, 1.0F, "the server broke off");
        EXPECT_EQ(out.str(), shown);
        EXPECT_EQ(messages.str(), "a.zip: the server broke off\n");
    }
}

} // namespace
} // namespace ballotine
