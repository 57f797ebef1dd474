#include "app/installed.h"

#include "catalog/profile_io.h"

namespace app {

std::string systemUpper(std::string_view text) {
    std::string s(text);
    if (!s.empty())
        CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

InstalledApps::InstalledApps(platform::Services& services, InstalledView view)
    : services_(services), view_(view) {}

InstalledApps::~InstalledApps() {
    if (key_)
        closeRegKey(key_);
}

long InstalledApps::openRegKey(const std::string& path) {
    if (!services_.registry)
        return ERROR_INVALID_FUNCTION;
    HKEY opened = nullptr;
    long status = services_.registry->openKey(current_.root, path, current_.view, opened);
    if (status == ERROR_SUCCESS) {
        // The held handle is replaced; one still open is closed, not lost.
        if (key_)
            services_.registry->closeKey(key_);
        key_ = opened;
    }
    return status;
}

void InstalledApps::closeRegKey(HKEY key) {
    if (!key || !services_.registry)
        return;
    services_.registry->closeKey(key);
    if (key == key_)
        key_ = nullptr;
}

std::vector<std::string> InstalledApps::readNames(platform::Registry& registry,
                                                  const std::vector<UninstallList>& lists,
                                                  const std::string& keyPath, HKEY* lastRoot) {
    InstalledNames names;
    for (const UninstallList& list : lists) {
        HKEY root = nullptr;
        if (registry.openKey(list.root, keyPath, list.view, root) != ERROR_SUCCESS)
            continue;
        for (unsigned long i = 0;; ++i) {
            char name[256] = {};
            unsigned long length = 255;
            long status = registry.enumKey(root, i, name, length);
            if (status == ERROR_NO_MORE_ITEMS)
                break;
            if (status == ERROR_MORE_DATA)
                continue; // a name beyond the buffer: that product only
            if (status != ERROR_SUCCESS)
                break; // the key went bad: every further index would fail too
            HKEY product = nullptr;
            if (registry.openKey(root, std::string(name, length), list.view, product) !=
                ERROR_SUCCESS)
                continue;
            unsigned char value[255] = {};
            unsigned long size = sizeof value;
            if (registry.queryValue(product, "DisplayName", value, size) == ERROR_SUCCESS)
                names.add(
                    displayNameFromBuffer(value, std::min<unsigned long>(size, sizeof value)));
            registry.closeKey(product);
        }
        if (lastRoot && &list == &lists.back())
            *lastRoot = root; // left open for start-up to close
        else
            registry.closeKey(root);
    }
    return names.names();
}

void InstalledApps::apply(const std::vector<std::string>& names) {
    // Filled at once with its redrawing off; the list sorts the names itself.
    view_.lstSoftware.setItems(names);
    matcher_ = InstalledMatcher(names, systemUpper);
}

void InstalledApps::getAllKeys() {
    if (!services_.registry)
        return;
    HKEY last = nullptr;
    const std::vector<std::string> names = readNames(*services_.registry, lists, keyPath, &last);
    if (last) {
        if (key_)
            services_.registry->closeKey(key_);
        key_ = last;
    }
    apply(names);
}

void InstalledApps::startReading(HWND notify, UINT done) {
    if (!services_.registry || reading_.valid())
        return;
    reading_ = std::async(std::launch::async, [&registry = *services_.registry, lists = lists,
                                               keyPath = keyPath, notify, done] {
        std::vector<std::string> names = readNames(registry, lists, keyPath, nullptr);
        if (notify)
            PostMessageA(notify, done, 0, 0);
        return names;
    });
}

bool InstalledApps::finishReading() {
    if (!reading_.valid())
        return false;
    apply(reading_.get());
    return true;
}

std::string InstalledApps::snapshotPath() const {
    SYSTEMTIME now{};
    if (services_.clock)
        now = services_.clock->localTime();
    else
        GetLocalTime(&now);
    char date[64] = {};
    if (!GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, "dd'-'MMM'-'yyyy", date, sizeof date))
        date[0] = '\0';
    return services_.environment->applicationPath() + "Installed Apps " + date + ".txt";
}

void InstalledApps::cmdShowInstalledApps_Click() {
    finishReading(); // the snapshot holds the whole list
    view_.SSTab1.setTab(kSpecialTab);
    view_.SSTab2.setTab(kInstalledAppsTab);
    const std::string path = snapshotPath();
    std::string text;
    const forms::ListBox& list = view_.lstSoftware;
    for (int i = 0, n = list.ListCount(); i < n; ++i)
        text += list.List(i) + "\r\n";
    bool written = profile::io::replaceAtomically(path, text);
    if (!services_.messageBoxes)
        return;
    HWND owner = view_.owner.hwnd();
    if (written)
        services_.messageBoxes->show(owner, "List of Installed Apps Exported to " + path, "",
                                     MB_ICONINFORMATION);
    else
        services_.messageBoxes->show(
            owner, "The list of installed apps could not be written to " + path + ".", "",
            MB_ICONERROR);
}

} // namespace app
