// Numbers read back from the settings file: accepted only when the text is
// numeric, then held as a signed 16-bit whole number, rounded to the nearest
// with halves to even (2.5 gives 2, 3.5 gives 4).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace forms {

// The value of a numeric text: optional blanks, a sign, digits with an
// optional decimal point, an optional exponent, optional blanks. nullopt for
// anything else ("True", "", "12px").
inline std::optional<double> storedNumber(const std::string& text) {
    size_t i = 0, n = text.size();
    auto blank = [&](size_t k) { return text[k] == ' ' || text[k] == '\t'; };
    while (i < n && blank(i))
        ++i;
    size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        if (e < n && (text[e] == '+' || text[e] == '-'))
            ++e;
        size_t expDigits = 0;
        while (e < n && text[e] >= '0' && text[e] <= '9')
            ++e, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
        i = e;
    }
    size_t end = i;
    while (i < n && blank(i))
        ++i;
    if (i != n)
        return std::nullopt;
    return std::strtod(text.substr(start, end - start).c_str(), nullptr);
}

// Rounded to the nearest whole number, halves to even; nullopt beyond the
// signed 16-bit range.
inline std::optional<int16_t> toInt16(double value) {
    double r = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (!(r >= -32768.0 && r <= 32767.0))
        return std::nullopt;
    return static_cast<int16_t>(r);
}

} // namespace forms
