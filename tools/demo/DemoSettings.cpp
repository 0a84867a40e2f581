#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"

#include <string>
#include <string_view>

namespace ballotine::demo {

namespace {

constexpr std::string_view kWorkFolder = "Half-Life/Ballotine/tfc/";
constexpr std::string_view kEntities = "Half-Life/Ballotine/tfc/Entities/";

// The sizes in the order the settings window lists them. The "#END" entry shows a retired
// size: it and the line after it are skipped.
constexpr std::string_view kServerTypes = "//Supported Server Types - *** DO NOT MODIFY ***//\n"
                                          "12\n"
                                          "Small server (up to 12 players)\n"
                                          "16\n"
                                          "Medium server (12 to 20 players)\n"
                                          "24\n"
                                          "Large server (20 to 28 players)\n"
                                          "32\n"
                                          "Full server (28 to 32 players)\n"
                                          "#END retired\n"
                                          "Public server (old settings)\n"
                                          "lan\n"
                                          "LAN party (no respawn delay)\n"
                                          "clanmatch\n"
                                          "Clan match (8 against 8)\n"
                                          "#END#";

// Entity templates: the world first, then the entities whose keys the sizes change. Every
// %NAME% is a substitution key of the reference files.
constexpr std::string_view kHarboursideTemplate = "{\n"
                                                  "\"classname\" \"worldspawn\"\n"
                                                  "\"message\" \"Harbourside - Attack / Defend\"\n"
                                                  "\"mapversion\" \"220\"\n"
                                                  "}\n"
                                                  "{\n"
                                                  "\"classname\" \"info_player_teamspawn\"\n"
                                                  "\"origin\" \"0 0 36\"\n"
                                                  "\"targetname\" \"harbourside_spawn\"\n"
                                                  "\"wait\" \"%RESPAWN%\"\n"
                                                  "}\n"
                                                  "{\n"
                                                  "\"classname\" \"func_door\"\n"
                                                  "\"targetname\" \"crane_gate\"\n"
                                                  "\"health\" \"%GATE_HEALTH%\"\n"
                                                  "\"wait\" \"%GATE_WAIT%\"\n"
                                                  "}\n"
                                                  "{\n"
                                                  "\"classname\" \"info_tfgoal\"\n"
                                                  "\"targetname\" \"round_timer\"\n"
                                                  "\"wait\" \"%ROUND_TIME%\"\n"
                                                  "\"message\" \"%ROUND_MESSAGE%\"\n"
                                                  "}\n";

constexpr std::string_view kSkylineTemplate = "{\n"
                                              "\"classname\" \"worldspawn\"\n"
                                              "\"message\" \"Skyline - Capture The Flag\"\n"
                                              "\"mapversion\" \"220\"\n"
                                              "}\n"
                                              "{\n"
                                              "\"classname\" \"info_player_teamspawn\"\n"
                                              "\"origin\" \"0 0 36\"\n"
                                              "\"targetname\" \"skyline_spawn\"\n"
                                              "\"wait\" \"%RESPAWN%\"\n"
                                              "}\n"
                                              "{\n"
                                              "\"classname\" \"func_breakable\"\n"
                                              "\"targetname\" \"glass_bridge\"\n"
                                              "\"health\" \"%BRIDGE_HEALTH%\"\n"
                                              "}\n";

struct DemoReference {
    std::string_view file;
    std::string_view content;
};

// Harbourside has four sizes, two of them with keys in another letter case than
// servertypes.conf; skyline has two, one of them with its map text before its description.
constexpr DemoReference kReferences[] = {
    {"harbourside.16.ref", "harbourside.tpt\n"
                           "%RESPAWN% = \"8\"\n"
                           "%GATE_HEALTH% = \"900\"\n"
                           "%GATE_WAIT% = \"20\"\n"
                           "%ROUND_TIME% = \"600\"\n"
                           "%ROUND_MESSAGE% = \"Blue has 10 minutes to take the cranes\"\n"
                           "#INFO#\n"
                           "Medium server\n"
                           "\n"
                           "Respawn delays and gate health for 12 to 20 players.\n"
                           "The crane gate takes 900 damage and closes after 20 seconds.\n"
                           "#TEXT#\n"
                           "Harbourside - Attack / Defend\n"
                           "\n"
                           "Blue attacks the container terminal from the sea;\n"
                           "red holds the cranes. Set up for 12 to 20 players.\n"},
    {"harbourside.32.ref", "harbourside.tpt\n"
                           "%RESPAWN% = \"12\"\n"
                           "%GATE_HEALTH% = \"1800\"\n"
                           "%GATE_WAIT% = \"30\"\n"
                           "%ROUND_TIME% = \"900\"\n"
                           "%ROUND_MESSAGE% = \"Blue has 15 minutes to take the cranes\"\n"
                           "#INFO#\n"
                           "Full server\n"
                           "\n"
                           "Longer respawn delays and a stronger gate for 28 to 32 players.\n"
                           "#TEXT#\n"
                           "Harbourside - Attack / Defend\n"
                           "\n"
                           "Blue attacks the container terminal from the sea;\n"
                           "red holds the cranes. Set up for full servers.\n"},
    {"harbourside.LAN.ref", "harbourside.TPT\n"
                            "%RESPAWN% = \"0\"\n"
                            "%GATE_HEALTH% = \"600\"\n"
                            "%GATE_WAIT% = \"10\"\n"
                            "%ROUND_TIME% = \"480\"\n"
                            "%ROUND_MESSAGE% = \"Blue has 8 minutes to take the cranes\"\n"
                            "#INFO#\n"
                            "LAN party\n"
                            "\n"
                            "No respawn delay and short rounds for players in one room.\n"
                            "#TEXT#\n"
                            "Harbourside - Attack / Defend (LAN)\n"
                            "\n"
                            "Blue attacks the container terminal from the sea;\n"
                            "red holds the cranes. Short rounds, no respawn delay.\n"},
    {"harbourside.ClanMatch.ref", "harbourside.tpt\n"
                                  "%RESPAWN% = \"5\"\n"
                                  "%GATE_HEALTH% = \"1200\"\n"
                                  "%GATE_WAIT% = \"20\"\n"
                                  "%ROUND_TIME% = \"1200\"\n"
                                  "%ROUND_MESSAGE% = \"Round one: blue attacks for 20 minutes\"\n"
                                  "#INFO#\n"
                                  "Clan match\n"
                                  "\n"
                                  "Two timed rounds of 20 minutes; the teams swap sides.\n"
                                  "#TEXT#\n"
                                  "Harbourside - Attack / Defend (clan match)\n"
                                  "\n"
                                  "Two rounds of 20 minutes, the teams swap sides.\n"},
    {"skyline.12.ref", "skyline.tpt\n"
                       "%RESPAWN% = \"4\"\n"
                       "%BRIDGE_HEALTH% = \"300\"\n"
                       "#INFO#\n"
                       "Small server\n"
                       "\n"
                       "A weak glass bridge and short respawn delays for up to 12 players.\n"
                       "#TEXT#\n"
                       "Skyline - Capture The Flag\n"
                       "\n"
                       "Rooftop bases joined by a single glass bridge. Set up for small "
                       "servers.\n"},
    {"skyline.24.ref", "skyline.tpt\n"
                       "%RESPAWN% = \"10\"\n"
                       "%BRIDGE_HEALTH% = \"800\"\n"
                       "#TEXT#\n"
                       "Skyline - Capture The Flag\n"
                       "\n"
                       "Rooftop bases joined by a single glass bridge. Set up for large "
                       "servers.\n"
                       "#INFO#\n"
                       "Large server\n"
                       "\n"
                       "The glass bridge holds longer and respawns are slower for 20 to 28\n"
                       "players.\n"},
};

} // namespace

void WriteDemoSettings(DemoWriter& writer, const DemoLayout& /*layout*/) {
    writer.Text(std::string(kWorkFolder) + "servertypes.conf", kServerTypes);
    writer.Text(std::string(kEntities) + "harbourside.tpt", kHarboursideTemplate);
    writer.Text(std::string(kEntities) + "skyline.tpt", kSkylineTemplate);
    for (const DemoReference& reference : kReferences) {
        writer.Text(std::string(kEntities) + std::string(reference.file), reference.content);
    }
}

} // namespace ballotine::demo
