#include "bsp/BoxTree.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace ballotine::bsp {

namespace {

struct Split {
    int axis = -1;
    int index = 0;
};

class TreeBuilder {
public:
    explicit TreeBuilder(const CellGrid& grid) : m_grid(grid) {}

    BoxTree Build() {
        std::array<int, 6> sides;
        sides.fill(-1);
        m_tree.root = Grow(m_grid.All(), sides);
        return std::move(m_tree);
    }

private:
    int Grow(const CellRange& range, const std::array<int, 6>& sides) {
        const std::int64_t solids = m_grid.SolidCount(range);
        if (solids == 0 || solids == m_grid.CellCount(range)) {
            m_tree.leaves.push_back({solids != 0, range, sides});
            return -static_cast<int>(m_tree.leaves.size());
        }
        const Split split = ChooseSplit(range, solids);
        const int index = static_cast<int>(m_tree.nodes.size());
        m_tree.nodes.push_back(
            {split.axis, m_grid.Coordinate(split.axis, split.index), 0, 0, range});
        CellRange low = range;
        CellRange high = range;
        low.hi[split.axis] = split.index;
        high.lo[split.axis] = split.index;
        std::array<int, 6> lowSides = sides;
        std::array<int, 6> highSides = sides;
        lowSides[2 * split.axis + 1] = index;
        highSides[2 * split.axis] = index;
        const int back = Grow(low, lowSides);
        const int front = Grow(high, highSides);
        m_tree.nodes[static_cast<std::size_t>(index)].back = back;
        m_tree.nodes[static_cast<std::size_t>(index)].front = front;
        return index;
    }

    Split ChooseSplit(const CellRange& range, std::int64_t solids) const {
        const std::int64_t cells = m_grid.CellCount(range);
        Split best;
        std::tuple<std::int64_t, std::int64_t, std::int64_t> bestKey{};
        for (int axis = 0; axis < 3; ++axis) {
            for (int index = range.lo[axis] + 1; index < range.hi[axis]; ++index) {
                CellRange low = range;
                low.hi[axis] = index;
                const std::int64_t lowCells = m_grid.CellCount(low);
                const std::int64_t lowSolids = m_grid.SolidCount(low);
                const std::int64_t highCells = cells - lowCells;
                const std::int64_t highSolids = solids - lowSolids;
                const auto mixed = [](std::int64_t part, std::int64_t all) {
                    return std::min(part, all - part);
                };
                const auto whole = [](std::int64_t part, std::int64_t all) {
                    return part == 0 || part == all ? all : 0;
                };
                const std::tuple key{mixed(lowSolids, lowCells) + mixed(highSolids, highCells),
                                     -(whole(lowSolids, lowCells) + whole(highSolids, highCells)),
                                     lowCells > highCells ? lowCells - highCells
                                                          : highCells - lowCells};
                if (best.axis < 0 || key < bestKey) {
                    best = {axis, index};
                    bestKey = key;
                }
            }
        }
        return best;
    }

    const CellGrid& m_grid;
    BoxTree m_tree;
};

} // namespace

BoxTree BuildBoxTree(const CellGrid& grid) {
    return TreeBuilder(grid).Build();
}

} // namespace ballotine::bsp
