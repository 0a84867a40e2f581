#include "pkzip25/TargetTree.h"

#include "common/Text.h"
#include "pkzip25/FolderWalk.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace ballotine::pkzip25 {

namespace {

std::string CannotRead(const std::string& relative) {
    const std::string folder = relative.empty() ? std::string("the target folder")
                                                : "folder '" + Printable(relative) + "'";
    return Format("cannot read %s: %s", folder.c_str(), std::strerror(errno));
}

} // namespace

bool TargetTree::Open(const std::filesystem::path& target, std::string& reason) {
    m_top = Node{};
    m_newFolders.clear();
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            m_top.listed = true; // nothing there yet: every entry is new
            return true;
        }
        reason = Format("cannot use target folder %s: %s", target.c_str(), std::strerror(errno));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        reason = Format("target %s is not a folder", target.c_str());
        return false;
    }
    // The target itself may be a link (a game folder moved to another disk); the user named
    // it. Only links below it are never followed.
    m_root = FileDescriptor(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_root.IsOpen()) {
        reason = Format("cannot open target folder %s: %s", target.c_str(), std::strerror(errno));
        return false;
    }
    m_top.onDisk = true;
    m_cursor.emplace(m_root.Get(), ChangeGate{});
    return true;
}

TargetTree::Kind TargetTree::KindOnDisk(int folderFd, const dirent& item) {
    switch (item.d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
        return Kind::Link;
    case DT_REG:
        return Kind::File;
    case DT_UNKNOWN:
        break; // some file systems do not say; ask
    default:
        return Kind::Other;
    }
    struct stat info {};
    if (::fstatat(folderFd, item.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return Kind::Other;
    }
    return S_ISDIR(info.st_mode)   ? Kind::Folder
           : S_ISLNK(info.st_mode) ? Kind::Link
           : S_ISREG(info.st_mode) ? Kind::File
                                   : Kind::Other;
}

bool TargetTree::EnsureListed(Node& node, const std::string& relative, std::string& reason) {
    if (node.listed) {
        return true;
    }
    const int folder = m_cursor->Open(relative, false, reason);
    if (folder < 0) {
        return false;
    }
    const bool listed = ListFolder(folder, [&](const dirent& item) {
        const std::string name = item.d_name;
        auto child = std::make_unique<Node>();
        child->name = name;
        child->kind = KindOnDisk(folder, item);
        child->onDisk = true;
        child->listed = child->kind != Kind::Folder;
        // Names equal but for case: the smallest spelling wins, as when paths are resolved
        // elsewhere in the system.
        auto& slot = node.children[ToLowerAscii(name)];
        if (!slot || name < slot->name) {
            slot = std::move(child);
        }
    });
    if (!listed) {
        reason = CannotRead(relative);
        return false;
    }
    node.listed = true;
    return true;
}

bool TargetTree::Place(const EntryPath& path, Placement& placement, std::string& reason) {
    placement = Placement{};
    if (path.components.empty()) {
        if (path.isFolder) {
            return true; // the target folder itself
        }
        reason = "names the target folder itself";
        return false;
    }
    Node* node = &m_top;
    // Grows by one component per level: deep paths cost their length, not its square.
    std::string relative;
    for (std::size_t i = 0; i < path.components.size(); ++i) {
        if (!EnsureListed(*node, relative, reason)) {
            return false;
        }
        const std::string& component = path.components[i];
        const bool last = i + 1 == path.components.size();
        const bool wantFolder = !last || path.isFolder;
        auto& slot = node->children[ToLowerAscii(component)];
        const bool added = !slot;
        if (added) {
            slot = std::make_unique<Node>();
            slot->name = component;
            slot->kind = wantFolder ? Kind::Folder : Kind::File;
            slot->listed = true;
        }
        Node& child = *slot;
        const std::size_t folderLength = relative.size();
        if (!relative.empty()) {
            relative += '/';
        }
        relative += child.name;
        if (wantFolder && child.kind == Kind::Link) {
            reason = Format("would pass through the link '%s' in the target folder",
                            Printable(relative).c_str());
            return false;
        }
        const bool clashes = wantFolder ? child.kind != Kind::Folder : child.claimed;
        if (clashes || (!wantFolder && child.kind == Kind::Folder)) {
            reason =
                child.onDisk && !child.claimed
                    ? Format("would need '%s' in the target folder to be a %s",
                             Printable(relative).c_str(), wantFolder ? "folder" : "file")
                    : Format("clashes with another entry over '%s'", Printable(relative).c_str());
            return false;
        }
        if (!wantFolder) {
            child.claimed = true;
            placement.folder = relative.substr(0, folderLength);
            placement.name = child.name;
            placement.replaces = child.onDisk;
            return true;
        }
        if (added) {
            m_newFolders.push_back(relative);
        }
        node = &child;
    }
    placement.folder = std::move(relative);
    return true;
}

} // namespace ballotine::pkzip25
