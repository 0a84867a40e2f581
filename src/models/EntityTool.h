#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

class ToolRunner;

inline constexpr const char* kEntityToolName = "ripent";

// The installed entity tool: "ripent" in the first of the helper tool folders that holds one.
std::optional<std::filesystem::path>
InstalledEntityTool(const std::vector<std::filesystem::path>& toolFolders);

// What putting the entity tool in place at start-up did.
struct EntityToolRefresh {
    enum class Outcome {
        Kept,            // the working folder's tool is as new as the installed one, or newer
        Placed,          // the working folder had none; the installed one was copied there
        Replaced,        // the working folder's was older, or did not say its version
        NoInstalledTool, // no helper folder holds one, or it does not say its version
        NotWritten,      // the copy failed; whatever was there is unchanged
    };
    Outcome outcome = Outcome::Kept;
    std::filesystem::path target; // the working folder's tool
    std::string text;             // one line for the user; empty when Kept
};

// Puts the installed entity tool into the working folder `workDir` (which must exist) when
// that has none or an older one, as `ripent --version` of each tells. The copy replaces the old
// tool whole or not at all.
EntityToolRefresh RefreshEntityTool(const std::filesystem::path& workDir,
                                    const std::vector<std::filesystem::path>& toolFolders,
                                    ToolRunner& runner);

} // namespace ballotine
