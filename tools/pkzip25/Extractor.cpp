#include "pkzip25/Extractor.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/ExpansionLimit.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWriter.h"
#include "pkzip25/TargetTree.h"
#include "pkzip25/ZipReader.h"
#include "platform/Paths.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace ballotine::pkzip25 {
namespace fs = std::filesystem;

namespace {

struct PlannedEntry {
    std::string name; // as stored, to see that the second pass meets the same entries
    bool isFolder = false;
    Placement placement;
};

std::string EntryFailure(const ZipEntry& entry, const std::string& why) {
    return Format("entry '%s' %s", Printable(entry.name).c_str(), why.c_str());
}

// Why an entry of this kind cannot be written, or nothing when it can.
std::string WhyRefusedKind(const ZipEntry& entry, const EntryPath& path) {
    if (entry.encrypted) {
        return "is encrypted";
    }
    switch (entry.kind) {
    case EntryKind::File:
    case EntryKind::Folder:
        return {};
    case EntryKind::Link:
        // Packages come from Windows, where zip files hold no links; one that stays inside
        // would still block every later package that writes through its name.
        return LinkStaysInside(path, entry.linkTarget)
                   ? "is a symbolic link; archives with links are not extracted"
                   : "is a link leading outside the target folder";
    case EntryKind::Other:
        break;
    }
    return "is neither a file nor a folder";
}

// Whether the entry's full path (the target's, a separator and its own) is one the system
// can name: other programs, the game among them, open files by path.
bool FitsInAPath(const EntryPath& path, std::size_t targetLength) {
    std::size_t length = targetLength;
    for (const std::string& component : path.components) {
        length += 1 + component.size();
    }
    return length < PATH_MAX;
}

bool PlanEntries(int archiveFd, TargetTree& tree, ExpansionBudget& budget, std::size_t targetLength,
                 std::vector<PlannedEntry>& plan, std::string& reason) {
    ZipReader reader;
    if (!reader.Open(archiveFd, reason)) {
        return false;
    }
    ZipEntry entry;
    for (;;) {
        const ZipReader::Step step = reader.Next(entry, reason);
        if (step == ZipReader::Step::End) {
            return true;
        }
        if (step == ZipReader::Step::Failed) {
            return false;
        }
        EntryPath path;
        std::string why;
        if (!SplitEntryName(entry.name, path, why) ||
            !(why = WhyRefusedKind(entry, path)).empty()) {
            reason = EntryFailure(entry, why);
            return false;
        }
        if (!FitsInAPath(path, targetLength)) {
            reason = EntryFailure(entry, Format("would have a path longer than the %d bytes a "
                                                "path may have",
                                                PATH_MAX - 1));
            return false;
        }
        // The sizes the archive declares: an honest bomb is refused before anything is written.
        if (!budget.ChargeEntry(reason) || !budget.Charge(entry.declaredSize, reason)) {
            return false;
        }
        // A folder is known by its type or, from Windows archivers, by a trailing "\" only.
        path.isFolder = path.isFolder || entry.kind == EntryKind::Folder;
        PlannedEntry planned{entry.name, path.isFolder, {}};
        if (!tree.Place(path, planned.placement, why)) {
            reason = EntryFailure(entry, why);
            return false;
        }
        plan.push_back(std::move(planned));
    }
}

bool WriteEntries(int archiveFd, const std::vector<PlannedEntry>& plan, ExpansionBudget& budget,
                  FolderWriter& writer, std::string& reason) {
    ZipReader reader;
    if (!reader.Open(archiveFd, reason)) {
        return false;
    }
    ZipEntry entry;
    const auto fill = [&](int fd, std::string& why) {
        return reader.CopyContentTo(fd, budget, why);
    };
    for (const PlannedEntry& planned : plan) {
        const ZipReader::Step step = reader.Next(entry, reason);
        if (step == ZipReader::Step::Failed) {
            return false;
        }
        if (step == ZipReader::Step::End || entry.name != planned.name) {
            reason = "the archive changed while it was read";
            return false;
        }
        if (!budget.ChargeEntry(reason)) {
            return false;
        }
        const bool written =
            planned.isFolder
                ? writer.MakeFolder(planned.placement.folder, reason)
                : writer.StageFile(planned.placement.folder, planned.placement.name,
                                   (entry.mode & S_IXUSR) != 0, entry.modified, fill, reason);
        if (!written) {
            return false;
        }
    }
    if (reader.Next(entry, reason) != ZipReader::Step::End) {
        reason = "the archive changed while it was read";
        return false;
    }
    return true;
}

} // namespace

bool ExtractArchive(const ExtractRequest& request, std::string& reason) {
    const fs::path archivePath = ResolveCase(ToNativeSeparators(request.archive));
    const fs::path target = ResolveCase(ToNativeSeparators(request.target));

    // One descriptor for both passes: the file cannot be swapped between check and write.
    FileDescriptor archive(::open(archivePath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!archive.IsOpen() || ::fstat(archive.Get(), &info) != 0) {
        reason = Format("cannot open archive %s: %s", archivePath.c_str(), std::strerror(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = Format("archive %s is not a file", archivePath.c_str());
        return false;
    }

    TargetTree tree;
    std::vector<PlannedEntry> plan;
    std::error_code error;
    const std::size_t targetLength = fs::absolute(target, error).native().find_last_not_of('/') + 1;
    ExpansionBudget declared(request.maxTotal, static_cast<std::uint64_t>(info.st_size));
    if (!tree.Open(target, reason) ||
        !PlanEntries(archive.Get(), tree, declared, targetLength, plan, reason)) {
        reason = Format("%s: %s", archivePath.c_str(), reason.c_str());
        return false;
    }

    FolderWriter writer;
    ExpansionBudget written(request.maxTotal, static_cast<std::uint64_t>(info.st_size));
    if (!writer.Open(target, tree.NewFolders(), reason) ||
        !WriteEntries(archive.Get(), plan, written, writer, reason) || !writer.Commit(reason)) {
        reason = Format("%s: %s", archivePath.c_str(), reason.c_str());
        return false;
    }
    return true;
}

} // namespace ballotine::pkzip25
