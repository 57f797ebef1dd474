// The WinINet fetch against the test server: only a whole 2xx answer
// replaces the file; faults and time limits leave it alone; while it waits
// the windows paint and input is dropped.
#include "platform/fetch_wininet.h"

#include "tests/support/fakes.h"
#include "tests/support/http_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using testsupport::HttpServer;
using testsupport::TempFolder;

namespace {

constexpr platform::FetchLimits kQuick{.connect = 2000, .receive = 1500, .total = 2500};

// Files in the folder other than `keep` (left-over temporary files).
int strayFiles(const TempFolder& dir, const std::string& keep) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir.path() + "*").c_str(), &fd);
    int n = 0;
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != ".." && name != keep)
            ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

} // namespace

TEST(Fetch, OnlyAWholeSuccessfulAnswerReplacesTheFile) {
    HttpServer server;
    TempFolder dir;
    std::string target = dir.path() + "FLApps.def";
    dir.write("FLApps.def", "old bytes");
    platform::WinInetFetcher fetcher(kQuick);

    std::string body(100000, 'b');
    server.serve("/ok", body);
    server.route("/missing", HttpServer::Route{.status = 404});
    server.route("/broken", HttpServer::Route{.status = 500});
    server.route("/cut", HttpServer::cutShort(body, 5000));
    server.route("/moved", HttpServer::redirect("/ok"));
    server.route("/movedaway", HttpServer::redirect("/missing"));

    struct Case {
        std::string url;
        bool ok;
        int status;
    } cases[] = {
        {server.url("/missing"), false, 404},   {server.url("/broken"), false, 500},
        {server.url("/cut"), false, 200},       {HttpServer::refusedUrl("/ok"), false, 0},
        {server.url("/movedaway"), false, 404}, {"file:///C:/windows/win.ini", false, 0},
    };
    for (const Case& c : cases) {
        platform::FetchResult r = fetcher.fetch(c.url, target, true, nullptr);
        EXPECT_EQ(r.ok, c.ok) << c.url;
        EXPECT_EQ(r.status, c.status) << c.url;
        EXPECT_FALSE(r.error.empty()) << c.url;
        EXPECT_EQ(dir.read("FLApps.def"), "old bytes") << c.url;
        EXPECT_EQ(strayFiles(dir, "FLApps.def"), 0) << c.url;
    }

    platform::FetchResult r = fetcher.fetch(server.url("/moved"), target, true, nullptr);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(dir.read("FLApps.def"), body);
    EXPECT_EQ(strayFiles(dir, "FLApps.def"), 0);

    // Asked to bypass the cache, the request says so to any cache on the way.
    auto requests = server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(requests.back().header("Pragma").find("no-cache"), std::string::npos);
}

TEST(Fetch, ASlowServerMeetsTheTimeLimitWhileTheWindowPaintsAndTakesNoInput) {
    HttpServer server;
    TempFolder dir;
    dir.write("FLVersion.ini", "old");
    server.route("/slow", HttpServer::late("[Signature]\r\n", 3200));
    platform::WinInetFetcher fetcher(kQuick);

    // A window that counts its paints and the keys it is given.
    static std::atomic<int> paints{0}, keys{0};
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_PAINT) {
            ++paints;
            PAINTSTRUCT ps;
            BeginPaint(h, &ps);
            EndPaint(h, &ps);
            return 0;
        }
        if (m == WM_KEYDOWN || m == WM_LBUTTONDOWN)
            ++keys;
        return DefWindowProcA(h, m, w, l);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FetchWaitTest";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("FetchWaitTest", "wait", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                           200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(w);
    testsupport::pumpMessages(100);
    paints = 0;
    keys = 0;

    // Another thread spoils the window and types into it while we wait.
    std::atomic<bool> done{false};
    std::thread poker([&] {
        while (!done) {
            InvalidateRect(w, nullptr, TRUE);
            PostMessageA(w, WM_KEYDOWN, 'A', 0);
            PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            Sleep(100);
        }
    });
    DWORD start = GetTickCount();
    platform::FetchResult r =
        fetcher.fetch(server.url("/slow"), dir.path() + "FLVersion.ini", true, w);
    DWORD took = GetTickCount() - start;
    int paintsDuring = paints;
    done = true;
    poker.join();
    EXPECT_EQ(keys.load(), 0); // nothing was handed to the window while it waited
    // Input that came during the wait was dropped, not kept for later: only
    // what the poker sent after the wait ended may still be queued.
    testsupport::pumpMessages(50);
    EXPECT_LT(keys.load(), 5);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_GE(took, 1400u); // the receive limit (or the total) ended it
    EXPECT_LT(took, 5000u); // long before the server would have answered
    EXPECT_GT(paintsDuring, 3);
    EXPECT_EQ(dir.read("FLVersion.ini"), "old");
    DestroyWindow(w);
}

TEST(Fetch, AnAnswerTooLargeForItsFileFailsAtOnceWithOrWithoutALength) {
    HttpServer server;
    TempFolder dir;
    platform::WinInetFetcher fetcher(kQuick);
    std::string huge(100 << 20, 'x');
    server.serve("/announced", huge);
    server.route("/unannounced", HttpServer::chunked(huge));
    for (const char* path : {"/announced", "/unannounced"}) {
        SCOPED_TRACE(path);
        DWORD began = GetTickCount();
        platform::FetchResult r =
            fetcher.fetch(server.url(path), dir.path() + "FLApps.def", {.maxBytes = 1 << 20});
        EXPECT_LT(GetTickCount() - began, 1500u);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find("larger than"), std::string::npos) << r.error;
        EXPECT_EQ(strayFiles(dir, ""), 0);
    }
}
