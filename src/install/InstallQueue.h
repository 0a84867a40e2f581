#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

class ToolRunner;
class DownloadQueue;
class InstallLog;
class Prompter;
class VersionTable;
struct InstallMappings;
struct ModTable;
struct Session;
struct WorkingPaths;

// What an installation run works on. The program owns each part; the run changes the mod
// table, the version record, the mappings (reloaded) and the log.
struct InstallContext {
    const WorkingPaths& paths;
    std::string modFolder; // the selected mod's folder name, e.g. "tfc"
    ModTable& mods;
    VersionTable& versions;
    InstallMappings& mappings;
    InstallLog& log;
    Prompter& prompter;
    ToolRunner& runner;
    // Open the report in the desktop's viewer at the end (a terminal prints its path instead).
    bool showLog = true;
};

inline constexpr const char* kUpdateLogName = "update.log";
inline constexpr const char* kLogNotCreatedMessage = "Unable to create log file";

// Installs every downloaded package of `queue` in queue order: unpacks and places map
// packages, unpacks mod packages into the game folder, marks each installed item
// StatusInstalled, reports every step in "update.log" of the mod's working folder, raises the
// recorded versions and opens the report. Returns the number of items that failed: failed
// downloads plus packages that could not be unpacked or placed.
std::int32_t InstallQueue(DownloadQueue& queue, InstallContext& context);

// The base name of a downloaded package: the text after the last separator that stands
// before the final four characters (the ".zip"), without those four. Nothing when there is
// no such separator, or when the text left would not name a folder of its own (empty, "." or
// ".."): its extraction folder would be the packages' folder or the one above it.
std::optional<std::string> PackageBaseName(std::string_view localPath);

// The folder name of the selected mod; empty when none is selected.
std::string SelectedModFolder(const Session& session);

} // namespace ballotine
