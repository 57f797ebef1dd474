// The decisions of a transfer on the server's answer.
// Properties: resume headers are exactly the lines asked for (no line break
// of the server's reaches them); an append continues the partial file at its
// end with a total beyond it; the state texts never crash.
#include "downloads/pure/transfer_rules.h"
#include "fuzz/fuzz.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::uint64_t have =
        in.ConsumeIntegral<std::uint64_t>() >> in.ConsumeIntegralInRange(0, 63);
    const std::string etag = in.ConsumeRandomLengthString(100);
    const std::string lastModified = in.ConsumeRandomLengthString(100);
    downloads::Answer answer;
    answer.status = in.ConsumeIntegralInRange(0, 999);
    answer.contentLength = in.ConsumeIntegral<std::int64_t>();
    answer.statusText = in.ConsumeRandomLengthString(50);
    answer.contentRange = in.ConsumeRemainingBytesAsString();

    const std::string headers = downloads::resumeHeaders(have, etag, lastModified);
    size_t lines = 0;
    for (size_t i = 0; i < headers.size(); ++i) {
        if (headers[i] == '\n') {
            FUZZ_CHECK(i > 0 && headers[i - 1] == '\r');
            ++lines;
        } else if (headers[i] == '\r') {
            FUZZ_CHECK(i + 1 < headers.size() && headers[i + 1] == '\n');
        }
    }
    FUZZ_CHECK(lines <= 2 && (have == 0) == headers.empty());

    const downloads::Plan plan = downloads::planAnswer(have, answer);
    if (plan.action == downloads::Plan::Append) {
        FUZZ_CHECK(have > 0 && plan.total > 0 && static_cast<std::uint64_t>(plan.total) > have);
    }
    if (plan.action == downloads::Plan::Fail)
        FUZZ_CHECK(!plan.failure.empty());
    downloads::isComplete(have, plan.total);
    downloads::stateText(downloads::State::Failed, plan.failure);
    return 0;
}
