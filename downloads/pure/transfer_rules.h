// The decisions of one transfer that need no network: what to ask for when a
// partial file exists, what to do with the server's answer, when the file is
// complete, and the texts that say how a download stands or why it failed.
#pragma once

#include <cstdint>
#include <string>

namespace downloads {

enum class State { Connecting, Waiting, Downloading, Done, Failed, Cancelled };

// Request headers for a retry that has `have` bytes already: a range from
// there, guarded with If-Range by the validator the first answer carried
// (the entity tag, else the last-modified date) so that a changed file comes
// whole. Empty when there is nothing to resume.
std::string resumeHeaders(std::uint64_t have, const std::string& etag,
                          const std::string& lastModified);

// What the server answered, as far as the decision needs it.
struct Answer {
    int status = 0;
    std::string statusText;
    std::string contentRange;        // the Content-Range header, empty when absent
    std::int64_t contentLength = -1; // -1: not announced
};

struct Plan {
    enum Action {
        WriteNew,  // write the body from the start
        Append,    // the body continues the partial file
        StartOver, // the partial file is no use: drop it and ask again without a range
        Fail       // stop; `failure` says why
    } action = Fail;
    std::int64_t total = -1; // the whole file's size when known
    std::string failure;
};

// `have` is the partial file's size when a range was asked for, 0 otherwise.
Plan planAnswer(std::uint64_t have, const Answer& answer);

// Complete means: the body ended without error and, when the size is known,
// exactly that many bytes are in the file.
bool isComplete(std::uint64_t have, std::int64_t total);

// Why a transfer failed, from the network error code (WinINet's numbering).
std::string networkFailure(unsigned long error, unsigned connectLimitS, unsigned transferLimitS);
// A body that ended before its announced size.
std::string cutShortFailure(std::uint64_t have, std::int64_t total);

// The state column: "Connecting", "Waiting for a file name", "Downloading",
// "Done", "Failed: <reason>", "Cancelled"; `detail` follows "Done" after " - "
// (the signature verdict) and is the reason of a failure.
std::string stateText(State state, const std::string& detail = {});

} // namespace downloads
