#pragma once

#include "download/DownloadQueue.h"

#include <string>
#include <vector>

namespace ballotine {

// One package of a download and installation run, as the summary names it.
struct SummaryEntry {
    std::string title;  // the catalogue's title
    std::string reason; // why it was skipped or failed; empty for an installed one
};

// What a run after "Download..." did with the packages the user ticked, in queue order.
struct InstallSummary {
    std::vector<SummaryEntry> installed;
    std::vector<SummaryEntry> skipped; // never downloaded (the run was cancelled first)
    std::vector<SummaryEntry> failed;  // not downloaded, or not unpacked and placed

    bool Empty() const { return installed.empty() && skipped.empty() && failed.empty(); }
};

inline constexpr const char* kNotDownloadedReason = "not downloaded";
inline constexpr const char* kCancelledReason = "cancelled before its download";
inline constexpr const char* kNotInstalledReason = "could not be unpacked or placed";
inline constexpr const char* kNoPackageNameReason = "its file name names no package";

// Reads the run's outcome from the queue's statuses once the installation has ended: installed
// items, items still pending (skipped), failed downloads and downloaded items the installation
// left (failed, or skipped when their file name names no package). Items never ticked are left
// out.
InstallSummary SummarizeInstallation(const DownloadQueue& queue);

// The packages that were downloaded but could not be unpacked or placed, in queue order, each
// with that reason (a failed download is told when it fails; these only once all have ended).
std::vector<SummaryEntry> InstallationFailures(const DownloadQueue& queue);

// The summary's first line, e.g. "2 installed, 1 skipped, 1 failed.", and the rest: a section
// per kind that has packages, each package on a line of its own with its reason.
std::string SummaryHeadline(const InstallSummary& summary);
std::string SummaryDetails(const InstallSummary& summary);

} // namespace ballotine
