// One download on a worker thread of its own (WinINet): the window thread
// only starts, cancels and reads it, and never waits on the network.
//
// The body goes to "<final path>.part"; the part file takes the final name
// only when the whole body arrived with an HTTP 2xx status (and exactly the
// announced length). A cancel removes the part file; a failure keeps it so
// that Retry can resume with a range request.
#pragma once

#include "downloads/pure/transfer_rules.h"
#include "downloads/signature.h"

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace downloads {

// Time limits of a transfer. Connect: to reach the server. Transfer: the
// longest wait for the server's answer and, once the body flows, the longest
// pause between two pieces of it.
struct Limits {
    unsigned connectMs = 15000;
    unsigned transferMs = 30000;
};

class Transfer : public std::enable_shared_from_this<Transfer> {
  public:
    // `notify` receives `message` (posted) whenever the transfer needs a file
    // name or has ended; the window reads the rest with snapshot().
    Transfer(std::string url, Limits limits, HWND notify, UINT message);
    ~Transfer();

    // What the window shows, copied under the lock.
    struct Snapshot {
        State state = State::Connecting;
        std::string url, finalUrl;
        std::string path;          // final path (UTF-8), empty until chosen
        std::string suggestedName; // from the server's answer
        std::uint64_t received = 0;
        std::int64_t total = -1;
        std::string detail; // failure reason or signature verdict
        bool needsDestination = false;
        Signature signature; // checked for installers
        bool signatureChecked = false;
        bool webPage = false; // the server sent an HTML page
    };
    Snapshot snapshot() const;

    // Sets the final path before the start (several links into one folder).
    void presetPath(const std::string& path);
    // Starts the worker; a retry resumes from the part file where the
    // server allows it. Does nothing while the worker runs.
    void start();
    // Answers a request for a file name; empty cancels the download.
    void setDestination(const std::string& path);
    // Stops the worker as soon as it can; it removes the part file.
    void cancel();
    bool running() const { return running_; }
    // Removes the part file a failed download kept (the row is dropped).
    void discardPart();

  private:
    void work();
    HINTERNET openRequest(void* session, const std::wstring& headers, HINTERNET& connection);
    void finish(State state, const std::string& detail);
    bool cancelled() const { return cancel_; }
    void post();

    const std::string url_;
    const Limits limits_;
    const HWND notify_;
    const UINT message_;

    mutable std::mutex mutex_;
    std::condition_variable destinationSet_;
    Snapshot s_;
    std::string etag_, lastModified_;
    bool destinationAnswered_ = false;
    void* session_ = nullptr; // the WinINet session, closed to abort a blocking call
    std::atomic<bool> cancel_{false};
    std::atomic<bool> running_{false};
};

} // namespace downloads
