#include "IniFile.h"

#include "Cp1252.h"
#include "LocaleInfo.h"
#include "Units.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Storage. The image keeps one byte buffer: the parsed text as it came, followed
// by the bytes of names and values written since. Sections and lines refer to it
// by offset and length, so parsing allocates nothing per line, and values are
// decoded only when asked for. Sections are found through an open-addressed hash
// table of their case-folded names; each section has its own open-addressed
// table of its keys, kept as a slice of one shared slot vector (no allocation per
// section), so that while a section is parsed its table stays in the cache.
// Order is the section vector and a linked list of lines per section. Erased
// sections, deleted lines, replaced values and moved tables stay behind as dead
// entries until they outweigh the live ones; then the image is rebuilt.

namespace pipeloop
{

namespace
{

constexpr uint32_t NoIndex = std::numeric_limits<uint32_t>::max();
// Indices are 32 bits: an image holds at most this many sections and lines
// (a text of more than 8 GiB could reach it; the rest of such a text is dropped).
constexpr size_t MaxEntries = NoIndex - 1;
// And at most this many keys in one section, whose table has 2^31 slots.
constexpr uint32_t MaxKeysPerSection = 3u << 29;

// The table size for a number of keys: a power of two, at most three quarters full.
inline uint32_t capacityFor(uint32_t keys)
{
    uint32_t capacity = 8;
    while (uint64_t(keys) * 4 > uint64_t(capacity) * 3)
        capacity *= 2;
    return capacity;
}

struct Span {
    qsizetype off = 0;
    qsizetype len = 0;
};

// An entry of an open-addressed table with linear probing: an index into
// the sections or the lines, and the hash of its folded name.
struct Slot {
    uint32_t hash = 0;
    uint32_t index = NoIndex; // NoIndex: empty
};

struct Section {
    Span name;              // name.len < 0: erased
    qsizetype keyTable = 0; // its key table: the slice [keyTable, keyTable + capacity) of keySlots
    uint32_t capacity = 0;  // a power of two, or 0 before the first key
    uint32_t keys = 0;
    uint32_t hash = 0;        // of the folded name
    uint32_t first = NoIndex; // lines in order
    uint32_t last = NoIndex;
};

struct Line {
    Span key;                // the whole text for a line without "="; len < 0: deleted
    Span value;              // value.len < 0: a line without "="
    uint32_t hash = 0;       // of the folded key
    uint32_t next = NoIndex; // next line of the section

