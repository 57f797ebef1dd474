// Fetching one address into a file, waiting for the result (the updater's
// manifest and catalog files). The target file is replaced only when the
// whole body arrived with an HTTP 2xx status; otherwise it stays as it was.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

struct FetchResult {
    bool ok = false;
    int status = 0;    // HTTP status, 0 when no answer came
    std::string error; // why it failed, for the log and the user
};

class Fetcher {
  public:
    virtual ~Fetcher() = default;
    // `waiting` is the window that keeps painting (and takes no input) while
    // the fetch runs; `bypassCache` asks for a fresh copy from the server.
    virtual FetchResult fetch(const std::string& url, const std::string& file, bool bypassCache,
                              HWND waiting) = 0;
};

} // namespace platform
