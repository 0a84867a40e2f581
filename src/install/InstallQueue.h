#pragma once

#include "download/DownloadQueue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

class InstallLog;
class Prompter;
class ToolRunner;
struct InstallMappings;
struct ModTable;
struct WorkingPaths;

// What an installation run works on. The program owns each part; the run changes the mod
// table, the mappings (reloaded) and the log.
struct InstallContext {
    const WorkingPaths& paths;
    std::string modFolder; // the selected mod's folder name, e.g. "tfc"
    ModTable& mods;
    InstallMappings& mappings;
    InstallLog& log;
    Prompter& prompter;
    ToolRunner& runner;
    // Open the report in the desktop's viewer at the end (a terminal prints its path instead).
    bool showLog = true;
};

inline constexpr const char* kUpdateLogName = "update.log";
inline constexpr const char* kLogNotCreatedMessage = "Unable to create log file";

// What an installation run did.
struct InstallResult {
    // Failed downloads plus packages that could not be unpacked or placed.
    std::int32_t failed = 0;
    // A mod package was installed: its version in the mod table changed, and the mod list read
    // anew may offer another mod.
    bool modInstalled = false;
};

// Installs every downloaded package of `queue` in queue order: unpacks and places map
// packages, unpacks mod packages into the game folder (setting the mod's version in the mod
// table), marks each installed item installed, reports every step in "update.log" of the
// mod's working folder and opens the report.
InstallResult InstallQueue(DownloadQueue& queue, InstallContext& context);

// The base name of a downloaded package: the text after the last separator that stands
// before the final four characters (the ".zip"), without those four. Nothing when there is
// no such separator, or when the text left would not name a folder of its own (empty, "." or
// ".."): its extraction folder would be the packages' folder or the one above it.
std::optional<std::string> PackageBaseName(std::string_view localPath);

} // namespace ballotine
