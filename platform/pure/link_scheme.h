// Which links may leave the program: web addresses (http, https, and a
// scheme-less address such as "www.example.org/x", taken as http) and mail
// addresses (mailto). Anything else, a local path, a share, "file:",
// "javascript:", another scheme or text that is no address at all, is
// refused with a reason that names it. What does leave is first made a valid
// URI (encodeUri), so that no character of it can split the command line of
// the program that receives it.
#pragma once

#include <string>

namespace platform {

enum class LinkKind { Web, Mail, Refused };

// Why a link was refused.
enum class LinkProblem {
    None,
    NoText,            // empty or blanks only
    ControlCharacters, // a line break, tab or other control character inside
    NotAnAddress,      // text that is no address at all (a hint, a word)
    LocalFile,         // a path or "file:" address on this computer
    NetworkShare,      // "\\server\share" or "//server/share"
    OtherScheme,       // "javascript:", "ms-settings:", "ftp:" ...
    InvalidWebAddress, // http or https without a usable host
    MailAddress,       // a mail address where only a web address will do
};

struct LinkCheck {
    LinkKind kind = LinkKind::Refused;
    std::string target; // what to hand over: encoded, http:// added to a scheme-less address
    std::string reason; // why it was refused; empty when it was not
    LinkProblem problem = LinkProblem::None;
    std::string scheme; // the refused scheme with its colon ("javascript:"), for OtherScheme
    explicit operator bool() const { return kind != LinkKind::Refused; }
};

LinkCheck checkLink(const std::string& text);
// As checkLink, but a mail address is refused too (downloads, pages).
LinkCheck checkWebLink(const std::string& text);

// The text as a valid URI: every character outside the set a URI may hold
// (letters, digits, "-._~", ":/?#[]@!$&'()*+,;=" and a "%" that starts a
// valid %XX) is percent-encoded: a blank as %20, '"' as %22, "<>\^`{|}",
// control characters; a non-ASCII character (code page 1252) as the
// percent-encoded UTF-8 of the character. A second "#" and square brackets
// outside the host are encoded too. Text that is already valid comes back
// unchanged, so encoding twice changes nothing.
std::string encodeUri(const std::string& text);

// Whose link a refusal message speaks of.
enum class LinkOwner { Entry, Page, Queue };

// The one message for a refused link, for every action: the rule's reason in
// plain words and the link itself. Text in the status bar's link field that
// is no address and holds a blank is a hint or the version text that
// replaced the entry's link: then the user is asked to choose the entry (or
// page) again.
std::string refusalMessage(const LinkCheck& check, const std::string& link, LinkOwner owner);

// "mailto:" + to + "?Subject=" + subject + "&Body=" + body, joined as they
// stand (the caller encodes the fields).
std::string mailUrl(const std::string& to, const std::string& subject, const std::string& body);

} // namespace platform