    bool isKey() const { return value.len >= 0; }
    bool isLive() const { return key.len >= 0; }
};

// The slot holding an entry that `matches`, among those of `hash`, or the empty
// slot that ends the search. The table always has an empty slot.
template <typename SlotType, typename Matches>
inline SlotType* probe(SlotType* table, uint32_t mask, uint32_t hash, Matches matches)
{
    for (uint32_t pos = hash & mask;; pos = (pos + 1) & mask) {
        SlotType& slot = table[pos];
        if (slot.index == NoIndex || (slot.hash == hash && matches(slot.index)))
            return &slot;
    }
}

inline void place(Slot* table, uint32_t mask, Slot entry)
{
    uint32_t pos = entry.hash & mask;
    while (table[pos].index != NoIndex)
        pos = (pos + 1) & mask;
    table[pos] = entry;
}

// Empties a slot and shifts back the entries after it that would no longer be
// found, so that no tombstones are needed.
inline void removeAt(Slot* table, uint32_t mask, uint32_t pos)
{
    uint32_t hole = pos;
    for (uint32_t j = (pos + 1) & mask; table[j].index != NoIndex; j = (j + 1) & mask) {
        const uint32_t home = table[j].hash & mask;
        const bool reachable = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
        if (!reachable) {
            table[hole] = table[j];
            hole = j;
        }
    }
    table[hole] = Slot{};
}

// The lower-case partner of every Windows-1252 byte: ASCII letters, the
// Latin-1 letters from U+00C0 to U+00DE but the multiplication sign, and
// Š Œ Ž Ÿ. "ß", "µ" and the rest fold to themselves.
constexpr std::array<uchar, 256> makeFoldTable()
{
    std::array<uchar, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<uchar>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<uchar>(c + 0x20);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            table[c] = static_cast<uchar>(c + 0x20);
    table[0x8A] = 0x9A; // Š
    table[0x8C] = 0x9C; // Œ
    table[0x8E] = 0x9E; // Ž
    table[0x9F] = 0xFF; // Ÿ
    return table;
}
constexpr std::array<uchar, 256> Fold = makeFoldTable();

// Blanks and control characters, as the reader trims them.
inline bool isBlank(char c)
{
    return static_cast<uchar>(c) <= 0x20;
}

// Eight bytes case-folded at once; the all-ASCII case without a table.
inline uint64_t foldWord(uint64_t w)
{
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t High = Ones * 0x80;
    if ((w & High) == 0) {
        const uint64_t atLeastA = w + Ones * (0x80 - 'A');
        const uint64_t aboveZ = w + Ones * (0x80 - 'Z' - 1);
        return w | (((atLeastA ^ aboveZ) & High) >> 2);
    }
    uchar b[8];
    std::memcpy(b, &w, 8);
    for (uchar& c : b)
        c = Fold[c];
    std::memcpy(&w, b, 8);
    return w;
}

// The last 1 to 7 bytes of a name as one word, without a variable-length copy:
// two overlapping loads, or three single bytes. Names of equal length that
// differ in these bytes give different words.
inline uint64_t loadTail(const char* s, size_t n)
{
    if (n >= 4) {
        uint32_t head, tail;
        std::memcpy(&head, s, 4);
        std::memcpy(&tail, s + n - 4, 4);
        return uint64_t(tail) << 32 | head;
    }
    return uint64_t(uchar(s[0])) | uint64_t(uchar(s[n / 2])) << 8 | uint64_t(uchar(s[n - 1])) << 16;
}

constexpr uint64_t Golden = 0x9E3779B97F4A7C15ull;

inline uint64_t finish(uint64_t h)
{
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

// Hash of the case-folded bytes: equal for names that compare equal.
uint32_t hashFolded(const char* s, size_t n)
{
    uint64_t h = Golden * (n + 1);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, s + i, 8);
        h = (h ^ foldWord(w)) * Golden;
        h ^= h >> 29;
    }
    if (i < n) {
        h = (h ^ foldWord(loadTail(s + i, n - i))) * Golden;
        h ^= h >> 29;
    }
    return static_cast<uint32_t>(finish(h));
}

bool equalFolded(const char* a, const char* b, size_t n)
{
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y && foldWord(x) != foldWord(y))
            return false;
    }
    return i == n || foldWord(loadTail(a + i, n - i)) == foldWord(loadTail(b + i, n - i));
}

// The first CR or LF at or after p, or end.
inline const char* findLineEnd(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (hits)
            return p + __builtin_ctz(static_cast<unsigned>(hits));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// One line of INI text as the grammar reads it, trimmed of blanks and
// control characters: a section line ([name]) or any other line with text
// (key = value, or text without "=", which never matches a key). Empty lines
// and comments are not reported.
struct ScannedLine {
    bool section = false;
    const char* begin = nullptr; // the section's name, or the line's text
    const char* end = nullptr;
    const char* equals = nullptr; // the first "=" of a line that has one
};

inline void trimBlanks(const char*& b, const char*& e)
{
    while (b < e && isBlank(*b))
        ++b;
    while (e > b && isBlank(e[-1]))
        --e;
}

// Calls visit(line) for every line of the text that says something; lines
// end with CR LF, CR or LF.
template <typename Visit>
inline void scanIniLines(const char* p, const char* const end, Visit&& visit)
{
    while (p < end) {
        const char* e = findLineEnd(p, end);
        const char* b = p;
        p = e;
        if (p < end)
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        trimBlanks(b, e);
        if (b == e || *b == ';') {
            visit(ScannedLine{}); // counted, nothing to read
            continue;
        }
        if (*b == '[' && e[-1] == ']' && e - b >= 2) {
            const char* nb = b + 1;
            const char* ne = e - 1;
            trimBlanks(nb, ne);
            visit(ScannedLine{true, nb, ne, nullptr});
            continue;
        }
        visit(
            ScannedLine{false, b, e, static_cast<const char*>(std::memchr(b, '=', size_t(e - b)))});
    }
}

// About the number of lines: the count of CR or of LF, whichever is larger
// (exact for CR LF, LF or CR alone; mixed line ends may have more lines).
size_t estimateLines(const char* p, const char* end)
{
    size_t crs = 0;
    size_t lfs = 0;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        crs += size_t(__builtin_popcount(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)))));
        lfs += size_t(__builtin_popcount(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)))));
        p += 16;
    }
