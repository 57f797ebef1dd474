#include "links/pure/link_queue.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace links {

ParsedQueue parseQueue(std::string_view bytes) {
    ParsedQueue q;
    std::size_t lines = 0;
    for (char c : bytes)
        lines += c == '\n';
    q.links.reserve(std::min(lines + 1, kMaxLinks));
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
    // An open-addressing table of positions (position + 1, 0 for free), at
    // most half full: no allocation per link.
    std::size_t size = 16;
    while (size < links.size() * 2)
        size *= 2;
    std::vector<std::uint32_t> slots(size, 0);
    std::vector<std::size_t> repeated;
    const std::hash<std::string_view> hash;
    for (std::size_t i = 0; i < links.size(); ++i) {
        std::size_t slot = hash(links[i]) & (size - 1);
        for (;;) {
            const std::uint32_t held = slots[slot];
            if (held == 0) {
                slots[slot] = static_cast<std::uint32_t>(i + 1);
                break;
            }
            if (links[held - 1] == links[i]) {
                repeated.push_back(i);
                break;
            }
            slot = (slot + 1) & (size - 1);
        }
    }
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
