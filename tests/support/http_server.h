// A small HTTP/1.1 server on 127.0.0.1 for the Windows tests: it runs on
// threads inside the test process, serves bodies from memory or files from a
// folder, and misbehaves on request (error statuses, a body cut short, a slow
// answer, a redirect, no range support, ...). Every answer closes its
// connection ("Connection: close"), so a client never waits on a kept-alive
// socket.
//
//   testsupport::HttpServer server;                      // listens on a free port
//   server.serve("/a.bin", bytes);                       // 200 with the bytes
//   server.route("/gone", {.status = 404});              // 404 with a short page
//   server.route("/cut", {.body = bytes, .cutAfter = 10});  // Content-Length is
//                                                        // full, 10 bytes come
//   server.route("/old", HttpServer::redirect("/a.bin"));   // 302 to /a.bin
//   server.route("/c", HttpServer::chunked(bytes, 10));  // chunked, cut after 10
//   server.serveFolder("/files/", "C:\\some\\folder\\"); // files by name
//   std::string u = server.url("/a.bin");                // "http://127.0.0.1:PORT/a.bin"
//   std::string r = HttpServer::refusedUrl("/x");        // nothing listens there
//
// Route fields are set with designated initializers in declaration order.
// Requests to a path without a route get a 404. Routes may be replaced while
// the server runs (a test can make a file "come back" before a retry).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

class HttpServer {
  public:
    // How one path is answered. Default: 200 with `body`, ranges honoured.
    struct Route {
        std::string body{};
        int status = 200;
        std::string contentType = "application/octet-stream";
        // Sent as the Content-Disposition header when not empty
        // (e.g. "attachment; filename=\"setup.exe\"").
        std::string contentDisposition{};
        // Sent as the Location header when not empty (use with a 3xx status).
        std::string location{};
        // Honours "Range: bytes=N-" / "bytes=N-M" with 206 and announces
        // "Accept-Ranges: bytes"; when false, a Range header is ignored and
        // the whole body comes with 200.
        bool ranges = true;
        // The connection is closed after this many body bytes, although the
        // Content-Length header announced the whole body.
        std::size_t cutAfter = std::string::npos;
        // Waits this long before the status line (a server that does not answer).
        unsigned headerDelayMs = 0;
        // After `stallAfter` body bytes, sends nothing for `stallMs` (then goes on).
        std::size_t stallAfter = std::string::npos;
        unsigned stallMs = 0;
        // Limits the body to about this many bytes a second (0: as fast as it goes).
        std::size_t bytesPerSecond = 0;
        // No Content-Length header; the end of the body is the closed connection.
        bool omitLength = false;
        // "Transfer-Encoding: chunked" (no Content-Length), in chunks of this
        // many bytes; `cutAfter` then closes the connection without the
        // closing chunk. 0: the length is announced.
        std::size_t chunkSize = 0;
        // Further headers, sent as given.
        std::vector<std::pair<std::string, std::string>> headers{};
    };

    // One request as the server received it.
    struct Request {
        std::string method, path;
        std::vector<std::pair<std::string, std::string>> headers;
        // The value of a header (name compared without case), empty when absent.
        std::string header(const std::string& name) const;
    };

    // Binds 127.0.0.1 on a free port and starts listening at once.
    HttpServer();
    // Stops listening, ends every open connection and waits for the threads.
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" + path.
    std::string url(const std::string& path) const;

    // Adds or replaces the answer for one path (query string included when
    // the client sends one; the path alone matches too).
    void route(const std::string& path, Route how);
    // Shorthand: 200 with the bytes.
    void serve(const std::string& path, std::string body);
    // Files below `folder` (a Windows path with trailing backslash) answer
    // requests for prefix + file name; ranges honoured.
    void serveFolder(const std::string& prefix, const std::string& folder);

    // Ready-made misbehaviours.
    static Route redirect(const std::string& location, int status = 302);
    static Route htmlPage(const std::string& html = "<html><body>Not the file</body></html>");
    // The whole length announced, the connection closed after `after` bytes.
    static Route cutShort(std::string body, std::size_t after);
    // The answer comes only after `delayMs` (a server that does not answer).
    static Route late(std::string body, unsigned delayMs);
    // The body in chunks; when `after` is given, the connection closes after
    // that many body bytes and the closing chunk never comes.
    static Route chunked(std::string body, std::size_t after = std::string::npos);

    // Requests received so far, in order of arrival.
    std::vector<Request> requests() const;
    // How many requests asked for `path`.
    int requestCount(const std::string& path) const;

    // An address on 127.0.0.1 on which nothing listens: a connection there is refused.
    static std::string refusedUrl(const std::string& path = "/");

  private:
    struct Entry {
        std::string path;
        std::shared_ptr<const Route> route;
    };
    void acceptLoop();
    void serveConnection(std::uintptr_t socket);
    std::shared_ptr<const Route> find(const std::string& path) const;

    std::uintptr_t listener_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<Entry> routes_;
    std::vector<std::pair<std::string, std::string>> folders_;
    std::vector<Request> requests_;
    std::vector<std::uintptr_t> open_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

} // namespace testsupport
