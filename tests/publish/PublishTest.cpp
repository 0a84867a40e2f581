#include "PublishTestSupport.h"
#include "publish/PublishState.h"
#include "publish/Publisher.h"
#include "sprites/BspPlan.h"
#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"
#include "support/TestFiles.h"
#include "updates/MapUpdateList.h"
#include "updates/ModUpdateList.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;
using Strings = std::vector<std::string>;
using Files = std::map<std::string, std::string>;
namespace fs = std::filesystem;

constexpr const char* kBase = "http://maps.example.org/ballotine";

// A SOURCE folder of real maps and the DEST folder published from it.
class PublishTest : public testing::Test {
protected:
    PublishReport Run(Strings mods = {}) {
        return Publish({source, dest, std::string(kBase) + "/", std::move(mods)});
    }
    void Source(const std::string& relative, std::string_view content) {
        WriteFile(source / relative, content);
    }
    std::string Dest(const std::string& relative) const { return ReadFile(dest / relative); }
    MapUpdateList List(const std::string& mod = "tfc") const {
        std::istringstream in(Dest(mod + "/database.conf"));
        return ParseMapUpdateList(in);
    }
    static const MapRecord& Record(const MapUpdateList& list, std::string_view key) {
        const auto it = std::find_if(list.records.begin(), list.records.end(),
                                     [&](const MapRecord& record) { return record.key == key; });
        EXPECT_NE(it, list.records.end()) << key;
        return *it;
    }
    static Strings Keys(const MapUpdateList& list) {
        Strings keys;
        for (const MapRecord& record : list.records) {
            keys.push_back(record.key);
        }
        return keys;
    }
    static bool Warned(const PublishReport& report, std::string_view text) {
        return std::any_of(
            report.warnings.begin(), report.warnings.end(),
            [&](const std::string& warning) { return warning.find(text) != std::string::npos; });
    }
    static Strings Missing(const PublishReport& report) {
        Strings missing;
        for (const MissingFile& file : report.missing) {
            missing.push_back(file.key + ":" + file.path);
        }
        return missing;
    }

    // alpha: a map naming a wad of the mod and one of the base game, a sky, a sound, a model,
    // a detail texture and files SOURCE lacks; beta: a plain map with its own vote picture;
    // entity settings for alpha.
    void WriteTfc() {
        Source("tfc/liblist.gam", "// the game\ngame \"Team Fortress Classic\"\n");
        Source("tfc/maps/alpha.bsp",
               test::MapWithEntities("\"wad\" \"\\hl\\valve\\halflife.wad;\\hl\\tfc\\custom.wad\"\n"
                                     "\"skyname\" \"dusk\"\n",
                                     "{\n\"classname\" \"ambient_generic\"\n\"message\" "
                                     "\"ambience/wind.wav\"\n}\n{\n\"classname\" \"item\"\n"
                                     "\"model\" \"models/flag.mdl\"\n\"noise\" "
                                     "\"doors/gone.wav\"\n}\n"));
        Source("tfc/maps/alpha.txt", "Alpha - Capture The Flag\n\nTwo towers.\n");
        Source("tfc/maps/alpha_detail.txt", "rock detail/rock 4 4\n");
        Source("tfc/custom.wad", "WAD3 custom");
        Source("valve/halflife.wad", "WAD3 base");
        Source("tfc/sound/ambience/wind.wav", "RIFF wind");
        Source("tfc/models/flag.mdl", "IDST flag");
        Source("tfc/gfx/env/duskup.tga", "sky up");
        Source("tfc/gfx/detail/rock.tga", "rock");
        Source("tfc/maps/beta.bsp", test::MapWithEntities("", "", 384));
        Source("tfc/sprites/vote/beta.spr", betaPicture);
        Source("tfc/Entities/alpha.16.ref", "alpha.tpt\n%X% = \"1\"\n#INFO#\nMedium\n");
        Source("tfc/Entities/alpha.tpt", "{ \"classname\" \"worldspawn\" }\n");
        Source("tfc/Entities/vote.ref", "the vote map's own template");
    }

