#include "ZipBuilder.h"

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine::test {

void ZipBuilder::Save(const std::filesystem::path& path) const {
    std::unique_ptr<archive, int (*)(archive*)> writer(archive_write_new(), archive_write_free);
    ASSERT_EQ(archive_write_set_format_zip(writer.get()), ARCHIVE_OK);
    // Names are UTF-8 and flagged so, as archivers of today write them.
    ASSERT_EQ(archive_write_set_options(writer.get(), "zip:hdrcharset=UTF-8"), ARCHIVE_OK);
    if (m_stored) {
        ASSERT_EQ(archive_write_set_options(writer.get(), "zip:compression=store"), ARCHIVE_OK);
    }
    ASSERT_EQ(archive_write_open_filename(writer.get(), path.c_str()), ARCHIVE_OK);
    const std::string zeros(1 << 20, '\0');
    for (const Entry& entry : m_entries) {
        std::unique_ptr<archive_entry, void (*)(archive_entry*)> header(archive_entry_new(),
                                                                        archive_entry_free);
        archive_entry_update_pathname_utf8(header.get(), entry.name.c_str());
        archive_entry_set_perm(header.get(), entry.mode);
        archive_entry_set_mtime(header.get(), 1'000'000'000, 0);
        archive_entry_set_filetype(header.get(), entry.kind == Kind::Folder ? AE_IFDIR
                                                 : entry.kind == Kind::Link ? AE_IFLNK
                                                                            : AE_IFREG);
        if (entry.kind == Kind::Link) {
            archive_entry_set_symlink(header.get(), entry.content.c_str());
        } else if (entry.kind != Kind::Folder) {
            archive_entry_set_size(header.get(), static_cast<la_int64_t>(entry.size));
        }
        ASSERT_EQ(archive_write_header(writer.get(), header.get()), ARCHIVE_OK)
            << archive_error_string(writer.get());
        if (entry.kind == Kind::File) {
            archive_write_data(writer.get(), entry.content.data(), entry.content.size());
        }
        for (std::uint64_t left = entry.kind == Kind::ZeroFile ? entry.size : 0; left > 0;) {
            const auto piece =
                static_cast<std::size_t>(std::min<std::uint64_t>(left, zeros.size()));
            archive_write_data(writer.get(), zeros.data(), piece);
            left -= piece;
        }
    }
    ASSERT_EQ(archive_write_close(writer.get()), ARCHIVE_OK) << archive_error_string(writer.get());
}

} // namespace ballotine::test
