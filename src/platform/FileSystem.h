#pragma once

#include "platform/FolderListing.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// File operations on names from the game's files: every path is first resolved without regard
// to letter case (see ResolveCase), so "MAPS/2Fort.BSP" opens maps/2fort.bsp.

// Wildcard search in one folder: `pattern` is a folder path followed by a name pattern with
// "*" and "?", for example "/game/tfc/sprites/vote/*.spr". Names match without regard to case.
std::vector<FolderEntry> FindFiles(std::string_view pattern);

struct FileStatus {
    std::uint64_t size = 0;
    bool isFolder = false;
};
// Status of a file or folder (links followed); nothing when it does not exist.
std::optional<FileStatus> QueryFile(const std::filesystem::path& path);

bool FileExists(const std::filesystem::path& path);   // a file, not a folder
bool FolderExists(const std::filesystem::path& path); // never changes the current folder

// Opens a file for reading; nothing when it cannot be opened.
std::optional<std::ifstream> OpenForReading(const std::filesystem::path& path);
// Reads a whole file; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Copies a file over any file of the target name. The target is written beside itself under
// a temporary name and renamed, so a failed copy leaves an earlier target whole. Links are
// not followed: a link is never copied as what it points to.
bool CopyFileReplacing(const std::filesystem::path& from, const std::filesystem::path& to);
// Deletes a file, or a link as a link.
bool DeleteFile(const std::filesystem::path& path);
// Creates one folder; true when it exists afterwards.
bool CreateFolder(const std::filesystem::path& path);
// Creates a folder and its missing parents; true when it exists afterwards.
bool CreateFolders(const std::filesystem::path& path);
// Removes an empty folder.
bool RemoveFolder(const std::filesystem::path& path);

} // namespace ballotine
