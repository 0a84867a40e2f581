#pragma once

#include "sprites/MapPlan.h"
#include "sprites/Picture.h"

#include <cstdint>

namespace ballotine {

// Where in a picture a plan goes, in pixels.
struct PlanBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The colours of a plan: `floorShades` palette entries from `firstFloor`, lowest ground
// darkest, and the walls' colour.
struct PlanInk {
    std::uint8_t firstFloor = 0;
    int floorShades = 1;
    std::uint8_t wall = 0;
};

// Draws the plan north up, scaled the same both ways to fill the box and centred in it; no
// pixel falls outside the box. Floors are drawn lowest first, so upper floors cover what lies
// beneath, each also outlined so that ground thinner than a pixel still shows; walls are
// lines on top. Points that are not finite or lie far beyond any map's reach leave their
// floor or wall out. False when nothing is left to draw.
bool DrawPlan(Picture& picture, const MapPlan& plan, const PlanBox& box, const PlanInk& ink);

} // namespace ballotine
