#pragma once
// Where the room editor's views show a room, in view pixels: the top view has 20 pixels a
// sector, the side views 16 pixels a sector across and 16 pixels a cell of 4 clicks up, 64
// cells high (levels 0..255). The views are drawn by drawing/room_views; the editing here
// reads a click on them back as a sector and a cell, with the same measures.
namespace cw {

inline constexpr int kTopViewCell = 20;   // top view pixels per sector
inline constexpr int kSideViewCell = 16;  // side view pixels per sector and per 4 clicks
inline constexpr int kSideViewRows = 64;  // side view cells from level 0 to level 255
inline constexpr int kSideViewHeight = kSideViewCell * kSideViewRows + 2;  // 1026

// The cell that pixel offset `a` falls into for cells of `b` pixels (b > 0), rounding towards
// minus infinity, so that the pixels before a view's first cell map before it.
constexpr int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace cw
