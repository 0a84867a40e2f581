#include "sprites/MapPlan.h"

#include <algorithm>
#include <cmath>

namespace ballotine {

namespace {

// Steeper than this a slope is not walked on; a face this close to upright is a wall.
constexpr double kFloorNormal = 0.7;
constexpr double kWallNormal = 0.3;

bool IsFinite(const PlanVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void AddFloor(MapPlan& plan, const PlanFace& face) {
    PlanFloor floor;
    floor.outline.reserve(face.corners.size());
    double heights = 0;
    for (const PlanVertex& corner : face.corners) {
        floor.outline.push_back({corner.x, corner.y});
        heights += corner.z;
    }
    floor.height = heights / static_cast<double>(face.corners.size());
    plan.floors.push_back(std::move(floor));
}

// An upright face seen from above is a line across its normal: from the corner farthest one
// way along it to the corner farthest the other way.
void AddWall(MapPlan& plan, const PlanFace& face) {
    const double acrossX = -face.normal.y;
    const double acrossY = face.normal.x;
    const PlanVertex* first = &face.corners.front();
    const PlanVertex* last = first;
    for (const PlanVertex& corner : face.corners) {
        const double along = corner.x * acrossX + corner.y * acrossY;
        if (along < first->x * acrossX + first->y * acrossY) {
            first = &corner;
        }
        if (along > last->x * acrossX + last->y * acrossY) {
            last = &corner;
        }
    }
    plan.walls.push_back({{first->x, first->y}, {last->x, last->y}});
}

} // namespace

MapPlan PlanFromFaces(std::span<const PlanFace> faces) {
    MapPlan plan;
    for (const PlanFace& face : faces) {
        const PlanVertex& n = face.normal;
        const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (face.corners.size() < 3 || !(length > 0) || !std::isfinite(length) ||
            !std::all_of(face.corners.begin(), face.corners.end(), IsFinite)) {
            continue;
        }
        const double up = n.z / length;
        if (up >= kFloorNormal) {
            AddFloor(plan, face);
        } else if (std::abs(up) < kWallNormal) {
            AddWall(plan, face);
        }
    }
    return plan;
}

} // namespace ballotine
