// The Options page's plain-text list files (one item per line).
#pragma once

#include <string>
#include <vector>

namespace app {

// The lines of a list file's bytes, each without its terminator (CR LF, or a
// lone LF or CR) and otherwise unchanged. Empty lines are items too; a last
// line without terminator is read as well; an empty file has no lines.
std::vector<std::string> listFileLines(const std::string& bytes);

} // namespace app
