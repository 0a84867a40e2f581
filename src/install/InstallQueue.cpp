#include "install/InstallQueue.h"

#include "catalogue/ModTable.h"
#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "download/DownloadQueue.h"
#include "install/Extraction.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/Placement.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/ToolRunner.h"

namespace ballotine {

namespace {

enum class Outcome { Installed, ModInstalled, Failed, Skipped };

void WriteLogHeader(InstallLog& log) {
    log.Write("Map Download & Installation Log V1.0\n");
    log.Write("====================================\n\n");
}

Outcome InstallModPackage(DownloadItem& item, const std::string& baseName, InstallContext& context,
                          const ExtractionSetup& setup) {
    const std::string& key = item.packageKey;
    context.log.Write("  Unpacking zip file....\n");
    if (!ExtractPackage(baseName, key, setup, context.log, &item.toolReason)) {
        context.log.Write("  Unpacking file failed....\n");
        return Outcome::Failed;
    }
    context.log.Write("  Installation successful....\n");
    const std::int32_t mod = context.mods.FindModByDir(std::string_view(key).substr(1));
    if (mod >= 0) {
        context.mods.records[static_cast<std::size_t>(mod)].version = item.version;
    }
    item.status = DownloadStatus::Installed;
    return Outcome::ModInstalled;
}

Outcome InstallMapPackage(DownloadItem& item, const std::string& baseName, InstallContext& context,
                          const ExtractionSetup& setup) {
    InstallLog& log = context.log;
    const std::string folder = context.paths.modWorkDir + "mapzips" + kSeparator + baseName;
    log.Write("  Unpacking zip file....\n");
    if (!ExtractPackage(item.localPath, baseName, setup, log, &item.toolReason)) {
        log.Write("  Unpacking file failed....\n");
        return Outcome::Failed;
    }
    log.Write("  Moving contents to mod structure....\n");
    const bool placed =
        PlaceContents(folder, context.mappings, context.paths, log, &item.toolReason);
    log.Write(placed ? "  Installation successful....\n"
                     : "  Installation failed (moving error)....\n");
    if (placed) {
        item.status = DownloadStatus::Installed;
    }
    log.Write("  Removing temporary files....\n");
    DeleteTree(folder, log);
    return placed ? Outcome::Installed : Outcome::Failed;
}

Outcome InstallDownloadedItem(DownloadItem& item, InstallContext& context,
                              const ExtractionSetup& setup) {
    context.log.WriteFormat("\n%s...\n\n", item.name.c_str());
    context.log.WriteFormat("  Saved to %s\n", item.localPath.c_str());
    const auto baseName = PackageBaseName(item.localPath);
    if (!baseName) {
        return Outcome::Skipped;
    }
    return item.packageKey.starts_with('*') ? InstallModPackage(item, *baseName, context, setup)
                                            : InstallMapPackage(item, *baseName, context, setup);
}

// The desktop's viewer, started without waiting for it: a desktop without one only loses the
// view.
void ShowLog(const WorkingPaths& paths, ToolRunner& runner) {
    runner.StartDetached("xdg-open", {paths.modWorkDir + kUpdateLogName});
}

} // namespace

std::optional<std::string> PackageBaseName(std::string_view localPath) {
    if (localPath.size() < 5) {
        return std::nullopt;
    }
    const std::size_t separator = localPath.find_last_of("/\\", localPath.size() - 5);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view base =
        localPath.substr(separator + 1, localPath.size() - 4 - (separator + 1));
    if (base.empty() || base == "." || base == "..") {
        return std::nullopt;
    }
    return std::string(base);
}

InstallResult InstallQueue(DownloadQueue& queue, InstallContext& context) {
    InstallResult result;
    LoadMappings(context.mappings, context.paths);
    InstallLog& log = context.log;
    if (!context.paths.modWorkDir.empty()) {
        log.Open(context.paths.modWorkDir + kUpdateLogName);
    }
    const ExtractionSetup setup{context.paths, context.modFolder, context.runner};

    WriteLogHeader(log);
    for (DownloadItem& item : queue) {
        if (item.status == DownloadStatus::Failed) {
            log.WriteFormat("\n%s....\n\n  Download failed...\n", item.name.c_str());
            if (!item.failure.empty()) {
                log.WriteFormat("  %s\n", item.failure.c_str());
            }
            ++result.failed;
        } else if (item.status == DownloadStatus::Downloaded) {
            const Outcome outcome = InstallDownloadedItem(item, context, setup);
            result.failed += outcome == Outcome::Failed ? 1 : 0;
            result.modInstalled = result.modInstalled || outcome == Outcome::ModInstalled;
        }
    }

    const bool logWritten = log.IsOpen() && log.Close();
    if (!logWritten) {
        context.prompter.ShowMessage(kLogNotCreatedMessage);
        return result;
    }
    if (context.showLog) {
        ShowLog(context.paths, context.runner);
    }
    return result;
}

} // namespace ballotine
