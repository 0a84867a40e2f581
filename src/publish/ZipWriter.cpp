#include "publish/ZipWriter.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <fstream>
#include <memory>

namespace ballotine {

namespace {

// Before 1980 in every time zone: the archive's local-time field then holds its fixed
// minimum, so the bytes do not depend on the zone the package was made in.
constexpr std::int64_t kEntryTime = 315446400; // 1979-12-31 00:00 UTC
constexpr std::size_t kEndRecordSize = 22;
constexpr const char* kPaddingText = "Ballotine package. This comment only makes the archive "
                                     "large enough for the installer's size check. ";

using Archive = std::unique_ptr<archive, int (*)(archive*)>;
using Entry = std::unique_ptr<archive_entry, void (*)(archive_entry*)>;

la_ssize_t AppendToString(archive* /*zip*/, void* out, const void* data, std::size_t size) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(data), size);
    return static_cast<la_ssize_t>(size);
}

std::string ArchiveError(archive* zip) {
    const char* text = archive_error_string(zip);
    return text != nullptr ? text : "the zip library failed";
}

bool AddEntry(archive* zip, const ZipSource& source, std::string& error) {
    std::ifstream in(source.file, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot read " + source.file.string();
        return false;
    }
    const auto size = static_cast<std::int64_t>(in.tellg());
    in.seekg(0);
    Entry header(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(header.get(), source.name.c_str());
    archive_entry_set_filetype(header.get(), AE_IFREG);
    archive_entry_set_perm(header.get(), 0644);
    archive_entry_set_mtime(header.get(), kEntryTime, 0);
    archive_entry_set_size(header.get(), size);
    if (archive_write_header(zip, header.get()) != ARCHIVE_OK) {
        error = source.name + ": " + ArchiveError(zip);
        return false;
    }
    std::vector<char> chunk(1 << 16);
    std::int64_t written = 0;
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        const auto count = static_cast<std::size_t>(in.gcount());
        if (archive_write_data(zip, chunk.data(), count) != static_cast<la_ssize_t>(count)) {
            error = source.name + ": " + ArchiveError(zip);
            return false;
        }
        written += static_cast<std::int64_t>(count);
    }
    if (in.bad() || written != size) {
        error = "cannot read " + source.file.string() + " whole (it changed while being read?)";
        return false;
    }
    return true;
}

// Gives the archive a comment of `length` bytes: the end record's comment length is its last
// field.
void AppendComment(std::string& bytes, std::size_t length) {
    std::string comment;
    while (comment.size() < length) {
        comment += kPaddingText;
    }
    comment.resize(length);
    const std::size_t lengthField = bytes.size() - 2;
    bytes[lengthField] = static_cast<char>(length & 0xFF);
    bytes[lengthField + 1] = static_cast<char>((length >> 8) & 0xFF);
    bytes += comment;
}

} // namespace

std::optional<std::string> BuildZip(std::vector<ZipSource> entries, std::uint64_t smallestSize,
                                    std::string& error) {
    std::sort(entries.begin(), entries.end(),
              [](const ZipSource& a, const ZipSource& b) { return a.name < b.name; });
    std::string bytes;
    Archive zip(archive_write_new(), archive_write_free);
    if (archive_write_set_format_zip(zip.get()) != ARCHIVE_OK ||
        archive_write_set_bytes_in_last_block(zip.get(), 1) != ARCHIVE_OK ||
        archive_write_open(zip.get(), &bytes, nullptr, AppendToString, nullptr) != ARCHIVE_OK) {
        error = ArchiveError(zip.get());
        return std::nullopt;
    }
    for (const ZipSource& entry : entries) {
        if (!AddEntry(zip.get(), entry, error)) {
            return std::nullopt;
        }
    }
    if (archive_write_close(zip.get()) != ARCHIVE_OK) {
        error = ArchiveError(zip.get());
        return std::nullopt;
    }
    const bool endsInRecord = bytes.size() >= kEndRecordSize &&
                              bytes.compare(bytes.size() - kEndRecordSize, 4, "PK\x05\x06") == 0;
    if (!endsInRecord) {
        error = "the zip library wrote no end record";
        return std::nullopt;
    }
    if (bytes.size() < smallestSize) {
        AppendComment(bytes, static_cast<std::size_t>(smallestSize - bytes.size()));
    }
    return bytes;
}

} // namespace ballotine
