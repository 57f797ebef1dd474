#include "platform/pure/link_scheme.h"

#include <cctype>

namespace platform {

namespace {

bool startsNoCase(const std::string& s, const char* prefix) {
    size_t i = 0;
    for (; prefix[i]; ++i)
        if (i >= s.size() || std::tolower(static_cast<unsigned char>(s[i])) != prefix[i])
            return false;
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The link as it would appear in a message: cut to a readable length.
std::string shown(const std::string& text) {
    return text.size() <= 80 ? text : text.substr(0, 77) + "...";
}

LinkCheck refuse(const std::string& text, const std::string& why) {
    LinkCheck c;
    c.reason = "Not opened: \"" + shown(text) + "\" " + why;
    return c;
}

// A host name with an optional port: letters, digits, dots and hyphens, at
// least one inner dot.
bool isHost(const std::string& host) {
    std::string name = host;
    size_t colon = host.find(':');
    if (colon != std::string::npos) {
        std::string port = host.substr(colon + 1);
        if (port.empty() || port.size() > 5)
            return false;
        for (char c : port)
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
        name = host.substr(0, colon);
    }
    if (name.empty() || name.front() == '.' || name.back() == '.' || name.front() == '-' ||
        name.find('.') == std::string::npos || name.find("..") != std::string::npos)
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            return false;
    return true;
}

} // namespace

LinkCheck checkLink(const std::string& raw) {
    size_t b = 0, e = raw.size();
    while (b < e && isBlank(raw[b]))
        ++b;
    while (e > b && isBlank(raw[e - 1]))
        --e;
    std::string text = raw.substr(b, e - b);
    if (text.empty())
        return refuse(raw, "is no link: choose an entry first.");
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return refuse(text, "contains control characters.");

    LinkCheck ok;
    ok.target = text;
    if (startsNoCase(text, "http://") || startsNoCase(text, "https://")) {
        size_t start = text.find("//") + 2;
        size_t end = text.find_first_of("/?#", start);
        std::string host = text.substr(start, end == std::string::npos ? end : end - start);
        // A user part ("name@host") is allowed; the host itself must be a name.
        size_t at = host.rfind('@');
        if (at != std::string::npos)
            host = host.substr(at + 1);
        bool hostOk = !host.empty();
        for (char c : host)
            if (isBlank(c) || c == '\\')
                hostOk = false;
        if (!hostOk)
            return refuse(text, "is not a valid web address.");
        ok.kind = LinkKind::Web;
        return ok;
    }
    if (startsNoCase(text, "mailto:")) {
        ok.kind = LinkKind::Mail;
        return ok;
    }
    if (text.rfind("\\\\", 0) == 0 || text.rfind("//", 0) == 0)
        return refuse(text, "points to a network share, which Fetchlets does not open.");
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':')
        return refuse(text, "points to a local file, which Fetchlets does not open.");
    if (text[0] == '\\' || text[0] == '/' || text[0] == '.')
        return refuse(text, "points to a local file, which Fetchlets does not open.");

    size_t hostEnd = text.find_first_of("/?#");
    std::string host = text.substr(0, hostEnd);
    if (isHost(host) && text.find_first_of(" \t") == std::string::npos) {
        ok.kind = LinkKind::Web;
        ok.target = "http://" + text;
        return ok;
    }
    // "name:..." before any slash names a scheme.
    size_t colon = text.find(':');
    if (colon != std::string::npos && colon > 0 &&
        (hostEnd == std::string::npos || colon < hostEnd)) {
        bool scheme = std::isalpha(static_cast<unsigned char>(text[0]));
        for (size_t i = 0; i < colon && scheme; ++i) {
            char c = text[i];
            scheme =
                std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        }
        if (scheme) {
            std::string name = text.substr(0, colon + 1);
            if (startsNoCase(name, "file:"))
                return refuse(text, "points to a local file, which Fetchlets does not open.");
            return refuse(text, "uses \"" + name + "\", which Fetchlets does not open.");
        }
    }
    return refuse(text, "is not a web or mail address.");
}

std::string mailUrl(const std::string& to, const std::string& subject, const std::string& body) {
    return "mailto:" + to + "?Subject=" + subject + "&Body=" + body;
}

} // namespace platform
