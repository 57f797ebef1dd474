// Who signed an installer: the Authenticode check of the system (WinVerifyTrust)
// and the signer's certificate.
#pragma once

#include "downloads/pure/signature_text.h"

#include <string>

namespace downloads {

// Checks the file (UTF-8 path) without any user interface and without
// fetching revocation lists.
Signature checkSignature(const std::string& path);

} // namespace downloads
