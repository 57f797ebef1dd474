// Which links may leave the program: web addresses (http, https, and a
// scheme-less address such as "www.example.org/x", taken as http) and mail
// addresses (mailto). Anything else, a local path, a share, "file:",
// "javascript:", another scheme or text that is no address at all, is
// refused with a reason that names it.
#pragma once

#include <string>

namespace platform {

enum class LinkKind { Web, Mail, Refused };

struct LinkCheck {
    LinkKind kind = LinkKind::Refused;
    std::string target; // what to hand over (http:// added to a scheme-less address)
    std::string reason; // why it was refused; empty when it was not
    explicit operator bool() const { return kind != LinkKind::Refused; }
};

LinkCheck checkLink(const std::string& text);

// "mailto:" + to + "?Subject=" + subject + "&Body=" + body, joined as they
// stand.
std::string mailUrl(const std::string& to, const std::string& subject, const std::string& body);

} // namespace platform
