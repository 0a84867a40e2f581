#pragma once

#include <filesystem>
#include <string>

namespace ballotine::bench {

// A game folder whose mod "tfc" has 5,000 vote sprites, 5,000 maps and 20,000 entity files,
// with a vote.ent naming 16 maps, a mods.cfg and a registry file: what a large server's
// installation can hold. Written once into a temporary folder, removed on destruction.
class LargeMod {
public:
    static constexpr int kSprites = 5000;
    static constexpr int kMaps = 5000;
    static constexpr int kEntityFiles = 20000;

    LargeMod();
    // The one a benchmark binary writes on first use and shares between its figures.
    static const LargeMod& Shared();
    ~LargeMod();
    LargeMod(const LargeMod&) = delete;
    LargeMod& operator=(const LargeMod&) = delete;

    const std::filesystem::path& GameDir() const { return m_game; }
    const std::filesystem::path& RegistryFile() const { return m_registry; }
    // The three folders a scan reads, as `find` arguments.
    std::string FindCommand() const;

private:
    std::filesystem::path m_root;
    std::filesystem::path m_game;
    std::filesystem::path m_registry;
};

} // namespace ballotine::bench