#endif
    for (; p < end; ++p) {
        crs += *p == '\r';
        lfs += *p == '\n';
    }
    return std::max(crs, lfs) + 1;
}

// A name from the API, encoded the way it would be written, with its hash.
// Short names stay on the stack.
class Name
{
public:
    explicit Name(QStringView text) : m_bytes(text.size())
    {
        m_bytes.resize(EncodeCp1252(text, m_bytes.data()));
        for (char& c : m_bytes)
            if (c == '\r' || c == '\n')
                c = ' ';
        m_hash = hashFolded(m_bytes.data(), static_cast<size_t>(m_bytes.size()));
    }
    const char* data() const { return m_bytes.data(); }
    qsizetype size() const { return m_bytes.size(); }
    uint32_t hash() const { return m_hash; }
    QByteArrayView view() const { return {m_bytes.data(), m_bytes.size()}; }

private:
    QVarLengthArray<char, 128> m_bytes;
    uint32_t m_hash = 0;
};

// A value from the API: encoded, and kept on one line.
QByteArray valueBytes(QStringView text)
{
    QByteArray bytes = EncodeCp1252(text);
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

inline int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decimal with an optional sign, or hexadecimal after "0x"/"0X" when more
// characters follow; the number must fit an int32.
bool parseInteger(const char* s, qsizetype n, int32_t& out)
{
    constexpr int64_t Max = std::numeric_limits<int32_t>::max();
    int64_t v = 0;
    if (n > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        for (qsizetype i = 2; i < n; ++i) {
            const int d = hexDigit(s[i]);
            if (d < 0)
                return false;
            v = v * 16 + d;
            if (v > Max)
                return false;
        }
        out = static_cast<int32_t>(v);
        return true;
    }
    qsizetype i = 0;
    const bool negative = n > 0 && s[0] == '-';
    if (n > 0 && (s[0] == '-' || s[0] == '+'))
        ++i;
    if (i == n)
        return false;
    for (; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
        if (v > Max + 1)
            return false;
    }
    if (!negative && v > Max)
        return false;
    out = static_cast<int32_t>(negative ? -v : v);
    return true;
}

} // namespace

struct IniFile::Data {
    QByteArray text;
    qsizetype parsedSize = 0; // bytes below this came from the parsed text
    qsizetype deadBytes = 0;  // written bytes no longer referred to
    std::vector<Section> sections;
    std::vector<Line> lines;
    std::vector<Slot> sectionTable = std::vector<Slot>(16);
    std::vector<Slot> keySlots; // every section's key table, each a slice
    size_t liveSections = 0;
    size_t deadEntries = 0; // erased sections and deleted lines
    size_t deadSlots = 0;   // slices left behind by tables that moved

    const char* at(Span span) const { return text.constData() + span.off; }
    QByteArrayView view(Span span) const { return {at(span), span.len}; }

    // --- finding ----------------------------------------------------------------

    uint32_t findSection(const char* name, qsizetype n, uint32_t hash) const
    {
        const auto matches = [&](uint32_t i) {
            return sections[i].name.len == n && equalFolded(at(sections[i].name), name, size_t(n));
        };
        return probe(sectionTable.data(), uint32_t(sectionTable.size() - 1), hash, matches)->index;
    }
    uint32_t findSection(const Name& name) const
    {
        return findSection(name.data(), name.size(), name.hash());
    }

    uint32_t findKey(uint32_t section, const char* name, qsizetype n, uint32_t hash) const
    {
        const Section& s = sections[section];
        if (!s.capacity)
            return NoIndex;
        const auto matches = [&](uint32_t i) {
            return lines[i].key.len == n && equalFolded(at(lines[i].key), name, size_t(n));
        };
        return probe(keySlots.data() + s.keyTable, s.capacity - 1, hash, matches)->index;
    }
    const Line* findKey(QStringView section, QStringView key) const
    {
        const uint32_t s = findSection(Name(section));
        if (s == NoIndex)
            return nullptr;
        const Name k(key);
        const uint32_t i = findKey(s, k.data(), k.size(), k.hash());
        return i == NoIndex ? nullptr : &lines[i];
    }

