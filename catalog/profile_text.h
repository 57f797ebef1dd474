// Text encodings of profile files. Most are in the ANSI code page (taken to
// be 1252 here); a file that starts with a byte-order mark is UTF-8 or
// UTF-16 instead, and its text reaches callers converted to the ANSI code
// page, characters it lacks becoming "?".
#pragma once

#include <string>
#include <string_view>

namespace profile::text {

enum class Encoding { ansi, utf8, utf16le, utf16be };

// The encoding a file's bytes announce, and the length of the mark.
Encoding detect(std::string_view bytes, size_t& markLength);

std::string ansiToUtf8(std::string_view ansi);
std::string utf8ToAnsi(std::string_view utf8);
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string utf8ToUtf16(std::string_view utf8, bool bigEndian);

} // namespace profile::text
