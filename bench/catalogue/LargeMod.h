#pragma once

#include "BenchSupport.h"

#include <filesystem>
#include <string>

namespace ballotine::bench {

// A game folder whose mod "tfc" has 5,000 vote sprites, 5,000 maps and 20,000 entity files,
// with a vote.ent naming 16 maps, a mods.cfg and a registry file: what a large server's
// installation can hold. Written once, on first use, and shared by a binary's figures.
class LargeMod {
public:
    static constexpr int kSprites = 5000;
    static constexpr int kMaps = 5000;
    static constexpr int kEntityFiles = 20000;

    static const LargeMod& Shared();

    std::filesystem::path GameDir() const { return m_root / "Half-Life"; }
    std::filesystem::path RegistryFile() const { return m_root / "registry.conf"; }
    // The three folders a scan reads, as `find` arguments.
    std::string FindCommand() const;

private:
    LargeMod();
    ScratchDir m_root;
};

} // namespace ballotine::bench
