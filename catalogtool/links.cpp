#include "catalogtool/links.h"

#include "downloads/pure/file_names.h"
#include "platform/pure/link_scheme.h"

#include <curl/curl.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace catalogtool {

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

// The headers of the last answer (after redirects, curl hands every answer's
// headers: a new status line starts over).
struct Headers {
    std::map<std::string, std::string> values; // names in lower case
    static size_t take(char* data, size_t size, size_t count, void* self) {
        auto* h = static_cast<Headers*>(self);
        std::string line(data, size * count);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line.rfind("HTTP/", 0) == 0) {
            h->values.clear();
        } else if (const size_t colon = line.find(':'); colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            h->values[lower(line.substr(0, colon))] = value;
        }
        return size * count;
    }
    std::string get(const std::string& name) const {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    }
};

// A GET of the first byte keeps nothing and stops after the first piece.
size_t discardBody(char*, size_t, size_t, void*) {
    return 0; // ends the transfer: the headers are all that is wanted
}

struct Attempt {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string finalUrl;
    Headers headers;
    std::string error;
};

Attempt ask(const std::string& link, const LinkOptions& o, bool head) {
    Attempt a;
    CURL* curl = curl_easy_init();
    if (!curl) {
        a.code = CURLE_FAILED_INIT;
        return a;
    }
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, link.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, o.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, o.connectTimeoutS);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, o.connectTimeoutS + o.answerTimeoutS);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "catalogtool (Fetchlets catalog check)");
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Headers::take);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &a.headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &discardBody);
    if (head)
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    else
        curl_easy_setopt(curl, CURLOPT_RANGE, "0-0");
    a.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &a.status);
    char* url = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
        a.finalUrl = url;
    a.error = error[0] ? error : curl_easy_strerror(a.code);
    curl_easy_cleanup(curl);
    // Stopping after the headers is no failure.
    if (a.code == CURLE_WRITE_ERROR && a.status > 0)
        a.code = CURLE_OK;
    return a;
}

// The whole file's size from Content-Range ("bytes 0-0/1234"), else
// Content-Length of an answer that is the whole file.
long long announcedSize(const Attempt& a) {
    const std::string range = a.headers.get("content-range");
    if (const size_t slash = range.find('/'); slash != std::string::npos) {
        try {
            return std::stoll(range.substr(slash + 1));
        } catch (...) {
            return -1;
        }
    }
    if (a.status == 206)
        return -1;
    try {
        const std::string length = a.headers.get("content-length");
        return length.empty() ? -1 : std::stoll(length);
    } catch (...) {
        return -1;
    }
}

// A host:port of an address, for the limit per host.
std::string hostKey(const std::string& link) {
    const size_t start = link.find("://");
    const size_t from = start == std::string::npos ? 0 : start + 3;
    const size_t end = link.find_first_of("/?#", from);
    return lower(link.substr(from, end == std::string::npos ? std::string::npos : end - from));
}

} // namespace

const char* className(LinkClass c) {
    switch (c) {
    case LinkClass::File:
        return "file";
    case LinkClass::WebPage:
        return "web page";
    case LinkClass::Gone:
        return "gone";
    case LinkClass::ServerError:
        return "server error";
    case LinkClass::TooManyRedirects:
        return "too many redirects";
    case LinkClass::NoAnswer:
        return "no answer in time";
    case LinkClass::NoConnection:
        return "no connection";
    case LinkClass::TlsFailure:
        return "TLS failure";
    }
    return "?";
}

