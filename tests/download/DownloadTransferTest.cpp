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

TEST_F(Transfer, ErrorStatusOnThePrimaryFetchesTheMirrorCountedAsOneStart) {
    server.ServeStatus("/primary.zip", 404);
    server.Serve("/mirror.zip", "the package");
    AddPending("Package", server.Url("/primary.zip"), server.Url("/mirror.zip"), "package.zip");

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("Package"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "package.zip"), "the package");
    EXPECT_EQ(transfer.FilesStarted(), 1);
    EXPECT_EQ(server.Requests("/primary.zip").size(), 1U);
    EXPECT_EQ(server.Requests("/mirror.zip").size(), 1U);
}

TEST_F(Transfer, AnAddressThatDoesNotOpenWithoutMirrorFailsAndKeepsTheOldFile) {
    server.ServeStatus("/gone.zip", 404);
    server.Serve("/next.txt", "next");
    WriteFile(folder / "first.zip", "old first");
    WriteFile(folder / "second.zip", "old second");
    AddPending("Error page", server.Url("/gone.zip"), "n/a", "first.zip");
    AddPending("No server", "http://127.0.0.1:1/refused.zip", "N/A", "second.zip");
    AddPending("Next", server.Url("/next.txt"), "N/A", "next.txt");

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("Error page"), StatusFailed);
    EXPECT_EQ(StatusOf("No server"), StatusFailed);
    EXPECT_EQ(StatusOf("Next"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "first.zip"), "old first") << "an error page was stored";
    EXPECT_EQ(ReadFile(folder / "second.zip"), "old second");
    EXPECT_EQ(transfer.FilesStarted(), 1);
    EXPECT_EQ(FilesInFolder(), 3);
}

TEST_F(Transfer, ALocalFileThatCannotBeCreatedFailsWithoutTryingTheMirror) {
    server.Serve("/file.zip", "content");
    server.Serve("/mirror.zip", "content");
    AddPending("Package", server.Url("/file.zip"), server.Url("/mirror.zip"),
               "missing-folder/file.zip");

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("Package"), StatusFailed);
    EXPECT_EQ(transfer.FilesStarted(), 0);
    EXPECT_FALSE(transfer.IsActive());
    EXPECT_EQ(server.Requests("/file.zip").size(), 1U);
    EXPECT_TRUE(server.Requests("/mirror.zip").empty());
}

TEST_F(Transfer, AnEmptyBodyGivesAnEmptyFile) {
    server.Serve("/empty.conf", "");
    WriteFile(folder / "update.conf", "previous list");
    AddPending("Entity Config List...", server.Url("/empty.conf"), "N/A", "update.conf");

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("Entity Config List..."), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "update.conf"), "");
    EXPECT_EQ(transfer.FilesStarted(), 1);
}

TEST_F(Transfer, FileAddressesAreFetched) {
    WriteFile(folder / "server/list.cfg", "list");
    AddPending("List", "file://" + (folder / "server/list.cfg"), "N/A", "list.cfg");

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("List"), StatusDownloaded);
    EXPECT_EQ(ReadFile(folder / "list.cfg"), "list");
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

struct DropCase {
    bool serverHonoursRanges;
    const char* name;
};

class DroppedConnection : public Transfer, public ::testing::WithParamInterface<DropCase> {};

// Large enough that the transfer pauses between turns several times before and after the drop.
TEST_P(DroppedConnection, CompletesWithTheRightBytes) {
    const std::string content = test::PatternedBytes(10000000);
    server.ServeDroppingOnce("/big.zip", content, 6000000, GetParam().serverHonoursRanges);
    AddPending("Big", server.Url("/big.zip"), "N/A", "big.zip", 10000000);

    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(StatusOf("Big"), StatusDownloaded);
    EXPECT_TRUE(ReadFile(folder / "big.zip") == content) << "the file's bytes differ";
    const std::vector<std::string> requests = server.Requests("/big.zip");
    ASSERT_EQ(requests.size(), 2U);
    EXPECT_EQ(requests[0], "");
    EXPECT_EQ(requests[1], "bytes=6000000-");
    EXPECT_EQ(transfer.FileReceived(), 10000000);
    EXPECT_EQ(transfer.TotalReceived(), 10000000);
    EXPECT_EQ(FilesInFolder(), 1);
}

INSTANTIATE_TEST_SUITE_P(Servers, DroppedConnection,
                         ::testing::Values(DropCase{true, "WithRanges"},
                                           DropCase{false, "WithoutRanges"}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

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
