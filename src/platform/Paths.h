#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The separator the program appends when it builds paths ("%s%s.bsp" style).
inline constexpr char kSeparator = '/';

// A backslash in a path from a format or a data file (where it separates folders) stands for
// the platform separator.
std::string ToNativeSeparators(std::string_view path);

// Appends the platform separator unless the text already ends with one.
std::string WithTrailingSeparator(std::string_view path);

// The path as the file system knows it: each component that does not exist as written but
// exists under another letter case is replaced by that spelling, so a name from the game's
// files finds its file whatever the case it was written in. Components after the first one
// that exists under no spelling are kept as written (a file about to be created keeps its
// name).
std::filesystem::path ResolveCase(const std::filesystem::path& path);

// The text after the last "/" or "\"; the whole text when it holds neither.
std::string_view LastPathComponent(std::string_view path);

// The folder that holds the running program.
std::filesystem::path ProgramFolder();

// The folders that hold the helper tools (ripent, pkzip25) of the programs in `programFolder`,
// the one to look in first first: an installation's helper folder (libexec/ballotine beside
// bin) when there is one, then the programs' own folder, where a build tree keeps them.
std::vector<std::filesystem::path> HelperToolFolders(const std::filesystem::path& programFolder);

// The vote map kit's file that every kit holds, by which a kit folder is known.
inline constexpr const char* kVoteKitMarkerFile = "vote.ref";

// Where the vote map kit (vote.bsp, vote.ref, vote.spr, blank.spr) of the programs in
// `programFolder` may lie, the one to look in first first: an installation's data folder's
// "kit", then the build tree's "kit" beside the programs' folder.
std::vector<std::filesystem::path> VoteKitPlaces(const std::filesystem::path& programFolder);
// The first of those places that holds the kit; nothing when none does.
std::optional<std::filesystem::path> VoteKitFolder(const std::filesystem::path& programFolder);

} // namespace ballotine
