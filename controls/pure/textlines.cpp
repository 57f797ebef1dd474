#include "controls/pure/textlines.h"

namespace controls {

bool IsDelim(char c) {
    if (c >= 'A' && c <= 'Z')
        return false;
    if (c >= 'a' && c <= 'z')
        return false;
    return c != '_';
}

namespace {

std::string RemoveCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

std::string_view TrimLeadingSpaces(std::string_view s) {
    size_t n = 0;
    while (n < s.size() && s[n] == ' ')
        ++n;
    return s.substr(n);
}

} // namespace

std::vector<std::string> SplitToLines(std::string_view text, int width, bool filter,
                                      const TextMeasure& measure) {
    std::string filtered;
    if (filter) {
        filtered = RemoveCrLf(text);
        text = filtered;
    }
    std::vector<std::string> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        size_t lastDelim = std::string_view::npos; // index of the last delimiter in the line
        size_t cut = rest.size();                  // whole rest fits unless found otherwise
        for (size_t i = 0; i < rest.size(); ++i) {
            if (i > 0 && measure(rest.substr(0, i + 1)) > width) {
                cut = lastDelim != std::string_view::npos ? lastDelim + 1 : i;
                break;
            }
            if (IsDelim(rest[i]))
                lastDelim = i;
        }
        lines.emplace_back(rest.substr(0, cut));
        rest = TrimLeadingSpaces(rest.substr(cut));
    }
    return lines;
}

} // namespace controls
