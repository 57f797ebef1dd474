// The real fetch, over the program's HTTP client (http and https, redirects
// followed, the system's proxy settings honoured).
#pragma once

#include "platform/fetch.h"

namespace platform {

// Time limits of one fetch, in milliseconds.
struct FetchLimits {
    unsigned long connect = 15000; // to reach the server
    unsigned long receive = 30000; // for the answer's headers, and the longest silence after
    unsigned long total = 120000;  // the whole transfer, request to last byte
};

class WinInetFetcher final : public Fetcher {
  public:
    explicit WinInetFetcher(FetchLimits limits = {}) : limits_(limits) {}
    using Fetcher::fetch;
    // Runs the transfer on a worker thread while this thread keeps the
    // windows painting, discards keyboard and mouse input (but a cancel) and
    // shows the hourglass. The body goes to a temporary file beside `file`,
    // which replaces `file` only when the answer was a 2xx whose body ended
    // without error; no temporary file is left in any outcome.
    FetchResult fetch(const std::string& url, const std::string& file,
                      const FetchOptions& options) override;

  private:
    FetchLimits limits_;
};

} // namespace platform
