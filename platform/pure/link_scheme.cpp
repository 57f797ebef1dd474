#include "platform/pure/link_scheme.h"

#include <cctype>
#include <cstddef>

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

LinkCheck refuse(const std::string& text, LinkProblem problem, const std::string& why) {
    LinkCheck c;
    c.problem = problem;
    c.reason = "Not opened: \"" + shown(text) + "\" " + why;
    return c;
}

// Code page 1252 from 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void putEscaped(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// A code page 1252 character as percent-encoded UTF-8 (two or three bytes).
void putEscapedUtf8(std::string& out, unsigned char c) {
    const char32_t u = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
    if (u < 0x800) {
        putEscaped(out, static_cast<unsigned char>(0xC0 | (u >> 6)));
        putEscaped(out, static_cast<unsigned char>(0x80 | (u & 0x3F)));
    } else {
        putEscaped(out, static_cast<unsigned char>(0xE0 | (u >> 12)));
        putEscaped(out, static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)));
        putEscaped(out, static_cast<unsigned char>(0x80 | (u & 0x3F)));
    }
}

bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Characters a URI holds as they stand: the unreserved ones and the
// delimiters ("[", "]", "#" and "%" have rules of their own).
bool passes(unsigned char c) {
    if (std::isalnum(c))
        return true;
    switch (c) {
    case '-':
    case '.':
    case '_':
    case '~':
    case ':':
    case '/':
    case '?':
    case '@':
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=':
        return true;
    default:
        return false;
    }
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
        return refuse(raw, LinkProblem::NoText, "is no link: choose an entry first.");
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return refuse(text, LinkProblem::ControlCharacters, "contains control characters.");

    LinkCheck ok;
    ok.target = encodeUri(text);
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
            return refuse(text, LinkProblem::InvalidWebAddress, "is not a valid web address.");
        ok.kind = LinkKind::Web;
        return ok;
    }
    if (startsNoCase(text, "mailto:")) {
        ok.kind = LinkKind::Mail;
        return ok;
    }
    if (text.rfind("\\\\", 0) == 0 || text.rfind("//", 0) == 0)
        return refuse(text, LinkProblem::NetworkShare,
                      "points to a network share, which Fetchlets does not open.");
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':')
        return refuse(text, LinkProblem::LocalFile,
                      "points to a local file, which Fetchlets does not open.");
    if (text[0] == '\\' || text[0] == '/' || text[0] == '.')
        return refuse(text, LinkProblem::LocalFile,
                      "points to a local file, which Fetchlets does not open.");

    size_t hostEnd = text.find_first_of("/?#");
    std::string host = text.substr(0, hostEnd);
    if (isHost(host) && text.find_first_of(" \t") == std::string::npos) {
        ok.kind = LinkKind::Web;
        ok.target = "http://" + encodeUri(text);
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
                return refuse(text, LinkProblem::LocalFile,
                              "points to a local file, which Fetchlets does not open.");
            LinkCheck c = refuse(text, LinkProblem::OtherScheme,
                                 "uses \"" + name + "\", which Fetchlets does not open.");
            c.scheme = name;
            return c;
        }
    }
    return refuse(text, LinkProblem::NotAnAddress, "is not a web or mail address.");
}

LinkCheck checkWebLink(const std::string& text) {
    LinkCheck c = checkLink(text);
    if (c.kind != LinkKind::Mail)
        return c;
    c = refuse(text, LinkProblem::MailAddress, "is a mail address, not a web address.");
    return c;
}

std::string encodeUri(const std::string& text) {
    // The host part of "scheme://host/..." may hold an address in brackets.
    std::size_t hostBegin = std::string::npos, hostEnd = std::string::npos;
    const std::size_t sep = text.find("://");
    if (sep != std::string::npos && sep > 0 && std::isalpha(static_cast<unsigned char>(text[0]))) {
        bool scheme = true;
        for (std::size_t i = 0; i < sep && scheme; ++i)
            scheme = std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '+' ||
                     text[i] == '-' || text[i] == '.';
        if (scheme) {
            hostBegin = sep + 3;
            hostEnd = text.find_first_of("/?#", hostBegin);
            if (hostEnd == std::string::npos)
                hostEnd = text.size();
        }
    }
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    bool fragment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            putEscapedUtf8(out, c);
        } else if (c == '%') {
            if (i + 2 < text.size() && isHexDigit(text[i + 1]) && isHexDigit(text[i + 2]))
                out += '%';
            else
                out += "%25";
        } else if (c == '#') {
            if (fragment)
                out += "%23";
            else
                out += '#';
            fragment = true;
        } else if (c == '[' || c == ']') {
            if (hostBegin != std::string::npos && i >= hostBegin && i < hostEnd)
                out += static_cast<char>(c);
            else
                putEscaped(out, c);
        } else if (passes(c)) {
            out += static_cast<char>(c);
        } else {
            putEscaped(out, c);
        }
    }
    return out;
}

std::string refusalMessage(const LinkCheck& check, const std::string& link, LinkOwner owner) {
    const char* whose = owner == LinkOwner::Page ? "This page's link" : "This entry's link";
    const char* what = owner == LinkOwner::Page ? "page" : "entry";
    std::string why;
    switch (check.problem) {
    case LinkProblem::NoText:
        if (owner == LinkOwner::Queue)
            return "The link is empty: there is nothing to open.";
        return std::string("This ") + what + " has no link: there is nothing to open.";
    case LinkProblem::NotAnAddress:
        // Hints and the version line are sentences; a catalog link never
        // holds a blank.
        if (owner != LinkOwner::Queue && link.find(' ') != std::string::npos)
            return std::string("The status bar no longer shows a link (a hint or other text "
                               "replaced it). Please choose the ") +
                   what + " again.";
        why = "is not a web or mail address";
        break;
    case LinkProblem::ControlCharacters:
        why = "holds control characters (a line break or a tab), which no web address holds";
        break;
    case LinkProblem::LocalFile:
        why = "points to a file on this computer, not to a web address";
        break;
    case LinkProblem::NetworkShare:
        why = "points to a shared folder on the network, not to a web address";
        break;
    case LinkProblem::OtherScheme:
        why = "uses \"" + check.scheme +
              "\", which Fetchlets does not open (only web and mail addresses)";
        break;
    case LinkProblem::InvalidWebAddress:
        why = "is not a valid web address: its host name is missing or holds blanks or "
              "backslashes";
        break;
    case LinkProblem::MailAddress:
        why = "is a mail address, not a web address";
        break;
    case LinkProblem::None:
        return {};
    }
    std::string shownLink;
    for (char c : shown(link))
        shownLink += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    // The queue names each link on its line; an entry's or page's link
    // follows the reason on a line of its own.
    if (owner == LinkOwner::Queue)
        return "The link \"" + shownLink + "\" " + why + "; it was not opened.";
    return std::string(whose) + " " + why + "; it was not opened.\r\n\r\n" + shownLink;
}

std::string mailUrl(const std::string& to, const std::string& subject, const std::string& body) {
    return "mailto:" + to + "?Subject=" + subject + "&Body=" + body;
}

} // namespace platform
