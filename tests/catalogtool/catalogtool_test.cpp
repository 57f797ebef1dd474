// catalogtool on real files and against a real HTTP server on 127.0.0.1.
#include "catalogtool/check.h"
#include "catalogtool/links.h"
#include "catalog/profile.h"
#include "platform/pure/link_scheme.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;
using namespace catalogtool;

namespace {

// Answers by path: a file, a page, gone, a redirect chain and loop, a server
// error, a server that refuses HEAD, and one that never answers.
class Server {
  public:
    Server() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(fd_, 64);
        socklen_t len = sizeof a;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~Server() {
        stop_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
    }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

  private:
    void run() {
        while (!stop_) {
            const int c = ::accept(fd_, nullptr, nullptr);
            if (c < 0)
                return;
            std::thread([this, c] { serve(c); }).detach();
        }
    }
    void serve(int c) {
        char buf[4096];
        const ssize_t n = ::recv(c, buf, sizeof buf - 1, 0);
        std::string req(buf, n > 0 ? static_cast<size_t>(n) : 0);
        const bool head = req.rfind("HEAD ", 0) == 0;
        const size_t p = req.find(' ') + 1;
        const std::string path = req.substr(p, req.find(' ', p) - p);
        auto send = [&](const std::string& status, const std::string& headers,
                        const std::string& body) {
            std::string out = "HTTP/1.1 " + status + "\r\n" + headers +
                              "Content-Length: " + std::to_string(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + (head ? "" : body);
            ::send(c, out.data(), out.size(), MSG_NOSIGNAL);
        };
        if (path == "/setup.exe")
            send("200 OK", "Content-Type: application/octet-stream\r\n", std::string(1234, 'x'));
        else if (path == "/page")
            send("200 OK", "Content-Type: text/html; charset=utf-8\r\n", "<html></html>");
        else if (path == "/gone")
            send("404 Not Found", "Content-Type: text/html\r\n", "no");
        else if (path == "/broken")
            send("503 Service Unavailable", "", "");
        else if (path.rfind("/hop", 0) == 0) { // /hop5 -> /hop4 ... -> /setup.exe
            const int left = std::stoi(path.substr(4));
            send("302 Found",
                 "Location: " + (left > 1 ? "/hop" + std::to_string(left - 1) : "/setup.exe") +
                     "\r\n",
                 "");
        } else if (path == "/loop-a")
            send("302 Found", "Location: /loop-b\r\n", "");
        else if (path == "/loop-b")
            send("302 Found", "Location: /loop-a\r\n", "");
        else if (path == "/nohead") {
            if (head)
                send("405 Method Not Allowed", "", "");
            else
                send("206 Partial Content",
                     "Content-Type: application/zip\r\nContent-Range: bytes 0-0/5000\r\n"
                     "Content-Disposition: attachment; filename=\"tool.zip\"\r\n",
                     "P");
        } else if (path == "/silent") {
            std::this_thread::sleep_for(std::chrono::seconds(4));
        } else
            send("404 Not Found", "", "");
        ::close(c);
    }
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class Tool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("fl_catalogtool_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* f : {"FLApps.def", "FLPortable.def", "FLSlim.def", "FLSpecial.def"})
            write(f, "[Tools]\r\nTool=https://example.org/tool.exe\r\n");
        write("FLPages.def", "[Help]\r\nPage=https://example.org/help\r\n");
    }
    void TearDown() override { fs::remove_all(dir_); }
    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> lines() {
        std::vector<std::string> out;
        for (const Problem& p : checkFolder(dir_.string()))
            out.push_back(format(p));
        return out;
    }
    fs::path dir_;
};

TEST_F(Tool, CheckFindsWhatTheProgramWouldRefuseOrShowWrongly) {
    EXPECT_TRUE(lines().empty());
    write("FLApps.def", "[Tools]\r\n"
                        "Calc=file:///C:/windows/system32/calc.exe\r\n"
                        "Empty=\r\n"
                        "just text\r\n"
                        "Quote=https://example.org/a\" --flag \"b\r\n"
                        "Tool=https://example.org/x.exe\r\n"
                        "tool=https://example.org/y.exe\r\n"
                        "Old=http://example.org/old.exe\r\n"
                        "Bad\x81=https://example.org/z.exe\r\n"
                        "[Nothing]\r\n"
                        "[tools]\r\n"
                        "Other=https://example.org/o.exe\r\n");
    remove((dir_ / "FLSlim.def").c_str());
    write("FLSignatures.ddl", "FLApps.def\r\nCON\r\n..\\x.def\r\n");
    const auto got = lines();
    const std::vector<std::string> expected = {
        "FLApps.def:2: [Tools] Calc: the program refuses the link: " +
            platform::checkLink("file:///C:/windows/system32/calc.exe").reason,
        "FLApps.def:3: [Tools] Empty: an entry with an empty link",
        "FLApps.def:4: [Tools]: neither a category, an entry nor blank: \"just text\"",
        "FLApps.def:5: [Tools] Quote: warning: the link holds characters that must be encoded "
        "(blank, quote, ...)",
        "FLApps.def:7: [Tools] tool: warning: the name appears twice in the category",
        "FLApps.def:8: [Tools] Old: warning: plain http to example.org, which the catalog reaches "
        "by https elsewhere",
        "FLApps.def:9: [Tools]: holds a character that code page 1252 cannot hold",
        "FLApps.def:10: [Nothing]: warning: category without entries",
        "FLApps.def:11: [tools]: the category appears twice (the program shows only the first)",
        "FLSlim.def: is missing",
        "FLSignatures.ddl:2: CON: not a plain file name in the Data folder",
        "FLSignatures.ddl:3: ..\\x.def: not a plain file name in the Data folder",
    };
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(hasErrors(checkFolder(dir_.string())));
}

TEST_F(Tool, PublishWritesSizesAndHashesAndKeepsTheRest) {
    write("FLVersion.ini", "[Fetchlets]\r\nVersion=0.4.4\r\nChangelog=Program\r\n"
                           "[Signature]\r\nVersion=2026.01.01\r\nChangelog=old\r\n"
                           "[Files]\r\nGone.def=1,00\r\n");
    write("FLSignatures.ddl", "FLApps.def\r\nFLPages.def\r\n");
    std::string why;
    const std::string changelog = "New links";
    ASSERT_TRUE(publish(dir_.string(), "2026.12.09", &changelog, why)) << why;
    const std::string manifest = (dir_ / "FLVersion.ini").string();
    EXPECT_EQ(profile::readString(manifest, "Fetchlets", "Version", nullptr, 256).text, "0.4.4");
    EXPECT_EQ(profile::readString(manifest, "Signature", "Version", nullptr, 256).text,
              "2026.12.09");
    EXPECT_EQ(profile::readString(manifest, "Signature", "Changelog", nullptr, 256).text,
              "New links");
    // The figures of sha256sum and wc -c for the same bytes.
    EXPECT_EQ(
        profile::sectionLines(manifest, "Files", 4096),
        (std::vector<std::string>{
            "FLApps.def=44,70624147fdff07bd34418448a6b35f953e7ae3a274d13a826a9ba61f43599c65",
            "FLPages.def=39,6984d32b77e54f10d87a7375c6a13b44d28f9ad3063fe689abc6a2857122656f"}));
    // A catalog with an error is not published; the manifest stays as it was.
    const std::string before = read("FLVersion.ini");
    write("FLPages.def", "[Help]\r\nPage=\r\n");
    EXPECT_FALSE(publish(dir_.string(), "2026.12.10", nullptr, why));
    EXPECT_EQ(read("FLVersion.ini"), before);
    EXPECT_FALSE(fs::exists(dir_ / "FLVersion.ini.publish"));
}

TEST(Links, EveryClassAgainstALocalServer) {
    Server server;
    std::vector<Entry> entries;
    auto add = [&](const std::string& path, bool direct = true) {
        entries.push_back({"FLApps.def", static_cast<int>(entries.size()) + 1, "Test", path,
                           server.url(path), direct});
    };
    add("/setup.exe");
    add("/page");
    add("/page", false);
    add("/gone");
    add("/broken");
    add("/hop5");
    add("/loop-a");
    add("/nohead");
    add("/silent");
    entries.push_back({"FLApps.def", 10, "Test", "closed", "http://127.0.0.1:1/x.exe", true});
    LinkOptions options;
    options.answerTimeoutS = 1;
    options.connectTimeoutS = 1;
    const auto r = askLinks(entries, options);
    ASSERT_EQ(r.size(), entries.size());
    EXPECT_EQ(r[0].kind, LinkClass::File);
    EXPECT_EQ(r[0].fileName, "setup.exe");
    EXPECT_EQ(r[0].size, 1234);
    EXPECT_EQ(r[1].kind, LinkClass::WebPage);
    EXPECT_TRUE(isBad(entries[1], r[1]));
    EXPECT_FALSE(isBad(entries[2], r[2])); // a page is fine where a page is meant
    EXPECT_EQ(r[3].kind, LinkClass::Gone);
    EXPECT_EQ(r[4].kind, LinkClass::ServerError);
    EXPECT_EQ(r[5].kind, LinkClass::File);
    EXPECT_EQ(r[5].finalUrl, server.url("/setup.exe"));
    EXPECT_EQ(r[6].kind, LinkClass::TooManyRedirects);
    EXPECT_EQ(r[7].kind, LinkClass::File);
    EXPECT_EQ(r[7].fileName, "tool.zip");
    EXPECT_EQ(r[7].size, 5000);
    EXPECT_EQ(r[8].kind, LinkClass::NoAnswer);
    EXPECT_EQ(r[9].kind, LinkClass::NoConnection);
    const std::string text = report(entries, r);
    std::printf("%s", text.c_str());
    EXPECT_NE(text.find("links: 10, bad: 6, redirected: 1\n"), std::string::npos);
    EXPECT_NE(text.find("too many redirects\tFLApps.def:7 [Test] /loop-a\t"), std::string::npos);
    for (size_t i : {3u, 6u, 8u, 9u})
        EXPECT_TRUE(failsRun(r[i])) << i;
    for (size_t i : {0u, 1u, 4u, 5u, 7u})
        EXPECT_FALSE(failsRun(r[i])) << i;
}

} // namespace
