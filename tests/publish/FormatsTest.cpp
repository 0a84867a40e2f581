#include "PublishTestSupport.h"
#include "catalogue/WorkingPaths.h"
#include "install/InstallMappings.h"
#include "models/GameSetup.h"
#include "publish/MapReferences.h"
#include "publish/PackageLayout.h"
#include "publish/PublishConfig.h"
#include "publish/PublishState.h"
#include "publish/Sha256.h"
#include "publish/UpdateListText.h"
#include "publish/ZipWriter.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {
using test::WriteFile;
using Strings = std::vector<std::string>;

TEST(Sha256, KnownDigestsWholeAndInPiecesOfEveryBoundary) {
    const std::vector<std::pair<std::string, std::string>> vectors = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        // the lengths where the padding needs a block of its own, or just does not
        {std::string(55, 'x'), "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072"},
        {std::string(56, 'x'), "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e"},
        {std::string(63, 'x'), "75220b47218278e656f2013bb8f0c455a25eaf01e86c64924e9d48d89776d6f2"},
        {std::string(64, 'x'), "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c"},
        {std::string(119, 'x'), "000b48d4edf0fa7bee3c6236ecd2785baa5db4eeb8bb54341b029e0d9fa5fb0c"},
        {std::string(120, 'x'), "13f05a0b594787f5ecd315edc96141bd3243203d1b7d4f0836f37308b276ba98"},
    };
    for (const auto& [text, digest] : vectors) {
        EXPECT_EQ(Sha256::Hex(text), digest) << text.size() << " bytes";
        for (std::size_t cut = 1; cut < text.size(); cut += 7) {
            Sha256 pieces;
            pieces.Update(text.substr(0, cut));
            pieces.Update(text.substr(cut));
            EXPECT_EQ(Sha256::ToHex(pieces.Finish()), digest) << text.size() << " cut " << cut;
        }
    }
    Sha256 million;
    const std::string chunk(999, 'a');
    for (std::size_t fed = 0; fed < 1000000; fed += 999) {
        million.Update(
            std::string_view(chunk).substr(0, std::min<std::size_t>(999, 1000000 - fed)));
    }
    EXPECT_EQ(Sha256::ToHex(million.Finish()),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// The same files give the same bytes whatever their order and the time zone, a small package
// reaches the installer's floor and still reads back whole.
TEST(ZipWriter, ReproducibleInAnyOrderAndTimeZonePaddedAndReadable) {
    test::TempDir dir;
    WriteFile(dir / "a.txt", "alpha");
    WriteFile(dir / "b.bin", std::string(5000, 'b'));
    std::string error;
    const std::vector<ZipSource> files = {{"sound/b.bin", dir / "b.bin"}, {"a.txt", dir / "a.txt"}};
    const char* zone = std::getenv("TZ");
    const std::string before = zone != nullptr ? zone : "";
    setenv("TZ", "Pacific/Kiritimati", 1);
    tzset();
    const auto first = BuildZip(files, 2049, error);
    setenv("TZ", "America/Los_Angeles", 1);
    tzset();
    const auto second = BuildZip({files[1], files[0]}, 2049, error);
    zone != nullptr ? setenv("TZ", before.c_str(), 1) : unsetenv("TZ");
    tzset();
    ASSERT_TRUE(first && second) << error;
    EXPECT_EQ(*first, *second);
    EXPECT_EQ(first->size(), 2049u);
    EXPECT_EQ(test::ZipContents(*first),
              (Strings{"a.txt=alpha", "sound/b.bin=" + std::string(5000, 'b')}));

    EXPECT_FALSE(BuildZip({{"gone.txt", dir / "gone.txt"}}, 2049, error));
    EXPECT_NE(error.find("gone.txt"), std::string::npos);
}

struct ReferenceCase {
    const char* entities;
    Strings files;
    Strings refused;
};

TEST(MapReferences, WhatTheEntityTextNames) {
    const std::vector<ReferenceCase> cases = {
        {R"({ "classname" "worldspawn" "wad" "\half-life\valve\halflife.wad;c:\x\TFC.WAD;;x.txt" })",
         {"halflife.wad", "TFC.WAD"},
         {}},
        {R"({ "skyname" "desert" "classname" "worldspawn" })",
         {"gfx/env/desertup.tga", "gfx/env/desertdn.tga", "gfx/env/desertlf.tga",
          "gfx/env/desertrt.tga", "gfx/env/desertft.tga", "gfx/env/desertbk.tga"},
         {}},
        {R"({ "classname" "ambient_generic" "message" "ambience\Wind1.WAV" }
            { "classname" "func_door" "noise1" "doors/move.wav" "noise2" "!HG_ALERT.wav"
              "model" "*3" }
            { "classname" "env_sprite" "model" "sprites/glow.spr" }
            { "classname" "item" "mdl" "models/flag.mdl" "replace" "*ambience/wind1.wav" })",
         {"sound/ambience/Wind1.WAV", "sound/doors/move.wav", "sprites/glow.spr",
          "models/flag.mdl"},
         {}},
        {R"({ "classname" "worldspawn" "wad" "halflife.wad" } // a comment "x.wav"
            { "model" "models/ok.mdl" } { "model" "models/cut.mdl )",
         {"halflife.wad", "models/ok.mdl"},
         {}},
        {R"({ "a" "../../etc/x.wav" "b" "/abs/x.mdl" "c" "c:/x.mdl" "d" "models//x.mdl"
              "e" "models/é.mdl" "f" "./models/./x.mdl" })",
         {},
         {"sound/../../etc/x.wav", "/abs/x.mdl", "c:/x.mdl", "models//x.mdl", "models/é.mdl",
          "./models/./x.mdl"}},
        {R"({ "wad" "halflife.wad" "classname" "info_target" })", {}, {}},
    };
    for (const ReferenceCase& c : cases) {
        const MapReferences found = ReferencesInEntityText(c.entities);
        EXPECT_EQ(found.files, c.files) << c.entities;
        EXPECT_EQ(found.refused, c.refused) << c.entities;
    }

    MapReferences lists;
    AddDetailTextures("// detail textures\n{water detail/ripple 12 12\r\nbrick  dt_brick\t4 4\n"
                      "lonely\n",
                      lists);
    AddResourceList("// resources\n\"sound/x.wav\"\nmodels/y.mdl // why\n\n  sprites/Z.spr  \n"
                    "SOUND/X.WAV\n",
                    lists);
    EXPECT_EQ(lists.files, (Strings{"gfx/detail/ripple.tga", "gfx/dt_brick.tga", "sound/x.wav",
                                    "models/y.mdl", "sprites/Z.spr"}));
}

