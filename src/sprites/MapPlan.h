#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ballotine {

// A map seen from above, in world units: x grows east, y north, z up.
struct PlanPoint {
    double x = 0;
    double y = 0;
};

// Ground one can stand on: its outline seen from above and its height.
struct PlanFloor {
    std::vector<PlanPoint> outline;
    double height = 0;
};

// A wall seen from above: the line it stands on.
struct PlanWall {
    PlanPoint from;
    PlanPoint to;
};

struct MapPlan {
    std::vector<PlanFloor> floors;
    std::vector<PlanWall> walls;

    bool Empty() const { return floors.empty() && walls.empty(); }
};

// One face of a map's world as a map reader offers it: its corners and the normal of its
// visible side (pointing into open space).
struct PlanVertex {
    double x = 0;
    double y = 0;
    double z = 0;
};
struct PlanFace {
    std::vector<PlanVertex> corners;
    PlanVertex normal;
};

// The plan those faces make: faces that look up (slopes one can walk included) are floors at
// their mean height, upright faces are walls along their widest extent seen from above.
// Faces that look down (ceilings, undersides) are left out, as they would hide the floors;
// so are slopes too steep to walk, and faces with fewer than three corners, no normal or a
// coordinate that is not a number.
MapPlan PlanFromFaces(std::span<const PlanFace> faces);

// What a plan source gives for one map: its plan, or nothing and why (a note for the user;
// empty when there is nothing to say).
struct PlanResult {
    std::optional<MapPlan> plan;
    std::string note;
};

// Reads a map file's plan. The map reader plugs in here; an empty source gives every map a
// title card.
using PlanSource = std::function<PlanResult(const std::filesystem::path& mapFile)>;

} // namespace ballotine
