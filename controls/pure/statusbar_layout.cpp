#include "controls/pure/statusbar_layout.h"

#include <algorithm>

#include "controls/pure/colour.h"

namespace controls {

bool IsWinXPVersion(unsigned major, unsigned minor, unsigned build, bool ntPlatform) {
    return ntPlatform && major == 5 && minor == 1 && build >= 2600;
}

std::string NormalizeSchemeName(const std::string& raw, bool queryFailed) {
    if (queryFailed)
        return "UxTheme_Error";
    std::string s = raw.substr(0, raw.find('\0'));
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "None";
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

int LookFromScheme(const std::string& scheme) {
    if (scheme == "None" || scheme == "UxTheme_Error")
        return kLookClassic;
    if (scheme == "HomeStead")
        return kLookOlive;
    if (scheme == "Metallic")
        return kLookSilver;
    return kLookBlue; // "NormalColor" and any scheme the bar does not know
}

int ResolveLook(int theme, bool isWinXP, const std::string& scheme) {
    if (theme == 0)
        return isWinXP ? LookFromScheme(scheme) : kLookClassic;
    if (theme >= kLookClassic && theme <= kLookSilver)
        return theme;
    return kLookBlue;
}

int ResolveGripShape(int gripShape, int look) {
    if (gripShape == 0)
        return 0;
    return look == kLookClassic ? 2 : 1;
}

int GripAreaWidth(int look) {
    return look == kLookClassic ? 16 : 18;
}

int PanelSlot(int index, int count) {
    if (count <= 0)
        return -1;
    return std::clamp(index, 1, count) - 1;
}

int NormalizePanelWidth(int width) {
    return width < 1 ? 40 : width;
}

std::vector<Rect> LayoutPanels(const std::vector<PanelMetrics>& panels, int barWidth, int barHeight,
                               int gripArea) {
    std::vector<Rect> rects;
    rects.reserve(panels.size());
    const int limit = std::max(0, barWidth - gripArea);
    int left = 0;
    for (const auto& p : panels) {
        int w;
        if (p.autoSize)
            w = p.textEmpty ? 20 : p.textWidth + 8;
        else
            w = NormalizePanelWidth(p.width);
        if (p.hasIcon)
            w += 18;
        Rect r;
        r.left = std::min(left, limit);
        r.right = std::min(left + w, limit);
        r.top = 5;
        r.bottom = std::max(r.top, barHeight - 5);
        rects.push_back(r);
        left += w;
    }
    return rects;
}

std::uint32_t LookEdgeColour(int look) {
    switch (look) {
    case kLookOlive:
        return 0x69A18B; // #8BA169
    case kLookSilver:
        return 0x947C7C; // #7C7C94
    default:
        return 0xB99D7F; // #7F9DB9
    }
}

} // namespace controls

namespace controls {

std::vector<std::uint32_t> BackgroundRows(std::uint32_t backColour, int look, int height) {
    std::vector<std::uint32_t> rows(static_cast<size_t>(std::max(0, height)));
    if (height <= 0)
        return rows;
    backColour &= 0x00FFFFFFu;
    const Colour base = ShiftColor(backColour, -1);
    if (look == kLookClassic) {
        std::fill(rows.begin(), rows.end(), backColour);
        if (height > 1)
            rows[1] = ShiftColor(base, -80);
        return rows;
    }
    const Colour white = rgb(255, 255, 255);
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = MixColor(base, white, y * 48 / height);
    // The bottom rows darken step by step towards the lower edge.
    for (int k = 1; k <= 3 && height - k > 3; ++k) {
        auto& c = rows[static_cast<size_t>(height - k)];
        c = ShiftColor(c, -8 * (4 - k));
    }
    rows[0] = white;
    if (height > 1)
        rows[1] = MixColor(ShiftColor(base, -64), LookEdgeColour(look), 128);
    if (height > 2)
        rows[2] = ShiftColor(base, -37);
    if (height > 3)
        rows[3] = ShiftColor(base, -9);
    return rows;
}

std::pair<std::uint32_t, std::uint32_t> SeparatorColours(std::uint32_t backColour) {
    backColour &= 0x00FFFFFFu;
    return {MixColor(rgb(144, 144, 144), backColour, 128),
            MixColor(rgb(255, 255, 255), backColour, 96)};
}

} // namespace controls
