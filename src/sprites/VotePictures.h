#pragma once

#include "sprites/MapPlan.h"
#include "sprites/Picture.h"
#include "sprites/PlanDrawing.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace ballotine {

// Where things lie on a map's vote picture and which palette entries they use.
namespace vote_picture {
// The map's plan, inside its dark background (rows 1-42) with a margin.
inline constexpr PlanBox kPlan{3, 3, 122, 38};
// The name card along the bottom, under a dividing line (row 43); the frame is row 63.
inline constexpr PlanBox kCard{1, 44, 126, 19};

inline constexpr std::uint8_t kFrame = 1;
inline constexpr std::uint8_t kPlanBackground = 2;
inline constexpr std::uint8_t kCardColour = 3;
inline constexpr std::uint8_t kCardEdge = 4;
inline constexpr std::uint8_t kInk = 5;
inline constexpr std::uint8_t kShadow = 6;
inline constexpr std::uint8_t kWall = 7;
inline constexpr std::uint8_t kFirstFloor = 16;
inline constexpr int kFloorShades = 48;
inline constexpr std::uint8_t kFirstBackdrop = 64;
inline constexpr int kBackdropShades = 64;
} // namespace vote_picture

// A map's vote picture: its name on a card under its plan seen from above, in colours that
// follow from the name (without regard to case) so neighbouring pictures differ. Nothing when
// the plan has nothing to draw.
std::optional<Picture> ComposePlanPicture(std::string_view mapName, const MapPlan& plan);

// A map's vote picture without a plan: its name large on a title card in the name's colours.
Picture ComposeTitleCard(std::string_view mapName);

// The vote map's own pictures: its sign, and the empty slot.
Picture ComposeVoteSign();
Picture ComposeBlankSlot();

} // namespace ballotine
