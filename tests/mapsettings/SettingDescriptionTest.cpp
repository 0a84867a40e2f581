#include "mapsettings/SettingDescription.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {
using Result = SettingDescription::Result;

class Description : public testing::Test {
protected:
    SettingDescription Read(const std::string& reference) {
        test::WriteFile(dir.Path() / "Entities/2fort.16.ref", reference);
        return ReadSettingDescription(dir.Path().string() + "/", "2fort", "16");
    }
    test::TempDir dir;
};

TEST_F(Description, TheFirstEmptyLineIsDroppedTheOthersKept) {
    const auto found =
        Read("x.tpt\nK = \"v\"\n#INFO# extra\nThe Title\n\nA\n\nB\n#TEXT#\nmap text\n");
    ASSERT_EQ(found.result, Result::Found);
    EXPECT_EQ(found.title, "The Title");
    EXPECT_EQ(found.description, "A\n\nB\n");
}

TEST_F(Description, SectionBoundaries) {
    const auto withLineFeed = Read("x.tpt\n#INFO#\n");
    EXPECT_EQ(withLineFeed.result, Result::Found) << "#INFO# as the last line";
    EXPECT_EQ(withLineFeed.title, "");
    EXPECT_EQ(withLineFeed.description, "");
    EXPECT_EQ(Read("x.tpt\n#INFO#").result, Result::NothingToShow);
    EXPECT_EQ(Read("x.tpt\n#TEXT#\nonly map text\n").result, Result::NoDescription);
    EXPECT_EQ(ReadSettingDescription(dir.Path().string() + "/", "2fort", "32").result,
              Result::NoDescription)
        << "no file";
    EXPECT_EQ(Read("x.tpt\n#TEXT#\nmap text\n#INFO#\nTitle\nabout").description, "about\n")
        << "the text section before is not part of it";
}

TEST_F(Description, StopsAfter768AndCutsTheCrossingLineAt1023) {
    const std::string line100(99, 'a');
    std::string reference = "x.tpt\n#INFO#\nT\n";
    for (int i = 0; i < 7; ++i) {
        reference += line100 + "\n"; // 700 characters with line feeds
    }
    reference += std::string(500, 'c') + "\nnever\n";
    const auto found = Read(reference);
    ASSERT_EQ(found.result, Result::Found);
    EXPECT_EQ(found.description.size(), 1023u);
    EXPECT_EQ(found.description.find("never"), std::string::npos);

    const auto shortCross = Read("x.tpt\n#INFO#\nT\n" + std::string(767, 'a') + "\nkept\nnot\n");
    EXPECT_EQ(shortCross.description, std::string(767, 'a') + "\n") << "768 reached: stop";
}

} // namespace
} // namespace ballotine
