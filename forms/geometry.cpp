#include "forms/geometry.h"

#include "catalog/profile.h"
#include "forms/pure/stored_number.h"

#include <algorithm>

namespace forms {

namespace {

const char* const kKeys[] = {"Left", "Top", "Height", "Width"};

} // namespace

namespace {

// A stored width or height that makes a usable window: positive and at least
// the smallest size the system lets a user drag a window to.
bool usableSize(bool width, int twips) {
    if (twips <= 0)
        return false;
    return toPixels(twips) >= GetSystemMetrics(width ? SM_CXMINTRACK : SM_CYMINTRACK);
}

} // namespace

bool RestoreGeometry(Form& form, const std::string& settingsFile, const std::string& section) {
    bool complete = true;
    for (const char* key : kKeys) {
        char buffer[61] = {};
        unsigned long n = profile::GetPrivateProfileString(section.c_str(), key, "True", buffer, 60,
                                                           settingsFile.c_str());
        std::optional<double> number = storedNumber(std::string(buffer, n));
        if (!number)
            continue;
        std::optional<int16_t> value = toInt16(*number);
        if (!value) {
            complete = false;
            break;
        }
        std::string k = key;
        if ((k == "Height" || k == "Width") && !usableSize(k == "Width", *value)) {
            // No window can be made of it: this and the keys after it stay.
            complete = false;
            break;
        }
        if (k == "Left")
            form.setLeft(*value);
        else if (k == "Top")
            form.setTop(*value);
        else if (k == "Height")
            form.setHeight(*value);
        else
            form.setWidth(*value);
    }
    keepOnScreen(form);
    return complete;
}

bool SaveGeometry(Form& form, const std::string& settingsFile, const std::string& section) {
    const int values[] = {form.Left(), form.Top(), form.Height(), form.Width()};
    bool ok = true;
    for (size_t i = 0; i < 4; ++i)
        ok = profile::WritePrivateProfileString(section.c_str(), kKeys[i],
                                                std::to_string(values[i]).c_str(),
                                                settingsFile.c_str()) &&
             ok;
    return ok;
}

void keepOnScreen(Form& form) {
    HWND h = form.window();
    if (!h || IsIconic(h) || IsZoomed(h))
        return;
    RECT r;
    if (!GetWindowRect(h, &r) || MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        return;
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
        return;
    const RECT& work = mi.rcWork;
    int w = std::min<int>(r.right - r.left, work.right - work.left);
    int hgt = std::min<int>(r.bottom - r.top, work.bottom - work.top);
    int x = std::clamp<int>(r.left, work.left, work.right - w);
    int y = std::clamp<int>(r.top, work.top, work.bottom - hgt);
    SetWindowPos(h, nullptr, x, y, w, hgt, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace forms
