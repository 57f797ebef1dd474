// The link queue's rules, free of any window code: its file format, the
// tidying that drops repeated links, the text copied for a selection and the
// blacklist test.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace links {

// The most links the queue holds.
constexpr std::size_t kMaxLinks = 32767;

struct ParsedQueue {
    std::vector<std::string> links;
    bool truncated = false; // the file held more than kMaxLinks lines
};

// The lines of a queue file, in order, each taken whole (no trimming; an
// empty line is an empty link). A line ends with CR LF, or with a lone CR or
// LF; a last line without an ending still counts. At most kMaxLinks are kept.
ParsedQueue parseQueue(std::string_view bytes);

// The file text of a queue: every link followed by CR LF, the last one too;
// an empty queue is empty text.
std::string formatQueue(const std::vector<std::string>& links);

// Positions (ascending) of the links that repeat an earlier one: removing
// them keeps each link's first occurrence, in order. Exact, case-sensitive
// comparison; one pass with a hash set.
std::vector<std::size_t> repeatedLinks(const std::vector<std::string>& links);

// Removes the repeated links in place; true when any was removed.
bool tidyQueue(std::vector<std::string>& links);

// The clipboard text of the selected links: each followed by CR LF, in list
// order; empty when none is selected. `selected` is parallel to `links`.
std::string selectionText(const std::vector<std::string>& links, const std::vector<bool>& selected);

// Whether some blacklist entry occurs in the link (exact, case-sensitive
// substring). An empty entry occurs in every non-empty link; nothing occurs
// in an empty link; an empty blacklist blocks nothing.
bool blacklisted(std::string_view link, const std::vector<std::string>& blacklist);

} // namespace links
