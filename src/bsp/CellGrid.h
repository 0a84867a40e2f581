#pragma once

#include "bsp/MapLayout.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ballotine::bsp {

// A block of cells of a CellGrid: indices [lo, hi) on each axis.
struct CellRange {
    std::array<int, 3> lo{};
    std::array<int, 3> hi{};
};

// One box painted solid or open, in the order given.
struct Paint {
    Box box;
    bool solid = true;
};

// A region of space cut into cells by every coordinate the painted boxes have, so that each
// cell is wholly solid or wholly open. Counting the solid cells of any block takes constant
// time (a table of prefix sums), which is what the tree builder asks most.
class CellGrid {
public:
    // `region` starts solid or open as `filled` says; the paints then apply in order, each
    // clipped to the region.
    CellGrid(const Box& region, bool filled, const std::vector<Paint>& paints);

    int CellsAlong(int axis) const { return static_cast<int>(m_coords[axis].size()) - 1; }
    // The coordinate of the boundary `index` (0 .. CellsAlong) on the axis.
    int Coordinate(int axis, int index) const {
        return m_coords[axis][static_cast<std::size_t>(index)];
    }
    CellRange All() const;
    Box BoxOf(const CellRange& range) const;

    bool IsSolid(int x, int y, int z) const { return m_solid[Index(x, y, z)] != 0; }
    std::int64_t CellCount(const CellRange& range) const;
    std::int64_t SolidCount(const CellRange& range) const;

    // The solid cells joined into as few boxes as a greedy sweep finds.
    std::vector<Box> SolidBoxes() const;

private:
    std::size_t Index(int x, int y, int z) const;
    int CellOf(int axis, int coordinate) const;
    void Fill(const CellRange& range, bool solid);
    void CountSolids();

    std::array<std::vector<int>, 3> m_coords;
    std::vector<std::uint8_t> m_solid;
    std::vector<std::int32_t> m_prefix; // solid cells in [0, x) x [0, y) x [0, z)
};

} // namespace ballotine::bsp
