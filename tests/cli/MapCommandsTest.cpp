#include "CliTestSupport.h"
#include "cli/Commands.h"
#include "support/TestFiles.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::CliRun;
using test::ReadFile;
using test::WriteFile;

// The map states, details, settings, compile and list files are pinned by the core tests;
// these check the commands' record formats, their wiring and what they refuse, on the demo
// with its real entity tool.
class MapCommands : public test::CliOnDemo {
protected:
    using CliOnDemo::CliOnDemo;
    std::string Lists(const std::string& name) const { return WorkFile("VoteMapLists/" + name); }
};

// The entity text a BSP version 30 map holds (lump 0), without its final zero byte.
std::string EntityLump(const std::string& bsp) {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::memcpy(&offset, bsp.data() + 4, 4);
    std::memcpy(&length, bsp.data() + 8, 4);
    return bsp.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length) - 1);
}

TEST_F(MapCommands, MapsCurrentDetailsAndSizesPrintTheirRecords) {
    const CliRun maps = Run({"maps"});
    ASSERT_EQ(maps.status, kExitOk) << maps.err;
    EXPECT_EQ(maps.out, "2fort\tInstalled\nballot_bay\tInstalled\ncanalworks\tInstalled\n"
                        "frostfall\tNotDownloaded\nharbourside\tConfigurable\n"
                        "quarry\tNotDownloaded\nrock2\tInstalled\nskyline\tConfigurable\n");
    EXPECT_EQ(Run({"current"}).out, "lakeside\tInstalled\nwell\tInstalled\n");
    EXPECT_TRUE(Run({"details", "2FORT"})
                    .out.starts_with("Name\t2FORT\nSize\t2613248\nDownloaded\tBy Default\n"
                                     "Caption\t2 Fortresses - Capture The Flag\n\nObjective: "));
    EXPECT_EQ(Run({"details", "frostfall"}).out,
              "Name\tfrostfall\nSize\tN/A\nDownloaded\tNo\nCaption\tfrostfall\n\n"
              "Map description not available\n");
    EXPECT_EQ(Run({"sizes", "HarbourSide"}).out, "Medium server (12 to 20 players)\t16\n"
                                                 "Full server (28 to 32 players)\t32\n"
                                                 "LAN party (no respawn delay)\tLAN\n"
                                                 "Clan match (8 against 8)\tClanMatch\n");
    const CliRun none = Run({"sizes", "lakeside"});
    EXPECT_EQ(none.status, kExitOk) << "a map of the vote map's list, without settings";
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(Run({"describe", "harbourside", "lan"}).out,
              "LAN party\nNo respawn delay and short rounds for players in one room.\n");
}

