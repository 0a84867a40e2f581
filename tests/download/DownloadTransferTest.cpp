#include "download/DownloadFixture.h"
#include "download/DownloadProgress.h"
#include "download/HeadlessDownload.h"
#include "platform/Clock.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

using test::ReadFile;
using test::WriteFile;

class Transfer : public test::DownloadFixture<SteadyClock> {
protected:
    int Run(const HeadlessDownloadOptions& options = {}, TextProgressLine* line = nullptr) {
        return RunDownloadQueue(queue, transfer, clock, line, options);
    }
};

// One run over items that each end another way; only an opened file counts as started, a
// mirror tried after an error status included.
TEST_F(Transfer, EachItemEndsDownloadedOrFailedAndAFailureKeepsTheOldFile) {
    server.ServeStatus("/gone.zip", 404);
    server.Serve("/mirror.zip", "the package");
    server.Serve("/file.zip", "content");
    server.Serve("/empty.conf", "");
    WriteFile(folder / "first.zip", "old first");
    WriteFile(folder / "second.zip", "old second");
    WriteFile(folder / "update.conf", "previous list");
    WriteFile(folder / "server/list.cfg", "list");
    AddPending("Mirror", server.Url("/gone.zip"), server.Url("/mirror.zip"), "package.zip");
    AddPending("Error page", server.Url("/gone.zip"), "n/a", "first.zip");
    AddPending("No server", "http://127.0.0.1:1/refused.zip", "N/A", "second.zip");
    AddPending("No folder", server.Url("/file.zip"), server.Url("/mirror.zip"), "none/file.zip");
    AddPending("Empty", server.Url("/empty.conf"), "N/A", "update.conf");
    AddPending("Local", "file://" + (folder / "server/list.cfg"), "N/A", "list.cfg");

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("Mirror"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "package.zip"), "the package");
    EXPECT_EQ(StatusOf("Error page"), StatusFailed);
    EXPECT_EQ(ReadFile(folder / "first.zip"), "old first") << "an error page was stored";
    EXPECT_EQ(StatusOf("No server"), StatusFailed);
    EXPECT_EQ(ReadFile(folder / "second.zip"), "old second");
    EXPECT_EQ(StatusOf("No folder"), StatusFailed);
    EXPECT_EQ(server.Requests("/file.zip").size(), 1U);
    EXPECT_EQ(server.Requests("/mirror.zip").size(), 1U) << "tried for the error status only";
    EXPECT_EQ(server.Requests("/gone.zip").size(), 2U);
    EXPECT_EQ(StatusOf("Empty"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "update.conf"), "");
    EXPECT_EQ(StatusOf("Local"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "list.cfg"), "list");
    EXPECT_EQ(transfer.FilesStarted(), 3);
    EXPECT_FALSE(transfer.IsActive());
    EXPECT_EQ(FilesInFolder(), 6) << "no temporary file left";
}

// Each file used to wait for the next 100 ms tick after it had arrived, so a run of small
// files took a tick per file.
TEST_F(Transfer, AFileThatArrivedIsTakenWithoutWaitingForTheTick) {
    constexpr int kFiles = 5;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "file" + std::to_string(i);
        server.Serve("/" + name, name);
        AddPending(name, server.Url("/" + name), "N/A", name);
    }
    const std::uint64_t started = clock.TickMs();
    EXPECT_EQ(Run(), 1);
    EXPECT_LT(clock.TickMs() - started, 4u * DownloadProgress::kTickMs)
        << "a tick per file would take " << kFiles * DownloadProgress::kTickMs << " ms";
    for (int i = 0; i < kFiles; ++i) {
        EXPECT_EQ(StatusOf("file" + std::to_string(i)), StatusDownloaded);
    }
}

