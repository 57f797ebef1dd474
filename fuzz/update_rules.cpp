// The updater's rules on what a server sends: signature-list names, versions
// and the fetched manifest and catalog files.
// Properties: an accepted signature-list name is a plain file name in the
// Data folder (no folder part, no forbidden character, no trailing dot or
// blank, no device name); the version order is a total order; reading a
// fetched file as a manifest or a catalog never crashes.
#include "fuzz/fuzz.h"
#include "platform/pure/device_names.h"
#include "update/pure/rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string a = in.ConsumeRandomLengthString(300);
    const std::string b = in.ConsumeRandomLengthString(40);
    const std::string file = in.ConsumeRemainingBytesAsString();

    if (update::isPlainFileName(a)) {
        FUZZ_CHECK(!a.empty() && a.size() <= 255);
        FUZZ_CHECK(a.find_first_of("\\/:*?\"<>|") == std::string::npos);
        for (unsigned char c : a)
            FUZZ_CHECK(c >= 0x20);
        FUZZ_CHECK(a.back() != '.' && a.back() != ' ');
        FUZZ_CHECK(!platform::isDeviceName(a));
    }
    const int ab = update::compareOrdinal(a, b), ba = update::compareOrdinal(b, a);
    FUZZ_CHECK((ab < 0) == (ba > 0) && (ab == 0) == (a == b));

    static const std::string path = "/tmp/fl_fuzz_update_" + std::to_string(getpid()) + ".ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file;
    update::readManifest(path);
    update::readsAsCatalog(path);
    update::CountSignatures(path);
    return 0;
}
