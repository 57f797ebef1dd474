#include "downloads/pure/file_names.h"

#include "platform/pure/device_names.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <utility>
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

// Length of the valid UTF-8 sequence starting at s[i], or 0: overlong forms,
// surrogates and code points above U+10FFFF are not valid.
size_t utf8Length(const std::string& s, size_t i) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char c = at(0);
    const size_t n = c < 0x80 ? 1 : c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((at(k) & 0xC0) != 0x80)
            return 0;
    if ((c == 0xE0 && at(1) < 0xA0) || (c == 0xED && at(1) >= 0xA0) ||
        (c == 0xF0 && at(1) < 0x90) || (c == 0xF4 && at(1) >= 0x90))
        return 0;
    return n;
}

// The code point of a valid sequence of `len` bytes at s[i].
char32_t codePoint(const std::string& s, size_t i, size_t len) {
    const auto c = static_cast<unsigned char>(s[i]);
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k < len; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    return cp;
}

// Characters that a file name must not carry although Windows would create
// it: C1 controls; the direction marks and overrides that make a list show
// "exe.txt" for "txt.exe"; and the full-width forms of the forbidden
// characters, which a conversion to the ANSI code page turns into the real
// ones (a full-width quote becomes '"' on a command line).
bool unsafeCodePoint(char32_t cp) {
    if (cp >= 0x80 && cp <= 0x9F)
        return true;
    if (cp == 0x061C || cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
        (cp >= 0x2066 && cp <= 0x2069))
        return true;
    switch (cp) {
    case 0xFF02:
    case 0xFF0A:
    case 0xFF0F:
    case 0xFF1A:
    case 0xFF1C: // " * / : <
    case 0xFF1E:
    case 0xFF1F:
    case 0xFF3C:
    case 0xFF5C: // > ? \ |
    case 0x2215:
    case 0x2216:
    case 0xFE68: // division slashes
        return true;
    default:
        return false;
    }
}

// The parameters of a header value, "type; name=value; name=\"quoted\"", in
// order: names in lower case, quoted values unquoted. A ';' or a name inside
// a quoted value belongs to that value.
std::vector<std::pair<std::string, std::string>> parameters(const std::string& header) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t i = 0;
    const size_t n = header.size();
    const auto blank = [&](size_t k) { return header[k] == ' ' || header[k] == '\t'; };
    while (i < n) {
        while (i < n && (blank(i) || header[i] == ';'))
            ++i;
        size_t nameEnd = i;
        while (nameEnd < n && header[nameEnd] != '=' && header[nameEnd] != ';')
            ++nameEnd;
        std::string name = header.substr(i, nameEnd - i);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
            name.pop_back();
        i = nameEnd;
        std::string value;
        if (i < n && header[i] == '=') {
            ++i;
            while (i < n && blank(i))
                ++i;
            if (i < n && header[i] == '"') {
                for (++i; i < n && header[i] != '"'; ++i) {
                    if (header[i] == '\\' && i + 1 < n)
                        ++i;
                    value += header[i];
                }
                while (i < n && header[i] != ';') // past the closing quote
                    ++i;
            } else {
                const size_t end = std::min(header.find(';', i), n);
                value = header.substr(i, end - i);
                while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                    value.pop_back();
                i = end;
            }
        }
        out.emplace_back(lower(name), value);
    }
    return out;
}

// The value of the first parameter called `name`.
bool parameter(const std::string& header, const std::string& name, std::string& value) {
    for (auto& [key, v] : parameters(header))
        if (key == name) {
            value = v;
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
            out += unsafeCodePoint(codePoint(n, i, len)) ? std::string("_") : n.substr(i, len);
            i += len;
        }
    }
    while (!out.empty() && (out.back() == '.' || out.back() == ' '))
        out.pop_back();
    size_t lead = out.find_first_not_of(' ');
    out = lead == std::string::npos ? std::string() : out.substr(lead);
    if (out.empty())
        return out;
    return platform::isDeviceName(out) ? "_" + out : out;
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
