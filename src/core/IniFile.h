#pragma once

#include "Parsed.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>

namespace pipeloop
{

// An INI text in memory: project files, the catalogue entry, price lists,
// language files and the release page all use this one grammar.
//
// Reading: a line ends at LF, CR LF or a lone CR; lines are trimmed of blanks
// and control characters (bytes up to 0x20); empty lines and lines starting
// with ";" are skipped; "[name]" opens a section; lines before the first
// section are ignored; "key=value" splits at the first "=" and both halves are
// trimmed; a line without "=" stays in its section (and is written back) but
// matches no key. Section and key names compare without regard to case (ASCII
// and the Windows-1252 letters), and the last of repeated sections or keys is
// the one read and written: a repeated key takes the new value in the place
// and spelling of its first occurrence, and a repeated section header replaces
// the whole content of the earlier section, which keeps its place and spelling.
//
// Writing: sections in the order first written (or read), each "[name]" CR LF,
// its "key=value" CR LF lines in first-written order, then an empty line.
// Text is Windows-1252 and survives a read and write byte for byte. Names and
// values given to the API are encoded to Windows-1252 ("?" for characters
// outside it) and then compared or stored; CR and LF in them become blanks, so
// that a value can never start a line of its own. Nothing else is escaped: a
// key holding "=" or starting with ";", or blanks at either end, is written raw
// and reads back as the grammar says.
//
// Any bytes are accepted; parsing is linear, and sections and keys are found
// through hash tables in constant time on average.
class IniFile
{
public:
    IniFile();
    ~IniFile();
    IniFile(const IniFile& other);
    IniFile& operator=(const IniFile& other);
    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) noexcept;

    // Parses Windows-1252 bytes. Accepts any input.
    static IniFile fromBytes(QByteArrayView bytes);
    // Parses text that is already decoded (a downloaded page, a test).
    static IniFile fromText(QStringView text);
    // The written form: Windows-1252, CR LF line ends, an empty line after each section.
    QByteArray toBytes() const;

    bool sectionExists(QStringView section) const;
    bool valueExists(QStringView section, QStringView key) const;
    // Section names in file order, as first spelt.
    QStringList sectionNames() const;
    // Key names of a section in file order.
    QStringList keyNames(QStringView section) const;
    std::optional<QString> value(QStringView section, QStringView key) const;

    // Typed reads: a missing key, or a value that is not of the kind, gives the fallback.
    QString readString(QStringView section, QStringView key, const QString& fallback) const;
    // Decimal, or hexadecimal after "0x"/"0X" when more characters follow.
    int32_t readInteger(QStringView section, QStringView key, int32_t fallback) const;
    // The same, for a reader that must tell a missing key (the fallback) from
    // a value that is not an integer (a failure: "'7x' is not a valid integer value").
    Parsed<int32_t> readParsedInteger(QStringView section, QStringView key, int32_t fallback) const;
    // An integer; any non-zero value is true.
    bool readBool(QStringView section, QStringView key, bool fallback) const;
    // The value (or fallbackText when missing) read with the tolerant real parser.
    Parsed<double> readReal(QStringView section, QStringView key,
                            const QString& fallbackText) const;

    // Writing a key that exists replaces its value where it stands.
    void writeString(QStringView section, QStringView key, const QString& value);
    void writeInteger(QStringView section, QStringView key, int64_t value);
    void writeBool(QStringView section, QStringView key, bool value);
    // "%.15g" with the locale's decimal separator: 50 -> "50", float 6.35 -> "6.34999990463257".
    void writeReal(QStringView section, QStringView key, double value);

    void eraseSection(QStringView section);
    void deleteKey(QStringView section, QStringView key);
    void clear();

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// The number (from 1) of the line of an INI text whose value IniFile reads
// for the key of the section, so that a message can point at it; 0 when
// the text has no such key.
qsizetype IniLineNumber(QByteArrayView bytes, QStringView section, QStringView key);

// The written form of a real value (see IniFile::writeReal).
QString FormatIniReal(double value);

} // namespace pipeloop