TEST_F(MapCommands, ApplyRewritesTheMapsEntitiesWithTheRealEntityTool) {
    const std::string before = EntityLump(ReadFile(Maps("harbourside.bsp")));
    const CliRun run = Run({"--yes", "apply", "harbourside", "CLANMATCH"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "Are you sure you wish to update this map with the selected entities? "
                       "[y/n] yes\n"
                       "New Entities have been successfully compiled into this map\n");
    const std::string entities = EntityLump(ReadFile(Maps("harbourside.bsp")));
    EXPECT_NE(entities.find("\"message\" \"Round one: blue attacks for 20 minutes\""),
              std::string::npos)
        << entities;
    EXPECT_NE(before, entities);
    EXPECT_EQ(ReadFile(Maps("harbourside.txt")),
              "Harbourside - Attack / Defend (clan match)\n\n"
              "Two rounds of 20 minutes, the teams swap sides.\n\n");
}

TEST_F(MapCommands, CompileTakesAListThenTheOptionsAndMapsGivenAndRunsTheTool) {
    WriteFile(Lists("cup.VML"), "VML Header V1.2\n20 1 0\nrock2\nlakeside\n");
    const CliRun run = Run({"--yes", "compile", "--list", Lists("cup.VML"), "--players", "32",
                            "--no-thugs", "Lakeside", "SKYLINE", "well"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Are you sure you want to create a 4 level VoteMap? [y/n] yes\n"
                       "VoteMap successfully Compiled\n");
    const std::string text = ReadFile(Maps("vote.ent"));
    EXPECT_NE(text.find("\"health\" \"1700\""), std::string::npos) << "walls 0 from the list";
    EXPECT_NE(text.find("\"team2_name\" \"(X) Thugs Disabled\""), std::string::npos);
    EXPECT_NE(text.find("\"map\" \"skyline\""), std::string::npos) << "the available spelling";
    EXPECT_EQ(Run({"current"}).out,
              "lakeside\tInstalled\nrock2\tInstalled\nskyline\tConfigurable\nwell\tInstalled\n");
}

// Quotes, "$(...)", ";" and blanks in the names of the game folder, a list and a map reach the
// entity tool as plain characters: the compile and the map settings go through.
class MapCommandsOnOddNames : public MapCommands {
protected:
    MapCommandsOnOddNames() : MapCommands("demo \"1\"; $(touch PWNED)") {}
    // Whether any file of the demo was named by a command the names would have run.
    bool AnyTrace() const {
        for (const auto& entry : fs::recursive_directory_iterator(demo.Layout().root)) {
            if (entry.path().filename().string().starts_with("PWNED")) {
                return true;
            }
        }
        return fs::exists("PWNED") || fs::exists("PWNED2");
    }
};

TEST_F(MapCommandsOnOddNames, CompileAndApplyGoThrough) {
    const std::string list = Lists("cup \"final\"; $(touch PWNED2).VML");
    ASSERT_EQ(Run({"save-list", list, "well", "2fort"}).status, kExitOk);
    const CliRun compiled = Run({"--yes", "compile", "--list", list});
    ASSERT_EQ(compiled.status, kExitOk) << compiled.err;
    EXPECT_EQ(Run({"current"}).out, "2fort\tInstalled\nwell\tInstalled\n");

    // A double quote cannot stand in entity text (such sprites are not listed), the rest can.
    const std::string map = "harbour 'side'; $(touch PWNED2)`touch PWNED`";
    fs::copy_file(Maps("harbourside.bsp"), Maps(map + ".bsp"));
    fs::copy_file(demo.Game("tfc/sprites/vote/harbourside.spr"),
                  demo.Game("tfc/sprites/vote/" + map + ".spr"));
    fs::copy_file(WorkFile("Entities/harbourside.16.ref"), WorkFile("Entities/" + map + ".16.ref"));
    const CliRun applied = Run({"--yes", "apply", map, "16"});
    ASSERT_EQ(applied.status, kExitOk) << applied.err;
    EXPECT_NE(EntityLump(ReadFile(Maps(map + ".bsp"))),
              EntityLump(ReadFile(Maps("harbourside.bsp"))));
    EXPECT_FALSE(AnyTrace());
}

// Sprite names that no entity text or output line can hold are not listed, with one note.
TEST_F(MapCommands, NamesNoVoteMapCanHoldAreLeftOutWithANote) {
    const std::string sprites = demo.Game("tfc/sprites/vote/");
    for (const std::string name : {"a\"b", "line\nfeed", "tab\there", "bell\a"}) {
        fs::copy_file(sprites + "well.spr", sprites + name + ".spr");
    }
    WriteFile(Maps("vote.ent"),
              ReadFile(Maps("vote.ent")) + "{\n\"model\" \"sprites/vote/a\"b.spr\"\n}\n");
    const CliRun maps = Run({"maps"});
    EXPECT_EQ(maps.status, kExitOk);
    EXPECT_EQ(maps.out, "2fort\tInstalled\nballot_bay\tInstalled\ncanalworks\tInstalled\n"
                        "frostfall\tNotDownloaded\nharbourside\tConfigurable\n"
                        "quarry\tNotDownloaded\nrock2\tInstalled\nskyline\tConfigurable\n");
    EXPECT_EQ(maps.err, "These vote sprites are not listed: a map name in a vote map cannot hold "
                        "a double quote or a control character.\n  a\"b\n  bell?\n"
                        "  line?feed\n  tab?here\n");
    EXPECT_EQ(Run({"current"}).out, "lakeside\tInstalled\nwell\tInstalled\n");
    EXPECT_EQ(Run({"--yes", "compile", "2fort", "a\"b"}).err,
              "compile: 'a\"b' is not in Available Maps\n");
}

TEST_F(MapCommands, SaveListWritesWhatShowListReadsAndAsksBeforeReplacing) {
    const std::string file = Lists("finals.VML");
    const CliRun saved = Run({"save-list", Lists("finals"), "--players", "22", "--walls", "2",
                              "WELL", "quarry", "2fort"});
    ASSERT_EQ(saved.status, kExitOk) << saved.err;
    EXPECT_EQ(saved.err, "VoteMap List 'finals.VML' successfully saved!\n");
    EXPECT_EQ(ReadFile(file), "VML Header V1.2\n22 3 2\n2fort\nquarry\nwell\n");
    EXPECT_EQ(Run({"show-list", file}).out, "22\t3\t2\n2fort\nquarry\nwell\n");

    EXPECT_EQ(Run({"save-list", file, "rock2"}).status, kExitFailed) << "no terminal: answered No";
    EXPECT_EQ(ReadFile(file), "VML Header V1.2\n22 3 2\n2fort\nquarry\nwell\n");
    ASSERT_EQ(Run({"--yes", "save-list", file, "--no-thugs", "rock2"}).status, kExitOk);
    EXPECT_EQ(ReadFile(file), "VML Header V1.2\n12 0 1\nrock2\n");
}

TEST_F(MapCommands, RefusalsExitOneSayWhyAndChangeNothing) {
    const std::string map = ReadFile(Maps("harbourside.bsp"));
    const std::string vote = ReadFile(Maps("vote.ent"));
    WriteFile(WorkFile("Entities/skyline.12.ref"), "skyline.tpt\n#TEXT#\nonly map text\n");
    const std::pair<std::string, std::string> cases[] = {
        {"sizes nosuchmap", ""},
        {"sizes ../harbourside", ""},
        {"describe harbourside 24",
         "'harbourside' has no server size '24'. Sizes: 16 32 LAN ClanMatch\n"},
        {"describe skyline 12", "No map description text found for this setting...\n"},
        {"--yes apply harbourside ../../16", ""},
        {"--yes apply harbourside h", ""},
        {"--no apply harbourside 16", ""},
        {"--yes compile 2fort atlantis", "compile: 'atlantis' is not in Available Maps\n"},
        {"--yes compile 2fort", ""},
        {"compile 2fort well", ""},
        {"--yes compile --list " + Lists("none.VML") + " 2fort well",
         "Unable to load VoteMapList\nFile does not exist\n"},
    };
    for (const auto& [line, message] : cases) {
        const CliRun run = Run(test::Words(line));
        EXPECT_EQ(run.status, kExitFailed) << line;
        EXPECT_EQ(run.out, "") << line;
        EXPECT_NE(run.err, "") << line;
        if (!message.empty()) {
            EXPECT_EQ(run.err, message);
        }
    }
    EXPECT_EQ(ReadFile(Maps("harbourside.bsp")), map);
    EXPECT_FALSE(fs::exists(Maps("harbourside.ent")));
    EXPECT_EQ(ReadFile(Maps("vote.ent")), vote);
}

TEST_F(MapCommands, InstallToolsPutsTheToolBesideTheProgramIntoTheWorkingFolder) {
    const fs::path installed = demo.Layout().gameDir / "Ballotine" / "ripent";
    WriteFile(installed, "an older tool");
    const CliRun run = test::RunBuiltCli("--registry " + Registry() + " install-tools");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "ripent\t" + installed.string() + "\n");
    EXPECT_EQ(ReadFile(installed), ReadFile(test::BuiltProgram("ripent")));
    EXPECT_NE(fs::status(installed).permissions() & fs::perms::owner_exec, fs::perms::none);
}

} // namespace
} // namespace ballotine
