#include "controls/pure/toolbar_layout.h"

#include <algorithm>

#include "controls/pure/colour.h"

namespace controls {

ToolbarGrid ComputeToolbarGrid(const ToolbarGridInput& in) {
    ToolbarGrid g;
    const int bw = std::max(1, in.buttonsWidth);
    const int bh = std::max(1, in.buttonsHeight);
    const int count = std::max(1, in.buttonCount);
    g.width = in.width;
    g.height = in.height;
    if (in.autoSize) {
        g.buttonsPerRow = std::max(1, in.width / bw);
        g.rows = (count - 1) / g.buttonsPerRow + 1;
        if (g.buttonsPerRow >= count || in.warpSize)
            g.columnWidth = bw;
        else
            g.columnWidth = in.width / g.buttonsPerRow;
        g.rowHeight = std::max(in.height / g.rows, bh);
    } else {
        g.buttonsPerRow = std::max(1, in.buttonsPerRow);
        g.rows = (count - 1) / g.buttonsPerRow + 1;
        g.columnWidth = bw;
        g.rowHeight = bh;
    }
    g.columnWidth = std::max(1, g.columnWidth);
    g.rowHeight = std::max(1, g.rowHeight);
    if (in.warpSize) {
        g.width = std::max(g.width, bw);
        if (!in.dockedLeftOrRight)
            g.height = g.rows * bh;
        if (!in.dockedTopOrBottom)
            g.width = g.buttonsPerRow * g.columnWidth;
    }
    return g;
}

int ToolbarHitTest(const ToolbarGrid& grid, const std::vector<bool>& enabled, int x, int y) {
    if (x < 0 || y < 0)
        return -1;
    // Columns are checked against the width the cells are drawn with, so the
    // whole of the last column answers (with AutoSize the cells can be wider
    // than ButtonsWidth).
    const int column = x / grid.columnWidth;
    if (column >= grid.buttonsPerRow)
        return -1;
    const long long index =
        static_cast<long long>(y / grid.rowHeight) * grid.buttonsPerRow + column;
    if (index >= static_cast<long long>(enabled.size()))
        return -1;
    if (!enabled[static_cast<size_t>(index)])
        return -1;
    return static_cast<int>(index);
}

Rect ToolbarCell(const ToolbarGrid& grid, int index) {
    const int perRow = std::max(1, grid.buttonsPerRow);
    const int col = index % perRow;
    const int row = index / perRow;
    Rect r;
    r.left = col * grid.columnWidth;
    r.top = row * grid.rowHeight;
    r.right = r.left + grid.columnWidth;
    r.bottom = r.top + grid.rowHeight;
    return r;
}

int CaptionWrapWidth(int columnWidth, int alignment, int pictureWidth) {
    int w = columnWidth - 10;
    if (alignment == 2 || alignment == 3)
        w -= pictureWidth;
    return w;
}

ButtonPlacement PlaceButtonContent(const Rect& cell, int alignment, int pictureWidth,
                                   int pictureHeight, int captionHeight) {
    constexpr int kMargin = 5; // caption inset from the cell's edges
    constexpr int kGap = 4;    // between picture and caption
    ButtonPlacement p;
    p.hasPicture = pictureWidth > 0 && pictureHeight > 0;
    p.caption.left = cell.left + kMargin;
    p.caption.right = cell.right - kMargin;
    // The caption rectangle starts kMargin below the computed top.
    auto centredTop = [&](int h) { return cell.top + (cell.height() - h) / 2 - kMargin; };
    int top = 0;
    if (alignment == 2 || alignment == 3) {
        p.captionAlign = alignment == 2 ? 0 : 2;
        top = centredTop(captionHeight);
        if (p.hasPicture) {
            p.pictureY = cell.top + (cell.height() - pictureHeight) / 2;
            if (alignment == 2) {
                p.pictureX = cell.left + kMargin + 1;
                p.caption.left = p.pictureX + pictureWidth + kGap;
            } else {
                p.pictureX = cell.right - kMargin - 1 - pictureWidth;
                p.caption.right = p.pictureX - kGap;
            }
        }
    } else {
        p.captionAlign = 1;
        const int pictureX = cell.left + (cell.width() - pictureWidth) / 2;
        if (!p.hasPicture) {
            top = centredTop(captionHeight);
        } else if (alignment == 1) {
            // Caption block at the top of the cell, picture centred in the rest.
            top = cell.top;
            const int below = top + kMargin + captionHeight;
            p.pictureX = pictureX;
            p.pictureY = below + std::max(0, (cell.bottom - below - pictureHeight) / 2);
        } else {
            // Picture above, caption block at the bottom of the cell.
            top = cell.bottom - captionHeight - 2 * kMargin;
            const int above = top + kMargin;
            p.pictureX = pictureX;
            p.pictureY = cell.top + std::max(0, (above - cell.top - pictureHeight) / 2);
        }
    }
    p.caption.top = top + kMargin;
    p.caption.bottom = p.caption.top + captionHeight;
    return p;
}

namespace {

// The gradient colour at step i of n as a DIB pixel (blue in the low byte).
std::uint32_t GradientPixel(std::uint32_t from, std::uint32_t to, int i, int n) {
    return swapRedBlue(GradientStep(from, to, i, n));
}

// Colours of a run of n steps; mirrored runs go out to the middle and back.
std::vector<std::uint32_t> GradientRun(std::uint32_t from, std::uint32_t to, int n, bool mirrored) {
    std::vector<std::uint32_t> run(static_cast<size_t>(std::max(0, n)));
    if (n <= 0)
        return run;
    if (!mirrored) {
        for (int i = 0; i < n; ++i)
            run[static_cast<size_t>(i)] = GradientPixel(from, to, i, n);
        return run;
    }
    const int half = (n + 1) / 2;
    for (int i = 0; i < half; ++i) {
        const std::uint32_t c = GradientPixel(from, to, i, half);
        run[static_cast<size_t>(i)] = c;
        run[static_cast<size_t>(n - 1 - i)] = c;
    }
    return run;
}

} // namespace

bool FillGradient(std::vector<std::uint32_t>& pixels, int width, int height, int type,
                  std::uint32_t from, std::uint32_t to) {
    if (type < 1 || type > 6 || width <= 0 || height <= 0)
        return false;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    auto at = [&](int x, int y) -> std::uint32_t& {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    };
    if (type == 1 || type == 2) {
        const auto run = GradientRun(from, to, width, type == 2);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                at(x, y) = run[static_cast<size_t>(x)];
    } else if (type == 3 || type == 4) {
        const auto run = GradientRun(from, to, height, type == 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                at(x, y) = run[static_cast<size_t>(y)];
    } else {
        // Diagonals: one colour per anti-diagonal (type 5, from the top-left
        // corner) or per diagonal (type 6, from the bottom-left corner).
        const auto run = GradientRun(from, to, width + height - 1, false);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int step = type == 5 ? x + y : x + (height - 1 - y);
                at(x, y) = run[static_cast<size_t>(step)];
            }
    }
    return true;
}

} // namespace controls
