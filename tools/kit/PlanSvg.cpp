#include "kit/PlanSvg.h"

#include "common/Text.h"
#include "kit/EntityList.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace ballotine::kit {

namespace {

constexpr double kWidth = 960; // pixels for the map's length
constexpr double kMargin = 24;
constexpr double kLegendHeight = 64;

struct Style {
    std::string_view classname;
    std::string_view fill;
    std::string_view label;
};

constexpr std::array<Style, 4> kModelStyles = {{
    {"func_door", "#3c78d8", "door (opens on \"godoor\")"},
    {"func_breakable", "#a0522d", "breakable wall (DRHLTH)"},
    {"trigger_changelevel", "#f39c12", "level change and TF goal"},
    {"i_t_g", "#f39c12", ""},
}};

struct Spawn {
    std::string_view classname;
    std::string_view team;
    std::string_view fill;
    std::string_view label;
};

constexpr std::array<Spawn, 3> kSpawns = {{
    {"info_player_teamspawn", "1", "#4a90e2", "team 1 spawn (voters)"},
    {"info_player_teamspawn", "2", "#e05050", "team 2 spawn (thugs)"},
    {"info_player_deathmatch", "", "#bbbbbb", "fallback spawn"},
}};

std::array<double, 3> ReadPoint(std::string_view text) {
    std::array<double, 3> point{};
    std::istringstream in{std::string(text)};
    in >> point[0] >> point[1] >> point[2];
    return point;
}

// Map units to pixels: x to the right, y upwards as seen from above.
class Projection {
public:
    explicit Projection(const bsp::Bounds& bounds)
        : m_bounds(bounds), m_scale(kWidth / std::max(1.0F, bounds.maxs.x - bounds.mins.x)) {}
    double X(double x) const { return kMargin + (x - m_bounds.mins.x) * m_scale; }
    double Y(double y) const { return kMargin + (m_bounds.maxs.y - y) * m_scale; }
    double Scale() const { return m_scale; }
    double Height() const { return (m_bounds.maxs.y - m_bounds.mins.y) * m_scale; }

private:
    bsp::Bounds m_bounds;
    double m_scale;
};

std::string Number(double value) {
    return Format("%.1f", value);
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Floors(const bsp::BspMap& map, const Projection& at) {
    std::vector<bsp::Polygon> floors;
    for (bsp::Polygon& face : map.Faces(0)) {
        if (bsp::IsFloor(face)) {
            floors.push_back(std::move(face));
        }
    }
    std::sort(floors.begin(), floors.end(), [](const bsp::Polygon& a, const bsp::Polygon& b) {
        return a.points.front().z < b.points.front().z;
    });
    const bsp::Bounds bounds = map.ModelBounds(0);
    const double span = std::max(1.0F, bounds.maxs.z - bounds.mins.z);
    std::string svg;
    for (const bsp::Polygon& face : floors) {
        const int shade =
            120 + static_cast<int>(100 * (face.points.front().z - bounds.mins.z) / span);
        svg += "<polygon points=\"";
        for (const bsp::Vec3& point : face.points) {
            svg += Number(at.X(point.x)) + "," + Number(at.Y(point.y)) + " ";
        }
        svg += Format("\" fill=\"rgb(%d,%d,%d)\" stroke=\"rgb(%d,%d,%d)\" stroke-width=\"0.5\"/>\n",
                      shade, shade, shade - 10, shade, shade, shade - 10);
    }
    return svg;
}

std::string Models(const bsp::BspMap& map, const std::vector<Entity>& entities,
                   const Projection& at) {
    std::string svg;
    for (const Entity& entity : entities) {
        const std::string_view model = entity.Get("model");
        const auto style =
            std::find_if(kModelStyles.begin(), kModelStyles.end(),
                         [&](const Style& s) { return s.classname == entity.Get("classname"); });
        if (!model.starts_with('*') || style == kModelStyles.end()) {
            continue;
        }
        const int index = std::atoi(std::string(model.substr(1)).c_str());
        if (index <= 0 || index >= map.ModelCount()) {
            continue;
        }
        const bsp::Bounds box = map.ModelBounds(index);
        svg += "<rect x=\"" + Number(at.X(box.mins.x)) + "\" y=\"" + Number(at.Y(box.maxs.y)) +
               "\" width=\"" + Number((box.maxs.x - box.mins.x) * at.Scale()) + "\" height=\"" +
               Number((box.maxs.y - box.mins.y) * at.Scale()) + "\" fill=\"" +
               std::string(style->fill) + "\" fill-opacity=\"0.8\"/>\n";
        const std::string_view name = entity.Get("targetname");
        if (!name.empty()) {
            const double labelY = box.maxs.y > 0 ? at.Y(box.maxs.y) - 4 : at.Y(box.mins.y) + 12;
            svg += "<text x=\"" + Number(at.X((box.mins.x + box.maxs.x) / 2)) + "\" y=\"" +
                   Number(labelY) + "\" font-size=\"10\" text-anchor=\"middle\" fill=\"#dddddd\">" +
                   Escaped(name) + "</text>\n";
        }
    }
    return svg;
}

std::string PointEntities(const std::vector<Entity>& entities, const Projection& at) {
    std::string svg;
    for (const Entity& entity : entities) {
        const std::string_view classname = entity.Get("classname");
        const auto origin = ReadPoint(entity.Get("origin"));
        if (classname == "env_sprite") {
            // A picture 128 units wide, flat on its wall: drawn as a bar along the wall, which
            // runs across the direction it faces (its yaw).
            const int yaw = static_cast<int>(ReadPoint(entity.Get("angles"))[1]) % 180;
            const bool alongX = std::abs(yaw) > 45 && std::abs(yaw) < 135;
            const double half = 64 * at.Scale();
            const double x = at.X(origin[0]);
            const double y = at.Y(origin[1]);
            svg += "<line x1=\"" + Number(alongX ? x - half : x) + "\" y1=\"" +
                   Number(alongX ? y : y - half) + "\" x2=\"" + Number(alongX ? x + half : x) +
                   "\" y2=\"" + Number(alongX ? y : y + half) +
                   "\" stroke=\"#f1c40f\" stroke-width=\"4\"/>\n";
            continue;
        }
        for (const Spawn& spawn : kSpawns) {
            if (spawn.classname == classname &&
                (spawn.team.empty() || spawn.team == entity.Get("team_no"))) {
                svg += "<circle cx=\"" + Number(at.X(origin[0])) + "\" cy=\"" +
                       Number(at.Y(origin[1])) + "\" r=\"" + Number(16 * at.Scale()) +
                       "\" fill=\"" + std::string(spawn.fill) + "\"/>\n";
            }
        }
    }
    return svg;
}

bool HasSpawn(const std::vector<Entity>& entities, const Spawn& spawn) {
    return std::any_of(entities.begin(), entities.end(), [&](const Entity& entity) {
        return entity.Get("classname") == spawn.classname &&
               (spawn.team.empty() || spawn.team == entity.Get("team_no"));
    });
}

bool HasClass(const std::vector<Entity>& entities, std::string_view classname) {
    return std::any_of(entities.begin(), entities.end(),
                       [&](const Entity& entity) { return entity.Get("classname") == classname; });
}

// What the plan shows, the kinds this map has only.
std::string Legend(const std::vector<Entity>& entities, double top) {
    std::string svg;
    double x = kMargin;
    const auto item = [&](std::string_view shape, std::string_view label) {
        svg += std::string(shape);
        svg += "<text x=\"" + Number(x + 18) + "\" y=\"" + Number(top + 12) +
               "\" font-size=\"12\" fill=\"#dddddd\">" + Escaped(label) + "</text>\n";
        x += 34 + 6.5 * static_cast<double>(label.size());
    };
    for (const Style& style : kModelStyles) {
        if (!style.label.empty() && HasClass(entities, style.classname)) {
            item("<rect x=\"" + Number(x) + "\" y=\"" + Number(top + 2) +
                     "\" width=\"12\" height=\"12\" fill=\"" + std::string(style.fill) + "\"/>\n",
                 style.label);
        }
    }
    if (HasClass(entities, "env_sprite")) {
        item("<rect x=\"" + Number(x) + "\" y=\"" + Number(top + 6) +
                 "\" width=\"12\" height=\"4\" fill=\"#f1c40f\"/>\n",
             "map picture");
    }
    x = kMargin;
    top += 22;
    for (const Spawn& spawn : kSpawns) {
        if (HasSpawn(entities, spawn)) {
            item("<circle cx=\"" + Number(x + 6) + "\" cy=\"" + Number(top + 8) +
                     "\" r=\"5\" fill=\"" + std::string(spawn.fill) + "\"/>\n",
                 spawn.label);
        }
    }
    return svg;
}

} // namespace

std::string DrawPlan(const bsp::BspMap& map, std::string_view title) {
    const Projection at(map.ModelBounds(0));
    const std::vector<Entity> entities = ParseEntities(map.EntityText());
    const double width = kWidth + 2 * kMargin;
    const double height = at.Height() + 2 * kMargin + kLegendHeight;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(width) +
                      "\" height=\"" + Number(height) + "\" font-family=\"sans-serif\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#1e1e24\"/>\n";
    svg += "<text x=\"" + Number(kMargin) + "\" y=\"16\" font-size=\"14\" fill=\"#ffffff\">" +
           Escaped(title) + "</text>\n";
    svg += Floors(map, at);
    svg += Models(map, entities, at);
    svg += PointEntities(entities, at);
    svg += Legend(entities, at.Height() + 2 * kMargin);
    return svg + "</svg>\n";
}

} // namespace ballotine::kit
