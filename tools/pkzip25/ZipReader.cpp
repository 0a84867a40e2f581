#include "pkzip25/ZipReader.h"

#include "common/Text.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/ExpansionLimit.h"
#include "pkzip25/FileDescriptor.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace ballotine::pkzip25 {

namespace {

constexpr std::size_t kReadBlock = 1 << 17;

// libarchive's message for the last failure, on one line: some end in a line feed.
std::string ArchiveError(archive* handle) {
    const char* text = archive_error_string(handle);
    std::string_view message = text != nullptr ? text : "unknown error";
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.remove_suffix(1);
    }
    return Printable(message);
}

EntryKind KindOf(archive_entry* entry) {
    if (archive_entry_hardlink(entry) != nullptr) {
        return EntryKind::Other;
    }
    switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
        return EntryKind::File;
    case AE_IFDIR:
        return EntryKind::Folder;
    case AE_IFLNK:
        return EntryKind::Link;
    default:
        return EntryKind::Other;
    }
}

} // namespace

void ZipReader::Free::operator()(archive* handle) const {
    archive_read_free(handle);
}

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;

bool ZipReader::Open(int fd, std::string& reason) {
    m_archive.reset(archive_read_new());
    if (!m_archive) {
        reason = "out of memory";
        return false;
    }
    archive_read_support_format_zip_seekable(m_archive.get());
    if (::lseek(fd, 0, SEEK_SET) < 0 ||
        archive_read_open_fd(m_archive.get(), fd, kReadBlock) != ARCHIVE_OK) {
        reason = Format("not a readable zip archive: %s", ArchiveError(m_archive.get()).c_str());
        m_archive.reset();
        return false;
    }
    return true;
}

ZipReader::Step ZipReader::Next(ZipEntry& entry, std::string& reason) {
    archive_entry* header = nullptr;
    const int status = archive_read_next_header(m_archive.get(), &header);
    if (status == ARCHIVE_EOF) {
        return Step::End;
    }
    // A warning here is about name conversion; the name is still there.
    if (status < ARCHIVE_WARN) {
        reason = Format("damaged zip archive: %s", ArchiveError(m_archive.get()).c_str());
        return Step::Failed;
    }
    const char* name = archive_entry_pathname(header);
    entry.name = name != nullptr ? name : "";
    entry.kind = KindOf(header);
    const char* linkTarget = archive_entry_symlink(header);
    entry.linkTarget = linkTarget != nullptr ? linkTarget : "";
    entry.mode = static_cast<unsigned>(archive_entry_perm(header));
    entry.modified.reset();
    if (archive_entry_mtime_is_set(header)) {
        entry.modified = archive_entry_mtime(header);
    }
    entry.encrypted = archive_entry_is_encrypted(header) != 0;
    entry.declaredSize = archive_entry_size_is_set(header) && archive_entry_size(header) >= 0
                             ? static_cast<std::uint64_t>(archive_entry_size(header))
                             : 0;
    m_declaredSize = entry.declaredSize;
    return Step::Entry;
}

bool ZipReader::CopyContentTo(int fd, ExpansionBudget& budget, std::string& reason) {
    for (;;) {
        const void* block = nullptr;
        std::size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(m_archive.get(), &block, &size, &offset);
        if (status == ARCHIVE_EOF) {
            return true;
        }
        // libarchive reports a CRC mismatch as a mere warning; for an installer it is damage.
        if (status != ARCHIVE_OK) {
            reason = Format("damaged content: %s", ArchiveError(m_archive.get()).c_str());
            return false;
        }
        // The sizes were checked against the limits before anything was written; content
        // that outgrows them is damage or a lie, and is stopped before it is written.
        const auto end = static_cast<std::uint64_t>(offset) + size;
        if (offset < 0 || end > m_declaredSize) {
            reason = Format("damaged content: it holds more than the %llu bytes it declares",
                            static_cast<unsigned long long>(m_declaredSize));
            return false;
        }
        if (!budget.Charge(size, reason)) {
            return false;
        }
        if (!WriteAllAt(fd, static_cast<const char*>(block), size, offset)) {
            reason = std::strerror(errno);
            return false;
        }
    }
}

} // namespace ballotine::pkzip25
