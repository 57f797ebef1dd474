#include "links/pure/link_queue.h"

#include <unordered_set>

namespace links {

ParsedQueue parseQueue(std::string_view bytes) {
    ParsedQueue q;
    std::size_t start = 0;
    while (start < bytes.size()) {
        if (q.links.size() == kMaxLinks) {
            q.truncated = true;
            break;
        }
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            q.links.emplace_back(bytes.substr(start));
            break;
        }
        q.links.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    return q;
}

std::string formatQueue(const std::vector<std::string>& links) {
    std::size_t size = 0;
    for (const auto& l : links)
        size += l.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& l : links) {
        text += l;
        text += "\r\n";
    }
    return text;
}

std::vector<std::size_t> repeatedLinks(const std::vector<std::string>& links) {
    std::vector<std::size_t> repeated;
    std::unordered_set<std::string_view> seen;
    seen.reserve(links.size());
    for (std::size_t i = 0; i < links.size(); ++i)
        if (!seen.insert(links[i]).second)
            repeated.push_back(i);
    return repeated;
}

bool tidyQueue(std::vector<std::string>& links) {
    std::vector<std::size_t> repeated = repeatedLinks(links);
    if (repeated.empty())
        return false;
    std::size_t out = 0, next = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        if (next < repeated.size() && repeated[next] == i) {
            ++next;
            continue;
        }
        if (out != i)
            links[out] = std::move(links[i]);
        ++out;
    }
    links.resize(out);
    return true;
}

std::string selectionText(const std::vector<std::string>& links,
                          const std::vector<bool>& selected) {
    std::string text;
    for (std::size_t i = 0; i < links.size() && i < selected.size(); ++i)
        if (selected[i]) {
            text += links[i];
            text += "\r\n";
        }
    return text;
}

bool blacklisted(std::string_view link, const std::vector<std::string>& blacklist) {
    if (link.empty())
        return false;
    for (const auto& entry : blacklist)
        if (link.find(entry) != std::string_view::npos)
            return true;
    return false;
}

} // namespace links
