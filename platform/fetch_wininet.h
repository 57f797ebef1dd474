// The real fetch, over WinINet (http and https, redirects followed, the
// system's proxy settings honoured).
#pragma once

#include "platform/fetch.h"

namespace platform {

// Time limits of one fetch, in milliseconds.
struct FetchLimits {
    unsigned long connect = 15000; // to reach the server
    unsigned long receive = 30000; // longest silence while waiting for data
    unsigned long total = 120000;  // the whole transfer, headers to last byte
};

class WinInetFetcher final : public Fetcher {
  public:
    explicit WinInetFetcher(FetchLimits limits = {}) : limits_(limits) {}
    // Runs the transfer on a worker thread while this thread keeps the
    // windows painting, discards keyboard and mouse input and shows the
    // hourglass. The body goes to a temporary file beside `file`, which
    // replaces `file` only when the answer was a 2xx with the whole body.
    FetchResult fetch(const std::string& url, const std::string& file, bool bypassCache,
                      HWND waiting) override;

  private:
    FetchLimits limits_;
};

} // namespace platform
