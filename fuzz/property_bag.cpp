// The custom controls' stored properties and the window hook's message list.
// Properties: a bag read from any text and written again reads back the
// same; a font written and read back is the same font; the message list
// agrees with a plain set after any sequence of additions and removals (a
// removed message is no longer delivered).
#include "controls/pure/messagelist.h"
#include "controls/pure/propertybag.h"
#include "fuzz/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);

    // The message list against a set of what was added and not removed.
    controls::MessageList list(in.ConsumeBool() ? 32 : 0);
    std::set<unsigned> model;
    bool all = false;
    const int steps = in.ConsumeIntegralInRange(0, 64);
    for (int i = 0; i < steps; ++i) {
        const long msg = in.ConsumeIntegralInRange<long>(1, 12);
        if (in.ConsumeBool()) {
            if (list.add(msg) == controls::MessageList::AddResult::Added)
                model.insert(static_cast<unsigned>(msg));
        } else {
            const bool listed = model.erase(static_cast<unsigned>(msg)) > 0;
            FUZZ_CHECK(all || list.remove(msg) == listed);
        }
        for (unsigned m = 1; m <= 12; ++m)
            FUZZ_CHECK(list.contains(m) == (model.count(m) > 0));
    }

    const std::string fontText = in.ConsumeRandomLengthString(80);
    if (const auto font = controls::decodeFont(fontText)) {
        const auto again = controls::decodeFont(controls::encodeFont(*font));
        FUZZ_CHECK(again && *again == *font);
    }

    const controls::PropertyBag bag =
        controls::PropertyBag::parse(in.ConsumeRemainingBytesAsString());
    const std::string text = bag.serialize();
    const controls::PropertyBag again = controls::PropertyBag::parse(text);
    FUZZ_CHECK(again.entries() == bag.entries());
    FUZZ_CHECK(again.serialize() == text);
    return 0;
}
