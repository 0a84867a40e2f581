#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The key under which the game records where it is installed.
inline constexpr std::string_view kGameRegistryKey =
    "HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life";
inline constexpr std::string_view kInstallPathValue = "InstallPath";

struct RegistryValue {
    std::string name;
    std::string data;
};

// The registry file that says where the game is: a text file of sections named like the
// game's registry key
//   [HKEY_LOCAL_MACHINE\Software\Valve\Half-Life]
//   InstallPath=/home/me/.steam/steam/steamapps/common/Half-Life
// A section present means the key opens; its lines are the key's values, in order. Key paths
// compare without regard to case, as the registry's do. Blank lines and lines starting with
// ";" or "#" are comments.
class RegistryFile {
public:
    // A missing or unreadable file holds no keys.
    static RegistryFile Load(const std::filesystem::path& file);
    static RegistryFile Parse(std::string_view text);

    bool HasKey(std::string_view key) const;
    // The key's values in file order; empty when the key does not exist.
    std::vector<RegistryValue> Values(std::string_view key) const;

    // Sets a value, creating the key when needed (name compared without regard to case). A
    // hand-edited file may name a value twice; the later lines go, so whichever one a reader
    // takes is the value just set.
    void SetValue(std::string_view key, std::string_view name, std::string_view data);
    std::string Serialize() const;

private:
    struct Section {
        std::string key;
        std::vector<RegistryValue> values;
    };
    static constexpr std::size_t kNoSection = static_cast<std::size_t>(-1);
    std::size_t FindSection(std::string_view key) const;

    std::vector<Section> m_sections;
};

// Where the registry stand-in lives: $XDG_CONFIG_HOME/Ballotine/registry.conf, by default
// ~/.config/Ballotine/registry.conf.
std::filesystem::path DefaultRegistryPath();

} // namespace ballotine
