#pragma once

#include "install/InstallMappings.h"

#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

// How a package must name its files so that the installer puts each one back at the same
// path below the game folder. The installer places a package's top-level files by their
// extension and its top-level folders by their name, from the mod's mappings.conf; this is the
// one that "ballotine-cli init" writes for a mod M:
//
//   #FILES#              #DIRS#
//   bsp M\maps           valve @
//   txt M\maps           Entities \Ballotine\M
//   res M\maps           #END#
//   wad M
//
// A folder without a mapping goes into the mod's folder, so sound/, models/, sprites/, gfx/
// and maps/ folders land at their own path below the mod.
class PackageLayout {
public:
    explicit PackageLayout(std::string mod);

    // The entry name that the installer places at `gamePath` (below the game folder, "/"
    // between folders): the bare file name when a file mapping sends it there, else the path
    // from the first folder the installer places there. Nothing when no name does (a file at
    // the top of the mod with an unmapped extension; a program or configuration file, which
    // the installer does not copy out of a package's folders).
    std::optional<std::string> EntryName(std::string_view gamePath) const;
    // Where the installer puts an entry, below the game folder; nothing when it leaves it out.
    std::optional<std::string> Placement(std::string_view entryName) const;

    const InstallMappings& Mappings() const { return m_mappings; }
    // The game folder the mappings' targets are written against.
    static constexpr std::string_view kGameFolder = "/game";

private:
    std::string m_mod;
    InstallMappings m_mappings;
};

} // namespace ballotine
