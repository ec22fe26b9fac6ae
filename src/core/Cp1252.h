#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pipeloop {

// The program's text files are 8-bit Windows-1252. Decoding maps every byte to
// one character (the five unassigned bytes to the C1 controls of the same
// value), so decode followed by encode gives back the same bytes.
QString DecodeCp1252(QByteArrayView bytes);
// Characters outside Windows-1252 become "?".
QByteArray EncodeCp1252(QStringView text);

} // namespace pipeloop
