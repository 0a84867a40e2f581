#include "demo/DemoBsp.h"
#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoSprite.h"
#include "demo/DemoWriter.h"

#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ballotine::demo {

namespace {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;

constexpr std::int32_t kListRevision = 24;

la_ssize_t AppendToString(archive* /*zip*/, void* out, const void* data, std::size_t size) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(data), size);
    return static_cast<la_ssize_t>(size);
}

// A zip archive of the entries, stored rather than deflated: the installer takes anything of
// 2 KiB or less for an error page, and stored packages of real files are well above that.
std::string MakeZip(const ZipEntries& entries, DemoWriter& writer) {
    std::string bytes;
    std::unique_ptr<archive, int (*)(archive*)> zip(archive_write_new(), archive_write_free);
    bool ok = archive_write_set_format_zip(zip.get()) == ARCHIVE_OK &&
              archive_write_set_options(zip.get(), "zip:compression=store") == ARCHIVE_OK &&
              archive_write_set_bytes_in_last_block(zip.get(), 1) == ARCHIVE_OK &&
              archive_write_open(zip.get(), &bytes, nullptr, AppendToString, nullptr) == ARCHIVE_OK;
    for (const auto& [name, content] : entries) {
        if (!ok) {
            break;
        }
        std::unique_ptr<archive_entry, void (*)(archive_entry*)> header(archive_entry_new(),
                                                                        archive_entry_free);
        archive_entry_set_pathname(header.get(), name.c_str());
        archive_entry_set_filetype(header.get(), AE_IFREG);
        archive_entry_set_perm(header.get(), 0644);
        archive_entry_set_mtime(header.get(), 1'000'000'000, 0);
        archive_entry_set_size(header.get(), static_cast<la_int64_t>(content.size()));
        ok = archive_write_header(zip.get(), header.get()) == ARCHIVE_OK &&
             archive_write_data(zip.get(), content.data(), content.size()) ==
                 static_cast<la_ssize_t>(content.size());
    }
    ok = archive_write_close(zip.get()) == ARCHIVE_OK && ok;
    if (!ok) {
        writer.Fail(std::string("cannot build a demo package: ") +
                    (archive_error_string(zip.get()) ? archive_error_string(zip.get()) : "?"));
    }
    return bytes;
}

// What a map package holds, laid out as mappings.conf places it: the map and its description
// go to the maps folder, the vote sprite's folders into the mod.
ZipEntries MapPackage(std::string_view name, std::string_view title, std::string_view text,
                      DemoWriter& writer) {
    const std::string map(name);
    std::string bsp = MakeBsp(name, title, writer);
    std::string sprite = MakeMapSprite(name, bsp);
    return {{map + ".bsp", std::move(bsp)},
            {map + ".txt", std::string(title) + "\n\n" + std::string(text)},
            {"sprites/vote/" + map + ".spr", std::move(sprite)}};
}

std::string EntityTemplate(std::string_view name, std::string_view title) {
    const std::string map(name);
    return "{\n\"classname\" \"worldspawn\"\n\"message\" \"" + std::string(title) +
           "\"\n\"mapversion\" \"220\"\n}\n{\n\"classname\" \"info_player_teamspawn\"\n"
           "\"origin\" \"0 0 36\"\n\"targetname\" \"" +
           map + "_spawn\"\n\"wait\" \"%RESPAWN%\"\n}\n";
}

// An entity package: the map's server sizes for the working folder's Entities, with the sprite
// that shows them.
ZipEntries EntityPackage(std::string_view name, std::string_view title) {
    const std::string map(name);
    return {{"Entities/" + map + ".tpt", EntityTemplate(name, title)},
            {"Entities/" + map + ".16.ref", map +
                                                ".tpt\n%RESPAWN% = \"6\"\n#INFO#\nMedium server\n"
                                                "\nRespawn delays for 12 to 20 players.\n"
                                                "#TEXT#\n" +
                                                std::string(title) +
                                                "\n\nSet up for medium servers.\n"},
            {"sprites/vote/" + map + ".spr", MakeMapSprite(name)}};
}

struct Offer {
    std::string key;
    std::int32_t addedRevision;
    bool voteData;
    std::int32_t mapVersion; // 0: no map package
    std::string mapTitle;
    std::string mapText;
    std::int32_t entityVersion; // 0: no entity package
    std::string entityTitle;
    bool entitySizeGiven;
};

// New, downloadable, updated and entity packages, one map without its vote sprite (its vote
// map data is fetched when the list opens), and one map that is up to date.
const std::vector<Offer>& Offers() {
    static const std::vector<Offer> offers = {
        {"ridgeline", 23, true, 1, "Ridgeline - Attack / Defend",
         "Blue climbs the ridge road; red holds the radio mast.\n", 0, "", true},
        {"frostfall", 22, false, 1, "Frostfall - Capture The Flag",
         "Two ice stations on a frozen fjord.\n", 0, "", true},
        {"quarry", 10, false, 1, "Quarry - Capture The Flag",
         "An abandoned stone quarry with tunnels under the cliffs.\n", 1, "Quarry server sizes",
         false},
        {"lakeside", 3, false, 2, "Lakeside 1.1 - Territorial Control",
         "Three jetties on a frozen lake.\nHold all three to score. The middle jetty is wider.\n",
         1, "Lakeside server sizes", true},
        {"canalworks", 2, false, 1, "Canalworks", "Locks and sluices.\n", 0, "", true},
    };
    return offers;
}

// Writes one package below server/tfc/maps and returns its address and size.
std::pair<std::string, std::size_t> WritePackage(DemoWriter& writer, const DemoLayout& layout,
                                                 const std::string& file,
                                                 const ZipEntries& entries) {
    const std::string zip = MakeZip(entries, writer);
    writer.Bytes("server/tfc/maps/" + file, zip);
    return {layout.ServerUrl("tfc/maps/" + file), zip.size()};
}

std::string MapRecordText(DemoWriter& writer, const DemoLayout& layout, const Offer& offer) {
    std::string text = "#MAP#\n" + offer.key + " " + std::to_string(offer.addedRevision) +
                       (offer.voteData ? " 1\n" : " 0\n");
    if (offer.mapVersion > 0) {
        const auto [url, size] =
            WritePackage(writer, layout, offer.key + ".zip",
                         MapPackage(offer.key, offer.mapTitle, offer.mapText, writer));
        text += std::to_string(offer.mapVersion) + " " + std::to_string(size) + "\n" + url +
                "\nN/A\n" + offer.mapTitle + "\n";
    } else {
        text += "0 0\nN/A\nN/A\n\n";
    }
    if (offer.entityVersion != 0) {
        const auto [url, size] = WritePackage(writer, layout, offer.key + "_ents.zip",
                                              EntityPackage(offer.key, offer.mapTitle));
        text += std::to_string(offer.entityVersion) + " " +
                (offer.entitySizeGiven ? std::to_string(size) : std::string("0")) + "\n" + url +
                "\nN/A\n" + offer.entityTitle + "\n";
    } else {
        text += "0 0\nN/A\nN/A\n\n";
    }
    return text;
}

void WriteMapList(DemoWriter& writer, const DemoLayout& layout) {
    std::string list = std::to_string(kListRevision) + "\n";
    for (const Offer& offer : Offers()) {
        list += MapRecordText(writer, layout, offer);
    }
    writer.Text("server/tfc/database.conf", list + "#END#\n");

    const std::string sprite = "sprites/vote/ridgeline.spr";
    writer.Bytes("server/tfc/voteVM/ridgelineVM.zip",
                 MakeZip({{sprite, MakeMapSprite("ridgeline")}}, writer));
}

// The mod update list: a newer package for tfc (a map of its own, unpacked into the game
// folder), and valve at the version it has.
void WriteModList(DemoWriter& writer, const DemoLayout& layout) {
    const std::string tfcZip =
        MakeZip({{"tfc/maps/summit.bsp", MakeBsp("summit", "Summit", writer)},
                 {"tfc/maps/summit.txt", "Summit - King Of The Hill\n\nOne flag on the peak.\n"},
                 {"tfc/sprites/vote/summit.spr", MakeMapSprite("summit")}},
                writer);
    writer.Bytes("server/mods/tfc.zip", tfcZip);
    const std::string list = layout.ServerUrl("modsupdate.cfg") +
                             "\n"
                             "#MOD#\n"
                             "tfc 2 " +
                             std::to_string(tfcZip.size()) +
                             "\n"
                             "Team Fortress Classic\n"
                             "TFC map pack 2 (Summit)\n" +
                             layout.ServerUrl("tfc") + "\n" + layout.ServerUrl("mods/tfc.zip") +
                             "\n"
                             "N/A\n"
                             "#MOD#\n"
                             "valve 1 0\n"
                             "Half-Life Deathmatch\n"
                             "Half-Life Deathmatch pack\n" +
                             layout.ServerUrl("valve") + "\n" + layout.ServerUrl("mods/valve.zip") +
                             "\n"
                             "N/A\n"
                             "#END#\n";
    writer.Text("server/modsupdate.cfg", list);
}

} // namespace

void WriteDemoUpdateServer(DemoWriter& writer, const DemoLayout& layout) {
    WriteMapList(writer, layout);
    WriteModList(writer, layout);
}

} // namespace ballotine::demo