    // --- building ---------------------------------------------------------------

    Span append(QByteArrayView bytes)
    {
        const Span span{text.size(), bytes.size()};
        text.append(bytes.data(), bytes.size());
        return span;
    }

    void forget(Span span)
    {
        if (span.off >= parsedSize && span.len > 0)
            deadBytes += span.len;
    }

    uint32_t addSection(Span name, uint32_t hash)
    {
        if (sections.size() >= MaxEntries)
            return NoIndex;
        if ((liveSections + 1) * 4 > sectionTable.size() * 3) {
            std::vector<Slot> table(sectionTable.size() * 2);
            for (const Slot& slot : sectionTable)
                if (slot.index != NoIndex)
                    place(table.data(), uint32_t(table.size() - 1), slot);
            sectionTable = std::move(table);
        }
        const auto index = static_cast<uint32_t>(sections.size());
        Section& s = sections.emplace_back();
        s.name = name;
        s.hash = hash;
        place(sectionTable.data(), uint32_t(sectionTable.size() - 1), Slot{hash, index});
        ++liveSections;
        return index;
    }

    // Gives a section's key table a new capacity. The newest slice grows where
    // it stands, so that parsing leaves no slices behind.
    void resizeKeyTable(Section& s, uint32_t capacity)
    {
        QVarLengthArray<Slot, 64> entries;
        for (uint32_t i = 0; i < s.capacity; ++i)
            if (keySlots[size_t(s.keyTable) + i].index != NoIndex)
                entries.append(keySlots[size_t(s.keyTable) + i]);
        if (s.capacity && size_t(s.keyTable) + s.capacity == keySlots.size()) {
            keySlots.resize(size_t(s.keyTable) + capacity);
            std::fill_n(keySlots.begin() + s.keyTable, s.capacity, Slot{});
        } else {
            deadSlots += s.capacity;
            s.keyTable = qsizetype(keySlots.size());
            keySlots.resize(keySlots.size() + capacity);
        }
        s.capacity = capacity;
        for (const Slot& entry : entries)
            place(keySlots.data() + s.keyTable, capacity - 1, entry);
    }

    void appendLine(uint32_t section, const Line& line)
    {
        Section& s = sections[section];
        if (lines.size() >= MaxEntries || (line.isKey() && s.keys >= MaxKeysPerSection))
            return;
        const auto index = static_cast<uint32_t>(lines.size());
        lines.push_back(line);
        if (s.last == NoIndex)
            s.first = index;
        else
            lines[s.last].next = index;
        s.last = index;
        if (!line.isKey())
            return;
        if (capacityFor(s.keys + 1) > s.capacity)
            resizeKeyTable(s, std::max(s.capacity * 2, 8u));
        place(keySlots.data() + s.keyTable, s.capacity - 1, Slot{line.hash, index});
        ++s.keys;
    }

    void killLine(uint32_t section, uint32_t index)
    {
        Line& l = lines[index];
        if (l.isKey()) {
            Section& s = sections[section];
            Slot* table = keySlots.data() + s.keyTable;
            Slot* slot =
                probe(table, s.capacity - 1, l.hash, [index](uint32_t i) { return i == index; });
            removeAt(table, s.capacity - 1, uint32_t(slot - table));
            --s.keys;
            forget(l.value);
        }
        forget(l.key);
        l.key.len = -1;
        ++deadEntries;
    }

    // Drops a section's key table; the newest slice simply ends the vector again.
    void releaseKeyTable(Section& s)
    {
        if (s.capacity && size_t(s.keyTable) + s.capacity == keySlots.size())
            keySlots.resize(size_t(s.keyTable));
        else
            deadSlots += s.capacity;
        s.capacity = 0;
        s.keys = 0;
    }

