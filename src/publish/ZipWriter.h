#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// One file of a package: its name inside the archive ("/" between folders) and the file
// that holds its content.
struct ZipSource {
    std::string name;
    std::filesystem::path file;
};

// A zip archive of the files, deflated, in the order of their names, every entry with the
// same fixed time, permissions and owner: the same contents give the same bytes on any machine
// and in any time zone, so an unchanged package is recognisably unchanged.
//
// An archive shorter than `smallestSize` gets a comment that makes up the difference: the
// installer takes any smaller download for an error page. Nothing, with `error` set, when a
// file cannot be read or the archive cannot be made.
std::optional<std::string> BuildZip(std::vector<ZipSource> entries, std::uint64_t smallestSize,
                                    std::string& error);

} // namespace ballotine
