// Text encodings of profile files. Most are in the ANSI code page (taken to
// be 1252 here); a file that starts with a byte-order mark is UTF-8 or
// UTF-16 instead, and its text reaches callers converted to the ANSI code
// page, characters it lacks becoming "?".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace profile::text {

enum class Encoding { ansi, utf8, utf16le, utf16be };

// The encoding a file's bytes announce, and the length of the mark.
Encoding detect(std::string_view bytes, size_t& markLength);

std::string ansiToUtf8(std::string_view ansi);
std::string utf8ToAnsi(std::string_view utf8);
// With `offsets`, also where each byte of the result came from: offsets[i] is
// the position in `bytes` of the UTF-16 unit that UTF-8 byte i was made from
// (for the byte that starts a character; the others repeat it), and the last
// of the result.size() + 1 entries is the end of the last whole unit.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian,
                        std::vector<std::uint32_t>* offsets = nullptr);
std::string utf8ToUtf16(std::string_view utf8, bool bigEndian);

} // namespace profile::text
