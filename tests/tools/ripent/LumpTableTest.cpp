#include "ripent/LumpTable.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine::ripent {
namespace {

LumpTable RoomLumps() {
    const std::string room = test::ReadFile(test::TestDataPath("room.bsp"));
    return DecodeHeader(room).lumps;
}

TEST(LumpTable, RefusesTablesThatDoNotFitTheFile) {
    struct Case {
        int lump;
        Lump value;
        std::optional<std::string> error;
    };
    // Lump 1 of the room lies at 124 and is 780 bytes long, lump 10 follows it at 904.
    const std::int64_t size = 6164;
    const Case cases[] = {
        {8, {size, 0}, std::nullopt},   // empty at the very end
        {8, {500, 0}, std::nullopt},    // empty inside another lump
        {10, {904, 224}, std::nullopt}, // touching is not overlapping
        {3, {size - 10, 11}, "lump 3 lies outside the file"},
        {3, {1128, -1}, "lump 3 lies outside the file"},
        {8, {-4, 0}, "lump 8 lies outside the file"},
        {10, {903, 224}, "lumps 1 and 10 overlap"},
        {1, {120, 780}, "lump 1 overlaps the header"},
        {0, {124, 4}, "lumps 0 and 1 overlap"},
    };
    for (const Case& c : cases) {
        LumpTable lumps = RoomLumps();
        lumps[static_cast<std::size_t>(c.lump)] = c.value;
        EXPECT_EQ(FindLumpTableError(lumps, size), c.error) << "lump " << c.lump;
    }
}

TEST(LumpTable, LayoutKeepsTheCompilersOrderAndAlignsEveryLump) {
    const LumpTable room = RoomLumps();
    EXPECT_EQ(PlanLayout(room, room[kEntityLump].length), room);

    const LumpTable grown = PlanLayout(room, 1001);
    EXPECT_EQ(grown[kEntityLump], (Lump{room[kEntityLump].offset, 1001}));
    for (int i = 1; i < kLumpCount; ++i) {
        EXPECT_EQ(grown[i].length, room[i].length);
        EXPECT_EQ(grown[i].offset % 4, 0) << "lump " << i;
        if (room[i].offset < room[kEntityLump].offset) {
            EXPECT_EQ(grown[i].offset, room[i].offset) << "lump " << i;
        }
    }
    EXPECT_EQ(grown[2].offset, room[kEntityLump].offset + 1004);
    EXPECT_EQ(FindLumpTableError(grown, LaidOutSize(grown)), std::nullopt);
}

} // namespace
} // namespace ballotine::ripent
