#include "tests/support/http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

bool sameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string reasonFor(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 416:
        return "Range Not Satisfiable";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// Parses "bytes=N-", "bytes=N-M" or "bytes=-S" against a body of `size`
// bytes; false for anything else (several ranges included).
bool parseRange(const std::string& value, std::size_t size, std::size_t& first, std::size_t& last) {
    const std::string unit = "bytes=";
    if (value.compare(0, unit.size(), unit) != 0 || value.find(',') != std::string::npos)
        return false;
    std::string bounds = value.substr(unit.size());
    size_t dash = bounds.find('-');
    if (dash == std::string::npos)
        return false;
    std::string a = bounds.substr(0, dash), b = bounds.substr(dash + 1);
    try {
        if (a.empty()) {
            if (b.empty())
                return false;
            std::size_t suffix = std::stoull(b);
            if (suffix == 0)
                return false;
            first = suffix >= size ? 0 : size - suffix;
            last = size - 1;
        } else {
            first = std::stoull(a);
            last = b.empty() ? size - 1 : std::min<std::size_t>(std::stoull(b), size - 1);
            if (!b.empty() && std::stoull(b) < first)
                return false;
        }
    } catch (...) {
        return false;
    }
    return true;
}

// Sleeps in short slices so that a stopping server is not held up.
void pause(unsigned ms, const std::atomic<bool>& stopping) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!stopping && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

bool sendAll(SOCKET s, const char* data, std::size_t n) {
    while (n > 0) {
        int chunk = static_cast<int>(std::min<std::size_t>(n, 1 << 20));
        int sent = send(s, data, chunk, 0);
        if (sent <= 0)
            return false;
        data += sent;
        n -= static_cast<std::size_t>(sent);
    }
    return true;
}

struct WinsockUser {
    WinsockUser() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
    ~WinsockUser() { WSACleanup(); }
};

} // namespace

std::string HttpServer::Request::header(const std::string& name) const {
    for (auto& [k, v] : headers)
        if (sameText(k, name))
            return v;
    return {};
}

HttpServer::HttpServer() {
    WSADATA d;
    WSAStartup(MAKEWORD(2, 2), &d);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(s, SOMAXCONN);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    listener_ = s;
    acceptor_ = std::thread([this] { acceptLoop(); });
}

HttpServer::~HttpServer() {
    stopping_ = true;
    acceptor_.join();
    closesocket(static_cast<SOCKET>(listener_));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto s : open_)
            shutdown(static_cast<SOCKET>(s), SD_BOTH);
    }
    for (auto& t : workers_)
        t.join();
    WSACleanup();
}

std::string HttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpServer::route(const std::string& path, Route how) {
    auto r = std::make_shared<const Route>(std::move(how));
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& e : routes_)
        if (e.path == path) {
            e.route = r;
            return;
        }
    routes_.push_back({path, r});
}

void HttpServer::serve(const std::string& path, std::string body) {
    Route r;
    r.body = std::move(body);
    route(path, std::move(r));
}

void HttpServer::serveFolder(const std::string& prefix, const std::string& folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    folders_.emplace_back(prefix, folder);
}

HttpServer::Route HttpServer::redirect(const std::string& location, int status) {
    Route r;
    r.status = status;
    r.location = location;
    r.contentType = "text/html";
    r.body = "<html><body>Moved</body></html>";
    return r;
}

HttpServer::Route HttpServer::htmlPage(const std::string& html) {
    Route r;
    r.contentType = "text/html; charset=utf-8";
    r.body = html;
    return r;
}

HttpServer::Route HttpServer::cutShort(std::string body, std::size_t after) {
    Route r;
    r.body = std::move(body);
    r.cutAfter = after;
    return r;
}

HttpServer::Route HttpServer::late(std::string body, unsigned delayMs) {
    Route r;
    r.body = std::move(body);
    r.headerDelayMs = delayMs;
    return r;
}

HttpServer::Route HttpServer::chunked(std::string body, std::size_t after) {
    Route r;
    r.body = std::move(body);
    r.chunkSize = 16 * 1024;
    r.cutAfter = after;
    r.ranges = false;
    return r;
}

std::vector<HttpServer::Request> HttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int HttpServer::requestCount(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count_if(requests_.begin(), requests_.end(),
                                          [&](const Request& r) { return r.path == path; }));
}

std::string HttpServer::refusedUrl(const std::string& path) {
    // A port the system just handed out and that nobody listens on any more.
    WinsockUser ws;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    int port = ntohs(a.sin_port);
    closesocket(s);
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

void HttpServer::acceptLoop() {
    // Polls, so that a stopping server does not depend on closesocket waking
    // a blocked accept.
    while (!stopping_) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(static_cast<SOCKET>(listener_), &ready);
        timeval wait{0, 50000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET c = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (c == INVALID_SOCKET)
            continue;
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            closesocket(c);
            return;
        }
        open_.push_back(c);
        workers_.emplace_back([this, c] { serveConnection(c); });
    }
}

