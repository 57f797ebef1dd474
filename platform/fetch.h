// Fetching one address into a file, waiting for the result (the updater's
// manifest and catalog files). The target file is written only when the body
// ended without error with an HTTP 2xx status; otherwise it stays as it was.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace platform {

struct FetchResult {
    bool ok = false;
    int status = 0;    // HTTP status, 0 when no answer came
    std::string error; // why it failed, for the log and the user
    // With `ok`: the server announced no length, so nothing confirms that
    // the body arrived whole (a closed connection ended it).
    bool unconfirmed = false;
    bool cancelled = false; // the user cancelled the fetch
};

struct FetchOptions {
    // The window that keeps painting (and takes no input but a cancel)
    // while the fetch runs.
    HWND waiting = nullptr;
    // The button that cancels: it alone takes input while the fetch runs.
    HWND cancelButton = nullptr;
    // Set (by the button's click, from any thread) to cancel; Esc in the
    // waiting window cancels too. May be null.
    const std::atomic<bool>* cancelled = nullptr;
    // A body larger than this fails at once (0: no limit).
    std::uint64_t maxBytes = 0;
};

class Fetcher {
  public:
    virtual ~Fetcher() = default;
    // Always asks the server for a fresh copy.
    virtual FetchResult fetch(const std::string& url, const std::string& file,
                              const FetchOptions& options) = 0;
    FetchResult fetch(const std::string& url, const std::string& file, bool /*bypassCache*/,
                      HWND waiting) {
        return fetch(url, file, FetchOptions{.waiting = waiting});
    }
};

} // namespace platform
