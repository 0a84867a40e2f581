#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ballotine {

class ToolRunner;
class InstallLog;
struct WorkingPaths;

// Where packages are unpacked, and the program that runs the zip tool.
struct ExtractionSetup {
    const WorkingPaths& paths;
    std::string modFolder; // the selected mod's folder name, e.g. "tfc"
    ToolRunner& runner;
};

// A downloaded file this small is an error page or a cut transfer, never a package.
inline constexpr std::uint64_t kSmallestPackageSize = 2049;

// Checks and unpacks one package with the zip tool, run in the working folder.
//
// A map package (`name` is its base name N) is the file `packagePath`, unpacked into the
// extraction folder <mod working folder>/mapzips/N. A mod package (`name` is "*" and the mod's
// folder name m; `packagePath` is not used) is <working folder>/m.zip, unpacked into the game
// folder. A missing or too small package file is deleted. False when nothing was unpacked;
// then `toolReason`, when given, receives what the zip tool said, if it ran and failed.
bool ExtractPackage(std::string_view packagePath, std::string_view name,
                    const ExtractionSetup& setup, InstallLog& log,
                    std::string* toolReason = nullptr);

// Deletes a folder with everything in it; what cannot be deleted stays, and so does the
// folder then. Read-only files are left alone. Links are deleted as links: nothing they point
// to is touched, even when `folder` itself is one.
void DeleteTree(const std::string& folder, InstallLog& log);

} // namespace ballotine
