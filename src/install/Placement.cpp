#include "install/Placement.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/WriteBoundary.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"

#include <filesystem>
#include <optional>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

// Where a file or folder of the package lands: the path the log shows (the mapping's target
// with the package's names) and the real one, resolved as the walk went down, each folder once.
struct Destination {
    std::string shown;
    fs::path real;
    bool exists = false; // something of that name is there already
};

// One thing the placement does, in the order the package lists them.
struct Step {
    enum class Kind { Folder, File, Note };
    Kind kind = Kind::Note;
    std::string from;        // File: the unpacked file
    Destination to;          // Folder, File
    std::string note;        // Note: a line of the log
    bool makeFolder = false; // File: its folder may be missing (a top-level file)
};

// The whole placement, planned before anything is written: when the package would write
// where no package may, nothing of it is.
class Plan {
public:
    explicit Plan(const WorkingPaths& paths) : m_boundary(paths) {}

    void AddFolder(const std::string& source, const Destination& to);
    void AddFile(const std::string& source, std::string_view name, const Destination& to,
                 bool topLevel = false);
    void AddNote(std::string note) {
        m_steps.push_back({Step::Kind::Note, {}, {}, std::move(note), false});
    }

    // Carries the steps out; false when anything was refused (nothing is done then) or a file
    // could not be copied (the rest is), with the first such cause in `reason`.
    bool CarryOut(InstallLog& log, std::string& reason) const;

private:
    bool Allowed(const std::string& source, const Destination& to, bool isFolder);

    WriteBoundary m_boundary;
    std::vector<Step> m_steps;
    std::vector<std::string> m_refusals; // the log's lines
    std::string m_firstRefusal;          // the first one's cause, as the user is told
    bool m_unreadable = false;           // a folder of the package could not be read
};

bool IsLink(const std::string& path) {
    std::error_code error;
    return fs::is_symlink(ResolveCase(path), error);
}

// `name` inside a folder already resolved: its spelling on disk (a listing read once per
// folder) and, for a link, where it leads.
Destination Inside(const Destination& folder, const FolderListing& onDisk,
                   const std::string& name) {
    Destination child{JoinPath(folder.shown, name), folder.real / name, false};
    const FolderEntry* entry = folder.exists ? onDisk.Find(name) : nullptr;
    if (entry == nullptr) {
        return child;
    }
    child.exists = true;
    child.real = folder.real / entry->name;
    if (entry->isLink) {
        child.real = WriteBoundary::RealPlace(child.real);
    }
    return child;
}

Destination Resolved(const std::string& shown) {
    Destination destination{shown, WriteBoundary::RealPlace(shown), false};
    std::error_code error;
    destination.exists = fs::exists(fs::symlink_status(destination.real, error));
    return destination;
}

bool Plan::Allowed(const std::string& source, const Destination& to, bool isFolder) {
    const std::string refusal = m_boundary.Refusal(to.real, isFolder);
    if (refusal.empty()) {
        return true;
    }
    m_refusals.push_back(Format("    NOT COPYING %s: %s\n", source.c_str(), refusal.c_str()));
    if (m_firstRefusal.empty()) {
        m_firstRefusal = refusal;
    }
    return false;
}

void Plan::AddFolder(const std::string& source, const Destination& to) {
    if (IsLink(source) || !Allowed(source, to, true)) {
        return;
    }
    m_steps.push_back({Step::Kind::Folder, source, to, {}, false});
    const FolderListing listing = FolderListing::Read(source);
    if (!listing.Exists()) {
        m_unreadable = true;
        return;
    }
    const FolderListing onDisk = to.exists ? FolderListing::ReadNames(to.real) : FolderListing{};
    for (const FolderEntry& entry : listing.Entries()) {
        if (entry.isLink) {
            continue; // copied as nothing: neither followed nor made again
        }
        const std::string from = JoinPath(source, entry.name);
        const Destination child = Inside(to, onDisk, entry.name);
        if (entry.isFolder) {
            AddFolder(from, child);
        } else {
            AddFile(from, entry.name, child);
        }
    }
}

void Plan::AddFile(const std::string& source, std::string_view name, const Destination& to,
                   bool topLevel) {
    if (IsProgramFile(source, name)) {
        AddNote(Format("    NOT COPYING FILE %.*s, if you need this file, please install it "
                       "manually\n",
                       static_cast<int>(name.size()), name.data()));
        return;
    }
    if (Allowed(source, to, false)) {
        m_steps.push_back({Step::Kind::File, source, to, {}, topLevel});
    }
}

bool Plan::CarryOut(InstallLog& log, std::string& reason) const {
    if (!m_refusals.empty()) {
        for (const std::string& refusal : m_refusals) {
            log.Write(refusal);
        }
        log.Write("    Package refused: nothing of it was copied\n");
        reason = "refused, nothing of it was copied: " + m_firstRefusal;
        if (m_refusals.size() > 1) {
            reason += Format(" (and %zu more)", m_refusals.size() - 1);
        }
        return false;
    }
    bool copied = !m_unreadable;
    if (m_unreadable) {
        reason = "a folder of the package could not be read";
    }
    for (const Step& step : m_steps) {
        switch (step.kind) {
        case Step::Kind::Note:
            log.Write(step.note);
            break;
        case Step::Kind::Folder:
            CreateFolders(step.to.real);
            break;
        case Step::Kind::File:
            log.WriteFormat("    Copying file %s to %s\n", step.from.c_str(),
                            step.to.shown.c_str());
            if (step.makeFolder) {
                CreateFolders(step.to.real.parent_path());
            }
            if (!CopyFileReplacing(step.from, step.to.real)) {
                log.WriteFormat("    Unable to copy file %s to %s\n", step.from.c_str(),
                                step.to.shown.c_str());
                if (copied) {
                    reason = "unable to copy a file to " + step.to.shown;
                }
                copied = false;
            }
            break;
        }
    }
    return copied;
}

// PlaceContents with the cause of a failure, when one is known, in `reason`.
bool PlaceInto(const std::string& extractionFolder, const InstallMappings& mappings,
               const WorkingPaths& paths, InstallLog& log, std::string& reason) {
    if (!paths.HasMod()) {
        reason = "the game has no mod folder to place it in";
        return false; // without a mod folder there is nowhere to put unmapped folders
    }
    if (IsLink(extractionFolder)) {
        return false;
    }
    const FolderListing listing = FolderListing::Read(extractionFolder);
    if (!listing.Exists()) {
        return false;
    }
    Plan plan(paths);
    for (const FolderEntry& entry : listing.Entries()) {
        const std::string from = JoinPath(extractionFolder, entry.name);
        if (entry.isLink) {
            continue;
        }
        if (entry.isFolder) {
            plan.AddFolder(
                from,
                Resolved(mappings.MapDirectory(entry.name).value_or(paths.modDir + entry.name)));
        } else if (const auto to = mappings.MapFile(entry.name)) {
            plan.AddFile(from, entry.name, Resolved(*to), true);
        } else {
            plan.AddNote(Format("    Ignoring file %s, if you want this file, please extract it "
                                "manually\n",
                                entry.name.c_str()));
        }
    }
    return plan.CarryOut(log, reason);
}

} // namespace

bool PlaceContents(const std::string& extractionFolder, const InstallMappings& mappings,
                   const WorkingPaths& paths, InstallLog& log, std::string* reason) {
    std::string cause;
    const bool placed = PlaceInto(extractionFolder, mappings, paths, log, cause);
    if (!placed && reason != nullptr) {
        *reason = cause.empty() ? "the unpacked package could not be read" : cause;
    }
    return placed;
}

} // namespace ballotine
