#include "downloads/pure/transfer_rules.h"

#include "downloads/pure/progress.h"

namespace downloads {

namespace {

// A header value fit to be sent back: no line break or other control
// character that would end the header line and start another.
bool sendable(const std::string& value) {
    for (char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return false;
    }
    return !value.empty();
}

} // namespace

std::string resumeHeaders(std::uint64_t have, const std::string& etag,
                          const std::string& lastModified) {
    if (have == 0)
        return {};
    std::string h = "Range: bytes=" + std::to_string(have) + "-\r\n";
    // A weak entity tag may not guard a range; the date is the better guard then.
    if (sendable(etag) && etag.rfind("W/", 0) != 0)
        h += "If-Range: " + etag + "\r\n";
    else if (sendable(lastModified))
        h += "If-Range: " + lastModified + "\r\n";
    return h;
}

namespace {

// A decimal number of at most 18 digits (so that it fits a signed 64-bit
// value) at v[i]; no sign, no blanks.
bool number(const std::string& v, size_t& i, std::uint64_t& out) {
    const size_t start = i;
    out = 0;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9' && i - start < 18)
        out = out * 10 + static_cast<std::uint64_t>(v[i++] - '0');
    return i > start && (i == v.size() || v[i] < '0' || v[i] > '9');
}

// "bytes first-last/total" (total may be "*"), with first <= last < total.
bool parseContentRange(const std::string& v, std::uint64_t& first, std::uint64_t& last,
                       std::int64_t& total) {
    if (v.compare(0, 6, "bytes ") != 0)
        return false;
    size_t i = 6;
    std::uint64_t a = 0, b = 0, t = 0;
    if (!number(v, i, a) || i >= v.size() || v[i++] != '-' || !number(v, i, b) || i >= v.size() ||
        v[i++] != '/' || b < a)
        return false;
    if (v.compare(i, std::string::npos, "*") == 0) {
        total = -1;
    } else if (number(v, i, t) && i == v.size() && t > b) {
        total = static_cast<std::int64_t>(t);
    } else {
        return false;
    }
    first = a;
    last = b;
    return true;
}

} // namespace

Plan planAnswer(std::uint64_t have, const Answer& a) {
    Plan p;
    if (have > 0 && a.status == 416) {
        p.action = Plan::StartOver; // the partial file is not a prefix the server knows
        return p;
    }
    if (a.status < 200 || a.status > 299) {
        p.failure = "the server answered " + std::to_string(a.status);
        if (!a.statusText.empty())
            p.failure += " " + a.statusText;
        return p;
    }
    if (a.status == 206) {
        std::uint64_t first = 0, last = 0;
        std::int64_t total = -1;
        if (have == 0) {
            p.failure = "the server sent part of the file unasked";
            return p;
        }
        if (!parseContentRange(a.contentRange, first, last, total)) {
            p.failure = "the server's answer was not understood (Content-Range: " +
                        (sendable(a.contentRange) ? a.contentRange.substr(0, 60) : "?") + ")";
            return p;
        }
        if (first != have) {
            p.action = Plan::StartOver; // it resumed somewhere else: start clean
            return p;
        }
        p.action = Plan::Append;
        p.total = total >= 0 ? total : static_cast<std::int64_t>(last + 1);
        return p;
    }
    // Any other 2xx: the whole file (a server without ranges answers 200).
    p.action = Plan::WriteNew;
    p.total = a.contentLength;
    return p;
}

bool isComplete(std::uint64_t have, std::int64_t total) {
    return total < 0 || have == static_cast<std::uint64_t>(total);
}

std::string networkFailure(unsigned long error, unsigned connectLimitS, unsigned transferLimitS) {
    switch (error) {
    case 12002: // ERROR_INTERNET_TIMEOUT
    case 10060: // WSAETIMEDOUT, as some WinINet versions pass it on
        return "timed out: the server sent nothing for " + std::to_string(transferLimitS) + " s";
    case 12029: // ERROR_INTERNET_CANNOT_CONNECT
        return "no connection: the server refused it or did not answer within " +
               std::to_string(connectLimitS) + " s";
    case 12007: // ERROR_INTERNET_NAME_NOT_RESOLVED
        return "no connection: the server's name was not found";
    case 12030: // ERROR_INTERNET_CONNECTION_ABORTED
    case 12031: // ERROR_INTERNET_CONNECTION_RESET
        return "the connection was lost";
    case 12152: // ERROR_HTTP_INVALID_SERVER_RESPONSE
        return "the server's answer was not understood";
    case 12006: // ERROR_INTERNET_UNRECOGNIZED_SCHEME
    case 12005: // ERROR_INTERNET_INVALID_URL
        return "the address is not valid";
    case 12156: // ERROR_HTTP_REDIRECT_FAILED
        return "a redirect could not be followed";
    case 0x20000001: // the client's own code: a redirect loop, or more than 10
        return "too many redirects";
    case 12044: // ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED
    case 12045: // ERROR_INTERNET_INVALID_CA
    case 12037: // ERROR_INTERNET_SEC_CERT_DATE_INVALID
    case 12038: // ERROR_INTERNET_SEC_CERT_CN_INVALID
    case 12175: // ERROR_INTERNET_DECODING_FAILED / secure failure
        return "the server's certificate was not accepted";
    default:
        return "network error " + std::to_string(error);
    }
}

std::string cutShortFailure(std::uint64_t have, std::int64_t total) {
    return "the transfer was cut short (" + formatSize(have) + " of " +
           formatSize(static_cast<std::uint64_t>(total < 0 ? 0 : total)) + ")";
}

std::string stateText(State state, const std::string& detail) {
    switch (state) {
    case State::Connecting:
        return "Connecting";
    case State::Waiting:
        return "Waiting for a file name";
    case State::Downloading:
        return "Downloading";
    case State::Done:
        return detail.empty() ? "Done" : "Done - " + detail;
    case State::Failed:
        return detail.empty() ? "Failed" : "Failed: " + detail;
    case State::Cancelled:
        return "Cancelled";
    }
    return {};
}

} // namespace downloads
