// The board's cells: how they are numbered, which row, column and block each lies in, which cells
// share an edge, and where each is drawn. Plain C++ for the game, its tools and its tests alike.
#pragma once

#include <array>

namespace core {

// Cells are numbered 1 to 81 row by row from the top and right to left within a row, so cell 1 is
// the top-right corner, cell 9 the top-left and cell 81 the bottom-left.
inline constexpr int cell_count = 81;

// The row of a cell, 0 to 8 from the top.
constexpr int row_of(int cell) {
    return (cell - 1) / 9;
}
// Where a cell lies within its row in the numbering's own order: 0 for the right-most cell.
constexpr int place_of(int cell) {
    return (cell - 1) % 9;
}
// The column of a cell as a player counts it, 0 to 8 from the left.
constexpr int column_of(int cell) {
    return 8 - place_of(cell);
}
// The cell in a row (0 to 8 from the top) and a column as a player counts it (0 to 8 from the
// left).
constexpr int cell_at(int row, int column) {
    return row * 9 + (8 - column) + 1;
}
// The 3 by 3 block of a cell, 0 to 8 in the numbering's order: block 0 is the top-right one.
constexpr int block_of(int cell) {
    return (row_of(cell) / 3) * 3 + place_of(cell) / 3;
}

// The cells sharing an edge with a cell, in a fixed order: the next one to the right on screen
// (k - 1), the next one to the left (k + 1), the one above (k - 9) and the one below (k + 9).
// The generator walks them in this order, so the catalogue depends on it.
struct Neighbours {
    std::array<int, 4> cells{};
    int count = 0;
    constexpr const int* begin() const { return cells.data(); }
    constexpr const int* end() const { return cells.data() + count; }
};
constexpr Neighbours neighbours_of(int cell) {
    Neighbours out;
    if (place_of(cell) > 0) {
        out.cells[out.count++] = cell - 1;
    }
    if (place_of(cell) < 8) {
        out.cells[out.count++] = cell + 1;
    }
    if (cell > 9) {
        out.cells[out.count++] = cell - 9;
    }
    if (cell <= cell_count - 9) {
        out.cells[out.count++] = cell + 9;
    }
    return out;
}

// A rectangle in window pixels.
struct Bounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The left edges of the columns counted from the left, and the top edges of the rows: 51 pixels
// apart inside a block, 53 across a block seam.
inline constexpr std::array<int, 9> column_x = {56, 107, 158, 211, 262, 313, 366, 417, 468};
inline constexpr std::array<int, 9> row_y = {50, 101, 152, 205, 256, 307, 360, 411, 462};
// Every cell is 52 pixels square, so neighbours inside a block share a border line.
inline constexpr int cell_size = 52;

constexpr Bounds cell_bounds(int cell) {
    return {column_x[column_of(cell)], row_y[row_of(cell)], cell_size, cell_size};
}

// A sum label sits two pixels into the top-left corner of its cell, at a size of its own.
inline constexpr int sum_label_inset = 2;
inline constexpr int sum_label_width = 19;
inline constexpr int sum_label_height = 13;

constexpr Bounds sum_label_bounds(int cell) {
    const Bounds c = cell_bounds(cell);
    return {c.x + sum_label_inset, c.y + sum_label_inset, sum_label_width, sum_label_height};
}

} // namespace core
