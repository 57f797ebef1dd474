// Our own profile-file reader and writer.
//
// How a file is read (the same rules the system service applies):
// - A line ends at "\n", "\r" or "\r\n". Blanks (tab, LF, VT, FF, CR, ^Z,
//   space) around a line are ignored; a blank line is skipped.
// - A line starting with "[" and holding a "]" opens a section: its name is
//   the text between the "[" and the last "]", without surrounding blanks.
// - Every other line is an entry of the current section (lines before the
//   first header belong to an unnamed section): the name is the text before
//   the first "=" without trailing blanks and the value the text after it
//   without leading blanks; a line without "=" is a name without a value.
//   Every entry line is kept, also a run of lines with empty names ("=one",
//   "=two"): a section read lists them all, where the system service drops
//   each empty name that follows another. A list of a section's keys still
//   leaves those out as the service does (an empty key ends such a list for
//   every caller anyway).
// - Names are compared without regard to the case of ASCII letters.
//   Only the first section of a given name is consulted, and in it the
//   first entry of a given name.
// - Lines whose name starts with ";" are comments: never listed, though a
//   lookup by that exact name finds them as it finds any other entry.
//
// Writes change only the lines they must: a replaced value rewrites its own
// line as name=value, a new entry goes after the last non-blank line of its
// section, a new section is appended at the end; new lines end with CR LF.
// The file is replaced atomically. Parsed files are cached by path together
// with the file's size, times and identity, and only once the file has been
// left alone for a while, so a file replaced on disk is read anew. Where the
// system reports changes in a folder, a cached file is trusted without asking
// the file for as long as its folder reports none; after a report, each
// cached file of the folder is checked once against its stamp.
#include "catalog/profile.h"

#include "catalog/profile_io.h"
#include "catalog/profile_text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <string_view>

#pragma push_macro("GetPrivateProfileString")
#pragma push_macro("GetPrivateProfileSection")
#pragma push_macro("GetPrivateProfileSectionNames")
#pragma push_macro("WritePrivateProfileString")
#undef GetPrivateProfileString
#undef GetPrivateProfileSection
#undef GetPrivateProfileSectionNames
#undef WritePrivateProfileString

namespace profile {

namespace {

// ---------------------------------------------------------------- characters

constexpr bool isBlank(unsigned char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20;
}

// Names are compared with ASCII letters folded to lower case and every other
// byte as it is, as the system service does (it does not fold accented
// letters: "\xC9" and "\xE9" are different names to it).
struct FoldTable {
    std::array<unsigned char, 256> map{};
    constexpr FoldTable() {
        for (int c = 0; c < 256; ++c)
            map[c] = static_cast<unsigned char>(c);
        for (int c = 'A'; c <= 'Z'; ++c)
            map[c] = static_cast<unsigned char>(c + 32);
    }
};
constexpr FoldTable kFold;

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && kFold.map[x] != kFold.map[y])
            return false;
    }
    return true;
}

std::string_view trimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && isBlank(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

std::string_view trimLeadingBlanks(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && isBlank(static_cast<unsigned char>(s[b])))
        ++b;
    return s.substr(b);
}

// A name or value ends at an embedded NUL, as a C string would.
std::string_view cutAtNul(std::string_view s) {
    const auto n = s.find('\0');
    return n == std::string_view::npos ? s : s.substr(0, n);
}

// ---------------------------------------------------------------- documents

struct Entry {
    std::string_view match; // the name as written, to compare with callers' names
    std::string_view name;  // the name in the ANSI code page
    std::string_view value;
    bool hasValue = false;
    bool repeatedEmptyName = false; // an empty name right after another one
    size_t lineBegin = 0;           // the raw line, from its first byte...
    size_t lineEnd = 0;             // ...to just after its line break
};

struct Document;

