#include "sprites/BspPlan.h"

#include "bsp/MapReader.h"

#include <string>
#include <vector>

namespace ballotine {

namespace {

PlanVertex ToPlanVertex(const bsp::Vec3& v) {
    return {v.x, v.y, v.z};
}

std::vector<PlanFace> WorldFaces(const bsp::BspMap& map) {
    std::vector<PlanFace> faces;
    for (const bsp::Polygon& polygon : map.Faces(0)) {
        PlanFace face;
        face.corners.reserve(polygon.points.size());
        for (const bsp::Vec3& point : polygon.points) {
            face.corners.push_back(ToPlanVertex(point));
        }
        face.normal = ToPlanVertex(polygon.normal);
        faces.push_back(std::move(face));
    }
    return faces;
}

PlanResult PlanOf(const std::optional<bsp::BspMap>& map, std::string error) {
    if (!map) {
        return {std::nullopt, std::move(error)};
    }
    return {PlanFromFaces(WorldFaces(*map)), {}};
}

} // namespace

PlanResult ReadBspPlan(const std::filesystem::path& mapFile) {
    std::string error;
    const std::optional<bsp::BspMap> map = bsp::BspMap::Load(mapFile, error);
    return PlanOf(map, std::move(error));
}

PlanResult ParseBspPlan(std::string mapBytes) {
    std::string error;
    const std::optional<bsp::BspMap> map = bsp::BspMap::Parse(std::move(mapBytes), error);
    return PlanOf(map, std::move(error));
}

} // namespace ballotine
