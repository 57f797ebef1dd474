// Plain file-system operations over the Win32 API (ANSI paths).
#pragma once

#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the files in `folder` (with a trailing backslash)
// that match `pattern` ("*.OCX"), in the order the system lists them; folders
// are left out.
std::vector<std::string> findFiles(const std::string& folder, const std::string& pattern);

// Whether `path` names an existing file (not a folder).
bool fileExists(const std::string& path);

// Copies a file, replacing an existing target; true when the copy succeeded.
bool copyFile(const std::string& from, const std::string& to);

// At most the first `bytes` bytes of a file; empty when it cannot be read.
std::string readFileStart(const std::string& path, size_t bytes);

} // namespace platform
