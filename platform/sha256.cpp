#include "platform/sha256.h"

#include "platform/utf8.h"

#include <windows.h>

#include <bcrypt.h>

#include <vector>

namespace platform {

namespace {

// Closes what CNG opened, in reverse order, however the digest ends.
struct HashHandles {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~HashHandles() {
        if (hash)
            BCryptDestroyHash(hash);
        if (algorithm)
            BCryptCloseAlgorithmProvider(algorithm, 0);
    }
};

struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

bool succeeded(NTSTATUS s) {
    return s >= 0;
}

} // namespace

std::optional<FileDigest> digestFile(const std::string& path) {
    FileHandle file{CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    HashHandles cng;
    if (!succeeded(
            BCryptOpenAlgorithmProvider(&cng.algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return std::nullopt;
    if (!succeeded(BCryptCreateHash(cng.algorithm, &cng.hash, nullptr, 0, nullptr, 0, 0)))
        return std::nullopt;
    FileDigest digest;
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file.h, buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr))
            return std::nullopt;
        if (n == 0)
            break;
        if (!succeeded(BCryptHashData(cng.hash, buffer.data(), n, 0)))
            return std::nullopt;
        digest.size += n;
    }
    unsigned char value[32];
    if (!succeeded(BCryptFinishHash(cng.hash, value, sizeof value, 0)))
        return std::nullopt;
    static const char digits[] = "0123456789abcdef";
    for (unsigned char b : value) {
        digest.sha256 += digits[b >> 4];
        digest.sha256 += digits[b & 15];
    }
    return digest;
}

} // namespace platform
