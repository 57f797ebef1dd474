// Status bar arithmetic: which look to draw, the panel index rule, the panel
// rectangles and the colours of the background rows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "controls/pure/toolbar_layout.h" // Rect

namespace controls {

enum StatusLook { kLookClassic = 1, kLookBlue = 2, kLookOlive = 3, kLookSilver = 4 };

// True only for a system reporting version 5.1, build 2600 or later, on the NT
// platform: the one system whose visual-style colour schemes the bar knows.
bool IsWinXPVersion(unsigned major, unsigned minor, unsigned build, bool ntPlatform);

// The colour-scheme name as the bar compares it: the text up to the first NUL,
// trimmed; "None" when that is empty and "UxTheme_Error" when the query failed.
std::string NormalizeSchemeName(const std::string& raw, bool queryFailed);

// Look of a colour-scheme name: "NormalColor" blue, "HomeStead" olive,
// "Metallic" silver, "None" and "UxTheme_Error" classic, anything else blue.
int LookFromScheme(const std::string& scheme);

// Look to draw for the Theme property: 1-4 force that look, any other non-zero
// value is blue, and 0 follows the desktop (only on the system IsWinXPVersion
// accepts; elsewhere classic).
int ResolveLook(int theme, bool isWinXP, const std::string& scheme);

// A non-zero grip shape becomes 2 in the classic look and 1 in the others.
int ResolveGripShape(int gripShape, int look);

// Width of the grip area at the bar's right end that panels never reach into.
int GripAreaWidth(int look);

// Panel index rule: an index below 1 is the first panel and one above the
// count the last; returns the zero-based slot, or -1 when there are no panels.
int PanelSlot(int index, int count);

// A fixed panel width below 1 becomes 40 pixels.
int NormalizePanelWidth(int width);

struct PanelMetrics {
    int textWidth = 0; // width of the panel's text in its font
    bool textEmpty = true;
    bool autoSize = false;
    bool hasIcon = false;
    int width = 40; // fixed width when not auto-sized
};

// Rectangles of the panels, left to right, for a bar of the given size.
// `gripArea` is the width kept free at the right end (0 when there is no grip).
std::vector<Rect> LayoutPanels(const std::vector<PanelMetrics>& panels, int barWidth, int barHeight,
                               int gripArea);

// Edge colour of a visual-style look (the line under the white top row).
std::uint32_t LookEdgeColour(int look);

// Colour of every pixel row of the bar's background, top to bottom, for a
// bar of `height` rows in `look` with back colour `backColour` (RGB, red in
// the low byte; system colours already translated).
std::vector<std::uint32_t> BackgroundRows(std::uint32_t backColour, int look, int height);

// The two colours of the line between panels in the visual-style looks: the
// half-and-half mix of grey 144,144,144 with the back colour, then a light one.
std::pair<std::uint32_t, std::uint32_t> SeparatorColours(std::uint32_t backColour);

} // namespace controls
