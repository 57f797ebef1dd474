// One HTTP GET over WinINet: the client every transfer of the program uses
// (the updater's fetch and the Downloads window's transfers). It runs on the
// caller's (worker) thread; cancel() may come from any other thread.
//
//   platform::HttpGet get(limits);
//   if (get.open(url, extraHeaders)) {          // redirects already followed
//       while (get.read(buffer, size, got) && got > 0) { ... }
//       get.bodyEnd();                         // Whole, Unconfirmed or Short
//   }
//
// Time limits sit on the handles that carry the request: to connect, for
// the answer's headers, and for the longest silence inside the body. An
// overall cap, where one is wanted, is the caller's (it calls cancel()).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/handles.h"

namespace platform {

struct HttpLimits {
    unsigned connectMs = 15000; // to reach the server
    unsigned headersMs = 30000; // from the request sent to the answer's headers
    unsigned silenceMs = 30000; // longest pause inside the body
};

// How a body that read to its end ended.
enum class BodyEnd {
    Whole,       // the announced length arrived
    Unconfirmed, // no length announced (chunked, or ended by the closed connection)
    Short,       // fewer bytes than announced
};

class HttpGet {
  public:
    // Redirects followed before the answer counts as "too many redirects".
    static constexpr int kMaxRedirects = 10;
    // error() after too many redirects or a redirect loop (an application
    // error code, outside WinINet's numbering).
    static constexpr DWORD kTooManyRedirects = 0x20000000u | 1u;
    // error() after cancel().
    static constexpr DWORD kCancelled = ERROR_INTERNET_OPERATION_CANCELLED;

    explicit HttpGet(HttpLimits limits = {});
    ~HttpGet();
    HttpGet(const HttpGet&) = delete;
    HttpGet& operator=(const HttpGet&) = delete;

    // Sends the request (`headers`: further request headers, CRLF-separated)
    // and follows redirects itself. True once an answer that is not a
    // redirect arrived, whatever its status; false on failure (error()).
    bool open(const std::string& url, const std::string& headers = {});

    int status() const { return status_; }
    // A header of the answer (HTTP_QUERY_*) as UTF-8; empty when absent.
    std::string header(DWORD query) const;
    // The address that answered, after redirects.
    const std::string& finalUrl() const { return finalUrl_; }
    // The announced Content-Length, -1 when none came.
    std::int64_t announcedLength() const { return length_; }
    bool chunked() const { return chunked_; }

    // Reads the body: true with `got` > 0 for data, true with `got` == 0 at
    // its end, false on failure (error()).
    bool read(void* buffer, DWORD size, DWORD& got);
    std::uint64_t received() const { return received_; }
    // Once read() reported the end: whether the body is known to be whole.
    BodyEnd bodyEnd() const;

    // From any thread: a pending call returns as soon as WinINet lets it and
    // every later call fails with kCancelled.
    void cancel();
    bool cancelled() const;
    // Lets go of the connection on this thread (WinINet may first read what
    // the server still sends); the destructor does the same.
    void close();
    DWORD error() const { return error_; }

  private:
    bool fail(DWORD error);
    bool failLocked(DWORD error); // with mutex_ held
    bool sendOne(const std::wstring& url, const std::wstring& headers);

    const HttpLimits limits_;
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    InternetHandle session_, connection_, request_;
    int status_ = 0;
    std::string finalUrl_;
    std::int64_t length_ = -1;
    bool chunked_ = false;
    std::uint64_t received_ = 0;
    bool ended_ = false;
    DWORD error_ = 0;
};

} // namespace platform
