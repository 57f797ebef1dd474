#include "downloads/pure/file_names.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <vector>

namespace downloads {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecode(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Length of the valid UTF-8 sequence starting at s[i], or 0.
size_t utf8Length(const std::string& s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    if (n == 2 && c < 0xC2)
        return 0; // overlong
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

// The value of one parameter of a header ("name=value" or name="value").
bool parameter(const std::string& header, const std::string& name, std::string& value) {
    std::string low = lower(header);
    size_t pos = 0;
    while ((pos = low.find(name, pos)) != std::string::npos) {
        // Must start a parameter: at the start or after ';' and blanks.
        size_t before = pos;
        while (before > 0 && (low[before - 1] == ' ' || low[before - 1] == '\t'))
            --before;
        bool starts = before == 0 || low[before - 1] == ';';
        size_t after = pos + name.size();
        while (after < low.size() && (low[after] == ' ' || low[after] == '\t'))
            ++after;
        if (!starts || after >= low.size() || low[after] != '=') {
            pos += name.size();
            continue;
        }
        ++after;
        while (after < header.size() && (header[after] == ' ' || header[after] == '\t'))
            ++after;
        value.clear();
        if (after < header.size() && header[after] == '"') {
            for (size_t i = after + 1; i < header.size(); ++i) {
                if (header[i] == '\\' && i + 1 < header.size()) {
                    value += header[++i];
                } else if (header[i] == '"') {
                    break;
                } else {
                    value += header[i];
                }
            }
        } else {
            size_t end = header.find(';', after);
            value =
                header.substr(after, end == std::string::npos ? std::string::npos : end - after);
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
        }
        return true;
    }
    return false;
}

} // namespace

std::string fileNameFromUrl(const std::string& url) {
    size_t start = url.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    size_t end = url.find_first_of("?#", start);
    std::string rest =
        url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    size_t slash = rest.find('/');
    if (slash == std::string::npos)
        return {}; // only a host
    std::string path = rest.substr(slash);
    return percentDecode(path.substr(path.rfind('/') + 1));
}

std::string fileNameFromContentDisposition(const std::string& header) {
    std::string value;
    if (parameter(header, "filename*", value)) {
        // charset'language'percent-encoded-value
        size_t q1 = value.find('\'');
        size_t q2 = q1 == std::string::npos ? q1 : value.find('\'', q1 + 1);
        if (q2 != std::string::npos) {
            std::string charset = lower(value.substr(0, q1));
            std::string decoded = percentDecode(value.substr(q2 + 1));
            if (charset == "utf-8")
                return decoded;
            if (charset == "iso-8859-1") {
                std::string utf8;
                for (unsigned char c : decoded) {
                    if (c < 0x80) {
                        utf8 += static_cast<char>(c);
                    } else {
                        utf8 += static_cast<char>(0xC0 | (c >> 6));
                        utf8 += static_cast<char>(0x80 | (c & 0x3F));
                    }
                }
                return utf8;
            }
        }
    }
    if (parameter(header, "filename", value))
        return value;
    return {};
}

std::string safeFileName(const std::string& name) {
    std::string n = name;
    size_t slash = n.find_last_of("/\\");
    if (slash != std::string::npos)
        n = n.substr(slash + 1);
    std::string out;
    for (size_t i = 0; i < n.size();) {
        unsigned char c = static_cast<unsigned char>(n[i]);
        size_t len = utf8Length(n, i);
        if (len == 0) {
            out += '_';
            ++i;
        } else if (len == 1) {
            out += (c < 0x20 || c == 0x7F ||
                    std::string("<>:\"/\\|?*").find(static_cast<char>(c)) != std::string::npos)
                       ? '_'
                       : static_cast<char>(c);
            ++i;
        } else {
            out += n.substr(i, len);
            i += len;
        }
    }
    while (!out.empty() && (out.back() == '.' || out.back() == ' '))
        out.pop_back();
    size_t lead = out.find_first_not_of(' ');
    out = lead == std::string::npos ? std::string() : out.substr(lead);
    if (out.empty())
        return out;
    std::string stem = lower(out.substr(0, out.find('.')));
    static const char* reserved[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                     "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                     "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const char* r : reserved)
        if (stem == r)
            return "_" + out;
    return out;
}

std::string suggestedFileName(const std::string& contentDisposition, const std::string& finalUrl,
                              const std::string& originalUrl) {
    for (const std::string& candidate : {fileNameFromContentDisposition(contentDisposition),
                                         fileNameFromUrl(finalUrl), fileNameFromUrl(originalUrl)}) {
        std::string safe = safeFileName(candidate);
        if (!safe.empty())
            return safe;
    }
    return "download";
}

std::string numberedName(const std::string& name, int n) {
    std::string suffix = " (" + std::to_string(n) + ")";
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return name + suffix;
    return name.substr(0, dot) + suffix + name.substr(dot);
}

bool isInstaller(const std::string& name) {
    std::string low = lower(name);
    auto endsWith = [&](const std::string& e) {
        return low.size() >= e.size() && low.compare(low.size() - e.size(), e.size(), e) == 0;
    };
    return endsWith(".exe") || endsWith(".msi");
}

std::string partPath(const std::string& finalPath) {
    return finalPath + ".part";
}

namespace {

// Where each UTF-8 character of `s` starts (continuation bytes skipped).
std::vector<std::size_t> characterStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    return starts;
}

} // namespace

std::string shortenFileName(const std::string& name, std::size_t limit) {
    std::vector<std::size_t> starts = characterStarts(name);
    if (starts.size() <= limit || limit == 0)
        return limit == 0 ? std::string() : name;
    // An extension of up to 16 characters survives the cut.
    constexpr std::size_t kLongestExtension = 16;
    std::string extension;
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        std::size_t extChars = characterStarts(name.substr(dot)).size();
        if (extChars <= kLongestExtension && extChars < limit)
            extension = name.substr(dot);
    }
    std::size_t keep = limit - characterStarts(extension).size();
    std::string stem = name.substr(0, starts[keep]);
    while (!stem.empty() && (stem.back() == ' ' || stem.back() == '.'))
        stem.pop_back();
    return stem + extension;
}

} // namespace downloads
