#include "Cp1252.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pipeloop
{

namespace
{
// Bytes 0x80..0x9F; the rest of the code page is ISO 8859-1. The unassigned
// bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D map to the C1 controls of their value.
constexpr std::array<char16_t, 32> HighPlane = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
};

struct ReverseEntry {
    char16_t character;
    unsigned char byte;
};

// The characters above U+00FF that Windows-1252 has, sorted for a binary search.
constexpr std::array<ReverseEntry, 27> makeReverse()
{
    std::array<ReverseEntry, 27> table{};
    size_t n = 0;
    for (unsigned i = 0; i < HighPlane.size(); ++i)
        if (HighPlane[i] > 0xFF)
            table[n++] = {HighPlane[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(table.begin(), table.end(), [](const ReverseEntry& a, const ReverseEntry& b) {
        return a.character < b.character;
    });
    return table;
}
constexpr std::array<ReverseEntry, 27> Reverse = makeReverse();

inline bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c < 0xDC00;
}
inline bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c < 0xE000;
}
} // namespace

char16_t Cp1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighPlane[byte - 0x80] : char16_t(byte);
}

char Cp1252FromUnicode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    if (c < 0xA0) // C1 controls: only the five unassigned bytes have one
        return HighPlane[c - 0x80] == c ? static_cast<char>(c) : '?';
    const auto* it =
        std::lower_bound(Reverse.begin(), Reverse.end(), c,
                         [](const ReverseEntry& e, char16_t v) { return e.character < v; });
    return it != Reverse.end() && it->character == c ? static_cast<char>(it->byte) : '?';
}

QString DecodeCp1252(QByteArrayView bytes)
{
    // Latin-1 is right for every byte but 0x80..0x9F; Qt converts it fast.
    QString text = QString::fromLatin1(bytes);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    char16_t* out = nullptr;
    for (qsizetype i = 0; i < n; ++i) {
        if (static_cast<unsigned char>(in[i] - 0x80) < 0x20) {
            if (!out)
                out = reinterpret_cast<char16_t*>(text.data());
            out[i] = HighPlane[in[i] - 0x80];
        }
    }
    return text;
}

qsizetype EncodeCp1252(QStringView text, char* out)
{
    const char16_t* in = text.utf16();
    const qsizetype n = text.size();
    qsizetype w = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            out[w++] = static_cast<char>(c);
        } else if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(in[i + 1])) {
            out[w++] = '?';
            ++i;
        } else {
            out[w++] = Cp1252FromUnicode(c);
        }
    }
    return w;
}

QByteArray EncodeCp1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(EncodeCp1252(text, bytes.data()));
    return bytes;
}

} // namespace pipeloop
