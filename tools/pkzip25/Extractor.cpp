#include "pkzip25/Extractor.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/ExpansionLimit.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWriter.h"
#include "pkzip25/KilledRuns.h"
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

constexpr std::size_t kNoFile = static_cast<std::size_t>(-1);

struct PlannedEntry {
    std::string name;           // as stored, to see that the second pass meets the same entries
    std::string folder;         // for a folder entry: the folder below the target
    std::size_t file = kNoFile; // for a file entry: its index in the run's record
};

// What the first pass learns: each entry's place, and what the run will change.
struct Plan {
    std::vector<PlannedEntry> entries;
    std::vector<WorkRecord::File> files;
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

bool PlanEntries(int archiveFd, const ExtractRequest& request, TargetTree& tree,
                 ExpansionBudget& budget, std::size_t targetLength, Plan& plan,
                 std::string& reason) {
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
        if (!(why = request.places.WhyRefused(path)).empty()) {
            reason = EntryFailure(entry, why);
            return false;
        }
        Placement placement;
        if (!tree.Place(path, placement, why)) {
            reason = EntryFailure(entry, why);
            return false;
        }
        PlannedEntry planned{entry.name, {}, kNoFile};
        if (path.isFolder) {
            planned.folder = std::move(placement.folder);
        } else {
            planned.file = plan.files.size();
            plan.files.push_back(WorkRecord::File{std::move(placement.folder),
                                                  std::move(placement.name), placement.replaces});
        }
        plan.entries.push_back(std::move(planned));
    }
}

bool WriteEntries(int archiveFd, const Plan& plan, ExpansionBudget& budget, FolderWriter& writer,
                  std::string& reason) {
    ZipReader reader;
    if (!reader.Open(archiveFd, reason)) {
        return false;
    }
    ZipEntry entry;
    const auto fill = [&](int fd, std::string& why) {
        return reader.CopyContentTo(fd, budget, why);
    };
    for (const PlannedEntry& planned : plan.entries) {
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
        const bool written = planned.file == kNoFile
                                 ? writer.MakeFolder(planned.folder, reason)
                                 : writer.StageFile(planned.file, (entry.mode & S_IXUSR) != 0,
                                                    entry.modified, fill, reason);
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

// The target as an absolute path without a trailing separator: records name the folders a
// run made by such paths, so the next run, wherever it is started, knows them again. Links
// and ".." are left for the system to resolve.
fs::path AbsoluteTarget(const std::string& given) {
    const fs::path resolved = ResolveCase(ToNativeSeparators(given));
    std::error_code error;
    fs::path target = fs::absolute(resolved, error);
    if (error) {
        target = resolved;
    }
    while (!target.has_filename() && target.has_relative_path()) {
        target = target.parent_path();
    }
    return target;
}

// The leftovers of killed runs in the target, undone before this run looks at it.
bool CleanUpTarget(const fs::path& target, const ExtractOptions& options, std::string& reason) {
    std::size_t cleaned = 0;
    if (!CleanUpKilledRuns(target, options.gate, cleaned, reason)) {
        return false;
    }
    if (cleaned > 0 && options.note) {
        options.note(Format("cleaned up after %zu killed run%s in %s", cleaned,
                            cleaned == 1 ? "" : "s", Printable(target.native()).c_str()));
    }
    return true;
}

} // namespace

bool ExtractArchive(const ExtractRequest& request, const ExtractOptions& options,
                    std::string& reason) {
    const fs::path archivePath = ResolveCase(ToNativeSeparators(request.archive));
    const fs::path target = AbsoluteTarget(request.target);
    const std::string shownArchive = Printable(archivePath.native());

    // One descriptor for both passes: the file cannot be swapped between check and write.
    FileDescriptor archive(::open(archivePath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!archive.IsOpen() || ::fstat(archive.Get(), &info) != 0) {
        reason = Format("cannot open archive %s: %s", shownArchive.c_str(), std::strerror(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = Format("archive %s is not a file", shownArchive.c_str());
        return false;
    }
    if (!CleanUpTarget(target, options, reason)) {
        return false;
    }

    const auto archiveSize = static_cast<std::uint64_t>(info.st_size);
    const std::size_t targetLength = target.native().size();
    Plan plan;
    std::vector<std::string> newFolders;
    {
        TargetTree tree;
        ExpansionBudget declared(request.maxTotal, archiveSize);
        if (!tree.Open(target, reason) ||
            !PlanEntries(archive.Get(), request, tree, declared, targetLength, plan, reason)) {
            reason = Format("%s: %s", shownArchive.c_str(), reason.c_str());
            return false;
        }
        newFolders = tree.NewFolders();
    }

    FolderWriter writer(options.gate);
    ExpansionBudget written(request.maxTotal, archiveSize);
    if (!writer.Begin(target, std::move(newFolders), std::move(plan.files), reason) ||
        !WriteEntries(archive.Get(), plan, written, writer, reason) || !writer.Commit(reason)) {
        reason = Format("%s: %s", shownArchive.c_str(), reason.c_str());
        writer.Abandon(reason);
        return false;
    }
    return true;
}

} // namespace ballotine::pkzip25
