#include "pkzip25/FolderWalk.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string WhyNotOpened(int error, const std::string& relative) {
    if (error == ELOOP || error == ENOTDIR) {
        return Format("'%s' in the target folder is a link or a file, not a folder",
                      Printable(relative).c_str());
    }
    return Format("cannot open folder '%s': %s", Printable(relative).c_str(), std::strerror(error));
}

} // namespace

std::string JoinRelative(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty()) {
        joined += '/';
    }
    joined += name;
    return joined;
}

FileDescriptor OpenFolderBelow(int root, std::string_view relative,
                               std::vector<std::string>* created, std::string& reason) {
    FileDescriptor current(::fcntl(root, F_DUPFD_CLOEXEC, 0));
    if (!current.IsOpen()) {
        reason = Format("cannot open the target folder: %s", std::strerror(errno));
        return {};
    }
    std::string walked;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string_view::npos) {
            end = relative.size();
        }
        const std::string component(relative.substr(start, end - start));
        start = end + 1;
        walked = JoinRelative(walked, component);

        int fd = ::openat(current.Get(), component.c_str(), kFolderFlags);
        if (fd < 0 && errno == ENOENT && created != nullptr) {
            if (::mkdirat(current.Get(), component.c_str(), 0755) == 0) {
                created->push_back(walked);
            } else if (errno != EEXIST) {
                reason = Format("cannot create folder '%s': %s", Printable(walked).c_str(),
                                std::strerror(errno));
                return {};
            }
            fd = ::openat(current.Get(), component.c_str(), kFolderFlags);
        }
        if (fd < 0) {
            reason = WhyNotOpened(errno, walked);
            return {};
        }
        current = FileDescriptor(fd);
    }
    return current;
}

} // namespace ballotine::pkzip25
