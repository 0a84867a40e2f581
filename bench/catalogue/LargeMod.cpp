#include "LargeMod.h"

#include <cstdio>
#include <stdexcept>

namespace ballotine::bench {
namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, const std::string& content = {}) {
    if (!WriteBytes(path, content)) {
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
    if (!m_root.Ok()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    const fs::path sprites = GameDir() / "tfc/sprites/vote";
    const fs::path maps = GameDir() / "tfc/maps";
    const fs::path entities = GameDir() / "Ballotine/tfc/Entities";
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
    Touch(GameDir() / "Ballotine/mods.cfg",
          "#Mod Header V1.0 - DO NOT MODIFY\nhttp://localhost/mods\n"
          "tfc 1\nTeam Fortress Classic\nhttp://localhost/tfc\n#END#");
    Touch(RegistryFile(), "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\nInstallPath=" +
                              GameDir().string() + "\n");
}

const LargeMod& LargeMod::Shared() {
    static const LargeMod mod;
    return mod;
}

std::string LargeMod::FindCommand() const {
    return "find '" + (GameDir() / "tfc/sprites/vote").string() + "' '" +
           (GameDir() / "tfc/maps").string() + "' '" +
           (GameDir() / "Ballotine/tfc/Entities").string() + "' > /dev/null";
}

} // namespace ballotine::bench
