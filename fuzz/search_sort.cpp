// Search and sort of the lists.
// Properties: a search step selects an entry that holds the term (ignoring
// letter case) or nothing, and its position text reads as the selection or
// -1; Sort A-Z gives an ordered permutation of the items.
#include "app/pure/search_sort.h"
#include "fuzz/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string box = in.ConsumeRandomLengthString(20);
    const std::string position = in.ConsumeRandomLengthString(24);
    std::vector<std::string> items;
    while (in.remaining_bytes() > 0 && items.size() < 200)
        items.push_back(in.ConsumeRandomLengthString(30));

    const app::SearchOutcome step = app::searchStep(items, box, position);
    FUZZ_CHECK(step.select >= -1 && step.select < static_cast<int>(items.size()));
    if (step.select >= 0) {
        std::string term = box;
        term.erase(0, term.find_first_not_of(' '));
        term.erase(term.find_last_not_of(' ') + 1);
        FUZZ_CHECK(
            app::upperAnsi(items[static_cast<size_t>(step.select)]).find(app::upperAnsi(term)) !=
                std::string::npos ||
            term.find_first_not_of(' ') == std::string::npos);
        FUZZ_CHECK(step.position == "-1" || step.position == std::to_string(step.select));
    }

    std::vector<std::string> sorted = items;
    app::sortAZ(sorted);
    FUZZ_CHECK(std::is_sorted(sorted.begin(), sorted.end(), app::ordinalLess));
    FUZZ_CHECK(std::is_permutation(sorted.begin(), sorted.end(), items.begin(), items.end()));
    return 0;
}
