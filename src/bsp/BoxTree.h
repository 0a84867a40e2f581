#pragma once

#include "bsp/CellGrid.h"

#include <array>
#include <vector>

namespace ballotine::bsp {

// A binary space partition of a CellGrid by planes along the axes, down to blocks of cells
// that are all solid or all open. Children are node indices (>= 0) or leaves (-1 - index).
struct TreeNode {
    int axis = 0;
    int coordinate = 0; // the plane: points with axis value >= coordinate lie in front
    int front = 0;
    int back = 0;
    CellRange range;
};

// Which node made each side of a leaf's block (-1: the grid's own edge), sides in the order
// low x, high x, low y, high y, low z, high z.
struct TreeLeaf {
    bool solid = false;
    CellRange range;
    std::array<int, 6> sideNodes{};
};

struct BoxTree {
    std::vector<TreeNode> nodes;
    std::vector<TreeLeaf> leaves;
    int root = 0;
};

// Splits where the fewest cells stay in mixed blocks, preferring a split that leaves a large
// block whole and then one that halves the block: exact for any grid, small for rooms.
BoxTree BuildBoxTree(const CellGrid& grid);

} // namespace ballotine::bsp
