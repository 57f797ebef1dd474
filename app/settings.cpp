#include "app/settings.h"

#include "app/pure/form_state.h"
#include "app/pure/list_file.h"
#include "catalog/profile.h"
#include "forms/geometry.h"
#include "forms/pure/stored_number.h"
#include "platform/files.h"
#include "platform/shell_actions.h"

#include <functional>

namespace app {

std::string SignaturesFilePath(const std::string& applicationPath) {
    return applicationPath + "Data\\FLSignatures.ddl";
}

std::string BlacklistFilePath(const std::string& applicationPath) {
    return applicationPath + "Data\\FLBlacklist.def";
}

bool SaveFormState(forms::Form& form, const std::string& settingsFile) {
    bool ok = true;
    for (forms::Control* c : form.controls()) {
        std::string value;
        switch (c->kind()) {
        case forms::Kind::TextBox:
            value = encodeText(static_cast<forms::TextBox*>(c)->Text());
            break;
        case forms::Kind::ComboBox:
            value = std::to_string(static_cast<forms::ComboBox*>(c)->ListIndex());
            break;
        case forms::Kind::CheckBox:
            value = std::to_string(static_cast<forms::CheckBox*>(c)->Value());
            break;
        default:
            break;
        }
        if (value.empty())
            continue;
        if (!profile::WritePrivateProfileString(form.name().c_str(), controlKey(c->name()).c_str(),
                                                value.c_str(), settingsFile.c_str()))
            ok = false;
    }
    return ok;
}

bool LoadFormState(forms::Form& form, const std::string& settingsFile) {
    if (!platform::fileExists(settingsFile))
        return false;
    for (forms::Control* c : form.controls()) {
        profile::ReadResult read =
            profile::readString(settingsFile, form.name(), controlKey(c->name()), nullptr, 256);
        if (read.count == 0)
            continue;
        RestoreStep step{Restore::Skip};
        // A list box and a combo box keep their selected index.
        auto restoreListIndex = [&](auto* list) {
            step = restoreIndex(read.text, list->ListCount());
            if (step.action == Restore::Apply)
                list->setListIndex(step.value);
        };
        switch (c->kind()) {
        case forms::Kind::TextBox:
            static_cast<forms::TextBox*>(c)->setText(decodeText(read.text));
            break;
        case forms::Kind::ListBox:
            restoreListIndex(static_cast<forms::ListBox*>(c));
            break;
        case forms::Kind::ComboBox:
            restoreListIndex(static_cast<forms::ComboBox*>(c));
            break;
        case forms::Kind::CheckBox:
            step = restoreCheck(read.text);
            if (step.action == Restore::Apply)
                static_cast<forms::CheckBox*>(c)->setValue(step.value);
            break;
        default:
            break;
        }
        if (step.action == Restore::Stop)
            break;
    }
    return true;
}

namespace {

const char kMainSection[] = "frmMain";
const char kGeometrySection[] = "WindowState";

// One of the main window's own keys: reads its value, applies it and says
// whether it could be applied.
struct MainKey {
    const char* key;
    std::function<int()> current;
    std::function<bool(int)> apply;
};

std::vector<MainKey> mainKeys(const MainWindowState& w) {
    auto page = [](const char* key, forms::PageStack& s) {
        return MainKey{key, [&s] { return s.Tab(); },
                       [&s](int v) {
                           if (v < 0 || v >= s.Tabs())
                               return false;
                           s.setTab(v);
                           return true;
                       }};
    };
    auto category = [](const char* key, forms::ListBox& l) {
        return MainKey{key, [&l] { return l.ListIndex(); },
                       [&l](int v) {
                           if (v < -1 || v >= l.ListCount())
                               return false;
                           l.setListIndex(v);
                           return true;
                       }};
    };
    return {page("Tab", w.SSTab1),
            page("Tab2", w.SSTab2),
            category("CatApps", w.lstCat),
            category("CatPortable", w.lstCatPortable),
            category("CatSlim", w.lstCatSlim),
            category("CatPages", w.lstCatPages)};
}

} // namespace

void RestoreMainWindowState(const MainWindowState& w, const std::string& settingsFile) {
    if (!forms::RestoreGeometry(w.form, settingsFile, kGeometrySection))
        return;
    for (const MainKey& k : mainKeys(w)) {
        char buffer[61] = {};
        unsigned long n = profile::GetPrivateProfileString(kMainSection, k.key, "True", buffer, 60,
                                                           settingsFile.c_str());
        std::optional<double> number = forms::storedNumber(std::string(buffer, n));
        if (!number)
            continue;
        std::optional<int16_t> value = forms::toInt16(*number);
        if (!value || !k.apply(*value))
            return;
    }
}

bool SaveMainWindowState(const MainWindowState& w, const std::string& settingsFile) {
    bool ok = SaveFormState(w.form, settingsFile);
    ok = forms::SaveGeometry(w.form, settingsFile, kGeometrySection) && ok;
    for (const MainKey& k : mainKeys(w))
        ok = profile::WritePrivateProfileString(
                 kMainSection, k.key, std::to_string(k.current()).c_str(), settingsFile.c_str()) &&
             ok;
    return ok;
}

void ReportSettingsNotSaved(platform::Services& services, HWND owner,
                            const std::string& settingsFile) {
    if (!services.messageBoxes)
        return;
    services.messageBoxes->show(owner,
                                "The settings could not be saved to\r\n" + settingsFile +
                                    "\r\n\r\nThe file or its folder may be read-only, or another "
                                    "program may be holding the file open.",
                                "", MB_OK | MB_ICONWARNING);
}

void LoadListFile(const std::string& path, forms::ListBox& list) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(f);
    for (const std::string& line : listFileLines(bytes))
        list.AddItem(line);
}

void EditListFile(platform::Services& services, const std::string& path) {
    platform::openDocument(services, path);
}

void wireOptionsList(forms::ListBox& list, OneItemMenu& menu, std::function<std::string()> path,
                     platform::Services& services) {
    list.MouseDown = [&menu](int button, int, int, int) {
        if (button == forms::vbRightButton)
            menu.Popup();
    };
    list.KeyDown = [&menu](int& keyCode, int) {
        if (keyCode == VK_APPS) {
            keyCode = 0;
            menu.Popup();
        }
    };
    menu.item.Click = [&services, path] { EditListFile(services, path()); };
}

} // namespace app
