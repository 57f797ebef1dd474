#include "downloads/signature.h"

#include "platform/utf8.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstdio>

namespace downloads {

namespace {

std::string certName(PCCERT_CONTEXT cert, DWORD flags) {
    wchar_t name[512] = {};
    DWORD n = CertGetNameStringW(cert, CERT_NAME_SIMPLE_DISPLAY_TYPE, flags, nullptr, name, 512);
    return n > 1 ? platform::narrow(name) : std::string();
}

std::string reasonFor(LONG status) {
    switch (static_cast<unsigned long>(status)) {
    case 0x80096010:
        return "the file was changed after it was signed"; // TRUST_E_BAD_DIGEST
    case 0x800B0109:
        return "the certificate's root is not trusted"; // CERT_E_UNTRUSTEDROOT
    case 0x800B010A:
        return "the certificate chain could not be built"; // CERT_E_CHAINING
    case 0x800B0101:
        return "the certificate has expired"; // CERT_E_EXPIRED
    case 0x800B010C:
        return "the certificate was revoked"; // CERT_E_REVOKED
    case 0x800B0111:
        return "the certificate is explicitly distrusted"; // TRUST_E_EXPLICIT_DISTRUST
    case 0x80096019:
        return "the certificate may not sign code"; // TRUST_E_BASIC_CONSTRAINTS
    case 0x800B0110:
        return "the certificate may not sign code"; // CERT_E_WRONG_USAGE
    case 0x80096004:
        return "the signature does not match the certificate"; // TRUST_E_CERT_SIGNATURE
    default:
        break;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "error 0x%08lX", static_cast<unsigned long>(status));
    return buf;
}

} // namespace

Signature checkSignature(const std::string& path) {
    Signature result;
    std::wstring wide = platform::widen(path);
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = wide.c_str();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

    // The signer's certificate, also when the signature did not verify.
    if (data.hWVTStateData) {
        if (CRYPT_PROVIDER_DATA* prov = WTHelperProvDataFromStateData(data.hWVTStateData)) {
            if (CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(prov, 0, FALSE, 0)) {
                if (signer->csCertChain > 0 && signer->pasCertChain &&
                    signer->pasCertChain[0].pCert) {
                    result.signer = certName(signer->pasCertChain[0].pCert, 0);
                    result.issuer = certName(signer->pasCertChain[0].pCert, CERT_NAME_ISSUER_FLAG);
                }
            }
        }
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);

    switch (static_cast<unsigned long>(status)) {
    case 0:
        result.verdict = Signature::Signed;
        break;
    case 0x800B0100: // TRUST_E_NOSIGNATURE
    case 0x800B0003: // TRUST_E_SUBJECT_FORM_UNKNOWN
    case 0x800B0001: // TRUST_E_PROVIDER_UNKNOWN
        result.verdict = result.signer.empty() ? Signature::NotSigned : Signature::Invalid;
        if (result.verdict == Signature::Invalid)
            result.reason = reasonFor(status);
        break;
    default:
        result.verdict = Signature::Invalid;
        result.reason = reasonFor(status);
        break;
    }
    return result;
}

} // namespace downloads