    test::TempDir dir;
    fs::path source = dir.Path() / "source";
    fs::path dest = dir.Path() / "www";
    const std::string betaPicture = EncodeSprite(ComposeTitleCard("Beta's own"));
};

TEST_F(PublishTest, EveryMapIsOfferedWithTheFilesItNeedsAndItsVotePicture) {
    WriteTfc();
    const Files sourceBefore = test::FolderContents(source);
    const PublishReport report = Run();
    ASSERT_TRUE(report.Succeeded()) << report.error;

    const MapUpdateList list = List();
    EXPECT_EQ(list.listRevision, 1);
    EXPECT_EQ(Keys(list), (Strings{"alpha", "beta"}));
    const MapRecord& alpha = Record(list, "alpha");
    EXPECT_EQ(alpha.addedRevision, 1);
    EXPECT_EQ(alpha.hasVoteData, 1);
    EXPECT_EQ(alpha.mapVersion, 1);
    EXPECT_EQ(alpha.mapUrl, std::string(kBase) + "/tfc/maps/alpha.zip");
    EXPECT_EQ(alpha.mapMirrorUrl, "N/A");
    EXPECT_EQ(alpha.mapTitle, "Alpha - Capture The Flag");
    EXPECT_EQ(alpha.mapSize, static_cast<std::int32_t>(fs::file_size(dest / "tfc/maps/alpha.zip")));
    EXPECT_EQ(alpha.entityVersion, 1);
    EXPECT_EQ(alpha.entityUrl, std::string(kBase) + "/tfc/maps/alpha_ents.zip");
    EXPECT_EQ(alpha.entityTitle, "alpha server sizes");
    EXPECT_EQ(Record(list, "beta").mapTitle, "beta");
    EXPECT_EQ(Record(list, "beta").entityVersion, 0);

    EXPECT_EQ(test::ZipNames(Dest("tfc/maps/alpha.zip")),
              (Strings{"alpha.bsp", "alpha.txt", "alpha_detail.txt", "custom.wad",
                       "gfx/detail/rock.tga", "gfx/env/duskup.tga", "models/flag.mdl",
                       "sound/ambience/wind.wav", "sprites/vote/alpha.spr", "valve/halflife.wad"}));
    EXPECT_EQ(test::ZipContents(Dest("tfc/maps/alpha_ents.zip")),
              (Strings{"Entities/alpha.16.ref=alpha.tpt\n%X% = \"1\"\n#INFO#\nMedium\n",
                       "Entities/alpha.tpt={ \"classname\" \"worldspawn\" }\n"}));
    EXPECT_GE(Dest("tfc/maps/alpha_ents.zip").size(), 2049u) << "the installer's floor";

    // alpha's picture is drawn from its plan, as the client would draw it; beta keeps its own
    const PlanResult plan = ReadBspPlan(source / "tfc/maps/alpha.bsp");
    ASSERT_TRUE(plan.plan);
    const std::string drawn = EncodeSprite(*ComposePlanPicture("alpha", *plan.plan));
    EXPECT_EQ(test::ZipContents(Dest("tfc/voteVM/alphaVM.zip")),
              Strings{"sprites/vote/alpha.spr=" + drawn});
    EXPECT_EQ(test::ZipContents(Dest("tfc/voteVM/betaVM.zip")),
              Strings{"sprites/vote/beta.spr=" + betaPicture});
    EXPECT_EQ(test::FolderContents(source), sourceBefore) << "SOURCE is only read";

    EXPECT_EQ(Missing(report), (Strings{"alpha:gfx/env/duskdn.tga", "alpha:gfx/env/dusklf.tga",
                                        "alpha:gfx/env/duskrt.tga", "alpha:gfx/env/duskft.tga",
                                        "alpha:gfx/env/duskbk.tga", "alpha:sound/doors/gone.wav"}));
    EXPECT_EQ(Dest("modsupdate.cfg"), std::string(kBase) + "/modsupdate.cfg\n#END#\n")
        << "fetched on every check, so always there";
    EXPECT_FALSE(fs::exists(dest / ".publish-staging"));
}

