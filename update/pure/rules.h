// The updater's rules without windows: the version manifest, the ordinal
// comparison of versions, the catalog counts read with a growing buffer, and
// the checks a fetched file and a signature-list name must pass.
#pragma once

#include "platform/pure/endpoints.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace update {

// Where the product's own files are published. The manifest and the program's
// download page live on this server; the catalog files come from the address
// in the settings (by default the same server's manifest folder).
inline constexpr const char* kProductServer = platform::endpoints::kProductServer;
std::string manifestAddress(const std::string& server);
std::string downloadPageAddress(const std::string& server);
std::string defaultSignatureServer(const std::string& server);

// The manifest's file name, in the Data folder and on the server.
inline constexpr const char* kManifestFile = "FLVersion.ini";

// Major, minor and revision joined by "." (0.4.4).
std::string programVersion(int major, int minor, int revision);

// Compares two versions as plain strings, character by character by
// character code; a string that is a prefix of the other is the smaller.
// Negative, zero or positive. "0.4.10" is smaller than "0.4.4".
int compareOrdinal(std::string_view a, std::string_view b);

// One value of a profile file read with a 255-character buffer: at most 254
// characters arrive; a missing file, section or key gives "".
std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key);

struct Manifest {
    std::string programVersion, programChangelog;     // section "Fetchlets"
    std::string signatureVersion, signatureChangelog; // section "Signature"
};
Manifest readManifest(const std::string& path);

// Lists read with a buffer that starts at 32 characters and doubles while the
// reader answers "buffer size - 2" (its sign that the list did not fit). The
// reader gets the buffer and its size and returns the count it wrote; the
// answer is split at each NUL of its first (count - 1) characters.
std::vector<std::string>
readGrowing(const std::function<unsigned long(char*, unsigned long)>& read);
std::vector<std::string> GetSectionNames(const std::string& path);
std::vector<std::string> GetSectionLines(const std::string& path, const std::string& section);

// Entries of a catalog file: the lines of every named section, summed. A
// missing file counts 0; nullopt when the sum leaves the 32-bit range.
std::optional<int32_t> CountSignatures(const std::string& path);

// A signature-list item is used as a file name in the Data folder: only a
// plain name is accepted (no folder part, no drive, not "." or "..", no
// characters that Windows does not allow in a name, no trailing dot or
// blank, no device name such as CON or nul.ini).
bool isPlainFileName(std::string_view name);

// A fetched catalog or manifest is accepted only when it reads as a profile
// file with at least one named section: an HTML page answered with status
// 200 (a captive portal, a host's error page) does not.
bool readsAsCatalog(const std::string& path);

// A catalog file's line in the manifest's section "Files":
// "FLApps.def=<size in bytes>,<SHA-256 as 64 lowercase hex digits>".
struct FileCheck {
    bool present = false; // the manifest has a line for the file
    bool valid = false;   // and it reads as size and hash
    std::uint64_t size = 0;
    std::string sha256;
};
FileCheck parseFileCheck(std::string_view value);
FileCheck readFileCheck(const std::string& manifestPath, const std::string& name);

// What a fetched catalog file turned out to be.
struct Fetched {
    bool unconfirmed = false; // no length announced: nothing says it is whole
    bool digested = false;    // size and hash could be computed
    std::uint64_t size = 0;
    std::string sha256;
};

// Why a fetched catalog file may not replace the installed one; empty when
// it may. With a line in the manifest both size and hash must match; without
// one, a body whose end could not be confirmed is not taken.
std::string refusal(const FileCheck& check, const Fetched& fetched);

} // namespace update
