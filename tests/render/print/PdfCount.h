#pragma once

// Counting the pages of a PDF the way a reader finds them: its page objects.

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

namespace pipeloop::test
{

// The number of "/Type /Page" objects (not "/Type /Pages", the page tree).
inline int PdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int count = 0;
    auto matches = page.globalMatch(QString::fromLatin1(pdf));
    while (matches.hasNext()) {
        matches.next();
        ++count;
    }
    return count;
}

} // namespace pipeloop::test