TEST_F(PublishTest, OnlyWhatChangedGetsANewVersionAndAnUnchangedTreeChangesNothing) {
    WriteTfc();
    ASSERT_TRUE(Run().Succeeded());
    const Files first = test::FolderContents(dest);
    const auto zipTime = fs::last_write_time(dest / "tfc/maps/alpha.zip");

    const PublishReport again = Run();
    ASSERT_TRUE(again.Succeeded()) << again.error;
    EXPECT_EQ(test::FolderContents(dest), first);
    EXPECT_EQ(fs::last_write_time(dest / "tfc/maps/alpha.zip"), zipTime) << "no zip rewritten";
    for (const PackageOutcome& package : again.packages) {
        EXPECT_EQ(package.change, PackageChange::Unchanged) << package.path;
    }
    for (const ListOutcome& list : again.lists) {
        EXPECT_FALSE(list.changed) << list.path;
    }

    // a changed map raises its map package only; a changed template its entity package only
    Source("tfc/maps/alpha.bsp", test::MapWithEntities("\"wad\" \"custom.wad\"\n", "", 320));
    ASSERT_TRUE(Run().Succeeded());
    EXPECT_EQ(Record(List(), "alpha").mapVersion, 2);
    EXPECT_EQ(Record(List(), "alpha").entityVersion, 1);
    EXPECT_EQ(Dest("tfc/maps/beta.zip"), first.at("tfc/maps/beta.zip"));
    Source("tfc/Entities/alpha.tpt", "{ \"classname\" \"worldspawn\" \"wad\" \"x.wad\" }\n");
    ASSERT_TRUE(Run().Succeeded());
    EXPECT_EQ(Record(List(), "alpha").mapVersion, 2);
    EXPECT_EQ(Record(List(), "alpha").entityVersion, 2);
    EXPECT_EQ(List().listRevision, 1) << "no map was added";

    // a new map gets the next revision; the others keep theirs
    Source("tfc/maps/gamma.bsp", test::MapWithEntities("", "", 288));
    ASSERT_TRUE(Run().Succeeded());
    EXPECT_EQ(List().listRevision, 2);
    EXPECT_EQ(Record(List(), "gamma").addedRevision, 2);
    EXPECT_EQ(Record(List(), "alpha").addedRevision, 1);

    // a map taken away leaves the server; back with other content, its version goes on
    fs::remove(source / "tfc/maps/beta.bsp");
    const PublishReport removed = Run();
    ASSERT_TRUE(removed.Succeeded());
    EXPECT_EQ(Keys(List()), (Strings{"alpha", "gamma"}));
    EXPECT_FALSE(fs::exists(dest / "tfc/maps/beta.zip"));
    EXPECT_FALSE(fs::exists(dest / "tfc/voteVM/betaVM.zip"));
    EXPECT_EQ(removed.removed, (Strings{"tfc/maps/beta.zip", "tfc/voteVM/betaVM.zip"}));
    Source("tfc/maps/beta.bsp", test::MapWithEntities("", "", 416));
    ASSERT_TRUE(Run().Succeeded());
    EXPECT_EQ(Record(List(), "beta").mapVersion, 2);
    EXPECT_EQ(Record(List(), "beta").addedRevision, 3) << "new again";
}

