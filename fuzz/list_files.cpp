// The Options page's list files and the link queue file.
// Properties: no line holds a line break; a queue written and read again is
// the same queue; tidying keeps each link's first occurrence, in order, and
// leaves no repeat; the blacklist rule is the substring rule.
#include "app/pure/list_file.h"
#include "fuzz/fuzz.h"
#include "links/pure/link_queue.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string& line : app::listFileLines(bytes))
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);

    const links::ParsedQueue parsed = links::parseQueue(bytes);
    FUZZ_CHECK(parsed.links.size() <= links::kMaxLinks);
    for (const std::string& link : parsed.links)
        FUZZ_CHECK(link.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(links::parseQueue(links::formatQueue(parsed.links)).links == parsed.links);

    std::vector<std::string> tidy = parsed.links;
    links::tidyQueue(tidy);
    std::vector<std::string> expected;
    std::set<std::string> seen;
    for (const std::string& link : parsed.links)
        if (seen.insert(link).second)
            expected.push_back(link);
    FUZZ_CHECK(tidy == expected);

    if (!parsed.links.empty()) {
        const std::string& link = parsed.links.front();
        const std::vector<std::string> blacklist(parsed.links.begin() + 1, parsed.links.end());
        bool found = false;
        for (const std::string& entry : blacklist)
            found = found || (!link.empty() && link.find(entry) != std::string::npos);
        FUZZ_CHECK(links::blacklisted(link, blacklist) == found);
    }
    return 0;
}
