#include "platform/file_dialogs.h"

#include "platform/utf8.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace platform {

namespace {

bool isFolder(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The modern folder picker; false when the system does not offer it.
bool pickWithFileDialog(HWND owner, const std::wstring& title, const std::wstring& start,
                        std::wstring& chosen) {
    IFileOpenDialog* dlg = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, reinterpret_cast<void**>(&dlg))))
        return false;
    DWORD options = 0;
    dlg->GetOptions(&options);
    dlg->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dlg->SetTitle(title.c_str());
    IShellItem* folder = nullptr;
    if (!start.empty() &&
        SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&folder)))) {
        dlg->SetFolder(folder);
        folder->Release();
    }
    HRESULT hr = dlg->Show(owner);
    if (SUCCEEDED(hr)) {
        IShellItem* item = nullptr;
        if (SUCCEEDED(dlg->GetResult(&item))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
                chosen = path;
                CoTaskMemFree(path);
            }
            item->Release();
        }
    }
    dlg->Release();
    return true; // shown: a cancel is the user's answer
}

int CALLBACK browseStart(HWND wnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data)
        SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

class SystemFileDialogs final : public FileDialogs {
  public:
    std::string saveAs(HWND owner, const std::string& title, const std::string& folder,
                       const std::string& suggestedName) override {
        std::wstring name = widen(suggestedName);
        std::vector<wchar_t> file(32768, L'\0');
        name.copy(file.data(), std::min(name.size(), file.size() - 1));
        std::wstring dir = widen(folder), caption = widen(title);
        std::wstring ext;
        size_t dot = name.rfind(L'.');
        if (dot != std::wstring::npos && dot > 0)
            ext = name.substr(dot + 1);
        // "All files" keeps the suggested extension whatever the user types.
        const wchar_t filter[] = L"All files (*.*)\0*.*\0";
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
        ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
        ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
        ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER |
                    OFN_HIDEREADONLY;
        if (!GetSaveFileNameW(&ofn))
            return {};
        return narrow(file.data());
    }

    std::string chooseFolder(HWND owner, const std::string& title,
                             const std::string& folder) override {
        std::wstring caption = widen(title), start = widen(folder), chosen;
        HRESULT co = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        bool shown = pickWithFileDialog(owner, caption, start, chosen);
        if (!shown) {
            BROWSEINFOW bi{};
            bi.hwndOwner = owner;
            bi.lpszTitle = caption.c_str();
            bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
            bi.lpfn = browseStart;
            bi.lParam = reinterpret_cast<LPARAM>(start.c_str());
            if (PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi)) {
                wchar_t path[MAX_PATH] = {};
                if (SHGetPathFromIDListW(pidl, path))
                    chosen = path;
                CoTaskMemFree(pidl);
            }
        }
        if (SUCCEEDED(co))
            CoUninitialize();
        return narrow(chosen);
    }

    std::string downloadsFolder() override {
        PWSTR path = nullptr;
        std::wstring found;
        if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path)))
            found = path;
        CoTaskMemFree(path);
        if (found.empty() || !isFolder(found)) {
            wchar_t docs[MAX_PATH] = {};
            if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, docs)))
                found = docs;
        }
        if (found.empty() || !isFolder(found)) {
            wchar_t temp[MAX_PATH] = {};
            DWORD n = GetTempPathW(MAX_PATH, temp);
            found.assign(temp, n);
        }
        while (found.size() > 3 && (found.back() == L'\\' || found.back() == L'/'))
            found.pop_back();
        return narrow(found);
    }
};

} // namespace

FileDialogs& systemFileDialogs() {
    static SystemFileDialogs dialogs;
    return dialogs;
}

} // namespace platform
