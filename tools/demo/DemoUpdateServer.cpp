#include "demo/DemoBsp.h"
#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"
#include "platform/FileSystem.h"
#include "publish/Publisher.h"

#include <string>
#include <string_view>

namespace ballotine::demo {

namespace {

// The demo server's source folder below the demo's root, laid out like a game folder.
constexpr std::string_view kSource = "server-source/";

std::string EntityTemplate(std::string_view name, std::string_view title) {
    const std::string map(name);
    return "{\n\"classname\" \"worldspawn\"\n\"message\" \"" + std::string(title) +
           "\"\n\"mapversion\" \"220\"\n}\n{\n\"classname\" \"info_player_teamspawn\"\n"
           "\"origin\" \"0 0 36\"\n\"targetname\" \"" +
           map + "_spawn\"\n\"wait\" \"%RESPAWN%\"\n}\n";
}

// What the server's operator writes and copies into the source folder, and publishes.
class ServerSource {
public:
    ServerSource(DemoWriter& writer, const DemoLayout& layout)
        : m_writer(writer), m_layout(layout) {}

    // A map the demo game has installed, as the game holds it (with its description, if any).
    void CopyFromGame(std::string_view map) {
        for (const char* extension : {".bsp", ".txt"}) {
            const std::string file = "tfc/maps/" + std::string(map) + extension;
            if (const auto bytes = ReadWholeFile(m_layout.gameDir / file)) {
                m_writer.Bytes(std::string(kSource) + file, *bytes);
            }
        }
    }
    // A map of the server's own, made by the map writer.
    void NewMap(std::string_view map, std::string_view title, std::string_view text) {
        const std::string path = std::string(kSource) + "tfc/maps/" + std::string(map);
        m_writer.Bytes(path + ".bsp", MakeBsp(map, title, m_writer));
        m_writer.Text(path + ".txt", std::string(title) + "\n\n" + std::string(text));
    }
    // A map's medium server size: its reference file and template.
    void ServerSizes(std::string_view map, std::string_view title) {
        const std::string entities = std::string(kSource) + "tfc/Entities/" + std::string(map);
        m_writer.Text(entities + ".tpt", EntityTemplate(map, title));
        m_writer.Text(entities + ".16.ref", std::string(map) +
                                                ".tpt\n%RESPAWN% = \"6\"\n#INFO#\nMedium server\n"
                                                "\nRespawn delays for 12 to 20 players.\n"
                                                "#TEXT#\n" +
                                                std::string(title) +
                                                "\n\nSet up for medium servers.\n");
    }
    // The tfc mod package: a map of its own, unpacked into the game folder.
    void TfcPack(std::string_view title, bool withDescription) {
        const std::string pack = std::string(kSource) + "packs/tfc/tfc/maps/summit";
        m_writer.Bytes(pack + ".bsp", MakeBsp("summit", "Summit", m_writer));
        if (withDescription) {
            m_writer.Text(pack + ".txt", "Summit - King Of The Hill\n\nOne flag on the peak.\n");
        }
        m_writer.Text(std::string(kSource) + "publish.conf",
                      "# The demo's update server: package titles and mod packages.\n"
                      "[tfc]\n"
                      "entities lakeside = Lakeside server sizes\n"
                      "entities quarry = Quarry server sizes\n"
                      "package = " +
                          std::string(title) +
                          "\n"
                          "package-folder = packs/tfc\n"
                          "\n"
                          "[valve]\n"
                          "title = Half-Life Deathmatch\n"
                          "package = Half-Life Deathmatch pack\n"
                          "package-folder = packs/valve\n");
    }
    void ValvePack() {
        m_writer.Text(std::string(kSource) + "packs/valve/Ballotine/valve/readme.txt",
                      "Half-Life Deathmatch maps for Ballotine.\n");
    }
    void Game() {
        if (const auto liblist = ReadWholeFile(m_layout.gameDir / "tfc/liblist.gam")) {
            m_writer.Bytes(std::string(kSource) + "tfc/liblist.gam", *liblist);
        }
    }

    void Publish() {
        if (!m_writer.Ok()) {
            return;
        }
        const PublishReport report =
            ballotine::Publish({m_layout.sourceDir, m_layout.serverDir, m_layout.ServerUrl(), {}});
        if (!report.Succeeded()) {
            m_writer.Fail("cannot publish the demo's update server: " + report.error);
        }
    }

private:
    DemoWriter& m_writer;
    const DemoLayout& m_layout;
};

} // namespace

// The server's history in six publishes, so that its list shows every category: maps added
// long ago (quarry) are "Downloadable Maps", the last five revisions' (frostfall, ridgeline)
// "New Maps"; lakeside was updated after the game installed it, the tfc mod package too.
// ridgeline's vote picture is not in the game: its vote data is fetched when the list opens.
void WriteDemoUpdateServer(DemoWriter& writer, const DemoLayout& layout) {
    ServerSource source(writer, layout);
    source.Game();
    source.CopyFromGame("canalworks");
    source.CopyFromGame("lakeside");
    source.NewMap("quarry", "Quarry - Capture The Flag",
                  "An abandoned stone quarry with tunnels under the cliffs.\n");
    source.ServerSizes("quarry", "Quarry - Capture The Flag");
    source.ServerSizes("lakeside", "Lakeside - Territorial Control");
    source.TfcPack("TFC map pack 1", false);
    source.ValvePack();
    source.Publish();
    for (const char* map : {"ballot_bay", "harbourside", "skyline"}) {
        source.CopyFromGame(map);
        source.Publish();
    }
    source.NewMap("frostfall", "Frostfall - Capture The Flag",
                  "Two ice stations on a frozen fjord.\n");
    source.Publish();
    source.NewMap("ridgeline", "Ridgeline - Attack / Defend",
                  "Blue climbs the ridge road; red holds the radio mast.\n");
    source.NewMap("lakeside", "Lakeside 1.1 - Territorial Control",
                  "Three jetties on a frozen lake.\nHold all three to score. The middle jetty is "
                  "wider.\n");
    source.TfcPack("TFC map pack 2 (Summit)", true);
    source.Publish();
}

} // namespace ballotine::demo
