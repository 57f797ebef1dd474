#include "app/pure/search_sort.h"

#include <algorithm>
#include <cstdlib>

namespace app {

namespace {

// Unicode code of each code page 1252 byte: the bytes 0x80-0x9F stand for
// characters beyond Latin-1 (the euro sign, typographic quotes, ...).
unsigned codeOf(unsigned char c) {
    static const unsigned short k80[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    return c >= 0x80 && c < 0xA0 ? k80[c - 0x80] : c;
}

char upper(char ch) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<char>(c - 32);
    switch (c) {
    case 0x9A:
        return static_cast<char>(0x8A); // s caron
    case 0x9C:
        return static_cast<char>(0x8C); // oe
    case 0x9E:
        return static_cast<char>(0x8E); // z caron
    case 0xFF:
        return static_cast<char>(0x9F); // y diaeresis
    default:
        return ch;
    }
}

std::string trimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// The stored position as a whole number; -1 when empty or not a number.
long parsePosition(const std::string& text) {
    std::string t = trimBlanks(text);
    if (t.empty())
        return -1;
    char* end = nullptr;
    long v = std::strtol(t.c_str(), &end, 10);
    return end && *end == '\0' ? v : -1;
}

} // namespace

std::string upperAnsi(std::string text) {
    for (char& c : text)
        c = upper(c);
    return text;
}

SearchOutcome searchStep(const std::vector<std::string>& entries, const std::string& boxText,
                         const std::string& position) {
    SearchOutcome out;
    const std::string term = upperAnsi(trimBlanks(boxText));
    const long last = std::min<long>(static_cast<long>(entries.size()) - 1, kSearchScanCap);
    // The next position after the stored one; a stored number at or past the
    // end (up to LONG_MAX, where adding one would overflow) starts past it.
    const long stored = parsePosition(position);
    const long start = stored < 0 ? 0 : stored >= last ? last + 1 : stored + 1;
    for (long i = start; i <= last; ++i) {
        if (upperAnsi(entries[static_cast<size_t>(i)]).find(term) == std::string::npos)
            continue;
        out.select = static_cast<int>(i);
        if (i < last) {
            out.position = std::to_string(i);
            return out;
        }
        break;
    }
    out.position = "-1";
    out.wrapped = true;
    return out;
}

bool ordinalLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return codeOf(static_cast<unsigned char>(x)) < codeOf(static_cast<unsigned char>(y));
    });
}

void sortAZ(std::vector<std::string>& items) {
    std::stable_sort(items.begin(), items.end(), ordinalLess);
}

} // namespace app
