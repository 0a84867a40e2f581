#include "sprites/PlanDrawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace ballotine {

namespace {

// Maps span a few ten thousand units; a point beyond this is damage, not geometry.
constexpr double kReach = 1e6;

bool Usable(const PlanPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::abs(p.x) <= kReach &&
           std::abs(p.y) <= kReach;
}

bool Usable(const PlanFloor& floor) {
    return !floor.outline.empty() && std::isfinite(floor.height) &&
           std::all_of(floor.outline.begin(), floor.outline.end(),
                       [](const PlanPoint& p) { return Usable(p); });
}

bool Usable(const PlanWall& wall) {
    return Usable(wall.from) && Usable(wall.to);
}

struct Bounds {
    double minX = std::numeric_limits<double>::infinity();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;

    void Add(const PlanPoint& p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    bool Empty() const { return minX > maxX; }
};

// World to pixel coordinates: a whole number is a pixel's centre.
class PlanView {
public:
    PlanView(const Bounds& bounds, const PlanBox& box) : m_box(box) {
        const double spanX = bounds.maxX - bounds.minX;
        const double spanY = bounds.maxY - bounds.minY;
        const double fitX = spanX > 0 ? (box.width - 1) / spanX : kNoLimit;
        const double fitY = spanY > 0 ? (box.height - 1) / spanY : kNoLimit;
        m_scale = std::min(fitX, fitY);
        if (m_scale == kNoLimit) {
            m_scale = 0; // a single point: the centre
        }
        m_midX = (bounds.minX + bounds.maxX) / 2;
        m_midY = (bounds.minY + bounds.maxY) / 2;
    }

    double X(double x) const {
        return m_box.left + (m_box.width - 1) / 2.0 + (x - m_midX) * m_scale;
    }
    double Y(double y) const {
        return m_box.top + (m_box.height - 1) / 2.0 - (y - m_midY) * m_scale;
    }
    int Column(double x) const { return ClampTo(std::lround(X(x)), m_box.left, m_box.width); }
    int Row(double y) const { return ClampTo(std::lround(Y(y)), m_box.top, m_box.height); }
    const PlanBox& Box() const { return m_box; }

private:
    static constexpr double kNoLimit = std::numeric_limits<double>::max();
    static int ClampTo(long value, int first, int count) {
        return static_cast<int>(std::clamp<long>(value, first, first + count - 1));
    }

    PlanBox m_box;
    double m_scale = 0;
    double m_midX = 0;
    double m_midY = 0;
};

void DrawLine(Picture& picture, int x0, int y0, int x1, int y1, std::uint8_t index) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        picture.Set(x0, y0, index);
        if (x0 == x1 && y0 == y1) {
            return;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

void DrawSegment(Picture& picture, const PlanView& view, const PlanPoint& a, const PlanPoint& b,
                 std::uint8_t index) {
    DrawLine(picture, view.Column(a.x), view.Row(a.y), view.Column(b.x), view.Row(b.y), index);
}

// Fills the pixels whose centres lie inside the outline (even-odd rule), row by row.
void FillOutline(Picture& picture, const PlanView& view, const std::vector<PlanPoint>& outline,
                 std::uint8_t index, std::vector<double>& crossings) {
    double top = std::numeric_limits<double>::infinity();
    double bottom = -top;
    for (const PlanPoint& p : outline) {
        top = std::min(top, view.Y(p.y));
        bottom = std::max(bottom, view.Y(p.y));
    }
    const PlanBox& box = view.Box();
    const int firstRow = std::max(static_cast<int>(std::ceil(top)), box.top);
    const int lastRow = std::min(static_cast<int>(std::floor(bottom)), box.top + box.height - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        crossings.clear();
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const PlanPoint& a = outline[i];
            const PlanPoint& b = outline[(i + 1) % outline.size()];
            const double ya = view.Y(a.y);
            const double yb = view.Y(b.y);
            if ((ya <= row) != (yb <= row)) {
                const double xa = view.X(a.x);
                crossings.push_back(xa + (row - ya) * (view.X(b.x) - xa) / (yb - ya));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = std::max(static_cast<int>(std::ceil(crossings[i])), box.left);
            const int to =
                std::min(static_cast<int>(std::floor(crossings[i + 1])), box.left + box.width - 1);
            for (int x = from; x <= to; ++x) {
                picture.Set(x, row, index);
            }
        }
    }
}

} // namespace

bool DrawPlan(Picture& picture, const MapPlan& plan, const PlanBox& box, const PlanInk& ink) {
    if (box.width <= 0 || box.height <= 0) {
        return false;
    }
    std::vector<const PlanFloor*> floors;
    std::vector<const PlanWall*> walls;
    Bounds bounds;
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const PlanFloor& floor : plan.floors) {
        if (Usable(floor)) {
            floors.push_back(&floor);
            std::for_each(floor.outline.begin(), floor.outline.end(),
                          [&](const PlanPoint& p) { bounds.Add(p); });
            lowest = std::min(lowest, floor.height);
            highest = std::max(highest, floor.height);
        }
    }
    for (const PlanWall& wall : plan.walls) {
        if (Usable(wall)) {
            walls.push_back(&wall);
            bounds.Add(wall.from);
            bounds.Add(wall.to);
        }
    }
    if (bounds.Empty()) {
        return false;
    }
    const PlanView view(bounds, box);
    std::stable_sort(floors.begin(), floors.end(),
                     [](const PlanFloor* a, const PlanFloor* b) { return a->height < b->height; });
    const int shades = std::max(ink.floorShades, 1);
    const double rise = highest - lowest;
    std::vector<double> crossings;
    for (const PlanFloor* floor : floors) {
        const int shade =
            rise > 0 && std::isfinite(rise)
                ? static_cast<int>(std::lround((floor->height - lowest) / rise * (shades - 1)))
                : shades * 2 / 3;
        const auto index = static_cast<std::uint8_t>(ink.firstFloor + shade);
        FillOutline(picture, view, floor->outline, index, crossings);
        for (std::size_t i = 0; i < floor->outline.size(); ++i) {
            DrawSegment(picture, view, floor->outline[i],
                        floor->outline[(i + 1) % floor->outline.size()], index);
        }
    }
    for (const PlanWall* wall : walls) {
        DrawSegment(picture, view, wall->from, wall->to, ink.wall);
    }
    return true;
}

} // namespace ballotine
