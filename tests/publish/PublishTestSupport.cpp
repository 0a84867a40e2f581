#include "PublishTestSupport.h"

#include "bsp/MapLayout.h"
#include "support/TestFiles.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <memory>

namespace ballotine::test {

std::vector<std::string> ZipContents(const std::string& zip) {
    std::vector<std::string> files;
    std::unique_ptr<archive, int (*)(archive*)> reader(archive_read_new(), archive_read_free);
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_memory(reader.get(), zip.data(), zip.size()) != ARCHIVE_OK) {
        return files;
    }
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader.get(), &entry) == ARCHIVE_OK) {
        std::string content(static_cast<std::size_t>(archive_entry_size(entry)), '\0');
        const la_ssize_t read = archive_read_data(reader.get(), content.data(), content.size());
        if (read != static_cast<la_ssize_t>(content.size())) {
            return {};
        }
        files.push_back(std::string(archive_entry_pathname(entry)) + "=" + content);
    }
    return files;
}

std::vector<std::string> ZipNames(const std::string& zip) {
    std::vector<std::string> names;
    for (const std::string& file : ZipContents(zip)) {
        names.push_back(file.substr(0, file.find('=')));
    }
    return names;
}

std::string MapWithEntities(std::string_view worldKeys, std::string_view moreEntities, int size) {
    bsp::MapLayout layout;
    layout.rooms.push_back({{0, 0, 0}, {size, size, 128}});
    const std::string text = "{\n\"classname\" \"worldspawn\"\n" + std::string(worldKeys) +
                             "}\n{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"64 64 "
                             "36\"\n}\n" +
                             std::string(moreEntities);
    std::string error;
    const std::optional<std::string> map = bsp::WriteMap(layout, text, error);
    EXPECT_TRUE(map) << error;
    return map.value_or("");
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[entry.path().lexically_relative(folder).generic_string()] =
                ReadFile(entry.path());
        }
    }
    return files;
}

} // namespace ballotine::test
