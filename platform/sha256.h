// SHA-256 of a file with the system's cryptography (CNG).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct FileDigest {
    std::uint64_t size = 0;
    std::string sha256; // 64 lowercase hex digits
};

// The size and SHA-256 of the file at `path` (UTF-8); nullopt when it cannot
// be read or the hash cannot be computed.
std::optional<FileDigest> digestFile(const std::string& path);

} // namespace platform