// Each file of a map's package lands where the map's folder held it: what the mappings.conf
// that init writes says, read by the installer's own reader.
TEST(PackageLayout, EntryNamesPutEveryFileBackAtItsPath) {
    const PackageLayout layout("tfc");
    const std::vector<std::pair<const char*, std::optional<std::string>>> cases = {
        {"tfc/maps/2fort.bsp", "2fort.bsp"},
        {"tfc/maps/2fort.TXT", "2fort.TXT"},
        {"tfc/maps/2fort_detail.txt", "2fort_detail.txt"},
        {"tfc/maps/2fort.res", "2fort.res"},
        {"tfc/maps/2fort.ent", "maps/2fort.ent"},
        {"tfc/custom.wad", "custom.wad"},
        {"tfc/sound/ambience/wind.wav", "sound/ambience/wind.wav"},
        {"tfc/gfx/env/desertup.tga", "gfx/env/desertup.tga"},
        {"tfc/sprites/vote/2fort.spr", "sprites/vote/2fort.spr"},
        {"valve/halflife.wad", "valve/halflife.wad"},
        {"valve/sound/x.wav", "valve/sound/x.wav"},
        {"Ballotine/tfc/Entities/2fort.16.ref", "Entities/2fort.16.ref"},
        {"Ballotine/tfc/Entities/sub/2fort.tpt", "Entities/sub/2fort.tpt"},
        {"tfc/readme.html", std::nullopt},       // no file mapping sends it there
        {"tfc/models/server.cfg", std::nullopt}, // never copied out of a folder
        {"dmc/maps/x.bsp", std::nullopt},
    };
    for (const auto& [path, entry] : cases) {
        EXPECT_EQ(layout.EntryName(path), entry) << path;
    }

    test::TempDir game;
    WorkingPaths paths;
    paths.installDir = std::string(PackageLayout::kGameFolder);
    ComputeWorkDir(paths);
    ComputeModPaths(paths, "tfc");
    paths.modWorkDir = (game / "work") + "/";
    WriteFile(paths.modWorkDir + kMappingsFileName, DefaultMappings("tfc")); // what init writes
    InstallMappings loaded;
    ASSERT_TRUE(LoadMappings(loaded, paths));
    const auto same = [](const std::vector<InstallMapping>& a,
                         const std::vector<InstallMapping>& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](auto& x, auto& y) { return x.key == y.key && x.target == y.target; });
    };
    EXPECT_TRUE(same(layout.Mappings().files, loaded.files));
    EXPECT_TRUE(same(layout.Mappings().dirs, loaded.dirs));
}

