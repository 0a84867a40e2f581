#include "support/BareGame.h"

#include "demo/DemoBsp.h"
#include "demo/DemoWriter.h"

#include <gtest/gtest.h>

namespace ballotine::test {
namespace fs = std::filesystem;

BareGame::BareGame(const std::vector<std::string>& maps)
    : m_game(m_dir.Path() / "Half-Life"), m_registry(m_dir.Path() / "config/registry.conf") {
    demo::DemoWriter writer(m_game);
    writer.Text("valve/liblist.gam", "game \"Half-Life\"\n");
    writer.Text("tfc/liblist.gam",
                "// TFC\ngame \"Team Fortress Classic\"\ngamedll \"dlls/tfc.dll\"\n");
    for (const std::string& map : maps) {
        writer.Bytes("tfc/maps/" + map + ".bsp", demo::MakeBsp(map, map, writer));
    }
    EXPECT_TRUE(writer.Ok()) << writer.Error();
}

void BareGame::Register() const {
    WriteFile(m_registry, "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\nInstallPath=" +
                              m_game.string() + "\n");
}

std::map<std::string, std::string> BareGame::Snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(m_game)) {
        const std::string relative = entry.path().lexically_relative(m_game).string();
        if (entry.is_directory()) {
            files[relative + "/"] = "";
        } else {
            files[relative] = ReadFile(entry.path());
        }
    }
    return files;
}

} // namespace ballotine::test
