// The settings codec: a text box's text on one line of the settings file.
// Properties: the stored form is one line; it reads back as the text with its
// line breaks as CR LF, unless the text itself forms the marker "~|~" once
// its breaks are written (then no stored form can hold it); a restore of any
// stored text never crashes and applies only numbers in range.
#include "app/pure/form_state.h"
#include "fuzz/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int count = in.ConsumeIntegralInRange(0, 40000);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string stored = app::encodeText(text);
    FUZZ_CHECK(stored.find_first_of("\r\n") == std::string::npos);
    std::string normal; // the text with every line break as CR LF
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            normal += "\r\n";
        } else {
            normal += text[i];
        }
    }
    if (app::canStoreText(text))
        FUZZ_CHECK(app::decodeText(stored) == normal);

    const app::RestoreStep index = app::restoreIndex(text, count);
    if (index.action == app::Restore::Apply)
        FUZZ_CHECK(index.value >= -1 && index.value < count);
    app::restoreCheck(text);
    return 0;
}
