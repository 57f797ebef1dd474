// Word wrapping of button captions: splits a text into lines that fit a width,
// breaking after word delimiters. Measuring is left to the caller so the same
// rule serves any font (and tests can use a fixed-width measure).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace controls {

// Width in pixels of a piece of text as it would be drawn.
using TextMeasure = std::function<int(std::string_view)>;

// Every character is a word delimiter except the letters A-Z, a-z and the
// underscore (digits are delimiters too).
bool IsDelim(char c);

// Splits `text` into lines no wider than `width` as measured by `measure`.
// With `filter` set, CR LF pairs are removed first. A line that overflows is
// cut after its last delimiter, or before the overflowing character when it
// has none; the rest, without its leading spaces, starts the next line. A line
// always keeps at least one character, so a width narrower than a single
// character still ends.
std::vector<std::string> SplitToLines(std::string_view text, int width, bool filter,
                                      const TextMeasure& measure);

} // namespace controls
