#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

struct WorkingPaths;

// What the update server may change through a package: places inside the game folder, except
// Ballotine's own files. Ballotine's working folder (tools, mods.cfg, modsupdate.cfg, the
// mods' update.conf, config.conf, mappings.conf, lists, logs) is closed to every package but
// for entity reference files (.ref) and templates (.tpt) straight in the mod's Entities folder,
// where the mappings send a package's "Entities" folder. Every path is judged where it really
// lands: letter case resolved and links followed, so a link planted in the game folder cannot
// lead a write out of it or into Ballotine's files. docs/security.md tells the whole rule.
class WriteBoundary {
public:
    // The boundary of the game and selected mod of `paths`; the game folder is resolved once.
    explicit WriteBoundary(const WorkingPaths& paths);

    // Why a package may not write a file (or make a folder) at `real`, a path as RealPlace
    // gives it; empty when it may.
    std::string Refusal(const std::filesystem::path& real, bool isFolder) const;

    // Where a write to `path` really lands: letter case resolved, links followed, "." and ".."
    // taken away; what does not exist yet is appended as written.
    static std::filesystem::path RealPlace(const std::filesystem::path& path);

    // The zip tool's options that hold a mod package of `modFolder`, unpacked straight into the
    // game folder, to the same rule: Ballotine's folder protected but for the mod's entity
    // reference files and templates (none when `modFolder` is no plain folder name). (The tool
    // itself refuses anything outside its target and any path through a link.)
    std::vector<std::string> ZipToolOptions(std::string_view modFolder) const;

private:
    std::filesystem::path m_game; // the game folder as resolved; empty when it is missing
    std::string m_workFolder;     // the working folder's name below it, "Ballotine"
    std::string m_modFolder;      // the selected mod's folder name, "tfc"
};

// The extensions of the files a package may put into Ballotine's mod Entities folder.
inline constexpr std::string_view kEntityFileExtensions[] = {".ref", ".tpt"};

// Whether a file of a package is a program, which no map, entity or vote data package may
// bring: by name (".exe", ".dll", ".cfg" as on Windows, ".so" and ".so.N" on Linux), by mode
// (anyone may run it) or by content (an ELF program or a "#!" script). `file` is the unpacked
// file, `name` its name.
bool IsProgramFile(const std::filesystem::path& file, std::string_view name);

} // namespace ballotine
