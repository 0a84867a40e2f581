#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"

#include <filesystem>
#include <string>

namespace ballotine::demo {

void WriteDemoGame(DemoWriter& writer, const DemoLayout& layout) {
    // The game folder: the base game and three mods.
    writer.Text("Half-Life/valve/liblist.gam", "game \"Half-Life\"\n");
    writer.Text("Half-Life/tfc/liblist.gam", "game \"Team Fortress Classic\"\n");
    writer.Folder("Half-Life/tfc/maps");
    writer.Text("Half-Life/dmc/liblist.gam", "game \"Deathmatch Classic\"\n");
    writer.Text("Half-Life/ricochet/liblist.gam", "game \"Ricochet\"\n");

    // The working folder. tfc and valve have working folders and are offered; dmc has none
    // and ricochet is not installed (version 0): both stay in mods.cfg but are not offered.
    writer.Folder("Half-Life/Ballotine/tfc/Entities");
    writer.Folder("Half-Life/Ballotine/tfc/VoteMapLists");
    writer.Folder("Half-Life/Ballotine/tfc/mapzips");
    writer.Folder("Half-Life/Ballotine/valve");
    const std::string modsCfg = "#Mod Header V1.0 - DO NOT MODIFY\n" +
                                layout.ServerUrl("modsupdate.cfg") +
                                "\n"
                                "tfc 1\n"
                                "Team Fortress Classic\n" +
                                layout.ServerUrl("tfc") +
                                "\n"
                                "valve 1\n"
                                "Half-Life Deathmatch\n" +
                                layout.ServerUrl("valve") +
                                "\n"
                                "dmc 1\n"
                                "Deathmatch Classic\n" +
                                layout.ServerUrl("dmc") +
                                "\n"
                                "ricochet 0\n"
                                "Ricochet\n" +
                                layout.ServerUrl("ricochet") +
                                "\n"
                                "#END#";
    writer.Text("Half-Life/Ballotine/mods.cfg", modsCfg);

    // The registry stand-in that points the program at this game folder.
    writer.Text("config/Ballotine/registry.conf",
                "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\nInstallPath=" +
                    layout.gameDir.string() + "\n");
    writer.Folder("server");

    // The entity tool lives in the working folder, where the compile and the entity update
    // run it.
    const std::filesystem::path ripent = layout.toolsFolder / "ripent";
    if (!layout.toolsFolder.empty() && std::filesystem::exists(ripent)) {
        writer.CopyProgram(ripent, "Half-Life/Ballotine/ripent");
    }
}

} // namespace ballotine::demo