    // Drops every line of a section, which keeps its place. Its table goes too,
    // so that emptying costs no more than the lines it drops.
    void emptySection(uint32_t index)
    {
        Section& s = sections[index];
        for (uint32_t i = s.first; i != NoIndex; i = lines[i].next) {
            Line& l = lines[i];
            if (!l.isLive())
                continue;
            forget(l.key);
            if (l.isKey())
                forget(l.value);
            l.key.len = -1;
            ++deadEntries;
        }
        releaseKeyTable(s);
        s.first = s.last = NoIndex;
    }

    void eraseSection(uint32_t index)
    {
        emptySection(index);
        Section& s = sections[index];
        Slot* table = sectionTable.data();
        const uint32_t mask = uint32_t(sectionTable.size() - 1);
        Slot* slot = probe(table, mask, s.hash, [index](uint32_t i) { return i == index; });
        removeAt(table, mask, uint32_t(slot - table));
        forget(s.name);
        s.name.len = -1;
        --liveSections;
        ++deadEntries;
        compactIfWasteful();
    }

    // --- parsing ----------------------------------------------------------------

    void parse()
    {
        const char* const base = text.constData();
        const char* const end = base + text.size();
        parsedSize = text.size();
        // Room for the lines at once, but no more than one per eight bytes (a
        // text of empty lines does not need it); the vector grows past it if need be.
        lines.reserve(std::min(estimateLines(base, end), size_t(text.size()) / 8 + 1));
        const auto spanOf = [base](const char* from, const char* to) {
            return Span{from - base, to - from};
        };

        uint32_t current = NoIndex;
        scanIniLines(base, end, [&](const ScannedLine& scanned) {
            if (scanned.section) {
                const uint32_t hash =
                    hashFolded(scanned.begin, size_t(scanned.end - scanned.begin));
                current = findSection(scanned.begin, scanned.end - scanned.begin, hash);
                if (current != NoIndex)
                    emptySection(current); // the last occurrence is the one kept
                else
                    current = addSection(spanOf(scanned.begin, scanned.end), hash);
                return;
            }
            if (!scanned.begin || current == NoIndex)
                return;
            Line line;
            if (!scanned.equals) {
                line.key = spanOf(scanned.begin, scanned.end);
                line.value.len = -1;
                appendLine(current, line);
                return;
            }
            const char* kb = scanned.begin;
            const char* ke = scanned.equals;
            const char* vb = scanned.equals + 1;
            const char* ve = scanned.end;
            trimBlanks(kb, ke);
            trimBlanks(vb, ve);
            line.key = spanOf(kb, ke);
            line.value = spanOf(vb, ve);
            line.hash = hashFolded(kb, size_t(ke - kb));
            const uint32_t existing = findKey(current, kb, ke - kb, line.hash);
            if (existing != NoIndex)
                lines[existing].value = line.value; // in place, as first spelt
            else
                appendLine(current, line);
        });
        compactIfWasteful();
    }

    // --- writing through the API ------------------------------------------------

    void write(QStringView section, QStringView key, QByteArrayView value)
    {
        const Name sectionName(section);
        uint32_t s = findSection(sectionName);
        if (s == NoIndex)
            s = addSection(append(sectionName.view()), sectionName.hash());
        if (s == NoIndex)
            return;
        const Name k(key);
        const uint32_t found = findKey(s, k.data(), k.size(), k.hash());
        if (found != NoIndex) {
            Line& l = lines[found];
            if (view(l.value) == value)
                return;
            forget(l.value);
            l.value = append(value);
        } else {
            Line line;
            line.key = append(k.view());
            line.value = append(value);
            line.hash = k.hash();
            appendLine(s, line);
        }
        compactIfWasteful();
    }

