#include "models/InstallSummary.h"

#include "install/InstallQueue.h"

namespace ballotine {

namespace {

void AppendSection(std::string& text, const char* heading,
                   const std::vector<SummaryEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    if (!text.empty()) {
        text += '\n';
    }
    text += std::string(heading) + " (" + std::to_string(entries.size()) + "):\n";
    for (const SummaryEntry& entry : entries) {
        text += "  " + entry.title;
        text += entry.reason.empty() ? "\n" : " - " + entry.reason + "\n";
    }
}

// The reason with the last line of what was said about it (the whole of it is in the log).
std::string WithLastLine(const char* reason, std::string_view said) {
    while (said.ends_with('\n')) {
        said.remove_suffix(1);
    }
    said = said.substr(said.find_last_of('\n') + 1);
    return said.empty() ? std::string(reason) : std::string(reason) + ": " + std::string(said);
}

bool InstallationFailed(const DownloadItem& item) {
    return item.status == DownloadStatus::Downloaded && PackageBaseName(item.localPath);
}

SummaryEntry InstallationFailure(const DownloadItem& item) {
    return {item.name, WithLastLine(kNotInstalledReason, item.toolReason)};
}

} // namespace

std::vector<SummaryEntry> InstallationFailures(const DownloadQueue& queue) {
    std::vector<SummaryEntry> failures;
    for (const DownloadItem& item : queue) {
        if (InstallationFailed(item)) {
            failures.push_back(InstallationFailure(item));
        }
    }
    return failures;
}

InstallSummary SummarizeInstallation(const DownloadQueue& queue) {
    InstallSummary summary;
    for (const DownloadItem& item : queue) {
        switch (item.status) {
        case DownloadStatus::None:
            break;
        case DownloadStatus::Installed:
            summary.installed.push_back({item.name, {}});
            break;
        case DownloadStatus::Pending:
            summary.skipped.push_back({item.name, kCancelledReason});
            break;
        case DownloadStatus::Failed:
            summary.failed.push_back({item.name, WithLastLine(kNotDownloadedReason, item.failure)});
            break;
        case DownloadStatus::Downloaded:
            // The installation leaves a downloaded item so when it failed to place it, or when
            // it passed it by for want of a package name.
            if (InstallationFailed(item)) {
                summary.failed.push_back(InstallationFailure(item));
            } else {
                summary.skipped.push_back({item.name, kNoPackageNameReason});
            }
            break;
        }
    }
    return summary;
}

std::string SummaryHeadline(const InstallSummary& summary) {
    return std::to_string(summary.installed.size()) + " installed, " +
           std::to_string(summary.skipped.size()) + " skipped, " +
           std::to_string(summary.failed.size()) + " failed.";
}

std::string SummaryDetails(const InstallSummary& summary) {
    std::string text;
    AppendSection(text, "Installed", summary.installed);
    AppendSection(text, "Skipped", summary.skipped);
    AppendSection(text, "Failed", summary.failed);
    return text;
}

} // namespace ballotine
