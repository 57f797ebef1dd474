// Asks every link of a catalog what it is now: a file, a web page, gone, ...
#pragma once

#include "catalogtool/check.h"

#include <functional>
#include <string>
#include <vector>

namespace catalogtool {

enum class LinkClass {
    File,
    WebPage,
    Gone,        // 4xx
    ServerError, // 5xx or an answer that is no answer
    TooManyRedirects,
    NoAnswer, // no answer in time
    NoConnection,
    TlsFailure,
};

const char* className(LinkClass c);

struct LinkResult {
    LinkClass kind = LinkClass::NoConnection;
    int status = 0;
    std::string finalUrl; // where the redirects ended; empty when none
    std::string fileName; // of a file: from Content-Disposition or the address
    long long size = -1;  // of a file, when announced
    std::string detail;   // the error's words, the status line, ...
};

struct LinkOptions {
    int jobs = 8;    // links asked at once
    int perHost = 2; // at most this many to one host
    long connectTimeoutS = 15;
    long answerTimeoutS = 30;
    long maxRedirects = 10;
};

// Asks one link: HEAD, and where HEAD is refused a GET of the first byte.
LinkResult askLink(const std::string& link, const LinkOptions& options);

// Asks every entry's link; `progress` is called with the count done so far.
std::vector<LinkResult> askLinks(const std::vector<Entry>& entries, const LinkOptions& options,
                                 const std::function<void(size_t done)>& progress = {});

// Whether a result is a fault of the catalog: anything but a file, except a
// web page for an entry that is not a direct download.
bool isBad(const Entry& entry, const LinkResult& result);
// Whether a result fails the run (exit status 1): gone, a redirect loop, no
// answer in time or no connection.
bool failsRun(const LinkResult& result);

// The report: a table of the bad links, then a summary by class.
std::string report(const std::vector<Entry>& entries, const std::vector<LinkResult>& results);

} // namespace catalogtool
