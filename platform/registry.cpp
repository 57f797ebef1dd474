// The real registry, clock and tray over the Win32 API.
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/tray.h"

namespace platform {

namespace {

class SystemRegistry final : public Registry {
  public:
    long openKey(HKEY parent, const std::string& path, REGSAM view, HKEY& result) override {
        result = nullptr;
        return RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | view, &result);
    }
    long enumKey(HKEY key, unsigned long index, char* name, unsigned long& length) override {
        DWORD n = length;
        LONG r = RegEnumKeyExA(key, index, name, &n, nullptr, nullptr, nullptr, nullptr);
        length = n;
        return r;
    }
    long queryValue(HKEY key, const std::string& name, unsigned char* data,
                    unsigned long& size) override {
        DWORD n = size;
        LONG r = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, data, &n);
        size = n;
        return r;
    }
    long closeKey(HKEY key) override { return RegCloseKey(key); }
};

class SystemClock final : public Clock {
  public:
    SYSTEMTIME localTime() override {
        SYSTEMTIME t{};
        GetLocalTime(&t);
        return t;
    }
};

class SystemTray final : public Tray {
  public:
    bool add(const NOTIFYICONDATAA& record) override {
        NOTIFYICONDATAA r = record;
        return Shell_NotifyIconA(NIM_ADD, &r) != FALSE;
    }
    bool remove(const NOTIFYICONDATAA& record) override {
        NOTIFYICONDATAA r = record;
        return Shell_NotifyIconA(NIM_DELETE, &r) != FALSE;
    }
};

} // namespace

Registry& systemRegistry() {
    static SystemRegistry registry;
    return registry;
}

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

Tray& systemTray() {
    static SystemTray tray;
    return tray;
}

} // namespace platform
