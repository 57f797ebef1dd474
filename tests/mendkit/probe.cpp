// MendkitProbe.ocx: a minimal in-process COM server for Mendkit's tests. It
// serves no classes; registering it writes a key named after its own file
// (so two copies under different names register separately) holding the
// path it was registered from, and unregistering removes that key. A copy
// whose file name starts with "Hang" writes the id of the process that
// registers it and then never returns, as a component that hangs does.
#include <windows.h>

#include <objbase.h>

#include <string>

namespace {

HINSTANCE self = nullptr;

std::string modulePath() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

std::string keyName() {
    std::string path = modulePath();
    size_t slash = path.find_last_of("\\/");
    return "Software\\Fetchlets Tests\\Mendkit Probe\\" +
           path.substr(slash == std::string::npos ? 0 : slash + 1);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

STDAPI DllRegisterServer() {
    std::string path = modulePath();
    if (path.empty())
        return E_UNEXPECTED;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return E_ACCESSDENIED;
    LONG r = RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                            static_cast<DWORD>(path.size() + 1));
    const size_t slash = path.find_last_of("\\/");
    if (path.compare(slash == std::string::npos ? 0 : slash + 1, 4, "Hang") == 0) {
        const DWORD pid = GetCurrentProcessId();
        RegSetValueExA(key, "Pid", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pid), sizeof pid);
        RegCloseKey(key);
        for (;;)
            Sleep(INFINITE);
    }
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? S_OK : E_FAIL;
}

STDAPI DllUnregisterServer() {
    LONG r = RegDeleteKeyA(HKEY_CURRENT_USER, keyName().c_str());
    return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}

STDAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object) {
    if (object)
        *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return S_OK;
}
