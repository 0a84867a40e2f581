#include "ZipBuilder.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine::test {

namespace {

void WriteZeros(archive* writer, std::uint64_t size) {
    const std::string zeros(1 << 20, '\0');
    while (size > 0) {
        const std::size_t piece =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, zeros.size()));
        archive_write_data(writer, zeros.data(), piece);
        size -= piece;
    }
}

} // namespace

ZipBuilder& ZipBuilder::File(std::string name, std::string content, unsigned mode) {
    const std::uint64_t size = content.size();
    m_entries.push_back({Kind::File, std::move(name), std::move(content), size, mode});
    return *this;
}

ZipBuilder& ZipBuilder::ZeroFile(std::string name, std::uint64_t size) {
    m_entries.push_back({Kind::ZeroFile, std::move(name), {}, size, 0644});
    return *this;
}

ZipBuilder& ZipBuilder::Folder(std::string name) {
    m_entries.push_back({Kind::Folder, std::move(name), {}, 0, 0755});
    return *this;
}

ZipBuilder& ZipBuilder::Link(std::string name, std::string target) {
    m_entries.push_back({Kind::Link, std::move(name), std::move(target), 0, 0777});
    return *this;
}

ZipBuilder& ZipBuilder::Stored() {
    m_stored = true;
    return *this;
}

void ZipBuilder::Save(const std::filesystem::path& path) const {
    std::unique_ptr<archive, int (*)(archive*)> writer(archive_write_new(), archive_write_free);
    ASSERT_EQ(archive_write_set_format_zip(writer.get()), ARCHIVE_OK);
    // Names are UTF-8 and flagged so, as archivers of today write them.
    ASSERT_EQ(archive_write_set_options(writer.get(), "zip:hdrcharset=UTF-8"), ARCHIVE_OK);
    if (m_stored) {
        ASSERT_EQ(archive_write_set_options(writer.get(), "zip:compression=store"), ARCHIVE_OK);
    }
    ASSERT_EQ(archive_write_open_filename(writer.get(), path.c_str()), ARCHIVE_OK);
    for (const Entry& entry : m_entries) {
        std::unique_ptr<archive_entry, void (*)(archive_entry*)> header(archive_entry_new(),
                                                                        archive_entry_free);
        archive_entry_update_pathname_utf8(header.get(), entry.name.c_str());
        archive_entry_set_perm(header.get(), entry.mode);
        archive_entry_set_mtime(header.get(), 1'000'000'000, 0);
        switch (entry.kind) {
        case Kind::File:
        case Kind::ZeroFile:
            archive_entry_set_filetype(header.get(), AE_IFREG);
            archive_entry_set_size(header.get(), static_cast<la_int64_t>(entry.size));
            break;
        case Kind::Folder:
            archive_entry_set_filetype(header.get(), AE_IFDIR);
            break;
        case Kind::Link:
            archive_entry_set_filetype(header.get(), AE_IFLNK);
            archive_entry_set_symlink(header.get(), entry.content.c_str());
            break;
        }
        ASSERT_EQ(archive_write_header(writer.get(), header.get()), ARCHIVE_OK)
            << archive_error_string(writer.get());
        if (entry.kind == Kind::File) {
            archive_write_data(writer.get(), entry.content.data(), entry.content.size());
        } else if (entry.kind == Kind::ZeroFile) {
            WriteZeros(writer.get(), entry.size);
        }
    }
    ASSERT_EQ(archive_write_close(writer.get()), ARCHIVE_OK) << archive_error_string(writer.get());
}

} // namespace ballotine::test
