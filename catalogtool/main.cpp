// catalogtool: the catalog maintainer's checks and the manifest they publish.
#include "catalogtool/check.h"
#include "catalogtool/links.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char kHelp[] = "usage: catalogtool check DIR\n"
                     "       catalogtool links DIR [--jobs N] [--json FILE]\n"
                     "       catalogtool publish DIR VERSION [--changelog TEXT]\n"
                     "\n"
                     "check    the five catalog files of a Data folder (and FLSignatures.ddl,\n"
                     "         FLBlacklist.def when present): one line per problem,\n"
                     "         FILE:LINE: [section] name: problem. Exit status 1 on any error,\n"
                     "         0 when there are only warnings.\n"
                     "links    asks every link (HEAD, else a GET of the first byte; at most 10\n"
                     "         redirects; 15 s to connect, 30 s to answer; N at once, default 8,\n"
                     "         at most 2 to one host) and prints a table of the bad ones and a\n"
                     "         summary by class. Exit status 1 when a link is gone, loops on\n"
                     "         redirects, does not answer in time or cannot be reached.\n"
                     "         --json FILE also writes every result as JSON.\n"
                     "         --connect-timeout S and --answer-timeout S change the limits.\n"
                     "publish  refuses when check finds an error; else writes DIR/FLVersion.ini\n"
                     "         with [Signature] Version=VERSION (and Changelog=TEXT), every other\n"
                     "         key kept, and [Files] FILE=<size>,<sha256> for each file that the\n"
                     "         updater fetches (the lines of FLSignatures.ddl, or the five\n"
                     "         catalog files).\n";

std::string jsonText(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

int usage() {
    std::fputs(kHelp, stderr);
    return 2;
}

int check(const std::string& dir) {
    const auto problems = catalogtool::checkFolder(dir);
    for (const auto& p : problems)
        std::printf("%s\n", catalogtool::format(p).c_str());
    return catalogtool::hasErrors(problems) ? 1 : 0;
}

int links(const std::string& dir, const std::vector<std::string>& args) {
    catalogtool::LinkOptions options;
    std::string json;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool more = i + 1 < args.size();
        if (args[i] == "--jobs" && more)
            options.jobs = std::max(1, std::atoi(args[++i].c_str()));
        else if (args[i] == "--json" && more)
            json = args[++i];
        else if (args[i] == "--connect-timeout" && more)
            options.connectTimeoutS = std::max(1, std::atoi(args[++i].c_str()));
        else if (args[i] == "--answer-timeout" && more)
            options.answerTimeoutS = std::max(1, std::atoi(args[++i].c_str()));
        else
            return usage();
    }
    const auto entries = catalogtool::catalogEntries(dir);
    if (entries.empty()) {
        std::fprintf(stderr, "catalogtool: no links in %s\n", dir.c_str());
        return 1;
    }
    const auto results = catalogtool::askLinks(entries, options, [&](size_t done) {
        std::fprintf(stderr, "\rasked %zu of %zu links", done, entries.size());
        if (done == entries.size())
            std::fputc('\n', stderr);
    });
    std::fputs(catalogtool::report(entries, results).c_str(), stdout);
    if (!json.empty()) {
        std::ofstream out(json, std::ios::binary | std::ios::trunc);
        out << "[\n";
        for (size_t i = 0; i < entries.size(); ++i) {
            const auto& e = entries[i];
            const auto& r = results[i];
            out << "  {\"file\": " << jsonText(e.file) << ", \"line\": " << e.line
                << ", \"section\": " << jsonText(e.section) << ", \"name\": " << jsonText(e.name)
                << ", \"link\": " << jsonText(e.link)
                << ", \"class\": " << jsonText(catalogtool::className(r.kind))
                << ", \"status\": " << r.status << ", \"final\": " << jsonText(r.finalUrl)
                << ", \"fileName\": " << jsonText(r.fileName) << ", \"size\": " << r.size
                << ", \"detail\": " << jsonText(r.detail) << "}"
                << (i + 1 < entries.size() ? "," : "") << "\n";
        }
        out << "]\n";
        if (!out) {
            std::fprintf(stderr, "catalogtool: cannot write %s\n", json.c_str());
            return 1;
        }
    }
    for (const auto& r : results)
        if (catalogtool::failsRun(r))
            return 1;
    return 0;
}

int publish(const std::string& dir, const std::string& version,
            const std::vector<std::string>& args) {
    std::string changelog;
    bool hasChangelog = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--changelog" && i + 1 < args.size()) {
            changelog = args[++i];
            hasChangelog = true;
        } else {
            return usage();
        }
    }
    std::string why;
    if (!catalogtool::publish(dir, version, hasChangelog ? &changelog : nullptr, why)) {
        for (const auto& p : catalogtool::checkFolder(dir))
            if (p.error)
                std::fprintf(stderr, "%s\n", catalogtool::format(p).c_str());
        std::fprintf(stderr, "catalogtool: not published: %s\n", why.c_str());
        return 1;
    }
    std::printf("%s/FLVersion.ini: catalog version %s\n", dir.c_str(), version.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage();
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (args[0] == "check" && args.size() == 2)
        return check(args[1]);
    if (args[0] == "links" && args.size() >= 2)
        return links(args[1], {args.begin() + 2, args.end()});
    if (args[0] == "publish" && args.size() >= 3)
        return publish(args[1], args[2], {args.begin() + 3, args.end()});
    return usage();
}
