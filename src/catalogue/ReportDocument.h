#pragma once

// The parts list report as a small document: lines of fixed-width
// text, each plain or coloured and italic, beside the tab-separated
// spreadsheet rows built with them. Renderers write it as rich text (our own
// RTF writer), as plain text and as the spreadsheet text.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pipeloop::catalogue
{

// A colour 0x00BBGGRR, as the design's colours are held.
using ReportColour = uint32_t;
inline constexpr ReportColour ReportBlack = 0x000000;
inline constexpr ReportColour ReportRed = 0x0000FF; // RGB 255, 0, 0

struct ReportLine {
    QString text;
    ReportColour colour = ReportBlack;
    bool italic = false;

    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

class ReportDocument
{
public:
    void Clear();

    // The report view.
    void AddLine(const QString& text) { m_lines.push_back({text, ReportBlack, false}); }
    void AddStyledLine(const QString& text, ReportColour colour, bool italic)
    {
        m_lines.push_back({text, colour, italic});
    }
    const std::vector<ReportLine>& Lines() const { return m_lines; }
    QStringList LineTexts() const;

    // The spreadsheet text: a header row, then one row per part line.
    void SetSpreadsheetHeader(const QStringList& fields) { m_header = fields; }
    void AddSpreadsheetRow(const QStringList& fields) { m_rows.push_back(fields); }
    const QStringList& SpreadsheetHeader() const { return m_header; }
    const std::vector<QStringList>& SpreadsheetRows() const { return m_rows; }

private:
    std::vector<ReportLine> m_lines;
    QStringList m_header;
    std::vector<QStringList> m_rows;
};

// The report view's plain text: the lines joined by lineBreak (the order
// e-mail uses CR LF), with a final break when finalBreak is set.
QString ReportPlainText(const ReportDocument& document, const QString& lineBreak, bool finalBreak);

// The spreadsheet text: every row's fields joined by tabs, each row ended by a
// line feed, the header first (empty before a report is built).
QString ReportSpreadsheetText(const ReportDocument& document);

// Rich text of the report view for "Save List" and the clipboard: a
// fixed-width font (Courier New), black plain text by default, the colour
// table holding every colour used, italics and colour per line, no word
// wrap beyond the page. Pure 7-bit ASCII: Windows-1252 characters are written
// as \'hh escapes and any other character as \uN with "?" for readers that
// do not know it. titleText (the design's description) becomes the document
// title.
class RtfWriter
{
public:
    static QByteArray Write(const ReportDocument& document, const QString& titleText = {});
    // One text escaped for RTF (backslash, braces, tabs, non-ASCII characters).
    static QByteArray Escape(const QString& text);
};

} // namespace pipeloop::catalogue