struct Section {
    std::string_view match; // as Entry::match
    std::string_view name;  // empty for the unnamed section before the first header
    size_t begin = 0;       // first byte of the header line (0 for the unnamed part)
    size_t body = 0;        // first byte after the header line
    size_t end = 0;         // first byte of the next header line, or the file's end
    size_t contentEnd = 0;  // just after the last non-blank line (header included)
    bool terminated = true; // whether that last non-blank line has a line break
    // The entry lines, parsed when first asked for: a read of the section
    // names, or of one category, parses no other section's lines.
    const std::vector<Entry>& entries() const;
    // Every listed line as a section read hands it out ("name=value" or
    // "name", each with its NUL), made once: a cached read copies it whole.
    const std::string& listing() const;

  private:
    friend std::shared_ptr<Document> parse(std::string, bool);
    const Document* doc_ = nullptr;
    mutable std::vector<Entry> entries_;
    mutable bool parsed_ = false;
    mutable std::string listing_;
    mutable bool listed_ = false;
};

struct Document {
    Document() = default;
    Document(const Document&) = delete; // the sections point into it
    Document& operator=(const Document&) = delete;
    std::string text;
    std::vector<Section> sections; // none at all for an empty file
    bool hasNul = false;           // a name or value then ends at its first NUL
    // A file with a byte-order mark is parsed as UTF-8: names are compared in
    // UTF-8 and handed out converted to the ANSI code page.
    bool unicode = false;
    mutable std::deque<std::string> converted; // the ANSI forms of a Unicode file's text
    mutable std::mutex lazy; // guards the sections' parsing, listings and `converted`
    // The section names, each with its NUL, made once (as Section::listing).
    const std::string& namesListing() const;

  private:
    mutable std::string names_;
    mutable bool namesListed_ = false;
};

