#include "install/Extraction.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/WriteBoundary.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"
#include "platform/ToolRunner.h"

#include <filesystem>
#include <sys/stat.h>

namespace ballotine {

namespace {

constexpr const char* kZipTool = "pkzip25";

// `relative` below `base` as spelled on disk: the tool knows nothing of letter case
// differences, so it gets the names our own checks found.
std::string SpelledOnDisk(const std::string& base, const std::string& relative) {
    const std::string resolved = ResolveCase(base + relative).string();
    return resolved.starts_with(base) ? resolved.substr(base.size()) : relative;
}

bool IsRealFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::symlink_status(ResolveCase(path), error));
}

// A regular file nobody may write: the clean-up leaves it, as a file the user protected.
bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    return ::lstat(ResolveCase(path).c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & 0222) == 0;
}

ToolRun RunExtraction(const std::string& archive, const std::string& target,
                      const ExtractionSetup& setup, std::vector<std::string> options = {}) {
    std::vector<std::string> arguments{"-extract", "-nofix", "-direct", "-over=all"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(archive);
    arguments.push_back(WithTrailingSeparator(target));
    return setup.runner.RunTool(kZipTool, arguments, setup.paths.workDir);
}

// What the tool said, indented beneath the step's own line of the report, and handed to the
// caller that asked for it.
void WriteToolReason(const ToolRun& run, InstallLog& log, std::string* toolReason) {
    const std::string reason = run.FailureReason();
    if (toolReason != nullptr) {
        *toolReason = reason;
    }
    std::string_view rest = reason;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        log.WriteFormat("      %.*s\n", static_cast<int>(end), rest.data());
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
}

bool ExtractModPackage(const std::string& modDir, const ExtractionSetup& setup, InstallLog& log,
                       std::string* toolReason) {
    const std::string archive = SpelledOnDisk(setup.paths.workDir, modDir + ".zip");
    // A mod package unpacks into the game folder, where Ballotine's own folder lies too.
    const ToolRun run = RunExtraction(archive, setup.paths.installDir, setup,
                                      WriteBoundary(setup.paths).ZipToolOptions(modDir));
    if (!run.Succeeded()) {
        log.Write("    Extraction failed. Invalid zip file\n");
        WriteToolReason(run, log, toolReason);
        return false;
    }
    log.Write("    Extraction complete\n");
    return true;
}

bool ExtractMapPackage(std::string_view baseName, const ExtractionSetup& setup, InstallLog& log,
                       std::string* toolReason) {
    const WorkingPaths& paths = setup.paths;
    if (!paths.HasMod() || setup.modFolder.empty()) {
        log.Write("    Extract command failed\n");
        return false;
    }
    const std::string folder =
        setup.modFolder + kSeparator + "mapzips" + kSeparator + std::string(baseName);
    const ToolRun run = RunExtraction(SpelledOnDisk(paths.workDir, folder + ".zip"),
                                      SpelledOnDisk(paths.workDir, folder), setup);
    if (!run.Succeeded()) {
        log.Write("    Extract command failed\n");
        WriteToolReason(run, log, toolReason);
        return false;
    }
    if (!IsRealFolder(paths.modWorkDir + "mapzips" + kSeparator + std::string(baseName))) {
        log.Write("    Extraction failed. Invalid zip file\n");
        return false;
    }
    log.Write("    Extraction complete\n");
    return true;
}

} // namespace

bool ExtractPackage(std::string_view packagePath, std::string_view name,
                    const ExtractionSetup& setup, InstallLog& log, std::string* toolReason) {
    const bool modPackage = name.starts_with('*');
    const std::string modDir(modPackage ? name.substr(1) : std::string_view{});
    const std::string package =
        modPackage ? setup.paths.workDir + modDir + ".zip" : std::string(packagePath);

    const auto status = QueryFile(package);
    if (!status || status->isFolder || status->size < kSmallestPackageSize) {
        DeleteFile(package);
        log.Write("    Unable to download file\n");
        return false;
    }
    return modPackage ? ExtractModPackage(modDir, setup, log, toolReason)
                      : ExtractMapPackage(name, setup, log, toolReason);
}

void DeleteTree(const std::string& folder, InstallLog& log) {
    std::error_code error;
    if (std::filesystem::is_symlink(ResolveCase(folder), error)) {
        log.WriteFormat("    Deleting file %s\n", folder.c_str());
        DeleteFile(folder);
        return;
    }
    const FolderListing listing = FolderListing::Read(folder);
    if (!listing.Exists()) {
        return;
    }
    for (const FolderEntry& entry : listing.Entries()) {
        const std::string path = JoinPath(folder, entry.name);
        if (entry.isFolder) {
            DeleteTree(path, log);
            continue;
        }
        log.WriteFormat("    Deleting file %s\n", path.c_str());
        if (!IsReadOnlyFile(path)) {
            DeleteFile(path);
        }
    }
    if (RemoveFolder(folder)) {
        log.WriteFormat("    Removing directory %s\n", folder.c_str());
    }
}

} // namespace ballotine
