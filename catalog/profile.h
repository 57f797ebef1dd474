// Profile (INI) files: our own reader and writer with the argument order and
// buffer semantics of the system's private-profile functions.
//
// Reads return exactly the characters and counts that the system service
// returns for the same file and arguments, with two deliberate exceptions
// where the service is at fault: ours never writes past the buffer (the
// service's section read does, for a buffer of 0 or 1 characters), and a
// list cut short by the buffer always ends in two NULs (the service leaves
// the buffer's last character unwritten). Writes replace only the lines they
// change and replace the file atomically; a read-only file is left alone.
//
// Paths are narrow strings in the ANSI code page (Windows paths on Windows,
// POSIX paths elsewhere) and are taken as given: unlike the service, a bare
// file name is not looked for in the Windows folder, and a null path names
// no file (reads see nothing, writes fail).
//
// The header may be included before or after <windows.h>, whose macros rename
// GetPrivateProfileString and friends to their A or W spellings: the
// declarations below are made with those macros suspended, and the A and W
// spellings exist in this namespace as inline forwarders, so that
// profile::GetPrivateProfileString(...) compiles and links either way.
#pragma once

#include <string>
#include <vector>

#pragma push_macro("GetPrivateProfileString")
#pragma push_macro("GetPrivateProfileSection")
#pragma push_macro("GetPrivateProfileSectionNames")
#pragma push_macro("WritePrivateProfileString")
#undef GetPrivateProfileString
#undef GetPrivateProfileSection
#undef GetPrivateProfileSectionNames
#undef WritePrivateProfileString

namespace profile {

// The value of `key` in `section` (first matching section, first matching
// key, names compared without regard to case), else `defaultValue` (null
// means empty). A null `section` lists the section names; a null `key` lists
// the keys of the section. Returns the count of characters written without
// the terminating NUL.
unsigned long GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, unsigned long size,
                                      const char* path);

// Every entry line of the section as "key=value" (or "key" for a line without
// "="), each followed by a NUL, with one more NUL after the last.
unsigned long GetPrivateProfileSection(const char* section, char* buffer, unsigned long size,
                                       const char* path);

// Every section name in file order, each followed by a NUL, one more NUL last.
unsigned long GetPrivateProfileSectionNames(char* buffer, unsigned long size, const char* path);

// Sets `key` in `section` to `value`, creating file, section and key as
// needed. A null `value` removes the key, a null `key` removes the section.
// Returns false when the file could not be written (for instance a missing
// folder).
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* path);

// The same four under the names that <windows.h> maps them to.
inline unsigned long GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              unsigned long size, const char* path) {
    return GetPrivateProfileString(section, key, defaultValue, buffer, size, path);
}
inline unsigned long GetPrivateProfileStringW(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              unsigned long size, const char* path) {
    return GetPrivateProfileString(section, key, defaultValue, buffer, size, path);
}
inline unsigned long GetPrivateProfileSectionA(const char* section, char* buffer,
                                               unsigned long size, const char* path) {
    return GetPrivateProfileSection(section, buffer, size, path);
}
inline unsigned long GetPrivateProfileSectionW(const char* section, char* buffer,
                                               unsigned long size, const char* path) {
    return GetPrivateProfileSection(section, buffer, size, path);
}
inline unsigned long GetPrivateProfileSectionNamesA(char* buffer, unsigned long size,
                                                    const char* path) {
    return GetPrivateProfileSectionNames(buffer, size, path);
}
inline unsigned long GetPrivateProfileSectionNamesW(char* buffer, unsigned long size,
                                                    const char* path) {
    return GetPrivateProfileSectionNames(buffer, size, path);
}
inline bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                       const char* path) {
    return WritePrivateProfileString(section, key, value, path);
}
inline bool WritePrivateProfileStringW(const char* section, const char* key, const char* value,
                                       const char* path) {
    return WritePrivateProfileString(section, key, value, path);
}

// Comfortable layer. Each keeps the caller-chosen buffer size and therefore
// its truncation: a list cut short by the buffer ends with its last item cut.

// The section names as listed into a buffer of `bufferSize` characters: the
// pieces of the buffer before the first empty one.
std::vector<std::string> sectionNames(const std::string& path, unsigned long bufferSize);

// The entry lines of `section` as listed into a buffer of `bufferSize`.
std::vector<std::string> sectionLines(const std::string& path, const std::string& section,
                                      unsigned long bufferSize);

struct ReadResult {
    std::string text;    // the characters read (count of them)
    unsigned long count; // what GetPrivateProfileString returned
};

// One value read into a buffer of `bufferSize`; `defaultValue` may be null.
ReadResult readString(const std::string& path, const std::string& section, const std::string& key,
                      const char* defaultValue, unsigned long bufferSize);

bool writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);

} // namespace profile

#pragma pop_macro("WritePrivateProfileString")
#pragma pop_macro("GetPrivateProfileSectionNames")
#pragma pop_macro("GetPrivateProfileSection")
#pragma pop_macro("GetPrivateProfileString")