TEST_F(Transfer, AFileThatCannotBeWrittenFailsAndKeepsTheOldFile) {
    server.Serve("/big.zip", test::PatternedBytes(400000));
    WriteFile(folder / "big.zip", "installed before");
    AddPending("Big", server.Url("/big.zip"), "N/A", "big.zip", 400000);

    int result = 0;
    {
        const test::FileSizeLimit limit(100000);
        result = Run();
    }

    EXPECT_EQ(result, 1);
    EXPECT_EQ(StatusOf("Big"), StatusFailed);
    EXPECT_EQ(ReadFile(folder / "big.zip"), "installed before");
    EXPECT_EQ(FilesInFolder(), 1);
}

// Large enough that the transfer pauses between turns several times before and after the drop;
// one server honours the range asked for after the drop, the other sends the whole file again.
TEST_F(Transfer, AConnectionDroppedMidFileCompletesWithTheRightBytes) {
    const std::string content = test::PatternedBytes(10000000);
    for (const bool ranges : {true, false}) {
        const std::string name = ranges ? "ranges" : "whole";
        server.ServeDroppingOnce("/" + name, content, 6000000, ranges);
        AddPending(name, server.Url("/" + name), "N/A", name, 10000000);
    }

    EXPECT_EQ(Run(), 1);

    for (const std::string name : {"ranges", "whole"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(StatusOf(name), StatusDownloaded);
        EXPECT_TRUE(ReadFile(folder / name) == content) << "the file's bytes differ";
        EXPECT_EQ(server.Requests("/" + name), (std::vector<std::string>{"", "bytes=6000000-"}));
    }
    EXPECT_EQ(transfer.FileReceived(), 10000000);
    EXPECT_EQ(transfer.TotalReceived(), 20000000);
    EXPECT_EQ(FilesInFolder(), 2);
}

TEST_F(Transfer, WithoutAnyoneToSkipAFileThatBringsNoByteFailsAndTheRunGoesOn) {
    server.ServeStalling("/stall.zip", test::PatternedBytes(10000), 4000);
    server.Serve("/next.txt", "next");
    AddPending("Stalling", server.Url("/stall.zip"), "N/A", "stall.zip", 10000);
    AddPending("Next", server.Url("/next.txt"), "N/A", "next.txt", 4);
    std::ostringstream out;
    TextProgressLine line(out, false);
    HeadlessDownloadOptions options;
    options.noProgressLimitMs = 300;

    EXPECT_EQ(Run(options, &line), 1);

    EXPECT_EQ(StatusOf("Stalling"), StatusFailed);
    EXPECT_EQ(StatusOf("Next"), StatusDownloaded);
    EXPECT_FALSE(std::filesystem::exists(folder / "stall.zip"));
    EXPECT_EQ(FilesInFolder(), 1);
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("Stalling\tfailed\t4000\t", 0), 0U) << text;
    EXPECT_NE(text.find("\nNext\tdownloaded\t4\t"), std::string::npos) << text;
}

TEST_F(Transfer, CancelDuringAStallKeepsTheEarlierFileAndLeavesLaterItemsPending) {
    server.Serve("/first.txt", "first");
    server.ServeStalling("/stall.zip", test::PatternedBytes(10000), 4000);
    server.Serve("/last.txt", "last");
    WriteFile(folder / "stall.zip", "the version installed before");
    AddPending("First", server.Url("/first.txt"), "N/A", "first.txt");
    AddPending("Stalling", server.Url("/stall.zip"), "N/A", "stall.zip", 10000);
    AddPending("Last", server.Url("/last.txt"), "N/A", "last.txt");
    HeadlessDownloadOptions options;
    options.cancelRequested = [this] {
        return transfer.CurrentName() == "Stalling" && transfer.FileReceived() == 4000;
    };

    EXPECT_EQ(Run(options), -1);

    EXPECT_EQ(StatusOf("First"), StatusDownloaded);
    EXPECT_EQ(StatusOf("Stalling"), StatusFailed);
    EXPECT_EQ(StatusOf("Last"), StatusPending);
    EXPECT_EQ(ReadFile(folder / "stall.zip"), "the version installed before");
    EXPECT_EQ(FilesInFolder(), 2);
    EXPECT_FALSE(transfer.IsInternetOpen());
}

} // namespace
} // namespace ballotine