    // Rebuilds the image from its live content once the dead outweighs it, so
    // that repeated writes and deletions cost amortised constant time and space.
    void compactIfWasteful()
    {
        const size_t entries = sections.size() + lines.size();
        const bool manyDeadEntries = deadEntries > 1024 && deadEntries * 2 > entries;
        const bool manyDeadBytes = deadBytes > 65536 && deadBytes * 2 > text.size();
        const bool manyDeadSlots = deadSlots > 4096 && deadSlots * 2 > keySlots.size();
        if (!manyDeadEntries && !manyDeadBytes && !manyDeadSlots)
            return;
        Data fresh;
        fresh.sections.reserve(liveSections);
        for (const Section& s : sections) {
            if (s.name.len < 0)
                continue;
            const uint32_t ns = fresh.addSection(fresh.append(view(s.name)), s.hash);
            if (s.keys)
                fresh.resizeKeyTable(fresh.sections[ns], capacityFor(s.keys));
            for (uint32_t i = s.first; i != NoIndex; i = lines[i].next) {
                const Line& l = lines[i];
                if (!l.isLive())
                    continue;
                Line copy;
                copy.hash = l.hash;
                copy.key = fresh.append(view(l.key));
                copy.value = l.isKey() ? fresh.append(view(l.value)) : Span{0, -1};
                fresh.appendLine(ns, copy);
            }
        }
        fresh.parsedSize = fresh.text.size();
        *this = std::move(fresh);
    }

    QByteArray toBytes() const
    {
        qsizetype size = 0;
        for (const Section& s : sections) {
            if (s.name.len < 0)
                continue;
            size += s.name.len + 6;
            for (uint32_t i = s.first; i != NoIndex; i = lines[i].next) {
                const Line& l = lines[i];
                if (l.isLive())
                    size += l.key.len + 2 + (l.isKey() ? l.value.len + 1 : 0);
            }
        }
        QByteArray out(size, Qt::Uninitialized);
        char* w = out.data();
        const auto put = [&w](const char* from, qsizetype n) {
            std::memcpy(w, from, size_t(n));
            w += n;
        };
        for (const Section& s : sections) {
            if (s.name.len < 0)
                continue;
            *w++ = '[';
            put(at(s.name), s.name.len);
            put("]\r\n", 3);
            for (uint32_t i = s.first; i != NoIndex; i = lines[i].next) {
                const Line& l = lines[i];
                if (!l.isLive())
                    continue;
                put(at(l.key), l.key.len);
                if (l.isKey()) {
                    *w++ = '=';
                    put(at(l.value), l.value.len);
                }
                put("\r\n", 2);
            }
            put("\r\n", 2);
        }
        return out;
    }
};

IniFile::IniFile() = default;
IniFile::~IniFile() = default;
IniFile::IniFile(const IniFile& other) : d(other.d ? std::make_unique<Data>(*other.d) : nullptr) {}
IniFile& IniFile::operator=(const IniFile& other)
{
    if (this != &other)
        d = other.d ? std::make_unique<Data>(*other.d) : nullptr;
    return *this;
}
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

IniFile IniFile::fromBytes(QByteArrayView bytes)
{
    IniFile ini;
    ini.d = std::make_unique<Data>();
    ini.d->text = bytes.toByteArray();
    ini.d->parse();
    return ini;
}

IniFile IniFile::fromText(QStringView text)
{
    return fromBytes(EncodeCp1252(text));
}

QByteArray IniFile::toBytes() const
{
    return d ? d->toBytes() : QByteArray();
}

bool IniFile::sectionExists(QStringView section) const
{
    return d && d->findSection(Name(section)) != NoIndex;
}

bool IniFile::valueExists(QStringView section, QStringView key) const
{
    return d && d->findKey(section, key);
}

QStringList IniFile::sectionNames() const
{
    QStringList names;
    if (!d)
        return names;
    names.reserve(qsizetype(d->liveSections));
    for (const Section& s : d->sections)
        if (s.name.len >= 0)
            names.append(DecodeCp1252(d->view(s.name)));
    return names;
}

QStringList IniFile::keyNames(QStringView section) const
{
    QStringList names;
    if (!d)
        return names;
    const uint32_t s = d->findSection(Name(section));
    if (s == NoIndex)
        return names;
    for (uint32_t i = d->sections[s].first; i != NoIndex; i = d->lines[i].next) {
        const Line& l = d->lines[i];
        if (l.isLive() && l.isKey())
            names.append(DecodeCp1252(d->view(l.key)));
    }
    return names;
}

std::optional<QString> IniFile::value(QStringView section, QStringView key) const
{
    const Line* line = d ? d->findKey(section, key) : nullptr;
    if (!line)
        return std::nullopt;
    return DecodeCp1252(d->view(line->value));
}

