#include "downloads/pure/signature_text.h"

namespace downloads {

std::string signatureSummary(const Signature& s) {
    switch (s.verdict) {
    case Signature::Signed:
        return "signed by " + (s.signer.empty() ? std::string("an unnamed signer") : s.signer);
    case Signature::NotSigned:
        return "not signed";
    case Signature::Invalid:
        return s.reason.empty() ? "signature invalid" : "signature invalid (" + s.reason + ")";
    case Signature::Unchecked:
        break;
    }
    return {};
}

std::string openWarning(const std::string& fileName, const Signature& s) {
    switch (s.verdict) {
    case Signature::NotSigned:
        return fileName +
               " is not signed: nobody vouches for where it comes from or that it is unchanged.\n\n"
               "Open it anyway?";
    case Signature::Invalid:
        return "The signature of " + fileName + " is invalid" +
               (s.reason.empty() ? std::string() : " (" + s.reason + ")") +
               (s.signer.empty() ? std::string() : "; it names " + s.signer) +
               ". The file may have been changed after it was signed.\n\nOpen it anyway?";
    case Signature::Signed:
    case Signature::Unchecked:
        break;
    }
    return {};
}

std::string signatureDetails(const Signature& s) {
    switch (s.verdict) {
    case Signature::Signed:
        return "Signed by " + s.signer +
               (s.issuer.empty() ? std::string() : ", certificate issued by " + s.issuer);
    case Signature::NotSigned:
        return "Warning: this installer is not signed.";
    case Signature::Invalid:
        return "Warning: the signature is invalid" +
               (s.reason.empty() ? std::string() : " (" + s.reason + ")") +
               (s.signer.empty() ? std::string() : "; it names " + s.signer) +
               (s.issuer.empty() ? std::string() : ", certificate issued by " + s.issuer) + ".";
    case Signature::Unchecked:
        break;
    }
    return {};
}

} // namespace downloads
