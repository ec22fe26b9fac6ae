#include "TitleBlock.h"

#include "Clock.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "Rounding.h"
#include "Version.h"

#include <QLocale>

namespace pipeloop
{

namespace
{

constexpr WinColour FooterGrey = 0x808080;

// A real with one decimal and the locale's separator ("%.1F").
QString OneDecimal(float value)
{
    QString text = QString::number(double(value), 'f', 1);
    text.replace(u'.', LocaleInfo::decimalSeparator());
    return text;
}

// "dd-mmm-yyyy" with English month abbreviations, whatever the system
// locale, so that a sheet reads the same on every machine.
QString PrintedDate(const QDate& date)
{
    return QLocale::c().toString(date, QStringLiteral("dd-MMM-yyyy"));
}

} // namespace

QString MakersNotice()
{
    return QStringLiteral(" - (c) Zelkworks, for ZAVOZA");
}

QString FooterText()
{
    return QStringLiteral("PIPELOOP ") + ProgramVersion() + MakersNotice();
}

QStringList TitleBlockRows(const TPipeLoop& design, ViewKind view, int32_t scale,
                           float paperWidthMm, float paperHeightMm)
{
    const TPipeLoopOptions& options = design.Options;
    QString viewRow = QStringLiteral(" %1/SCALE : %2:1, PAPER SIZE : %3x%4mm")
                          .arg(ViewWord(view))
                          .arg(scale)
                          .arg(OneDecimal(paperWidthMm), OneDecimal(paperHeightMm));
    if (options.ShowGrid(true))
        viewRow += QStringLiteral(", GRID : %1mm").arg(options.GridSpacing);
    return {
        QStringLiteral(" DESCRIPTION : ") + design.Description,
        QStringLiteral(" CREATED BY : ") + design.CreatedBy,
        QStringLiteral(" COMPANY : ") + design.CustomerCompany,
        viewRow,
        QStringLiteral(" DATE : ") + PrintedDate(Clock::current().today()) +
            QStringLiteral(", PIPELOOP : ") + ProgramVersion() + MakersNotice(),
    };
}

std::vector<ColouredText> PipeColourTable(const TPipeLoop& design)
{
    const TPipeLoopOptions& options = design.Options;
    std::vector<ColouredText> table;
    for (size_t i = 0; i < TPipeLoopOptions::ColourSizes.size(); ++i) {
        const WinColour colour = options.PrintInColour ? options.SizePipeColours[i] : kBlack;
        table.push_back({QStringLiteral(" %1mm").arg(TPipeLoopOptions::ColourSizes[i]), colour});
    }
    return table;
}

TitleBlockMetrics MeasureTitleBlock(Canvas& canvas, const TPipeLoop& design, const QImage& logo,
                                    int printerDpiX, int printerDpiY, double f)
{
    TitleBlockMetrics metrics;
    Font font;
    font.family = QStringLiteral("Courier New");
    font.pointSize = 9;
    font.pixelHeight = std::max(1, Round(font.heightInPixels(printerDpiY) / f));
    metrics.font = font;
    canvas.setFont(font);
    metrics.rowHeight = Round(canvas.textExtent(QStringLiteral("M|y")).height() * 1.05) + 4;
    metrics.rows = design.Options.PrintPipeColourTable ? 6 : 5;
    if (!design.Options.NoLogo && !logo.isNull() && logo.width() > 0) {
        const int width = Round(1.25 * printerDpiX / f);
        metrics.logo = QSize(width, Round(double(width) * logo.height() / logo.width()));
    }
    return metrics;
}

void DrawTitleBlock(Canvas& canvas, const PixelRect& page, const TPipeLoop& design,
                    const QStringList& rows, const QImage& logo, const TitleBlockMetrics& metrics)
{
    int left = page.left;
    if (!metrics.logo.isEmpty()) {
        const PixelRect box{page.left, page.bottom - metrics.logo.height(),
                            page.left + metrics.logo.width(), page.bottom};
        canvas.stretchDraw(box, logo);
        left = box.right + 2;
    }

    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    Font font = metrics.font;
    font.colour = kBlack;
    canvas.setFont(font);

    // The right and bottom edges of the page rectangle are exclusive: the
    // right side is drawn on the last column of the page.
    const int right = page.right - 1;
    const int top = page.bottom - metrics.boxHeight();
    canvas.moveTo(left, page.bottom);
    canvas.lineTo(left, top);
    canvas.lineTo(right, top);
    canvas.lineTo(right, page.bottom);

    const int h = metrics.rowHeight;
    for (int i = 0; i < rows.size(); ++i) {
        const int rowTop = top + i * h;
        if (i > 0) {
            canvas.moveTo(left, rowTop);
            canvas.lineTo(right, rowTop);
        }
        canvas.textRect({left, rowTop, right, rowTop + h},
                        ElideText(canvas, rows.at(i), right - left), HAlign::Left, VAlign::Centre);
    }

    if (metrics.rows > rows.size()) {
        const int rowTop = top + int(rows.size()) * h;
        canvas.moveTo(left, rowTop);
        canvas.lineTo(right, rowTop);
        int x = left;
        for (const ColouredText& entry : PipeColourTable(design)) {
            font.colour = entry.colour;
            canvas.setFont(font);
            canvas.textRect({x, rowTop, right, rowTop + h}, entry.text, HAlign::Left,
                            VAlign::Centre);
            x += canvas.textExtent(entry.text).width();
        }
    }
}

void DrawFooter(Canvas& canvas, const PixelRect& page, const Font& font)
{
    Font footer = font;
    footer.italic = true;
    footer.colour = FooterGrey;
    canvas.setFont(footer);
    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.textRect(page, FooterText(), HAlign::Left, VAlign::Bottom);
}

} // namespace pipeloop
