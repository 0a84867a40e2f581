#include "CliTestSupport.h"
#include "cli/Commands.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::CliRun;

// The map states and the details texts are pinned by the catalogue and window tests; these
// check the commands' record formats and what they refuse.
class MapCommands : public test::CliOnDemo {};

TEST_F(MapCommands, MapsAndCurrentListTheTwoListsWithTheirStates) {
    const CliRun maps = Run({"maps"});
    ASSERT_EQ(maps.status, kExitOk) << maps.err;
    EXPECT_EQ(maps.out, "2fort\tInstalled\nballot_bay\tInstalled\ncanalworks\tInstalled\n"
                        "frostfall\tNotDownloaded\nharbourside\tConfigurable\n"
                        "quarry\tNotDownloaded\nrock2\tInstalled\nskyline\tConfigurable\n");
    EXPECT_EQ(Run({"current"}).out, "lakeside\tInstalled\nwell\tInstalled\n");
}

TEST_F(MapCommands, DetailsPrintsThePane) {
    const CliRun builtIn = Run({"details", "2FORT"});
    ASSERT_EQ(builtIn.status, kExitOk) << builtIn.err;
    EXPECT_EQ(builtIn.out.rfind("Name\t2FORT\nSize\t2613248\nDownloaded\tBy Default\n"
                                "Caption\t2 Fortresses - Capture The Flag\n\nObjective: ",
                                0),
              0U)
        << builtIn.out;
    EXPECT_EQ(Run({"details", "frostfall"}).out,
              "Name\tfrostfall\nSize\tN/A\nDownloaded\tNo\nCaption\tfrostfall\n\n"
              "Map description not available\n");
}

TEST_F(MapCommands, WhatIsNoMapNameOrTooManyArgumentsIsRefused) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"details"},
                                                 {"details", "a", "b"},
                                                 {"details", "../../etc/passwd"},
                                                 {"details", "maps\\x"},
                                                 {"details", ""},
                                                 {"maps", "extra"},
                                                 {"current", "extra"}}) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, kExitUsage) << args.size();
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
} // namespace ballotine