TEST(PublishConfig, ReadsTitlesMirrorAndModPackages) {
    std::istringstream in("# titles\n"
                          "mirror = https://mirror.example.org/maps/\n"
                          "\n"
                          "[tfc]\r\n"
                          "  title = Team Fortress Classic\n"
                          "map 2fort = 2Fort - Capture The Flag\n"
                          "entities 2FORT = 2Fort sizes = all four\n"
                          "package = TFC pack\n"
                          "package-folder = packs/tfc/\n");
    std::string error;
    const auto config = ParsePublishConfig(in, error);
    ASSERT_TRUE(config) << error;
    EXPECT_EQ(config->mirror, "https://mirror.example.org/maps");
    const ModSettings* tfc = config->Find("TFC");
    ASSERT_NE(tfc, nullptr);
    EXPECT_EQ(tfc->title, "Team Fortress Classic");
    const KeySettings* map = tfc->FindKey("2Fort");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->mapTitle, "2Fort - Capture The Flag");
    EXPECT_EQ(map->entityTitle, "2Fort sizes = all four") << "one map, any letter case";
    EXPECT_EQ(map->line, 6);
    EXPECT_EQ(tfc->packageFolder, "packs/tfc");
}

TEST(PublishConfig, EveryMistakeNamesItsLine) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"title = x\n", "line 1: 'title' belongs in a mod's section"},
        {"[tfc]\nmirror = http://x\n", "line 2: mirror is set for the whole server"},
        {"mirror = ftp:x\n", "line 1: 'ftp:x' is not an address"},
        {"[tfc]\n[TFC]\n", "line 2: [TFC] appears twice"},
        {"[../x]\n", "line 1: '../x' is not a mod folder name"},
        {"[tfc\n", "line 1: a section header is [MOD FOLDER]"},
        {"[tfc]\ntitle\n", "line 2: expected NAME = VALUE"},
        {"[tfc]\ntitle =\n", "line 2: title has no value"},
        {"[tfc]\ntitle = a\ntitle = b\n", "line 3: title is set twice"},
        {"[tfc]\nmap a b = x\n", "line 2: 'a b' is not a map name"},
        {"[tfc]\nmap 2fort = x\nmap 2Fort = y\n", "line 3: map 2Fort is set twice"},
        {"[tfc]\nmaps 2fort = x\n", "line 2: unknown setting 'maps 2fort'"},
        {"[tfc]\npackage-folder = ../outside\n", "line 2: package-folder is a folder below"},
        {"[tfc]\npackage-folder = /etc\n", "line 2: package-folder is a folder below"},
        {"\n[tfc]\npackage = Pack\n", "line 2: [tfc] needs both package and package-folder"},
        {"[tfc]\ntitle = a\x01b\n", "line 2: a title is one line"},
    };
    for (const auto& [text, message] : cases) {
        std::istringstream in(text);
        std::string error;
        EXPECT_FALSE(ParsePublishConfig(in, error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
}

TEST(PublishState, ReadsBackWhatItWritesAndRefusesDamage) {
    PublishState state;
    state.mods.push_back({"tfc", 6, 2, std::string(64, 'a')});
    state.mods.push_back({"dmc", 1, 0, "-"});
    state.keys.push_back({"tfc", "well", 3, 2, std::string(64, 'b'), 0, "-", true});
    state.keys.push_back(
        {"tfc", "2fort", 1, 1, std::string(64, 'c'), 4, std::string(64, 'd'), false});
    state.files.push_back({"tfc/maps/well.zip", 12345, std::string(64, 'b')});
    const std::string text = SerializePublishState(state);
    std::istringstream in(text);
    std::string error;
    const auto read = ParsePublishState(in, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(SerializePublishState(*read), text);
    EXPECT_EQ(read->keys.front().key, "2fort") << "records in a fixed order";

    const std::string header = "#Ballotine publish state V1\n";
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"", "line 1: not a publish state"},
        {header + "mod tfc 1 0 -\n", "it ends before #END#"},
        {header + "mod tfc -1 0 -\n#END#\n", "line 2: cannot read 'mod tfc -1 0 -'"},
        {header + "mod tfc 1 0 abc\n#END#\n", "line 2"},
        {header + "mod tfc 1 0 -\nmod TFC 1 0 -\n#END#\n", "line 3"},
        {header + "map tfc a b 1 - 0 - 1\n#END#\n", "line 2"},
        {header + "map tfc a 1 1 - 0 - 2\n#END#\n", "line 2"},
        {header + "file ../x 1 -\n#END#\n", "line 2"},
        {header + "file tfc//x 1 -\n#END#\n", "line 2"},
        {header + "what\n#END#\n", "line 2"},
    };
    for (const auto& [bad, message] : damaged) {
        std::istringstream damagedIn(bad);
        EXPECT_FALSE(ParsePublishState(damagedIn, error)) << bad;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
}

TEST(UpdateListText, TheClientsReadersReadBackEveryField) {
    MapUpdateList list;
    list.listRevision = 7;
    MapRecord full{"2fort",
                   3,
                   1,
                   2,
                   30000,
                   "http://s/tfc/maps/2fort.zip",
                   "http://m/tfc/maps/2fort.zip",
                   "2Fort",
                   1,
                   2100,
                   "http://s/tfc/maps/2fort_ents.zip",
                   "",
                   "2fort server sizes",
                   true};
    MapRecord entitiesOnly{
        "well",       0,   0, 0, 0, "", "", "", 4, 3000, "http://s/tfc/maps/well_ents.zip", "",
        "Well sizes", true};
    list.records = {full, entitiesOnly};
    std::istringstream in(MapUpdateListText(list));
    const MapUpdateList read = ParseMapUpdateList(in);
    EXPECT_EQ(read.listRevision, 7);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].mapMirrorUrl, full.mapMirrorUrl);
    EXPECT_EQ(read.records[0].entityMirrorUrl, "N/A");
    EXPECT_EQ(read.records[0].entityTitle, full.entityTitle);
    EXPECT_EQ(read.records[1].mapVersion, 0);
    EXPECT_EQ(read.records[1].entityUrl, entitiesOnly.entityUrl);

    MapUpdateList empty;
    const std::string shortList = MapUpdateListText(empty);
    EXPECT_GE(shortList.size(), kSmallestUsableMapList) << "not taken for an error page";
    std::istringstream shortIn(shortList);
    EXPECT_TRUE(ParseMapUpdateList(shortIn).records.empty());

    ModUpdateList mods;
    mods.modListUrl = "http://s/modsupdate.cfg";
    mods.records.push_back({"tfc", 2, 9000, "Team Fortress Classic", "TFC pack 2", "http://s/tfc",
                            "http://s/tfc/tfc.zip", "", true});
    std::istringstream modIn(ModUpdateListText(mods));
    const ModUpdateList readMods = ParseModUpdateList(modIn);
    EXPECT_EQ(readMods.modListUrl, mods.modListUrl);
    ASSERT_EQ(readMods.records.size(), 1u);
    EXPECT_EQ(readMods.records[0].packageTitle, "TFC pack 2");
    EXPECT_EQ(readMods.records[0].packageMirrorUrl, "N/A");
    EXPECT_EQ(readMods.records[0].size, 9000);
}

} // namespace
} // namespace ballotine
