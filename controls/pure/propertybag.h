// The design-time settings of a control instance as name/value pairs.
// Names are matched without regard to letter case; a value equal to its
// default is not stored (writing it removes an earlier entry); per-item
// properties carry the item's decimal index after the name ("ButtonCaption0").
// Standard C++ only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace controls {

// A font as stored text: face, height (logical units, negative = character
// height), weight, italic, underline, strike-out and character set.
struct FontDesc {
    std::string face;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;
    bool operator==(const FontDesc&) const = default;
};

std::string encodeFont(const FontDesc& f);
std::optional<FontDesc> decodeFont(std::string_view text);

class PropertyBag {
  public:
    using Entry = std::pair<std::string, std::string>;

    // "Name" followed by the decimal index.
    static std::string itemName(std::string_view name, int index);

    bool contains(std::string_view name) const;
    void remove(std::string_view name);
    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }
    const std::vector<Entry>& entries() const { return entries_; }

    // Raw text access: set stores or replaces (keeping the first spelling of
    // the name), get answers nothing when the name is absent.
    void set(std::string_view name, std::string_view value);
    std::optional<std::string> get(std::string_view name) const;

    // Typed access. Writes drop the entry when the value equals the default;
    // reads give the default when the entry is absent or not readable as the type.
    void writeString(std::string_view name, std::string_view value, std::string_view def);
    std::string readString(std::string_view name, std::string_view def) const;
    void writeInt(std::string_view name, std::int64_t value, std::int64_t def);
    std::int64_t readInt(std::string_view name, std::int64_t def) const;
    void writeBool(std::string_view name, bool value, bool def);
    bool readBool(std::string_view name, bool def) const;
    // Colours are stored as their unsigned decimal value.
    void writeColour(std::string_view name, std::uint32_t value, std::uint32_t def);
    std::uint32_t readColour(std::string_view name, std::uint32_t def) const;

    // Text form, one "name=value" line each (LF separated); backslash, CR and
    // LF in values are escaped as \\, \r and \n. parse() ignores lines without
    // "=" and keeps the last of repeated names.
    std::string serialize() const;
    static PropertyBag parse(std::string_view text);

  private:
    std::vector<Entry>::iterator find(std::string_view name);
    std::vector<Entry>::const_iterator find(std::string_view name) const;
    std::vector<Entry> entries_;
};

// Case-insensitive comparison of ASCII names.
bool namesEqual(std::string_view a, std::string_view b);

} // namespace controls