LinkResult askLink(const std::string& raw, const LinkOptions& o) {
    LinkResult r;
    const platform::LinkCheck check = platform::checkLink(raw);
    if (!check || check.kind != platform::LinkKind::Web) {
        r.kind = LinkClass::NoConnection;
        r.detail = check ? "not a web address" : check.reason;
        return r;
    }
    const std::string link = check.target;
    Attempt a = ask(link, o, true);
    // Servers that refuse HEAD are asked for the first byte instead.
    if (a.code == CURLE_OK &&
        (a.status == 405 || a.status == 501 || a.status == 403 || a.status == 400))
        a = ask(link, o, false);
    if (a.finalUrl != link)
        r.finalUrl = a.finalUrl;
    r.status = static_cast<int>(a.status);
    switch (a.code) {
    case CURLE_OK:
        break;
    case CURLE_TOO_MANY_REDIRECTS:
        r.kind = LinkClass::TooManyRedirects;
        r.detail = "more than " + std::to_string(o.maxRedirects) + " redirects";
        return r;
    case CURLE_OPERATION_TIMEDOUT:
        r.kind = a.status > 0 ? LinkClass::NoAnswer : LinkClass::NoConnection;
        if (a.status == 0 && a.error.find("onnect") == std::string::npos)
            r.kind = LinkClass::NoAnswer;
        r.detail = a.error;
        return r;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        r.kind = LinkClass::TlsFailure;
        r.detail = a.error;
        return r;
    default:
        r.kind = LinkClass::NoConnection;
        r.detail = a.error;
        return r;
    }
    if (a.status >= 400 && a.status < 500) {
        r.kind = LinkClass::Gone;
        r.detail = "answered " + std::to_string(a.status);
        return r;
    }
    if (a.status < 200 || a.status > 299) {
        r.kind = LinkClass::ServerError;
        r.detail = "answered " + std::to_string(a.status);
        return r;
    }
    const std::string type = lower(a.headers.get("content-type"));
    const std::string disposition = a.headers.get("content-disposition");
    const bool attachment = lower(disposition).find("attachment") != std::string::npos;
    if (!attachment &&
        (type.rfind("text/html", 0) == 0 || type.rfind("application/xhtml", 0) == 0)) {
        r.kind = LinkClass::WebPage;
        r.detail = type;
        return r;
    }
    r.kind = LinkClass::File;
    r.fileName = downloads::suggestedFileName(disposition, a.finalUrl, link);
    r.size = announcedSize(a);
    return r;
}

std::vector<LinkResult> askLinks(const std::vector<Entry>& entries, const LinkOptions& o,
                                 const std::function<void(size_t)>& progress) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    std::vector<LinkResult> results(entries.size());
    std::mutex lock;
    std::condition_variable freed;
    std::map<std::string, int> busy; // requests running per host
    std::vector<bool> taken(entries.size());
    size_t next = 0, done = 0; // next: the first link not yet taken
    auto worker = [&] {
        for (;;) {
            size_t i = entries.size();
            std::string host;
            {
                std::unique_lock<std::mutex> guard(lock);
                // The first link not taken whose host has room; wait while
                // every remaining one's host is full.
                for (;;) {
                    while (next < entries.size() && taken[next])
                        ++next;
                    if (next >= entries.size())
                        return;
                    for (size_t k = next; k < entries.size() && i == entries.size(); ++k) {
                        if (taken[k])
                            continue;
                        host = hostKey(entries[k].link);
                        if (busy[host] < o.perHost)
                            i = k;
                    }
                    if (i < entries.size())
                        break;
                    freed.wait(guard);
                }
                taken[i] = true;
                ++busy[host];
            }
            results[i] = askLink(entries[i].link, o);
            {
                std::lock_guard<std::mutex> guard(lock);
                --busy[host];
                ++done;
                if (progress)
                    progress(done);
            }
            freed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < std::max(1, o.jobs); ++t)
        threads.emplace_back(worker);
    for (std::thread& t : threads)
        t.join();
    curl_global_cleanup();
    return results;
}

bool isBad(const Entry& entry, const LinkResult& r) {
    if (r.kind == LinkClass::File)
        return false;
    return !(r.kind == LinkClass::WebPage && !entry.directDownload);
}

bool failsRun(const LinkResult& r) {
    return r.kind == LinkClass::Gone || r.kind == LinkClass::TooManyRedirects ||
           r.kind == LinkClass::NoAnswer || r.kind == LinkClass::NoConnection;
}

std::string report(const std::vector<Entry>& entries, const std::vector<LinkResult>& results) {
    std::string out;
    std::map<std::string, int> byClass;
    int redirected = 0, bad = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const LinkResult& r = results[i];
        std::string kind = className(r.kind);
        if (r.kind == LinkClass::WebPage && e.directDownload)
            kind = "web page, not a file";
        ++byClass[className(r.kind)];
        if (!r.finalUrl.empty())
            ++redirected;
        if (!isBad(e, r))
            continue;
        if (bad++ == 0)
            out += "class\tentry\tlink\tdetail\n";
        std::string detail = r.detail;
        if (!r.finalUrl.empty())
            detail += (detail.empty() ? "" : "; ") + std::string("redirected to ") + r.finalUrl;
        out += kind + "\t" + e.file + ":" + std::to_string(e.line) + " [" + e.section + "] " +
               e.name + "\t" + e.link + "\t" + detail + "\n";
    }
    if (bad > 0)
        out += "\n";
    out += "links: " + std::to_string(entries.size()) + ", bad: " + std::to_string(bad) +
           ", redirected: " + std::to_string(redirected) + "\n";
    for (int c = 0; c <= static_cast<int>(LinkClass::TlsFailure); ++c) {
        const char* name = className(static_cast<LinkClass>(c));
        out += std::string(name) + ": " + std::to_string(byClass[name]) + "\n";
    }
    return out;
}

} // namespace catalogtool
