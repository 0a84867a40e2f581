#include "LargeMod.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace ballotine::bench {
namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, const std::string& content = {}) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// Map names of several shapes, as real collections have them.
std::string MapName(int i) {
    static const char* const kPrefixes[] = {"ctf_", "tfc_", "", "push_", "hunt_"};
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d", kPrefixes[i % 5], i);
    return name;
}

} // namespace

LargeMod::LargeMod() {
    std::string pattern = (fs::temp_directory_path() / "ballotine-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    m_root = pattern;
    m_game = m_root / "Half-Life";
    const fs::path sprites = m_game / "tfc/sprites/vote";
    const fs::path maps = m_game / "tfc/maps";
    const fs::path entities = m_game / "Ballotine/tfc/Entities";
    for (const fs::path& folder : {sprites, maps, entities}) {
        fs::create_directories(folder);
    }
    // Most sprites have a map; some maps have no sprite, some sprites no map.
    for (int i = 0; i < kSprites; ++i) {
        Touch(sprites / (MapName(i) + ".spr"), "IDSP");
    }
    for (int i = 0; i < kMaps; ++i) {
        Touch(maps / (MapName(i + 500) + ".bsp"));
    }
    static const char* const kKeys[] = {"8", "16", "24", "32"};
    for (int i = 0; i < kEntityFiles; ++i) {
        Touch(entities / (MapName(i / 4 + 1000) + "." + kKeys[i % 4] + ".ref"));
    }
    std::string voteEnt = "{\n\"classname\" \"worldspawn\"\n}\n";
    for (int i = 0; i < 16; ++i) {
        voteEnt += "{\n\"model\" \"sprites/vote/" + MapName(i * 300) + ".spr\"\n}\n";
    }
    Touch(maps / "vote.ent", voteEnt);
    Touch(m_game / "Ballotine/mods.cfg",
          "#Mod Header V1.0 - DO NOT MODIFY\nhttp://localhost/mods\n"
          "tfc 1\nTeam Fortress Classic\nhttp://localhost/tfc\n#END#");
    m_registry = m_root / "registry.conf";
    Touch(m_registry, "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\nInstallPath=" +
                          m_game.string() + "\n");
}

const LargeMod& LargeMod::Shared() {
    static const LargeMod mod;
    return mod;
}

LargeMod::~LargeMod() {
    std::error_code error;
    fs::remove_all(m_root, error);
}

std::string LargeMod::FindCommand() const {
    return "find '" + (m_game / "tfc/sprites/vote").string() + "' '" +
           (m_game / "tfc/maps").string() + "' '" + (m_game / "Ballotine/tfc/Entities").string() +
           "' > /dev/null";
}

} // namespace ballotine::bench
