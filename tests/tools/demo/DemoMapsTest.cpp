#include "catalogue/MapDetails.h"
#include "catalogue/Session.h"
#include "mapsettings/PreviewSet.h"
#include "support/DemoFixture.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace ballotine {
namespace {

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return static_cast<std::int32_t>(value);
}

TEST(DemoMaps, EverySpriteReadsAsAVoteSpriteAndEachMapLooksDifferent) {
    test::DemoFixture demo;
    std::set<std::vector<std::uint32_t>> pictures;
    const char* sprites[] = {"2fort",     "well",       "rock2",       "ballot_bay",
                             "lakeside",  "canalworks", "harbourside", "skyline",
                             "frostfall", "quarry",     "vote",        "blank"};
    for (const char* name : sprites) {
        PreviewSet preview;
        EXPECT_TRUE(
            LoadPreview(preview, demo.Game("tfc/sprites/vote/" + std::string(name) + ".spr")))
            << name;
        pictures.insert({preview.pixels32.begin(), preview.pixels32.end()});
    }
    EXPECT_EQ(pictures.size(), std::size(sprites));
}

TEST(DemoMaps, MapFilesAreBspVersion30WithAnEntityLumpEndingInZero) {
    test::DemoFixture demo;
    const std::string bsp = test::ReadFile(demo.Game("tfc/maps/skyline.bsp"));
    ASSERT_GE(bsp.size(), 124U);
    EXPECT_EQ(Int32At(bsp, 0), 30);
    std::size_t end = 124;
    for (int lump = 0; lump < 15; ++lump) {
        const auto offset = static_cast<std::size_t>(Int32At(bsp, 4 + lump * 8));
        const auto length = static_cast<std::size_t>(Int32At(bsp, 8 + lump * 8));
        EXPECT_EQ(offset % 4, 0U) << lump;
        EXPECT_GE(offset, end) << lump << ": lumps follow one another";
        ASSERT_LE(offset + length, bsp.size()) << lump;
        end = offset + length;
    }
    const auto entities = static_cast<std::size_t>(Int32At(bsp, 4));
    const auto entitiesLength = static_cast<std::size_t>(Int32At(bsp, 8));
    const std::string text = bsp.substr(entities, entitiesLength);
    EXPECT_EQ(text.rfind("{\n\"classname\" \"worldspawn\"", 0), 0U);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(text.find('\0'), text.size() - 1);
}

} // namespace
} // namespace ballotine
