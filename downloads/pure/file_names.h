// File names for downloads: taken from the server's Content-Disposition
// header or from the address, made safe to create on Windows, numbered when
// the name is taken. Names are UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace downloads {

// The last segment of the address's path, percent-decoded, without query and
// fragment; empty when the path names no file ("http://host/" or ".../dir/").
std::string fileNameFromUrl(const std::string& url);

// The file name a Content-Disposition header value carries: the RFC 5987
// form (filename*=UTF-8''...) when present, else filename="..." or
// filename=token; empty when there is none.
std::string fileNameFromContentDisposition(const std::string& header);

// A name that can be created in a folder: path parts dropped, characters
// Windows forbids (<>:"/\|? * and control characters), invalid UTF-8
// (overlong forms, surrogates, beyond U+10FFFF), direction overrides and the
// full-width forms of the forbidden characters replaced with '_', trailing
// dots and blanks trimmed, a device name (CON, NUL, CONIN$, COM0-COM9,
// COM1-3 written with superscript digits, ... also as "con .txt")
// prefixed with '_'. Empty when nothing is left.
std::string safeFileName(const std::string& name);

// The name to suggest: from the header, else from the address reached after
// redirects, else from the address handed over, else "download".
std::string suggestedFileName(const std::string& contentDisposition, const std::string& finalUrl,
                              const std::string& originalUrl);

// "setup.exe" numbered n (n >= 2): "setup (2).exe"; a name without
// extension gets the number at its end.
std::string numberedName(const std::string& name, int n);

// Installers whose signature is checked before they are opened: .exe and .msi.
bool isInstaller(const std::string& name);

// The file a download writes to until it is complete: the final path + ".part".
std::string partPath(const std::string& finalPath);

// `name` cut to at most `limit` characters (UTF-8 code points), keeping its
// extension (when the extension itself is short) and never splitting a
// character: a server's name may be long enough to upset the system's file
// dialogs. Blanks and dots left at the cut are trimmed.
std::string shortenFileName(const std::string& name, std::size_t limit);

} // namespace downloads
