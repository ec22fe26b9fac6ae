#include "ReportDocument.h"

#include "Cp1252.h"

#include <algorithm>

namespace pipeloop::catalogue
{

void ReportDocument::Clear()
{
    m_lines.clear();
    m_header.clear();
    m_rows.clear();
}

QStringList ReportDocument::LineTexts() const
{
    QStringList texts;
    texts.reserve(qsizetype(m_lines.size()));
    for (const ReportLine& line : m_lines)
        texts.append(line.text);
    return texts;
}

QString ReportPlainText(const ReportDocument& document, const QString& lineBreak, bool finalBreak)
{
    QString text = document.LineTexts().join(lineBreak);
    if (finalBreak && !document.Lines().empty())
        text += lineBreak;
    return text;
}

QString ReportSpreadsheetText(const ReportDocument& document)
{
    QString text;
    if (!document.SpreadsheetHeader().isEmpty())
        text += document.SpreadsheetHeader().join(u'\t') + u'\n';
    for (const QStringList& row : document.SpreadsheetRows())
        text += row.join(u'\t') + u'\n';
    return text;
}

// ---------------------------------------------------------------- RTF

namespace
{

QByteArray Hex2(unsigned value)
{
    static const char digits[] = "0123456789abcdef";
    QByteArray hex;
    hex += digits[(value >> 4) & 0xF];
    hex += digits[value & 0xF];
    return hex;
}

QByteArray ColourEntry(ReportColour colour)
{
    return "\\red" + QByteArray::number(colour & 0xFF) + "\\green" +
           QByteArray::number((colour >> 8) & 0xFF) + "\\blue" +
           QByteArray::number((colour >> 16) & 0xFF) + ';';
}

} // namespace

QByteArray RtfWriter::Escape(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == u'\r' || c == u'\n') {
            out += "\\line ";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            // Other control characters have no place in the text.
        } else {
            const QByteArray encoded = EncodeCp1252(QStringView(&ch, 1));
            if (encoded.size() == 1 && encoded.at(0) != '?') {
                out += "\\'" + Hex2(static_cast<unsigned char>(encoded.at(0)));
            } else {
                // \uN takes a signed 16-bit number; "?" is what older readers show.
                out += "\\u" + QByteArray::number(static_cast<int16_t>(c)) + '?';
            }
        }
    }
    return out;
}

QByteArray RtfWriter::Write(const ReportDocument& document, const QString& titleText)
{
    // The colour table: entry 0 is the default (auto, black), then every
    // colour the lines use, in order of first use.
    std::vector<ReportColour> colours;
    for (const ReportLine& line : document.Lines())
        if (line.colour != ReportBlack &&
            std::find(colours.begin(), colours.end(), line.colour) == colours.end())
            colours.push_back(line.colour);

    QByteArray rtf;
    rtf += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n";
    rtf += "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n";
    rtf += "{\\colortbl;" + ColourEntry(ReportBlack);
    for (ReportColour colour : colours)
        rtf += ColourEntry(colour);
    rtf += "}\r\n";
    if (!titleText.isEmpty())
        rtf += "{\\info{\\title " + Escape(titleText) + "}}\r\n";
    // A4 with 2 cm margins; 9 point type keeps a hundred columns on a line.
    rtf += "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\r\n";
    rtf += "\\viewkind4\\pard\\plain\\f0\\fs18\\cf1\r\n";
    for (const ReportLine& line : document.Lines()) {
        const bool styled = line.italic || line.colour != ReportBlack;
        if (styled) {
            rtf += '{';
            if (line.colour != ReportBlack) {
                const auto at = std::find(colours.begin(), colours.end(), line.colour);
                rtf += "\\cf" + QByteArray::number(qsizetype(at - colours.begin()) + 2);
            }
            if (line.italic)
                rtf += "\\i";
            rtf += ' ';
        }
        rtf += Escape(line.text);
        if (styled)
            rtf += '}';
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

} // namespace pipeloop::catalogue
