#include "install/Placement.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"

#include <filesystem>

namespace ballotine {

namespace {

// Program and configuration files in a package's folders could replace a server's own.
bool IsRefusedInsideFolders(std::string_view name) {
    return EndsWithNoCase(name, ".exe") || EndsWithNoCase(name, ".cfg") ||
           EndsWithNoCase(name, ".dll");
}

bool IsLink(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_symlink(ResolveCase(path), error);
}

bool CopyLoggedFile(const std::string& from, const std::string& to, InstallLog& log) {
    log.WriteFormat("    Copying file %s to %s\n", from.c_str(), to.c_str());
    if (CopyFileReplacing(from, to)) {
        return true;
    }
    log.WriteFormat("    Unable to copy file %s to %s\n", from.c_str(), to.c_str());
    return false;
}

} // namespace

bool CopyTree(const std::string& source, const std::string& destination, InstallLog& log) {
    if (IsLink(source)) {
        return true;
    }
    CreateFolders(destination);
    const FolderListing listing = FolderListing::Read(source);
    if (!listing.Exists()) {
        return false;
    }
    bool copied = true;
    for (const FolderEntry& entry : listing.Entries()) {
        const std::string from = JoinPath(source, entry.name);
        const std::string to = JoinPath(destination, entry.name);
        if (entry.isLink) {
            continue;
        }
        if (entry.isFolder) {
            copied = CopyTree(from, to, log) && copied;
        } else if (IsRefusedInsideFolders(entry.name)) {
            log.WriteFormat(
                "    NOT COPYING FILE %s, if you need this file, please install it manually\n",
                entry.name.c_str());
        } else {
            copied = CopyLoggedFile(from, to, log) && copied;
        }
    }
    return copied;
}

bool PlaceContents(const std::string& extractionFolder, const InstallMappings& mappings,
                   const WorkingPaths& paths, InstallLog& log) {
    if (!paths.HasMod() || IsLink(extractionFolder)) {
        return false; // without a mod folder there is nowhere to put unmapped folders
    }
    const FolderListing listing = FolderListing::Read(extractionFolder);
    if (!listing.Exists()) {
        return false;
    }
    bool placed = true;
    for (const FolderEntry& entry : listing.Entries()) {
        const std::string from = JoinPath(extractionFolder, entry.name);
        if (entry.isLink) {
            continue;
        }
        if (entry.isFolder) {
            const std::string to =
                mappings.MapDirectory(entry.name).value_or(paths.modDir + entry.name);
            placed = CopyTree(from, to, log) && placed;
        } else if (const auto to = mappings.MapFile(entry.name)) {
            CreateFolders(std::filesystem::path(*to).parent_path());
            placed = CopyLoggedFile(from, *to, log) && placed;
        } else {
            log.WriteFormat(
                "    Ignoring file %s, if you want this file, please extract it manually\n",
                entry.name.c_str());
        }
    }
    return placed;
}

} // namespace ballotine
