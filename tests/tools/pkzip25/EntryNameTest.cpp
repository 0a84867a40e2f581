#include "pkzip25/EntryPath.h"
#include "pkzip25/ToolArguments.h"

#include <gtest/gtest.h>

namespace ballotine::pkzip25 {
namespace {

using Components = std::vector<std::string>;

TEST(EntryNameTest, SplitsOnBothSeparatorsAndDropsEmptyParts) {
    const struct {
        const char* name;
        Components components;
        bool isFolder;
    } cases[] = {
        {"maps\\2fort.bsp", {"maps", "2fort.bsp"}, false},
        {"sound/vox\\a.wav", {"sound", "vox", "a.wav"}, false},
        {"./maps//sub/", {"maps", "sub"}, true},
        {"models\\", {"models"}, true},
        {".../x..y", {"...", "x..y"}, false},
        {"ab:c", {"ab:c"}, false},
    };
    for (const auto& c : cases) {
        EntryPath path;
        std::string reason;
        ASSERT_TRUE(SplitEntryName(c.name, path, reason)) << c.name << ": " << reason;
        EXPECT_EQ(path.components, c.components) << c.name;
        EXPECT_EQ(path.isFolder, c.isFolder) << c.name;
    }
}

TEST(EntryNameTest, RefusesNamesThatLeaveTheTarget) {
    for (const char* name : {"../x", "a/../../x", "a/../b", "..\\x", "maps\\..\\..\\x", "..",
                             "/etc/passwd", "\\\\server\\share\\x", "C:\\x", "c:x", "Z:/x", ""}) {
        EntryPath path;
        std::string reason;
        EXPECT_FALSE(SplitEntryName(name, path, reason)) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
}

TEST(EntryNameTest, JudgesLinkTargetsFromTheLinksFolder) {
    const struct {
        const char* link;
        const char* target;
        bool inside;
    } cases[] = {
        {"maps/link", "2fort.bsp", true},     {"maps/link", "../sound/a.wav", true},
        {"maps/link", "..\\sound", true},     {"maps/link", "../..", false},
        {"maps/link", "..\\..\\x", false},    {"link", "..", false},
        {"maps/link", "a/../../../x", false}, {"maps/link", "/etc/passwd", false},
        {"maps/link", "C:\\Windows", false},  {"maps/link", "", false},
    };
    for (const auto& c : cases) {
        EntryPath link;
        std::string reason;
        ASSERT_TRUE(SplitEntryName(c.link, link, reason));
        EXPECT_EQ(LinkStaysInside(link, c.target), c.inside) << c.link << " -> " << c.target;
    }
}

TEST(ToolArgumentsTest, RefusesWhatItWouldNotObey) {
    const std::vector<std::vector<std::string_view>> refused = {
        {"-nofix", "-direct", "-over=all", "a.zip", "out/"},            // not asked to extract
        {"-extract", "-nofix", "-over=all", "a.zip", "out/"},           // flat extraction
        {"-extract", "-direct", "a.zip", "out/"},                       // no overwrite mode
        {"-extract", "-direct", "-over=none", "a.zip", "out/"},         // another overwrite mode
        {"-extract", "-direct", "-over=all", "a.zip"},                  // no target
        {"-extract", "-direct", "-over=all", "a.zip", "b.zip", "out/"}, // one path too many
    };
    for (const auto& arguments : refused) {
        const ParsedArguments parsed = ParseArguments(arguments);
        EXPECT_FALSE(parsed.request.has_value());
        EXPECT_FALSE(parsed.error.empty());
    }
}

} // namespace
} // namespace ballotine::pkzip25
