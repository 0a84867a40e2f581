#pragma once

#include <string>

namespace ballotine {

class InstallLog;
struct InstallMappings;
struct WorkingPaths;

// Copies a folder tree into `destination` (created when missing), replacing files of the same
// names and leaving out ".exe", ".cfg" and ".dll" files. Symbolic links are copied as nothing:
// neither followed nor recreated. False when a file could not be copied (each such file has
// its log line) or the source could not be read; the rest is copied all the same.
bool CopyTree(const std::string& source, const std::string& destination, InstallLog& log);

// Places the contents of an extracted package: top-level files where a file mapping sends
// them (others are left out), top-level folders where a folder mapping sends them or else into
// the mod's folder. False when anything that was to be copied could not be.
bool PlaceContents(const std::string& extractionFolder, const InstallMappings& mappings,
                   const WorkingPaths& paths, InstallLog& log);

} // namespace ballotine
