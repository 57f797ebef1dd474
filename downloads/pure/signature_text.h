// The verdict on an installer's signature and how the window words it.
#pragma once

#include <string>

namespace downloads {

struct Signature {
    enum Verdict { Unchecked, Signed, NotSigned, Invalid } verdict = Unchecked;
    std::string signer; // the signing certificate's subject name
    std::string issuer; // who issued that certificate
    std::string reason; // why the signature is not valid
};

// The state column's addition: "signed by X", "not signed",
// "signature invalid (reason)"; empty for an unchecked file.
std::string signatureSummary(const Signature& s);

// The warning before an installer is opened, empty when it is validly
// signed (or was not checked).
std::string openWarning(const std::string& fileName, const Signature& s);

// The details line for a selected installer, naming the certificate.
std::string signatureDetails(const Signature& s);

} // namespace downloads
