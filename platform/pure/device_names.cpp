#include "platform/pure/device_names.h"

namespace platform {

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (x != b[i])
            return false;
    }
    return true;
}

} // namespace

bool isDeviceName(std::string_view fileName) {
    std::string_view stem = fileName.substr(0, fileName.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    for (std::string_view device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
        if (equalNoCase(stem, device))
            return true;
    if (stem.size() < 4 ||
        (!equalNoCase(stem.substr(0, 3), "com") && !equalNoCase(stem.substr(0, 3), "lpt")))
        return false;
    const std::string_view digit = stem.substr(3);
    if (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9')
        return true;
    for (std::string_view superscript :
         {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3", "\xB9", "\xB2", "\xB3"})
        if (digit == superscript)
            return true;
    return false;
}

} // namespace platform
