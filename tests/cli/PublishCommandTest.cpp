#include "CliTestSupport.h"
#include "download/LoopbackServer.h"
#include "publish/PublishTestSupport.h"
#include "sprites/BspPlan.h"
#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"
#include "support/BareGame.h"
#include "support/TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::CliRun;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

// A folder of real maps published, served over HTTP, and installed through the update road into
// a bare game that init pointed at the server: what arrives is what was published, and a
// republish offers what changed.
class PublishRoundTrip : public testing::Test {
protected:
    static void SetUpTestSuite() { test::PutBuiltZipToolOnPath(); }
    PublishRoundTrip() {
        fs::create_directories(dest); // an empty folder to publish into, served from the start
        server.ServeFolder("/srv", dest.string());
    }

    void Source(const std::string& relative, std::string_view content) {
        WriteFile(source / relative, content);
    }
    CliRun Publish() {
        return test::RunCliWith(
            {"publish", source.string(), dest.string(), "--base-url", url, "--mod", "tfc"});
    }
    CliRun Game(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", game.Registry().string()});
        return test::RunCliWith(args);
    }
    // A game folder as Steam leaves it, pointed at the server as a user does.
    void PrepareGame() {
        ASSERT_EQ(Game({"locate", game.Dir().string()}).status, 0);
        const CliRun init = Game({"init", "--update-server", url});
        ASSERT_EQ(init.status, 0) << init.err;
    }
    // Three maps naming a wad, sounds and a model; entity settings for two; one vote picture
    // of the source's own, two drawn by the publisher.
    void WriteSource() {
        Source("tfc/liblist.gam", "game \"Team Fortress Classic\"\n");
        Source("tfc/maps/alpha.bsp",
               test::MapWithEntities("\"wad\" \"\\sierra\\half-life\\tfc\\custom.wad\"\n",
                                     "{\n\"classname\" \"ambient_generic\"\n\"message\" "
                                     "\"ambience/wind.wav\"\n}\n"));
        Source("tfc/maps/alpha.txt", "Alpha - Capture The Flag\n\nTwo towers.\n");
        Source("tfc/maps/beta.bsp",
               test::MapWithEntities("",
                                     "{\n\"classname\" \"item\"\n\"model\" "
                                     "\"models/flag.mdl\"\n\"noise\" \"misc/bell.wav\"\n}\n",
                                     384));
        Source("tfc/maps/gamma.bsp", test::MapWithEntities("\"wad\" \"halflife.wad\"\n", "", 320));
        Source("tfc/custom.wad", std::string(3000, 'w'));
        Source("valve/halflife.wad", std::string(2500, 'h'));
        Source("tfc/sound/ambience/wind.wav", "RIFF wind");
        Source("tfc/sound/misc/bell.wav", "RIFF bell");
        Source("tfc/models/flag.mdl", "IDST flag");
        Source("tfc/sprites/vote/beta.spr", EncodeSprite(ComposeTitleCard("beta's own")));
        Source("tfc/Entities/alpha.16.ref", "alpha.tpt\n%R% = \"6\"\n#INFO#\nMedium\n");
        Source("tfc/Entities/alpha.tpt", "{ \"classname\" \"worldspawn\" }\n");
        Source("tfc/Entities/beta.24.ref", "beta.tpt\n#INFO#\nLarge\n");
        Source("tfc/Entities/beta.tpt", "{ \"classname\" \"worldspawn\" \"v\" \"1\" }\n");
        Source("publish.conf", "[tfc]\nentities beta = Beta for large servers\n");
    }
    // Where the game keeps a file of SOURCE.
    fs::path Installed(const std::string& relative) const {
        return relative.starts_with("tfc/Entities/")
                   ? game.Dir() / "Ballotine" / relative.substr(0, 3) / relative.substr(4)
                   : game.Dir() / relative;
    }

    test::TempDir dir;
    fs::path source = dir.Path() / "source";
    fs::path dest = dir.Path() / "www";
    test::BareGame game{{}};
    test::LoopbackServer server;
    std::string url = server.Url("/srv");
};