std::shared_ptr<const HttpServer::Route> HttpServer::find(const std::string& target) const {
    std::string bare = target.substr(0, target.find('?'));
    std::vector<std::pair<std::string, std::string>> folders;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& e : routes_)
            if (e.path == target)
                return e.route;
        for (auto& e : routes_)
            if (e.path == bare)
                return e.route;
        folders = folders_;
    }
    for (auto& [prefix, folder] : folders) {
        if (bare.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string name = bare.substr(prefix.size());
        if (name.empty() || name.find_first_of("/\\") != std::string::npos || name == "..")
            continue;
        std::ifstream f(folder + name, std::ios::binary);
        if (!f)
            continue;
        std::ostringstream s;
        s << f.rdbuf();
        auto r = std::make_shared<Route>();
        r->body = s.str();
        return r;
    }
    return nullptr;
}

void HttpServer::serveConnection(std::uintptr_t socketValue) {
    SOCKET s = static_cast<SOCKET>(socketValue);
    auto finish = [&] {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            open_.erase(std::remove(open_.begin(), open_.end(), socketValue), open_.end());
        }
        shutdown(s, SD_SEND);
        closesocket(s);
    };

    // The request head: up to the empty line (a body, if any, is ignored).
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int n = recv(s, buf, sizeof buf, 0);
        if (n <= 0) {
            finish();
            return;
        }
        head.append(buf, static_cast<std::size_t>(n));
    }
    Request req;
    {
        std::istringstream in(head);
        std::string line;
        std::getline(in, line);
        std::istringstream first(line);
        std::string version;
        first >> req.method >> req.path >> version;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty())
                break;
            size_t colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(" \t"));
            req.headers.emplace_back(line.substr(0, colon), value);
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(req);
    }

    auto route = find(req.path);
    Route notFound;
    if (!route) {
        notFound.status = 404;
        notFound.contentType = "text/html";
        notFound.body = "<html><body>404 Not Found</body></html>";
        route = std::make_shared<const Route>(notFound);
    }
    const Route& r = *route;
    if (r.headerDelayMs)
        pause(r.headerDelayMs, stopping_);
    if (stopping_) {
        finish();
        return;
    }

    int status = r.status;
    std::size_t first = 0;
    std::size_t count = r.body.size();
    std::string extra;
    std::string range = req.header("Range");
    if (status == 200 && r.ranges && !range.empty()) {
        std::size_t f = 0, l = 0;
        if (parseRange(range, r.body.size(), f, l) && f < r.body.size()) {
            status = 206;
            first = f;
            count = l - f + 1;
            extra += "Content-Range: bytes " + std::to_string(f) + "-" + std::to_string(l) + "/" +
                     std::to_string(r.body.size()) + "\r\n";
        } else if (parseRange(range, r.body.size(), f, l)) {
            status = 416;
            count = 0;
            extra += "Content-Range: bytes */" + std::to_string(r.body.size()) + "\r\n";
        }
    }

    std::string out = "HTTP/1.1 " + std::to_string(status) + " " + reasonFor(status) + "\r\n";
    out += "Content-Type: " + r.contentType + "\r\n";
    if (r.chunkSize)
        out += "Transfer-Encoding: chunked\r\n";
    else if (!r.omitLength)
        out += "Content-Length: " + std::to_string(count) + "\r\n";
    if (r.ranges)
        out += "Accept-Ranges: bytes\r\n";
    if (!r.contentDisposition.empty())
        out += "Content-Disposition: " + r.contentDisposition + "\r\n";
    if (!r.location.empty()) {
        std::string where = r.location;
        if (!where.empty() && where[0] == '/')
            where = url(where);
        out += "Location: " + where + "\r\n";
    }
    for (auto& [k, v] : r.headers)
        out += k + ": " + v + "\r\n";
    out += extra;
    out += "Connection: close\r\n\r\n";
    if (!sendAll(s, out.data(), out.size()) || req.method == "HEAD" || count == 0) {
        finish();
        return;
    }

    // The body, from `first`, with the requested misbehaviours.
    std::size_t limit = std::min(count, r.cutAfter);
    std::size_t sent = 0;
    bool stalled = false;
    const std::size_t slice =
        r.bytesPerSecond ? std::max<std::size_t>(r.bytesPerSecond / 20, 1) : (std::size_t(1) << 20);
    while (sent < limit && !stopping_) {
        std::size_t n = std::min(slice, limit - sent);
        if (!stalled && r.stallAfter != std::string::npos) {
            if (sent >= r.stallAfter) {
                pause(r.stallMs, stopping_);
                stalled = true;
                continue;
            }
            n = std::min(n, r.stallAfter - sent);
        }
        if (r.chunkSize) {
            // Each chunk announces its whole size; a cut inside it sends
            // only the part before the cut.
            std::size_t length = std::min(r.chunkSize, count - sent);
            n = std::min(length, limit - sent);
            char size[24];
            std::snprintf(size, sizeof size, "%zx\r\n", length);
            std::string chunk = size + r.body.substr(first + sent, n);
            if (n == length)
                chunk += "\r\n";
            if (!sendAll(s, chunk.data(), chunk.size()))
                break;
        } else if (!sendAll(s, r.body.data() + first + sent, n))
            break;
        sent += n;
        if (r.bytesPerSecond)
            pause(50, stopping_);
    }
    if (r.chunkSize && sent == count && !stopping_)
        sendAll(s, "0\r\n\r\n", 5);
    finish();
}

} // namespace testsupport
