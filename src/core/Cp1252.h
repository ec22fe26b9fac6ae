#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pipeloop
{

// The program's text files are 8-bit Windows-1252. Decoding maps every byte to
// one character (the five unassigned bytes to the C1 controls of the same
// value), so decode followed by encode gives back the same bytes.
QString DecodeCp1252(QByteArrayView bytes);
// Characters outside Windows-1252 become "?".
QByteArray EncodeCp1252(QStringView text);

// The encoding into a buffer the caller provides, of at least text.size()
// bytes; returns the number of bytes written. A surrogate pair (one character
// outside the Basic Multilingual Plane) becomes a single "?".
qsizetype EncodeCp1252(QStringView text, char* out);

// The character of one Windows-1252 byte, and the byte of one character
// ("?" for a character outside Windows-1252).
char16_t Cp1252ToUnicode(unsigned char byte);
char Cp1252FromUnicode(char16_t character);

} // namespace pipeloop
