// Geometry of the toolbar's button grid: columns, rows, cell sizes, the
// self-resizing rule, the hit test, the placement of a button's picture and
// caption inside its cell, and the background gradient.
#pragma once

#include <cstdint>
#include <vector>

namespace controls {

struct ToolbarGridInput {
    int width = 0;  // control's client width in pixels
    int height = 0; // control's client height in pixels
    int buttonCount = 1;
    int buttonsWidth = 90;
    int buttonsHeight = 40;
    int buttonsPerRow = 3;
    bool autoSize = true;
    bool warpSize = true;
    bool dockedLeftOrRight = false; // keeps its height when self-resizing
    bool dockedTopOrBottom = false; // keeps its width when self-resizing
};

struct ToolbarGrid {
    int buttonsPerRow = 1; // columns actually used (replaces the stored value with AutoSize)
    int rows = 1;
    int columnWidth = 1;
    int rowHeight = 1;
    // The control's size after the self-resizing rule (equal to the input
    // size when WarpSize is off).
    int width = 0;
    int height = 0;
};

ToolbarGrid ComputeToolbarGrid(const ToolbarGridInput& in);

// Index of the button under (x, y), or -1 for none: outside the grid's
// columns, beyond the last button, or on a disabled button.
// `enabled` has one entry per button.
int ToolbarHitTest(const ToolbarGrid& grid, const std::vector<bool>& enabled, int x, int y);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Cell of button `index` in the grid.
Rect ToolbarCell(const ToolbarGrid& grid, int index);

// Where a button's picture and caption go inside its cell.
struct ButtonPlacement {
    bool hasPicture = false;
    int pictureX = 0, pictureY = 0; // top-left corner of the picture
    Rect caption;                   // rectangle the caption lines are drawn in
    int captionAlign = 1;           // lines inside it: 0 left, 1 centred, 2 right
};

// alignment: 0 picture above, caption at the bottom; 1 caption at the top,
// picture below; 2 picture left, caption right; 3 picture right, caption left.
// `captionHeight` is the height of the caption block (all lines).
ButtonPlacement PlaceButtonContent(const Rect& cell, int alignment, int pictureWidth,
                                   int pictureHeight, int captionHeight);

// Width available to the caption lines of a cell: the column width less 10,
// less the picture width when the picture sits left or right.
int CaptionWrapWidth(int columnWidth, int alignment, int pictureWidth);

// Fills `pixels` (width x height, top-down rows, 0x00RRGGBB per pixel as a
// 32-bit DIB holds it) with the background gradient of `type` running from
// `from` to `to` (colours with red in the low byte). Types: 1 horizontal,
// 2 horizontal mirrored, 3 vertical, 4 vertical mirrored, 5 diagonal from the
// top-left corner, 6 diagonal from the bottom-left corner. Any other type
// leaves the pixels untouched and returns false.
bool FillGradient(std::vector<std::uint32_t>& pixels, int width, int height, int type,
                  std::uint32_t from, std::uint32_t to);

} // namespace controls
