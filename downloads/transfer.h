// One download on a worker thread of its own (the program's HTTP client): the
// window thread only starts, cancels and reads it, and never waits on the
// network.
//
// The body goes to "<final path>.part"; the part file takes the final name
// only when the body ended without error with an HTTP 2xx status (and exactly
// the announced length, when one was announced; without one the download is
// marked as not confirmed complete). A cancel ends the download at once and
// removes the part file; a failure keeps it so that Retry can resume with a
// range request.
#pragma once

#include "downloads/pure/transfer_rules.h"
#include "downloads/signature.h"
#include "platform/http_client.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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
        // Done, but the server announced no size: nothing confirms the
        // file is whole.
        bool unconfirmed = false;
    };
    Snapshot snapshot() const;

    // Sets the final path before the start (several links into one folder).
    void presetPath(const std::string& path);
    // Starts the worker; a retry resumes from the part file where the
    // server allows it. Does nothing while the worker runs.
    void start();
    // Answers a request for a file name; empty cancels the download.
    void setDestination(const std::string& path);
    // Ends the download at once (the worker stops as soon as the network
    // lets it) and removes the part file.
    void cancel();
    bool running() const { return running_; }
    // Removes the part file a failed download kept (the row is dropped).
    void discardPart();

  private:
    // One start(): its own request, so that a cancelled run that still
    // waits on the network cannot touch the next one.
    struct Run {
        explicit Run(platform::HttpLimits limits) : get(limits) {}
        platform::HttpGet get;
        std::atomic<bool> cancelled{false};
        std::string path;       // the final path, once chosen
        std::uint64_t have = 0; // bytes of the part file a range asked to continue
        Plan plan;
        bool webPage = false;
    };
    enum class Step { Go, Again, End };

    void work(const std::shared_ptr<Run>& run);
    // Sends the request, resuming the part file where one is kept.
    Step connect(Run& run);
    // Judges the answer and has the file name chosen.
    Step resume(Run& run);
    // Writes the body to the part file.
    Step receive(Run& run, std::vector<char>& buffer);
    // Confirms the body, gives the file its name and checks its signer.
    void verify(Run& run);
    // Ends the run with `state`, unless it was cancelled (that ended it).
    void finish(Run& run, State state, const std::string& detail);
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
    std::shared_ptr<Run> run_; // the current run, under the lock
    std::atomic<bool> running_{false};
};

} // namespace downloads
