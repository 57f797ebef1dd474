#include "app/installed.h"

#include "catalog/catalog.h"
#include "catalog/profile_io.h"
#include "forms/tell.h"
#include "ui/pure/pages.h"

#include <utility>

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
    if (reading_ && reading_->root)
        services_.registry->closeKey(reading_->root);
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

namespace {

// Reads the product at `index` of the list `root` into `names`; false when
// the list has no more products (or went bad: every further index would
// fail too). A product without a usable name is skipped.
bool readProduct(platform::Registry& registry, HKEY root, REGSAM view, unsigned long index,
                 InstalledNames& names) {
    char name[256] = {};
    unsigned long length = 255;
    long status = registry.enumKey(root, index, name, length);
    if (status == ERROR_MORE_DATA)
        return true; // a name beyond the buffer: that product only
    if (status != ERROR_SUCCESS)
        return false;
    HKEY product = nullptr;
    if (registry.openKey(root, std::string(name, length), view, product) != ERROR_SUCCESS)
        return true;
    unsigned char value[255] = {};
    unsigned long size = sizeof value;
    if (registry.queryValue(product, "DisplayName", value, size) == ERROR_SUCCESS)
        names.add(displayNameFromBuffer(value, std::min<unsigned long>(size, sizeof value)));
    registry.closeKey(product);
    return true;
}

} // namespace

std::vector<std::string> InstalledApps::readNames(platform::Registry& registry,
                                                  const std::vector<UninstallList>& lists,
                                                  const std::string& keyPath, HKEY* lastRoot) {
    InstalledNames names;
    for (const UninstallList& list : lists) {
        HKEY root = nullptr;
        if (registry.openKey(list.root, keyPath, list.view, root) != ERROR_SUCCESS)
            continue;
        for (unsigned long i = 0; readProduct(registry, root, list.view, i, names); ++i)
            ;
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

void InstalledApps::scheduleReading() {
    if (services_.registry && !reading_)
        reading_ = std::make_unique<Reading>();
}

bool InstalledApps::readOn(unsigned long milliseconds) {
    if (!reading_)
        return true;
    platform::Registry& registry = *services_.registry;
    Reading& r = *reading_;
    const ULONGLONG until = GetTickCount64() + milliseconds;
    while (r.list < lists.size()) {
        const UninstallList& list = lists[r.list];
        if (!r.root && registry.openKey(list.root, keyPath, list.view, r.root) != ERROR_SUCCESS) {
            r.root = nullptr;
            ++r.list;
            continue;
        }
        // Several products between looks at the clock.
        for (int n = 0; n < 8; ++n)
            if (!readProduct(registry, r.root, list.view, r.index++, r.names)) {
                registry.closeKey(std::exchange(r.root, nullptr));
                r.index = 0;
                ++r.list;
                break;
            }
        if (GetTickCount64() >= until && r.list < lists.size())
            return false;
    }
    std::unique_ptr<Reading> done = std::move(reading_);
    apply(done->names.names());
    // The marked lists draw the installed mark beside the names.
    for (forms::ListBox* list : marked_)
        if (list->hwnd())
            InvalidateRect(list->hwnd(), nullptr, FALSE);
    return true;
}

bool InstalledApps::finishReading() {
    if (!reading_)
        return false;
    readOn(~0ul >> 1);
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
    return services_.environment.applicationPath() + "Installed Apps " + date + ".txt";
}

void InstalledApps::makeSnapshot() {
    finishReading(); // the snapshot holds the whole list
    view_.SSTab1.setTab(ui::PageSpecial);
    view_.SSTab2.setTab(ui::InnerInstalledApps);
    const std::string path = snapshotPath();
    std::string text;
    const forms::ListBox& list = view_.lstSoftware;
    for (int i = 0, n = list.ListCount(); i < n; ++i)
        text += list.List(i) + "\r\n";
    if (profile::io::replaceAtomically(path, text))
        forms::tell(services_, view_.owner, "List of Installed Apps Exported to " + path);
    else
        forms::tell(services_, view_.owner,
                    "The list of installed apps could not be written to " + path + ".",
                    MB_ICONERROR);
}

void InstalledApps::markEntries(const Kinds& kinds) {
    for (const KindControls& k : kinds)
        if (k.kind != catalog::Kind::Pages) {
            k.entries.ItemNote = [this](const std::string& entry) {
                return isInstalled(entry) ? std::string("installed") : std::string();
            };
            marked_.push_back(&k.entries);
        }
}

frmCheckAppInstalled& InstalledApps::checkWindow() {
    finishReading(); // the check searches the whole list
    if (!checkWindow_)
        checkWindow_ = std::make_unique<frmCheckAppInstalled>(CheckAppInstalledView{
            view_.lstSoftware, catalog::settingsPath(services_.environment.applicationPath())});
    return *checkWindow_;
}

void InstalledApps::checkEntry(forms::ListBox& entries) {
    checkWindow().checkEntry(view_.owner, entries);
}

} // namespace app