TEST_F(PublishRoundTrip, WhatIsPublishedArrivesWholeAndChangesAreOffered) {
    WriteSource();
    const CliRun published = Publish();
    ASSERT_EQ(published.status, 0) << published.err;
    EXPECT_NE(published.out.find("package\ttfc/maps/alpha.zip\tmap\t1\t"), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(PrepareGame());

    const CliRun offered = Game({"updates"});
    ASSERT_EQ(offered.status, 0) << offered.err;
    const auto size = [&](const std::string& package) {
        return std::to_string(fs::file_size(dest / package));
    };
    EXPECT_EQ(offered.out, "New Maps\tAlpha - Capture The Flag\t1\t" + size("tfc/maps/alpha.zip") +
                               "\nNew Maps\tbeta\t1\t" + size("tfc/maps/beta.zip") +
                               "\nNew Maps\tgamma\t1\t" + size("tfc/maps/gamma.zip") +
                               "\nEntity Updates\talpha server sizes\t1\t" +
                               size("tfc/maps/alpha_ents.zip") +
                               "\nEntity Updates\tBeta for large servers\t1\t" +
                               size("tfc/maps/beta_ents.zip") + "\n");
    EXPECT_EQ(server.Requests("/srv/tfc/voteVM/alphaVM.zip").size(), 1u)
        << "vote pictures come with the list";

    const CliRun installed = Game({"updates", "--all"});
    ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
    for (const auto& [relative, content] : test::FolderContents(source)) {
        if (relative == "publish.conf" || relative.ends_with("liblist.gam")) {
            continue;
        }
        EXPECT_EQ(ReadFile(Installed(relative)), content) << relative;
    }
    for (const char* map : {"alpha", "gamma"}) {
        const PlanResult plan = ReadBspPlan(source / "tfc/maps" / (std::string(map) + ".bsp"));
        ASSERT_TRUE(plan.plan) << map;
        EXPECT_EQ(ReadFile(game.Dir() / "tfc/sprites/vote" / (std::string(map) + ".spr")),
                  EncodeSprite(*ComposePlanPicture(map, *plan.plan)))
            << map << "'s picture as drawn from its map";
    }
    EXPECT_EQ(Game({"updates"}).out, "") << "everything installed is up to date";

    // one map and one template change: exactly those two are offered
    const CliRun same = Publish();
    EXPECT_EQ(same.out.find("\tchanged"), std::string::npos) << same.out;
    Source("tfc/maps/alpha.bsp", test::MapWithEntities("\"wad\" \"custom.wad\"\n", "", 448));
    Source("tfc/Entities/beta.tpt", "{ \"classname\" \"worldspawn\" \"v\" \"2\" }\n");
    ASSERT_EQ(Publish().status, 0);
    const CliRun changes = Game({"updates"});
    EXPECT_EQ(changes.out, "Entity Updates\tBeta for large servers\t2\t" +
                               size("tfc/maps/beta_ents.zip") +
                               "\nFull Map Updates\tAlpha - Capture The Flag\t2\t" +
                               size("tfc/maps/alpha.zip") + "\n");
    ASSERT_EQ(Game({"updates", "--all"}).status, 0);
    EXPECT_EQ(ReadFile(game.Dir() / "tfc/maps/alpha.bsp"), ReadFile(source / "tfc/maps/alpha.bsp"));
    EXPECT_EQ(ReadFile(game.Dir() / "Ballotine/tfc/Entities/beta.tpt"),
              ReadFile(source / "tfc/Entities/beta.tpt"));
}

TEST_F(PublishRoundTrip, TheCommandLineReportsAndRefuses) {
    WriteSource();
    Source("tfc/maps/delta.bsp", test::MapWithEntities("", "{\n\"noise\" \"gone.wav\"\n}\n"));
    const CliRun run = Publish();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("missing\ttfc\tdelta\tsound/gone.wav\n"), std::string::npos);
    EXPECT_NE(run.out.find("list\ttfc/database.conf\tchanged\n"), std::string::npos);
    EXPECT_NE(run.err.find("Published 4 maps: 10 of 10 packages written"), std::string::npos)
        << run.err;

    const std::vector<std::vector<std::string>> usage = {
        {"publish", source.string(), dest.string()},
        {"publish", source.string(), "--base-url", url},
        {"publish", source.string(), dest.string(), "x", "--base-url", url},
        {"publish", source.string(), dest.string(), "--base-url", url, "--mod"},
        {"publish", source.string(), dest.string(), "--base-url", url, "--fast"},
    };
    for (const auto& args : usage) {
        EXPECT_EQ(test::RunCliWith(args).status, 2) << args.size();
    }
    const CliRun inside = test::RunCliWith(
        {"publish", source.string(), (source / "www").string(), "--base-url", url});
    EXPECT_EQ(inside.status, 1);
    EXPECT_NE(inside.err.find("neither may lie inside the other"), std::string::npos);
    EXPECT_NE(inside.err.find("Nothing was changed"), std::string::npos);
}

} // namespace
} // namespace ballotine
