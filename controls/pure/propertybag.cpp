#include "controls/pure/propertybag.h"

#include <algorithm>
#include <charconv>

namespace controls {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename T> std::optional<T> parseNumber(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    T v{};
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || s.empty())
        return std::nullopt;
    return v;
}

std::string escape(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    for (char c : v) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescape(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        char c = v[i];
        if (c == '\\' && i + 1 < v.size()) {
            char n = v[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

bool namesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::string PropertyBag::itemName(std::string_view name, int index) {
    return std::string(name) + std::to_string(index);
}

std::vector<PropertyBag::Entry>::iterator PropertyBag::find(std::string_view name) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [name](const Entry& e) { return namesEqual(e.first, name); });
}

std::vector<PropertyBag::Entry>::const_iterator PropertyBag::find(std::string_view name) const {
    return std::find_if(entries_.begin(), entries_.end(),
                        [name](const Entry& e) { return namesEqual(e.first, name); });
}

bool PropertyBag::contains(std::string_view name) const {
    return find(name) != entries_.end();
}

void PropertyBag::remove(std::string_view name) {
    auto it = find(name);
    if (it != entries_.end())
        entries_.erase(it);
}

void PropertyBag::set(std::string_view name, std::string_view value) {
    auto it = find(name);
    if (it != entries_.end())
        it->second = std::string(value);
    else
        entries_.emplace_back(std::string(name), std::string(value));
}

std::optional<std::string> PropertyBag::get(std::string_view name) const {
    auto it = find(name);
    if (it == entries_.end())
        return std::nullopt;
    return it->second;
}

void PropertyBag::writeString(std::string_view name, std::string_view value, std::string_view def) {
    if (value == def)
        remove(name);
    else
        set(name, value);
}

std::string PropertyBag::readString(std::string_view name, std::string_view def) const {
    auto v = get(name);
    return v ? *v : std::string(def);
}

void PropertyBag::writeInt(std::string_view name, std::int64_t value, std::int64_t def) {
    if (value == def)
        remove(name);
    else
        set(name, std::to_string(value));
}

std::int64_t PropertyBag::readInt(std::string_view name, std::int64_t def) const {
    auto v = get(name);
    if (!v)
        return def;
    auto n = parseNumber<std::int64_t>(*v);
    return n ? *n : def;
}

void PropertyBag::writeBool(std::string_view name, bool value, bool def) {
    if (value == def)
        remove(name);
    else
        set(name, value ? "True" : "False");
}

bool PropertyBag::readBool(std::string_view name, bool def) const {
    auto v = get(name);
    if (!v)
        return def;
    if (namesEqual(*v, "true"))
        return true;
    if (namesEqual(*v, "false"))
        return false;
    auto n = parseNumber<std::int64_t>(*v);
    return n ? *n != 0 : def;
}

void PropertyBag::writeColour(std::string_view name, std::uint32_t value, std::uint32_t def) {
    if (value == def)
        remove(name);
    else
        set(name, std::to_string(value));
}

std::uint32_t PropertyBag::readColour(std::string_view name, std::uint32_t def) const {
    auto v = get(name);
    if (!v)
        return def;
    if (auto u = parseNumber<std::uint32_t>(*v))
        return *u;
    // A negative number is the same 32 bits read as signed.
    if (auto s = parseNumber<std::int32_t>(*v))
        return static_cast<std::uint32_t>(*s);
    return def;
}

std::string PropertyBag::serialize() const {
    std::string out;
    for (const auto& [name, value] : entries_) {
        out += name;
        out += '=';
        out += escape(value);
        out += '\n';
    }
    return out;
}

PropertyBag PropertyBag::parse(std::string_view text) {
    PropertyBag bag;
    while (!text.empty()) {
        auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        auto eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0)
            continue;
        bag.set(line.substr(0, eq), unescape(line.substr(eq + 1)));
    }
    return bag;
}

std::string encodeFont(const FontDesc& f) {
    return f.face + "," + std::to_string(f.height) + "," + std::to_string(f.weight) + "," +
           (f.italic ? "1" : "0") + "," + (f.underline ? "1" : "0") + "," +
           (f.strikeOut ? "1" : "0") + "," + std::to_string(f.charSet);
}

std::optional<FontDesc> decodeFont(std::string_view text) {
    // The face may itself hold commas: the six numbers are taken from the end.
    std::vector<std::string_view> tail;
    std::string_view rest = text;
    for (int i = 0; i < 6; ++i) {
        auto comma = rest.rfind(',');
        if (comma == std::string_view::npos)
            return std::nullopt;
        tail.push_back(rest.substr(comma + 1));
        rest = rest.substr(0, comma);
    }
    FontDesc f;
    f.face = std::string(rest);
    auto num = [](std::string_view s) { return parseNumber<int>(s); };
    auto cs = num(tail[0]), so = num(tail[1]), ul = num(tail[2]), it = num(tail[3]),
         wt = num(tail[4]), ht = num(tail[5]);
    if (!cs || !so || !ul || !it || !wt || !ht)
        return std::nullopt;
    f.height = *ht;
    f.weight = *wt;
    f.italic = *it != 0;
    f.underline = *ul != 0;
    f.strikeOut = *so != 0;
    f.charSet = *cs;
    return f;
}

} // namespace controls