QString IniFile::readString(QStringView section, QStringView key, const QString& fallback) const
{
    const Line* line = d ? d->findKey(section, key) : nullptr;
    return line ? DecodeCp1252(d->view(line->value)) : fallback;
}

int32_t IniFile::readInteger(QStringView section, QStringView key, int32_t fallback) const
{
    const Line* line = d ? d->findKey(section, key) : nullptr;
    int32_t number = 0;
    return line && parseInteger(d->at(line->value), line->value.len, number) ? number : fallback;
}

Parsed<int32_t> IniFile::readParsedInteger(QStringView section, QStringView key,
                                           int32_t fallback) const
{
    const Line* line = d ? d->findKey(section, key) : nullptr;
    if (!line)
        return fallback;
    int32_t number = 0;
    if (parseInteger(d->at(line->value), line->value.len, number))
        return number;
    return Parsed<int32_t>::failure(QStringLiteral("'%1' is not a valid integer value")
                                        .arg(DecodeCp1252(d->view(line->value))));
}

bool IniFile::readBool(QStringView section, QStringView key, bool fallback) const
{
    const Line* line = d ? d->findKey(section, key) : nullptr;
    int32_t number = 0;
    return line && parseInteger(d->at(line->value), line->value.len, number) ? number != 0
                                                                             : fallback;
}

Parsed<double> IniFile::readReal(QStringView section, QStringView key,
                                 const QString& fallbackText) const
{
    return ParseReal(readString(section, key, fallbackText));
}

void IniFile::writeString(QStringView section, QStringView key, const QString& value)
{
    if (!d)
        d = std::make_unique<Data>();
    d->write(section, key, valueBytes(value));
}

void IniFile::writeInteger(QStringView section, QStringView key, int64_t value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    if (!d)
        d = std::make_unique<Data>();
    d->write(section, key, QByteArrayView(digits, result.ptr - digits));
}

void IniFile::writeBool(QStringView section, QStringView key, bool value)
{
    if (!d)
        d = std::make_unique<Data>();
    d->write(section, key, value ? QByteArrayView("1") : QByteArrayView("0"));
}

void IniFile::writeReal(QStringView section, QStringView key, double value)
{
    writeString(section, key, FormatIniReal(value));
}

void IniFile::eraseSection(QStringView section)
{
    if (!d)
        return;
    const uint32_t s = d->findSection(Name(section));
    if (s != NoIndex)
        d->eraseSection(s);
}

void IniFile::deleteKey(QStringView section, QStringView key)
{
    if (!d)
        return;
    const uint32_t s = d->findSection(Name(section));
    if (s == NoIndex)
        return;
    const Name k(key);
    const uint32_t line = d->findKey(s, k.data(), k.size(), k.hash());
    if (line != NoIndex) {
        d->killLine(s, line);
        d->compactIfWasteful();
    }
}

void IniFile::clear()
{
    d.reset();
}

qsizetype IniLineNumber(QByteArrayView bytes, QStringView section, QStringView key)
{
    const Name sectionName(section);
    const Name keyName(key);
    const auto named = [](const char* from, const char* to, const Name& name) {
        return to - from == name.size() && equalFolded(from, name.data(), size_t(name.size()));
    };
    qsizetype number = 0;
    qsizetype found = 0;
    bool inSection = false;
    scanIniLines(bytes.data(), bytes.data() + bytes.size(), [&](const ScannedLine& scanned) {
        ++number;
        if (scanned.section) {
            inSection = named(scanned.begin, scanned.end, sectionName);
            if (inSection)
                found = 0; // a repeated section replaces the earlier one
            return;
        }
        if (!inSection || !scanned.equals)
            return;
        const char* kb = scanned.begin;
        const char* ke = scanned.equals;
        trimBlanks(kb, ke);
        if (named(kb, ke, keyName))
            found = number;
    });
    return found;
}

QString FormatIniReal(double value)
{
    char digits[64];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15);
    QString text = QString::fromLatin1(digits, result.ptr - digits);
    const QChar separator = LocaleInfo::decimalSeparator();
    if (separator != u'.')
        text.replace(u'.', separator);
    return text;
}

} // namespace pipeloop
