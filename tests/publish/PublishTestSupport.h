#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::test {

// A zip archive's files as "name=content", in archive order; empty when it does not read.
std::vector<std::string> ZipContents(const std::string& zip);
// The names of its files.
std::vector<std::string> ZipNames(const std::string& zip);

// A real map from the map writer: one room of `size` units, a spawn point, and the world's
// keys and further entities as given (entity text without the braces of the world).
std::string MapWithEntities(std::string_view worldKeys, std::string_view moreEntities = "",
                            int size = 256);

// Every file below a folder with its bytes, keyed by the path below it.
std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder);

} // namespace ballotine::test
