#include "bsp/CellGrid.h"

#include <algorithm>

namespace ballotine::bsp {

CellGrid::CellGrid(const Box& region, bool filled, const std::vector<Paint>& paints) {
    for (int axis = 0; axis < 3; ++axis) {
        std::vector<int>& coords = m_coords[axis];
        coords = {region.min[axis], region.max[axis]};
        for (const Paint& paint : paints) {
            for (const int value : {paint.box.min[axis], paint.box.max[axis]}) {
                coords.push_back(std::clamp(value, region.min[axis], region.max[axis]));
            }
        }
        std::sort(coords.begin(), coords.end());
        coords.erase(std::unique(coords.begin(), coords.end()), coords.end());
    }
    m_solid.assign(static_cast<std::size_t>(CellsAlong(0)) *
                       static_cast<std::size_t>(CellsAlong(1)) *
                       static_cast<std::size_t>(CellsAlong(2)),
                   filled ? 1 : 0);
    for (const Paint& paint : paints) {
        CellRange range;
        bool empty = false;
        for (int axis = 0; axis < 3; ++axis) {
            range.lo[axis] = CellOf(axis, std::max(paint.box.min[axis], region.min[axis]));
            range.hi[axis] = CellOf(axis, std::min(paint.box.max[axis], region.max[axis]));
            empty = empty || range.lo[axis] >= range.hi[axis];
        }
        if (!empty) {
            Fill(range, paint.solid);
        }
    }
    CountSolids();
}

CellRange CellGrid::All() const {
    return {{0, 0, 0}, {CellsAlong(0), CellsAlong(1), CellsAlong(2)}};
}

Box CellGrid::BoxOf(const CellRange& range) const {
    Box box;
    for (int axis = 0; axis < 3; ++axis) {
        box.min[axis] = Coordinate(axis, range.lo[axis]);
        box.max[axis] = Coordinate(axis, range.hi[axis]);
    }
    return box;
}

std::size_t CellGrid::Index(int x, int y, int z) const {
    return (static_cast<std::size_t>(x) * static_cast<std::size_t>(CellsAlong(1)) +
            static_cast<std::size_t>(y)) *
               static_cast<std::size_t>(CellsAlong(2)) +
           static_cast<std::size_t>(z);
}

int CellGrid::CellOf(int axis, int coordinate) const {
    const std::vector<int>& coords = m_coords[axis];
    return static_cast<int>(std::lower_bound(coords.begin(), coords.end(), coordinate) -
                            coords.begin());
}

void CellGrid::Fill(const CellRange& range, bool solid) {
    for (int x = range.lo[0]; x < range.hi[0]; ++x) {
        for (int y = range.lo[1]; y < range.hi[1]; ++y) {
            for (int z = range.lo[2]; z < range.hi[2]; ++z) {
                m_solid[Index(x, y, z)] = solid ? 1 : 0;
            }
        }
    }
}

void CellGrid::CountSolids() {
    const auto nx = static_cast<std::size_t>(CellsAlong(0)) + 1;
    const auto ny = static_cast<std::size_t>(CellsAlong(1)) + 1;
    const auto nz = static_cast<std::size_t>(CellsAlong(2)) + 1;
    m_prefix.assign(nx * ny * nz, 0);
    const auto at = [&](std::size_t x, std::size_t y, std::size_t z) -> std::int32_t& {
        return m_prefix[(x * ny + y) * nz + z];
    };
    for (std::size_t x = 1; x < nx; ++x) {
        for (std::size_t y = 1; y < ny; ++y) {
            for (std::size_t z = 1; z < nz; ++z) {
                const std::int32_t cell = m_solid[Index(
                    static_cast<int>(x - 1), static_cast<int>(y - 1), static_cast<int>(z - 1))];
                at(x, y, z) = cell + at(x - 1, y, z) + at(x, y - 1, z) + at(x, y, z - 1) -
                              at(x - 1, y - 1, z) - at(x - 1, y, z - 1) - at(x, y - 1, z - 1) +
                              at(x - 1, y - 1, z - 1);
            }
        }
    }
}

std::int64_t CellGrid::CellCount(const CellRange& range) const {
    std::int64_t count = 1;
    for (int axis = 0; axis < 3; ++axis) {
        count *= range.hi[axis] - range.lo[axis];
    }
    return count;
}

std::int64_t CellGrid::SolidCount(const CellRange& range) const {
    const auto ny = static_cast<std::size_t>(CellsAlong(1)) + 1;
    const auto nz = static_cast<std::size_t>(CellsAlong(2)) + 1;
    const auto at = [&](int x, int y, int z) -> std::int64_t {
        return m_prefix[(static_cast<std::size_t>(x) * ny + static_cast<std::size_t>(y)) * nz +
                        static_cast<std::size_t>(z)];
    };
    const auto& [x0, y0, z0] = range.lo;
    const auto& [x1, y1, z1] = range.hi;
    return at(x1, y1, z1) - at(x0, y1, z1) - at(x1, y0, z1) - at(x1, y1, z0) + at(x0, y0, z1) +
           at(x0, y1, z0) + at(x1, y0, z0) - at(x0, y0, z0);
}

std::vector<Box> CellGrid::SolidBoxes() const {
    std::vector<std::uint8_t> taken(m_solid.size(), 0);
    const auto free = [&](int x, int y, int z) {
        return IsSolid(x, y, z) && taken[Index(x, y, z)] == 0;
    };
    const auto rowFree = [&](int x, int y, int z0, int z1) {
        for (int z = z0; z < z1; ++z) {
            if (!free(x, y, z)) {
                return false;
            }
        }
        return true;
    };
    std::vector<Box> boxes;
    for (int x = 0; x < CellsAlong(0); ++x) {
        for (int y = 0; y < CellsAlong(1); ++y) {
            for (int z = 0; z < CellsAlong(2); ++z) {
                if (!free(x, y, z)) {
                    continue;
                }
                CellRange range{{x, y, z}, {x + 1, y + 1, z + 1}};
                while (range.hi[2] < CellsAlong(2) && free(x, y, range.hi[2])) {
                    ++range.hi[2];
                }
                while (range.hi[1] < CellsAlong(1) && rowFree(x, range.hi[1], z, range.hi[2])) {
                    ++range.hi[1];
                }
                const auto sliceFree = [&](int sx) {
                    for (int sy = y; sy < range.hi[1]; ++sy) {
                        if (!rowFree(sx, sy, z, range.hi[2])) {
                            return false;
                        }
                    }
                    return true;
                };
                while (range.hi[0] < CellsAlong(0) && sliceFree(range.hi[0])) {
                    ++range.hi[0];
                }
                for (int tx = x; tx < range.hi[0]; ++tx) {
                    for (int ty = y; ty < range.hi[1]; ++ty) {
                        for (int tz = z; tz < range.hi[2]; ++tz) {
                            taken[Index(tx, ty, tz)] = 1;
                        }
                    }
                }
                boxes.push_back(BoxOf(range));
            }
        }
    }
    return boxes;
}

} // namespace ballotine::bsp
