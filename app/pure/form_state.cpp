#include "app/pure/form_state.h"

#include "forms/pure/stored_number.h"

#include <cmath>

namespace app {

namespace {
const char kLineBreak[] = "~|~";
}

std::string encodeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += kLineBreak;
        } else if (c == '\n') {
            out += kLineBreak;
        } else {
            out += c;
        }
    }
    return out;
}

bool canStoreText(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '~' || text[i + 1] != '|' || i + 2 >= text.size())
            continue;
        const char next = text[i + 2];
        if (next == '~' || next == '\r' || next == '\n')
            return false;
    }
    return true;
}

std::string decodeText(const std::string& stored) {
    std::string out;
    out.reserve(stored.size());
    for (size_t i = 0; i < stored.size();) {
        if (stored.compare(i, 3, kLineBreak) == 0) {
            out += "\r\n";
            i += 3;
        } else {
            out += stored[i++];
        }
    }
    return out;
}

std::string controlKey(const std::string& name, int arrayIndex) {
    if (arrayIndex < 0)
        return name;
    return name + "(" + std::to_string(arrayIndex) + ")";
}

RestoreStep restoreIndex(const std::string& stored, int count) {
    std::optional<double> number = forms::storedNumber(stored);
    if (!number)
        return {Restore::Stop};
    std::optional<int16_t> index = forms::toInt16(*number);
    if (!index || *index < -1)
        return {Restore::Stop};
    if (*index > count - 1)
        return {Restore::Skip};
    return {Restore::Apply, *index};
}

RestoreStep restoreCheck(const std::string& stored) {
    std::optional<double> number = forms::storedNumber(stored);
    if (!number)
        return {Restore::Stop};
    double whole = std::trunc(*number);
    // 0 unticked, 1 ticked, 2 grey: the values a check box holds.
    if (whole != 0.0 && whole != 1.0 && whole != 2.0)
        return {Restore::Stop};
    return {Restore::Apply, static_cast<int>(whole)};
}

} // namespace app
