#include "models/InstallSummary.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

DownloadItem Item(const char* title, const char* localPath, DownloadStatus status,
                  const char* said = "") {
    DownloadItem item;
    item.name = title;
    item.localPath = localPath;
    item.status = status;
    // What the download or the zip tool said, as the run would have kept it.
    (status == DownloadStatus::Failed ? item.failure : item.toolReason) = said;
    return item;
}

// Each status a run can leave an item in, and where the summary puts it.
TEST(InstallSummary, SortsEveryTickedPackageByWhatBecameOfIt) {
    const struct {
        DownloadStatus status;
        const char* localPath;
        const char* shown; // "kind: reason"
        const char* said = "";
    } cases[] = {
        {DownloadStatus::Installed, "/w/mapzips/a.zip", "installed: "},
        {DownloadStatus::Pending, "/w/mapzips/a.zip", "skipped: cancelled before its download"},
        {DownloadStatus::Failed, "/w/mapzips/a.zip", "failed: not downloaded"},
        {DownloadStatus::Failed, "/w/mapzips/a.zip", "failed: not downloaded: HTTP 404",
         "HTTP 404"},
        {DownloadStatus::Downloaded, "/w/mapzips/a.zip", "failed: could not be unpacked or placed"},
        // The zip tool's last line says why; the rest stays in the log.
        {DownloadStatus::Downloaded, "/w/mapzips/a.zip",
         "failed: could not be unpacked or placed: pkzip25: a.zip: not a zip file",
         "reading a.zip\npkzip25: a.zip: not a zip file\n\n"},
        {DownloadStatus::Downloaded, "/w/mapzips/a.zip",
         "failed: could not be unpacked or placed: pkzip25 ended with exit status 2",
         "pkzip25 ended with exit status 2"},
        {DownloadStatus::Downloaded, "/w/mapzips/.zip", "skipped: its file name names no package"},
        {DownloadStatus::None, "/w/mapzips/a.zip", ""},
    };
    for (const auto& c : cases) {
        const InstallSummary summary =
            SummarizeInstallation({Item("A", c.localPath, c.status, c.said)});
        std::string shown;
        for (const auto& [kind, entries] :
             {std::pair{"installed", &summary.installed}, std::pair{"skipped", &summary.skipped},
              std::pair{"failed", &summary.failed}}) {
            for (const SummaryEntry& entry : *entries) {
                shown += std::string(kind) + ": " + entry.reason;
            }
        }
        EXPECT_EQ(shown, c.shown) << static_cast<int>(c.status) << " " << c.localPath;
    }
}

TEST(InstallSummary, TheTextCountsAndListsInQueueOrder) {
    const InstallSummary summary = SummarizeInstallation({
        Item("Well", "/w/mapzips/well.zip", DownloadStatus::Installed),
        Item("Unticked", "/w/mapzips/u.zip", DownloadStatus::None),
        Item("Ridgeline", "/w/mapzips/ridgeline.zip", DownloadStatus::Failed),
        Item("Lakeside", "/w/mapzips/lakeside.zip", DownloadStatus::Installed),
    });
    EXPECT_EQ(SummaryHeadline(summary), "2 installed, 0 skipped, 1 failed.");
    EXPECT_EQ(SummaryDetails(summary), "Installed (2):\n"
                                       "  Well\n"
                                       "  Lakeside\n"
                                       "\n"
                                       "Failed (1):\n"
                                       "  Ridgeline - not downloaded\n");
    EXPECT_TRUE(SummarizeInstallation({}).Empty());
}

} // namespace
} // namespace ballotine
