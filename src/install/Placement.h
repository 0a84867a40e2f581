#pragma once

#include <string>

namespace ballotine {

class InstallLog;
struct InstallMappings;
struct WorkingPaths;

// Places the contents of an extracted package: top-level files where a file mapping sends
// them (others are left out), top-level folders where a folder mapping sends them or else into
// the mod's folder, with their trees, replacing files of the same names.
//
// What a package may change is planned first (see WriteBoundary): when any file or folder
// would land outside the game folder or in Ballotine's own files, as it really lands (letter
// case resolved, links followed), the log names each and nothing of the package is copied.
// Program files (IsProgramFile) are left out wherever they stand, each with its log line.
// Symbolic links in the package are copied as nothing: neither followed nor recreated.
//
// False when the package was refused, or a file could not be copied or a folder of the
// package read (each such file has its log line; the rest is copied all the same); then
// `reason`, when given, says why in one line for the user.
bool PlaceContents(const std::string& extractionFolder, const InstallMappings& mappings,
                   const WorkingPaths& paths, InstallLog& log, std::string* reason = nullptr);

} // namespace ballotine