TEST_F(PublishTest, BadInputIsLeftOutOrMadeSafeWithAWarning) {
    WriteTfc();
    Source("tfc/maps/my map.bsp", test::MapWithEntities(""));
    Source("tfc/maps/vote.bsp", test::MapWithEntities(""));
    Source("tfc/maps/broken.bsp", "not a map at all");
    Source("tfc/maps/broken.txt", "Alpha - Capture The Flag\n");
    Source("tfc/maps/alpha_ents.bsp", test::MapWithEntities(""));
    Source("tfc/sprites/vote/alpha_ents.spr", "not a sprite");
    Source("tfc/Entities/beta.12.ref", "no template here\n");
    Source("tfc/maps/Gamma.bsp", test::MapWithEntities(""));
    Source("tfc/maps/gamma.bsp", test::MapWithEntities("", "", 320));
    fs::remove(source / "tfc/sound/ambience/wind.wav");
    WriteFile(dir.Path() / "secret.wav", "private");
    fs::create_symlink(dir.Path() / "secret.wav", source / "tfc/sound/ambience/wind.wav");

    const PublishReport report = Run();
    ASSERT_TRUE(report.Succeeded()) << report.error;
    const MapUpdateList list = List();
    EXPECT_EQ(Keys(list), (Strings{"alpha", "alpha_ents", "beta", "broken", "Gamma"}));
    EXPECT_TRUE(Warned(report, "tfc/maps/gamma.bsp is not published: its name differs from "
                               "Gamma.bsp only in letter case"));
    EXPECT_TRUE(Warned(report, "tfc/maps/my map.bsp is not published"));
    EXPECT_TRUE(Warned(report, "tfc/maps/vote.bsp is not published"));
    EXPECT_TRUE(Warned(report, "tfc/sound/ambience/wind.wav is not packaged: it is a link that "
                               "leads out of the folder"));
    EXPECT_EQ(test::ZipNames(Dest("tfc/maps/alpha.zip")).size(), 9u) << "without the sound";

    EXPECT_TRUE(Warned(report, "tfc/maps/broken.bsp cannot be read as a map"));
    EXPECT_EQ(test::ZipContents(Dest("tfc/voteVM/brokenVM.zip")),
              Strings{"sprites/vote/broken.spr=" + EncodeSprite(ComposeTitleCard("broken"))});
    EXPECT_EQ(Record(list, "broken").mapTitle, "Alpha - Capture The Flag (broken)");
    EXPECT_TRUE(Warned(report, "broken: the title 'Alpha - Capture The Flag' is taken"));

    // a map called alpha_ents beside alpha's entity package: both keep a file of their own
    EXPECT_EQ(Record(list, "alpha").entityUrl, std::string(kBase) + "/tfc/maps/alpha_ents2.zip");
    EXPECT_EQ(Record(list, "alpha_ents").mapUrl, std::string(kBase) + "/tfc/maps/alpha_ents.zip");
    EXPECT_TRUE(Warned(report, "alpha_ents.spr is not a 128x64 vote picture"));
    EXPECT_TRUE(Warned(report, "beta: beta.12.ref names no template"));
}

// A publish that cannot be made changes nothing: refused before it starts, or taken back
// when a file cannot be put in place half-way.
TEST_F(PublishTest, AFailedPublishLeavesDestAsItWas) {
    WriteTfc();
    const auto refused = [&](const fs::path& to, std::string_view message,
                             std::string base = kBase) {
        const PublishReport report = Publish({source, to, base, {}});
        EXPECT_NE(report.error.find(message), std::string::npos) << report.error;
    };
    refused(source / "tfc/www", "neither may lie inside the other");
    EXPECT_FALSE(fs::exists(source / "tfc/www"));
    refused(dir.Path(), "neither may lie inside the other");
    refused(dest, "is not an address", "maps.example.org");
    EXPECT_FALSE(fs::exists(dest));
    WriteFile(dir.Path() / "home/notes.txt", "mine");
    refused(dir.Path() / "home", "holds files but no publish state");

    ASSERT_TRUE(Run().Succeeded());
    const Files published = test::FolderContents(dest);
    Source("publish.conf", "[tfc]\nmap alpha = Alpha\nmap alpha = Again\n");
    refused(dest, "publish.conf: line 3: map alpha is set twice");
    fs::remove(source / "publish.conf");
    const std::string state = Dest("publish.state");
    WriteFile(dest / "publish.state", state.substr(0, state.size() / 2));
    refused(dest, "publish.state: ");
    WriteFile(dest / "publish.state", state);
    EXPECT_EQ(test::FolderContents(dest), published);

    // the new mod's folder cannot be made (a file has its name): alpha's new package, put in
    // place before, is taken back
    Source("tfc/maps/alpha.bsp", test::MapWithEntities("", "", 320));
    Source("zz/maps/zulu.bsp", test::MapWithEntities(""));
    WriteFile(dest / "zz", "in the way");
    const PublishReport failed = Run();
    EXPECT_NE(failed.error.find("cannot put"), std::string::npos) << failed.error;
    fs::remove(dest / "zz");
    EXPECT_EQ(test::FolderContents(dest), published);
    ASSERT_TRUE(Run().Succeeded());
    EXPECT_EQ(Record(List(), "alpha").mapVersion, 2) << "the failed run counted nothing";
}

