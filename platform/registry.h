// The registry, read only: the four calls the installed-applications list
// needs. Each returns the system's status code (0 for success).
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens `path` below `parent` for reading. `view` is 0, KEY_WOW64_64KEY
    // or KEY_WOW64_32KEY: which of the machine's two views of the software
    // keys to read.
    virtual long openKey(HKEY parent, const std::string& path, REGSAM view, HKEY& result) = 0;
    // Name of subkey `index` into `name` (capacity `length` characters);
    // `length` becomes the name's length. 259 (no more items) after the last.
    virtual long enumKey(HKEY key, unsigned long index, char* name, unsigned long& length) = 0;
    // Value `name` into `data` (capacity `size` bytes); `size` becomes the
    // number of bytes read. 234 (more data) when the value does not fit.
    virtual long queryValue(HKEY key, const std::string& name, unsigned char* data,
                            unsigned long& size) = 0;
    virtual long closeKey(HKEY key) = 0;
};

} // namespace platform
