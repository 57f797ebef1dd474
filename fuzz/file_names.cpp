// File names from servers: Content-Disposition and the address.
// Properties: a name made safe is valid UTF-8 without forbidden or control
// characters, direction overrides or full-width look-alikes of forbidden
// characters, does not end in a dot or blank, is no device name, and stays
// as it is when made safe again; a suggestion is never empty.
#include "downloads/pure/file_names.h"
#include "fuzz/fuzz.h"
#include "platform/pure/device_names.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

void checkSafe(const std::string& name) {
    FUZZ_CHECK(fuzz::validUtf8(name));
    for (unsigned char c : name)
        FUZZ_CHECK(c >= 0x20 && c != 0x7F &&
                   std::string("<>:\"/\\|?*").find(c) == std::string::npos);
    for (const char* bad : {"\xE2\x80\xAE", "\xE2\x80\xAD", "\xEF\xBC\x82", "\xEF\xBC\x8F",
                            "\xEF\xBC\xBC", "\xC2\x85"})
        FUZZ_CHECK(name.find(bad) == std::string::npos);
    if (!name.empty()) {
        FUZZ_CHECK(name.back() != '.' && name.back() != ' ');
        FUZZ_CHECK(!platform::isDeviceName(name));
    }
    FUZZ_CHECK(downloads::safeFileName(name) == name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string header = in.ConsumeRandomLengthString(400);
    const std::string url = in.ConsumeRemainingBytesAsString();
    checkSafe(downloads::safeFileName(header));
    checkSafe(downloads::safeFileName(url));
    downloads::fileNameFromContentDisposition(header);
    downloads::fileNameFromUrl(url);
    const std::string suggested = downloads::suggestedFileName(header, url, url);
    FUZZ_CHECK(!suggested.empty());
    checkSafe(suggested);
    downloads::numberedName(suggested, 2);
    return 0;
}
