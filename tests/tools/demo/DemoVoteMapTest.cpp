#include "common/Text.h"
#include "ripent/EntityText.h"
#include "ripent/LumpTable.h"
#include "support/DemoFixture.h"
#include "votemap/VoteMapKeywords.h"

#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(DemoVoteMap, TheTemplateUsesEveryKeywordAndNamesEachSlotsSprite) {
    test::DemoFixture demo;
    const std::string text = test::ReadFile(demo.Game("Ballotine/tfc/Entities/vote.ref"));
    for (const KeywordValue& keyword : BuildVoteMapKeywords({}, 12, 2, 1)) {
        EXPECT_NE(text.find(keyword.keyword), std::string::npos) << keyword.keyword;
    }
    for (int slot = 1; slot <= kVoteMapSlots; ++slot) {
        EXPECT_NE(text.find(Format("\"sprites/vote/MRF%02i.spr\"", slot)), std::string::npos);
    }
    EXPECT_EQ(ripent::FindEntityTextError(text), std::nullopt);
}

TEST(DemoVoteMap, TheVoteMapHoldsTheCompiledTextAndEveryLump) {
    test::DemoFixture demo;
    const std::string map = test::ReadFile(demo.Game("tfc/maps/vote.bsp"));
    const std::string text = test::ReadFile(demo.Game("tfc/maps/vote.ent"));
    ASSERT_GE(map.size(), static_cast<std::size_t>(ripent::kHeaderSize));
    const ripent::BspHeader header = ripent::DecodeHeader(map);
    EXPECT_EQ(header.version, 30);
    EXPECT_EQ(ripent::FindLumpTableError(header.lumps, static_cast<std::int64_t>(map.size())),
              std::nullopt);
    for (const ripent::Lump& lump : header.lumps) {
        EXPECT_GT(lump.length, 0);
    }
    const ripent::Lump entities = header.lumps[ripent::kEntityLump];
    EXPECT_EQ(map.substr(static_cast<std::size_t>(entities.offset),
                         static_cast<std::size_t>(entities.length)),
              text + '\0');
    EXPECT_EQ(ripent::FindEntityTextError(text), std::nullopt);
    EXPECT_NE(text.find("\"model\" \"sprites/vote/lakeside.spr\""), std::string::npos);
    EXPECT_NE(text.find("\"model\" \"sprites/vote/well.spr\""), std::string::npos);
    EXPECT_EQ(text.find("MRF"), std::string::npos);
}

} // namespace
} // namespace ballotine