// Calls line(lineBegin, stop, next, trimmed) for every non-blank line that
// starts in text[from, to): `stop` is where its line break starts, `next`
// where the following line starts.
template <typename Line> void forEachLine(std::string_view all, size_t from, size_t to, Line line) {
    const char* base = all.data();
    const size_t n = all.size();
    size_t pos = from;
    while (pos < to) {
        const size_t lineBegin = pos;
        const void* nl = std::memchr(base + pos, '\n', n - pos);
        size_t stop = nl ? static_cast<size_t>(static_cast<const char*>(nl) - base) : n;
        if (const void* cr = std::memchr(base + pos, '\r', stop - pos))
            stop = static_cast<size_t>(static_cast<const char*>(cr) - base);
        size_t next = stop;
        if (next < n) {
            if (all[next] == '\r' && next + 1 < n && all[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        pos = next;
        const std::string_view trimmed = trimBlanks(all.substr(lineBegin, stop - lineBegin));
        if (!trimmed.empty())
            line(lineBegin, stop, next, trimmed);
    }
}

bool isHeader(std::string_view line) {
    return line[0] == '[' && line.rfind(']') != std::string_view::npos;
}

std::string_view ansiForm(const Document& doc, std::string_view utf8) {
    return doc.converted.emplace_back(text::utf8ToAnsi(utf8));
}

const std::vector<Entry>& Section::entries() const {
    std::lock_guard<std::mutex> lock(doc_->lazy);
    if (parsed_)
        return entries_;
    const Document& doc = *doc_;
    const bool hasNul = doc.hasNul;
    auto cut = [hasNul](std::string_view s) { return hasNul ? cutAtNul(s) : s; };
    bool previousEmptyName = false;
    bool previousExists = false;
    forEachLine(
        doc.text, body, end, [&](size_t lineBegin, size_t, size_t next, std::string_view line) {
            Entry entry;
            entry.lineBegin = lineBegin;
            entry.lineEnd = next;
            std::string_view rawName = line;
            const size_t eq = line.find('=');
            if (eq != std::string_view::npos) {
                rawName = line.substr(0, eq);
                while (!rawName.empty() && isBlank(static_cast<unsigned char>(rawName.back())))
                    rawName.remove_suffix(1);
                entry.value = cut(trimLeadingBlanks(line.substr(eq + 1)));
                entry.hasValue = true;
            }
            entry.name = cut(rawName);
            entry.match = entry.name;
            if (doc.unicode) {
                entry.name = ansiForm(doc, entry.name);
                if (entry.hasValue)
                    entry.value = ansiForm(doc, entry.value);
            }
            entry.repeatedEmptyName = rawName.empty() && previousExists && previousEmptyName;
            entries_.push_back(entry);
            previousExists = true;
            previousEmptyName = entry.name.empty();
        });
    parsed_ = true;
    return entries_;
}

bool listedInSection(const Entry& e, bool withValues);

const std::string& Section::listing() const {
    const std::vector<Entry>& lines = entries();
    std::lock_guard<std::mutex> lock(doc_->lazy);
    if (!listed_) {
        for (const Entry& e : lines) {
            if (!listedInSection(e, true))
                continue;
            listing_ += e.name;
            if (e.hasValue) {
                listing_ += '=';
                listing_ += e.value;
            }
            listing_ += '\0';
        }
        listed_ = true;
    }
    return listing_;
}

const std::string& Document::namesListing() const {
    std::lock_guard<std::mutex> lock(lazy);
    if (!namesListed_) {
        for (const Section& s : sections)
            if (!s.name.empty()) {
                names_ += s.name;
                names_ += '\0';
            }
        namesListed_ = true;
    }
    return names_;
}

// Finds the sections of a text; their entry lines are parsed when asked for.
std::shared_ptr<Document> parse(std::string text, bool unicode = false) {
    auto doc = std::make_shared<Document>();
    doc->text = std::move(text);
    doc->unicode = unicode;
    const std::string_view all(doc->text);
    const size_t n = all.size();
    if (n == 0)
        return doc;
    doc->hasNul = all.find('\0') != std::string_view::npos;
    auto cut = [&doc](std::string_view s) { return doc->hasNul ? cutAtNul(s) : s; };

    doc->sections.push_back(Section{}); // the unnamed part before any header
    // Only the header lines are looked for: each is a line whose first
    // character other than a blank is "[" and that holds a "]".
    const char* base = all.data();
    for (size_t from = 0; from < n;) {
        const void* hit = std::memchr(base + from, '[', n - from);
        if (!hit)
            break;
        const size_t open = static_cast<size_t>(static_cast<const char*>(hit) - base);
        from = open + 1;
        size_t lineBegin = open;
        while (lineBegin > 0 && all[lineBegin - 1] != '\n' && all[lineBegin - 1] != '\r' &&
               isBlank(static_cast<unsigned char>(all[lineBegin - 1])))
            --lineBegin;
        if (lineBegin > 0 && all[lineBegin - 1] != '\n' && all[lineBegin - 1] != '\r')
            continue; // not the first character of its line
        size_t stop = open;
        while (stop < n && all[stop] != '\n' && all[stop] != '\r')
            ++stop;
        const std::string_view line = trimBlanks(all.substr(open, stop - open));
        if (!isHeader(line))
            continue;
        size_t next = stop;
        if (next < n)
            next += all[next] == '\r' && next + 1 < n && all[next + 1] == '\n' ? 2 : 1;
        doc->sections.back().end = lineBegin;
        Section& section = doc->sections.emplace_back();
        section.name = cut(trimBlanks(line.substr(1, line.rfind(']') - 1)));
        section.begin = lineBegin;
        section.body = next;
        from = next;
    }
    doc->sections.back().end = n;
    for (Section& s : doc->sections) {
        // The last line that is not blank: from the section's end back over
        // blanks and line breaks to the last other character, whose line it is.
        size_t last = s.end;
        while (last > s.begin && isBlank(static_cast<unsigned char>(all[last - 1])))
            --last;
        if (last > s.begin) {
            size_t stop = last;
            while (stop < n && all[stop] != '\n' && all[stop] != '\r')
                ++stop;
            size_t next = stop;
            if (next < n)
                next += all[next] == '\r' && next + 1 < n && all[next + 1] == '\n' ? 2 : 1;
            s.contentEnd = next;
            s.terminated = next > stop;
        }
        s.doc_ = doc.get();
        s.match = s.name;
        if (unicode)
            s.name = ansiForm(*doc, s.name);
    }
    return doc;
}

// ---------------------------------------------------------------- file cache

struct Opened {
    io::PathState state = io::PathState::failed;
    std::shared_ptr<const Document> doc; // set unless state is failed
};

struct CacheSlot {
    std::string path;
    io::Stamp stamp;
    std::shared_ptr<const Document> doc;
    std::uint64_t folderChanges = 0; // the folder's change count when last found current
};

std::mutex gCacheLock;
std::list<CacheSlot> gCache; // most recently used first
constexpr size_t kCacheSlots = 8;

const std::shared_ptr<const Document>& emptyDocument() {
    static const std::shared_ptr<const Document> empty = std::make_shared<Document>();
    return empty;
}

// Ends the watch on a folder none of whose files is cached any more. Called
// with the cache locked.
void releaseFolderOf(const std::string& path) {
    const std::string folder = io::folderOf(path);
    for (const CacheSlot& slot : gCache)
        if (io::folderOf(slot.path) == folder)
            return;
    io::unwatchFolder(folder);
}

void forget(const std::string& path) {
    std::lock_guard<std::mutex> lock(gCacheLock);
    gCache.remove_if([&](const CacheSlot& s) { return s.path == path; });
    releaseFolderOf(path);
}

// A file's bytes parsed for reading.
std::shared_ptr<const Document> loadForReading(std::string bytes) {
    size_t mark = 0;
    switch (text::detect(bytes, mark)) {
    case text::Encoding::ansi:
        break;
    case text::Encoding::utf8:
        return parse(bytes.substr(mark), true);
    case text::Encoding::utf16le:
        return parse(text::utf16ToUtf8(std::string_view(bytes).substr(mark), false), true);
    case text::Encoding::utf16be:
        return parse(text::utf16ToUtf8(std::string_view(bytes).substr(mark), true), true);
    }
    return parse(std::move(bytes));
}

// A caller's name as the document's names are written.
std::string matchable(const Document& doc, std::string_view name) {
    return doc.unicode ? text::ansiToUtf8(name) : std::string(name);
}

Opened openDocument(const char* path) {
    Opened result;
    if (!path || !*path)
        return result;
    const std::string key(path);
    // While the folder of a cached file reports no change, the copy found
    // current before is current still, and the file need not be asked.
    std::shared_ptr<const Document> cached;
    io::Stamp cachedStamp;
    std::uint64_t changes = 0;
    {
        std::lock_guard<std::mutex> lock(gCacheLock);
        for (auto it = gCache.begin(); it != gCache.end(); ++it) {
            if (it->path == key) {
                changes = io::folderChanges(io::folderOf(key));
                if (changes != 0 && it->folderChanges == changes) {
                    gCache.splice(gCache.begin(), gCache, it);
                    result.state = io::PathState::file;
                    result.doc = it->doc;
                    return result;
                }
                cached = it->doc;
                cachedStamp = it->stamp;
                break;
            }
        }
    }
    io::Stamp stamp;
    result.state = io::inspect(key, stamp);
    if (result.state != io::PathState::file) {
        if (cached)
            forget(key);
        if (result.state == io::PathState::missing)
            result.doc = emptyDocument();
        return result;
    }
    // A cached copy whose path facts still hold is used once the file is
    // known to be the same one (any replacement is a new file number).
    if (cached && cachedStamp.samePathFacts(stamp)) {
        io::Stamp now = stamp;
        if (io::identify(key, now) && now == cachedStamp) {
            std::lock_guard<std::mutex> lock(gCacheLock);
            for (auto it = gCache.begin(); it != gCache.end(); ++it)
                if (it->path == key) {
                    it->folderChanges = changes;
                    gCache.splice(gCache.begin(), gCache, it);
                    break;
                }
            result.doc = std::move(cached);
            return result;
        }
    }
    if (cached)
        forget(key);
    std::string text;
    if (!io::readAll(key, text, &stamp)) {
        result.state = io::PathState::failed;
        return result;
    }
    std::shared_ptr<const Document> doc = loadForReading(std::move(text));
    if (io::settled(stamp)) {
        // The folder is watched from now on; the file is asked once more
        // after the watch began, so that a change between the read and the
        // watch cannot go unseen.
        const std::uint64_t watched = io::watchFolder(io::folderOf(key));
        io::Stamp again = stamp;
        if (watched == 0 || (io::identify(key, again) && again == stamp)) {
            std::lock_guard<std::mutex> lock(gCacheLock);
            gCache.push_front(CacheSlot{key, stamp, doc, watched});
            if (gCache.size() > kCacheSlots) {
                const std::string evicted = gCache.back().path;
                gCache.pop_back();
                releaseFolderOf(evicted);
            }
        } else {
            std::lock_guard<std::mutex> lock(gCacheLock);
            releaseFolderOf(key);
        }
    }
    result.doc = std::move(doc);
    return result;
}

// ---------------------------------------------------------------- lookups

// The first section whose name equals `name` (already trimmed) without regard
// to case; the unnamed part answers to the empty name.
const Section* findSection(const Document& doc, std::string_view name) {
    for (const Section& s : doc.sections)
        if (equalNoCase(s.match, name))
            return &s;
    return nullptr;
}

const Entry* findEntry(const Section& s, std::string_view name) {
    for (const Entry& e : s.entries())
        if (equalNoCase(e.match, name))
            return &e;
    return nullptr;
}

// Copies a value as the service does: a value enclosed in matching single or
// double quotes loses them; the copy holds at most size-1 characters.
unsigned long copyValue(char* buffer, unsigned long size, std::string_view value) {
    bool quoted = false;
    if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    size_t copied = std::min<size_t>(value.size(), size - 1);
    // The closing quote is dropped only when the buffer can hold the rest of
    // the value; when it exactly cannot, the last copied character goes too.
    if (quoted && size >= value.size() && copied > 0)
        --copied;
    std::memcpy(buffer, value.data(), copied);
    buffer[copied] = '\0';
    return static_cast<unsigned long>(copied);
}

unsigned long copyPlain(char* buffer, unsigned long size, std::string_view value) {
    const size_t copied = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), copied);
    buffer[copied] = '\0';
    return static_cast<unsigned long>(copied);
}

// Section names, each with its NUL, one more NUL at the end. When the names
// do not fit, the last one that starts is cut so that the list still ends in
// two NULs, and the count is size-2.
unsigned long listSectionNames(const Opened& opened, char* buffer, unsigned long size) {
    buffer[0] = '\0';
    if (opened.state == io::PathState::failed || size < 2)
        return 0;
    // The whole list when it fits (the names and their NULs below size-1).
    const std::string& all = opened.doc->namesListing();
    if (all.size() + 1 < size) {
        std::memcpy(buffer, all.data(), all.size());
        buffer[all.size()] = '\0';
        if (all.size() == size - 2)
            buffer[size - 1] = '\0';
        return static_cast<unsigned long>(all.size());
    }
    // Cut: the names that fit whole, the next one cut, two NULs at the end.
    std::memcpy(buffer, all.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

bool listedInSection(const Entry& e, bool withValues) {
    if (e.name.empty() && !e.hasValue)
        return false;
    if (!e.name.empty() && e.name[0] == ';')
        return false;
    return withValues || e.hasValue;
}

// The names of the section's entries that have values (null key).
unsigned long listKeys(const Opened& opened, const char* section, const char* defaultValue,
                       char* buffer, unsigned long size) {
    const Section* s = nullptr;
    if (opened.state != io::PathState::failed) {
        const std::string name = matchable(*opened.doc, section);
        for (const Section& candidate : opened.doc->sections)
            if (equalNoCase(candidate.match, name)) {
                s = &candidate;
                break;
            }
    }
    const Entry* first = nullptr;
    if (s && size > 2)
        for (const Entry& e : s->entries())
            if (listedInSection(e, false)) {
                first = &e;
                break;
            }
    // No listed key (or a first one with an empty name) yields the default.
    if (!first || first->name.empty())
        return copyValue(buffer, size, defaultValue);

    size_t room = size;
    char* out = buffer;
    for (const Entry& e : s->entries()) {
        if (room <= 2)
            break;
        if (!listedInSection(e, false) || e.repeatedEmptyName)
            continue;
        const size_t c = std::min<size_t>(e.name.size(), room - 2);
        std::memcpy(out, e.name.data(), c);
        out[c] = '\0';
        room -= c + 1;
        out += c + 1;
        if (room < 2)
            break;
    }
    *out = '\0';
    if (room <= 1) {
        out[-1] = '\0';
        return size - 2;
    }
    return static_cast<unsigned long>(size - room);
}

} // namespace

// ---------------------------------------------------------------- reads

unsigned long GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, unsigned long size,
                                      const char* path) {
    if (!buffer || size == 0)
        return 0;
    if (!defaultValue)
        defaultValue = "";
    const Opened opened = openDocument(path);
    if (!section)
        return listSectionNames(opened, buffer, size);
    if (!key)
        return listKeys(opened, section, defaultValue, buffer, size);

    // Trailing spaces of the default are dropped, down to its first character.
    std::string_view def(defaultValue);
    while (def.size() > 1 && def.back() == ' ')
        def.remove_suffix(1);

    if (opened.state == io::PathState::failed)
        return copyPlain(buffer, size, def);
    const Document& doc = *opened.doc;
    const Section* s = findSection(doc, matchable(doc, trimBlanks(section)));
    const Entry* e = s ? findEntry(*s, matchable(doc, trimBlanks(key))) : nullptr;
    return copyValue(buffer, size, e && e->hasValue ? e->value : def);
}

unsigned long GetPrivateProfileSection(const char* section, char* buffer, unsigned long size,
                                       const char* path) {
    if (!section || !buffer || size == 0)
        return 0;
    const Opened opened = openDocument(path);
    const Section* s = nullptr;
    if (opened.state != io::PathState::failed) {
        const std::string name = matchable(*opened.doc, section);
        for (const Section& candidate : opened.doc->sections)
            if (equalNoCase(candidate.match, name)) {
                s = &candidate;
                break;
            }
    }
    // Every listed line, name=value, each with its NUL. The list plus its
    // final NUL must fit with one character to spare; otherwise it is cut at
    // size-2 characters and closed with two NULs.
    size_t pos = 0;
    bool overflow = false;
    const std::string* whole = s ? &s->listing() : nullptr;
    if (whole && whole->size() + 1 < size) {
        // Every line fits with the final NUL: copied whole.
        std::memcpy(buffer, whole->data(), whole->size());
        pos = whole->size();
    } else if (s) {
        for (const Entry& e : s->entries()) {
            if (!listedInSection(e, true))
                continue;
            const size_t need = e.name.size() + (e.hasValue ? e.value.size() + 1 : 0) + 1;
            if (pos + need + 1 >= size) {
                // Copy what fits of this line; the list is cut here.
                const size_t left = size - pos;
                std::string line(e.name);
                if (e.hasValue) {
                    line += '=';
                    line += e.value;
                }
                line += '\0';
                std::memcpy(buffer + pos, line.data(), std::min(left, line.size()));
                overflow = true;
                break;
            }
            std::memcpy(buffer + pos, e.name.data(), e.name.size());
            pos += e.name.size();
            if (e.hasValue) {
                buffer[pos++] = '=';
                std::memcpy(buffer + pos, e.value.data(), e.value.size());
                pos += e.value.size();
            }
            buffer[pos++] = '\0';
        }
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    if (overflow) {
        buffer[size - 2] = '\0';
        buffer[size - 1] = '\0';
        return size - 2;
    }
    if (pos == 0) {
        buffer[0] = '\0';
        buffer[1] = '\0';
        return 0;
    }
    buffer[pos] = '\0';
    return static_cast<unsigned long>(pos);
}

unsigned long GetPrivateProfileSectionNames(char* buffer, unsigned long size, const char* path) {
    if (!buffer || size == 0)
        return 0;
    return listSectionNames(openDocument(path), buffer, size);
}

// ---------------------------------------------------------------- writes

namespace {

// One write as a change of the document's text: the bytes from `begin` to
// `end` give way to `insert`. Everything else stays byte for byte.
struct Splice {
    size_t begin = 0;
    size_t end = 0;
    std::string insert;
};

// The change of the file for one write, or false when nothing changes.
// The names and the value are in the document's own encoding.
bool edit(const Document& doc, const char* section, const char* key, const char* value,
          Splice& out) {
    const std::string& text = doc.text;
    if (!key) {
        // Remove the first section of that name, header and every line of it.
        for (const Section& candidate : doc.sections)
            if (equalNoCase(candidate.match, section)) {
                out = {candidate.begin, candidate.end, std::string()};
                return true;
            }
        return false;
    }
    if (!value) {
        // Remove the first entry of that name in any section of that name.
        for (const Section& candidate : doc.sections) {
            if (!equalNoCase(candidate.match, section))
                continue;
            for (const Entry& e : candidate.entries())
                if (equalNoCase(e.match, key)) {
                    out = {e.lineBegin, e.lineEnd, std::string()};
                    return true;
                }
        }
        return false;
    }
    const std::string_view newValue = trimLeadingBlanks(value);
    const std::string_view sectionName = trimLeadingBlanks(section);
    const std::string_view keyName = trimLeadingBlanks(key);
    const Section* s = findSection(doc, trimBlanks(section));
    const Entry* e = s ? findEntry(*s, trimBlanks(key)) : nullptr;
    if (e) {
        // The value is replaced in its own line.
        if (e->hasValue && e->value == newValue)
            return false;
        out.begin = e->lineBegin;
        out.end = e->lineEnd;
        out.insert.append(e->name);
        out.insert += '=';
        out.insert.append(newValue);
        out.insert += "\r\n";
    } else if (s) {
        // A new key goes after the last non-blank line of its section.
        out.begin = out.end = s->contentEnd;
        if (!s->terminated)
            out.insert += "\r\n";
        out.insert.append(keyName);
        out.insert += '=';
        out.insert.append(newValue);
        out.insert += "\r\n";
    } else {
        // A new section goes at the end of the file.
        out.begin = out.end = text.size();
        if (!text.empty() && text.back() != '\n' && text.back() != '\r')
            out.insert += "\r\n";
        if (!trimBlanks(section).empty()) {
            out.insert += '[';
            out.insert.append(sectionName);
            out.insert += "]\r\n";
        }
        out.insert.append(keyName);
        out.insert += '=';
        out.insert.append(newValue);
        out.insert += "\r\n";
    }
    return true;
}

// Writes of one process run one at a time: each reads, edits and replaces
// the whole file, and a replacement goes through the file's one temporary.
std::mutex gWriteLock;

} // namespace

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* path) {
    if (!section || !path || !*path)
        return false;
    const std::string target(path);
    std::lock_guard<std::mutex> writing(gWriteLock);
    io::Stamp stamp;
    const io::PathState state = io::inspect(target, stamp);
    if (state == io::PathState::failed || !io::writable(target))
        return false;
    std::string bytes;
    if (state == io::PathState::file && !io::readAll(target, bytes))
        return false;

    // A file with a byte-order mark is edited as UTF-8, and only the bytes of
    // the lines a write changes are written anew in the file's own encoding:
    // the rest (even text that is not valid UTF-16, or an odd last byte)
    // stays as it was. The caller's names and value are in the ANSI code page.
    size_t mark = 0;
    const text::Encoding encoding = text::detect(bytes, mark);
    const bool utf16 = encoding == text::Encoding::utf16le || encoding == text::Encoding::utf16be;
    const bool bigEndian = encoding == text::Encoding::utf16be;
    std::vector<std::uint32_t> offsets; // UTF-8 position -> UTF-16 byte position
    std::string body;
    if (utf16)
        body = text::utf16ToUtf8(std::string_view(bytes).substr(mark), bigEndian, &offsets);
    else
        body = bytes.substr(mark);
    std::string sectionArg(section), keyArg(key ? key : ""), valueArg(value ? value : "");
    if (encoding != text::Encoding::ansi) {
        sectionArg = text::ansiToUtf8(sectionArg);
        keyArg = text::ansiToUtf8(keyArg);
        valueArg = text::ansiToUtf8(valueArg);
    }
    const std::shared_ptr<const Document> doc = parse(std::move(body));
    Splice change;
    if (!edit(*doc, sectionArg.c_str(), key ? keyArg.c_str() : nullptr,
              value ? valueArg.c_str() : nullptr, change))
        return true;

    // Positions in the original bytes: after the mark, and for UTF-16 mapped
    // back from the UTF-8 text.
    size_t begin = mark + change.begin, end = mark + change.end;
    std::string insert = std::move(change.insert);
    if (utf16) {
        begin = mark + offsets[change.begin];
        end = mark + offsets[change.end];
        insert = text::utf8ToUtf16(insert, bigEndian);
    }
    std::string out;
    out.reserve(bytes.size() - (end - begin) + insert.size());
    out.append(bytes, 0, begin);
    out.append(insert);
    out.append(bytes, end, std::string::npos);
    const bool ok = io::replaceAtomically(target, out);
    forget(target);
    return ok;
}

// ---------------------------------------------------------------- comfortable layer

namespace {

std::vector<std::string> splitList(const std::vector<char>& buffer) {
    std::vector<std::string> items;
    size_t pos = 0;
    while (pos < buffer.size()) {
        const char* start = buffer.data() + pos;
        const void* nul = std::memchr(start, '\0', buffer.size() - pos);
        const size_t len =
            nul ? static_cast<size_t>(static_cast<const char*>(nul) - start) : buffer.size() - pos;
        if (len == 0)
            break;
        items.emplace_back(start, len);
        pos += len + 1;
    }
    return items;
}

} // namespace

std::vector<std::string> sectionNames(const std::string& path, unsigned long bufferSize) {
    if (bufferSize == 0)
        return {};
    std::vector<char> buffer(bufferSize, '\0');
    GetPrivateProfileSectionNames(buffer.data(), bufferSize, path.c_str());
    return splitList(buffer);
}

std::vector<std::string> sectionLines(const std::string& path, const std::string& section,
                                      unsigned long bufferSize) {
    if (bufferSize == 0)
        return {};
    std::vector<char> buffer(bufferSize, '\0');
    GetPrivateProfileSection(section.c_str(), buffer.data(), bufferSize, path.c_str());
    return splitList(buffer);
}

ReadResult readString(const std::string& path, const std::string& section, const std::string& key,
                      const char* defaultValue, unsigned long bufferSize) {
    ReadResult result{std::string(), 0};
    if (bufferSize == 0)
        return result;
    std::vector<char> buffer(bufferSize, '\0');
    result.count = GetPrivateProfileString(section.c_str(), key.c_str(), defaultValue,
                                           buffer.data(), bufferSize, path.c_str());
    result.text.assign(buffer.data(), result.count);
    return result;
}

bool writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
    return WritePrivateProfileString(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}

} // namespace profile

#pragma pop_macro("WritePrivateProfileString")
#pragma pop_macro("GetPrivateProfileSectionNames")
#pragma pop_macro("GetPrivateProfileSection")
#pragma pop_macro("GetPrivateProfileString")