TEST_F(PublishTest, ModPackagesTitlesAndMirrorsFromPublishConf) {
    WriteTfc();
    Source("packs/tfc/tfc/maps/summit.bsp", test::MapWithEntities(""));
    Source("packs/tfc/Ballotine/tfc/servertypes.conf", "sizes");
    Source("packs/hldm/valve/maps/crossfire.bsp", "map");
    Source("publish.conf", "mirror = https://mirror.example.net/b\n"
                           "[tfc]\n"
                           "map beta = Beta - King Of The Hill\n"
                           "entities alpha = Alpha sizes\n"
                           "map nosuch = Nothing\n"
                           "package = TFC pack\n"
                           "package-folder = packs/tfc\n"
                           "[valve]\n"
                           "title = Half-Life Deathmatch\n"
                           "package = TFC pack\n"
                           "package-folder = packs/hldm\n");
    const PublishReport report = Run();
    ASSERT_TRUE(report.Succeeded()) << report.error;
    EXPECT_TRUE(Warned(report, "publish.conf line 5: tfc has no map nosuch"));
    const MapUpdateList list = List();
    EXPECT_EQ(Record(list, "beta").mapTitle, "Beta - King Of The Hill");
    EXPECT_EQ(Record(list, "beta").mapMirrorUrl, "https://mirror.example.net/b/tfc/maps/beta.zip");
    EXPECT_EQ(Record(list, "alpha").entityTitle, "Alpha sizes");
    EXPECT_TRUE(List("valve").records.empty()) << "a mod with a package alone has a list too";

    std::istringstream in(Dest("modsupdate.cfg"));
    const ModUpdateList mods = ParseModUpdateList(in);
    EXPECT_EQ(mods.modListUrl, std::string(kBase) + "/modsupdate.cfg");
    ASSERT_EQ(mods.records.size(), 2u);
    const ModUpdateRecord& tfc = mods.records[0];
    EXPECT_EQ(tfc.dir + "|" + std::to_string(tfc.version) + "|" + tfc.modTitle + "|" +
                  tfc.packageTitle + "|" + tfc.baseUrl + "|" + tfc.packageUrl + "|" +
                  tfc.packageMirrorUrl,
              "tfc|1|Team Fortress Classic|TFC pack|" + std::string(kBase) + "/tfc|" + kBase +
                  "/tfc/tfc.zip|https://mirror.example.net/b/tfc/tfc.zip");
    EXPECT_EQ(tfc.size, static_cast<std::int32_t>(fs::file_size(dest / "tfc/tfc.zip")));
    EXPECT_EQ(test::ZipNames(Dest("tfc/tfc.zip")),
              (Strings{"Ballotine/tfc/servertypes.conf", "tfc/maps/summit.bsp"}));
    EXPECT_EQ(mods.records[1].packageTitle, "TFC pack (valve)") << "titles are shared";
    EXPECT_EQ(mods.records[1].modTitle, "Half-Life Deathmatch");

    Source("packs/tfc/tfc/maps/summit.txt", "Summit\n");
    ASSERT_TRUE(Run().Succeeded());
    std::istringstream again(Dest("modsupdate.cfg"));
    EXPECT_EQ(ParseModUpdateList(again).records[0].version, 2);

    // only tfc now: valve's files leave the server
    ASSERT_TRUE(Run({"tfc"}).Succeeded());
    EXPECT_FALSE(fs::exists(dest / "valve"));
    std::istringstream tfcOnly(Dest("modsupdate.cfg"));
    EXPECT_EQ(ParseModUpdateList(tfcOnly).records.size(), 1u);
    EXPECT_NE(Run({"../x"}).error.find("cannot be published as a mod folder"), std::string::npos);
    EXPECT_NE(Run({"dmc"}).error.find("SOURCE holds no folder dmc"), std::string::npos);
}

} // namespace
} // namespace ballotine
