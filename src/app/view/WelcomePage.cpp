#include "WelcomePage.h"

#include "IsoSymbols.h"
#include "Version.h"

#include <QStringList>

#include <array>
#include <random>

namespace pipeloop
{

namespace
{

constexpr WinColour Silver = 0xC0C0C0;
constexpr WinColour Red = 0x0000FF;
constexpr WinColour Green = 0x008000;
constexpr WinColour Blue = 0xFF0000;
const QString MakerName = QStringLiteral(" Zelkworks ");
const QString MakerNotice = QStringLiteral("(c) Zelkworks, all rights reserved.");

void DrawBackground(Canvas& canvas, const PixelRect& rect, uint32_t seed)
{
    static const std::array<QString, WelcomeSymbolKinds> kinds{
        QStringLiteral("FILTER"), QStringLiteral("REGULATOR"), QStringLiteral("LUBRICATOR"),
        QStringLiteral("DRYER"),  QStringLiteral("GAUGE"),     QStringLiteral("VALVE")};
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, WelcomeSymbolKinds - 1);
    canvas.setPen(Pen{Silver, 1, PenStyle::Solid});
    canvas.setBrush(Brush{kWhite, BrushStyle::Clear});
    for (int y = rect.top + 25; y < rect.bottom; y += 50) {
        for (int x = rect.left + 25; x < rect.right; x += 50) {
            const QString& keyword = kinds[size_t(pick(random))];
            if (keyword == QStringLiteral("VALVE"))
                DrawValveSymbol(canvas, QPoint(x, y), 22, 0.0);
            else
                DrawSymbol(canvas, keyword, QPoint(x, y), 22);
        }
    }
}

void DrawMakerName(Canvas& canvas, const PixelRect& rect)
{
    Font font;
    font.pointSize = 18;
    font.bold = true;
    font.italic = true;
    font.colour = Red;
    canvas.setFont(font);
    canvas.setBrush(Brush{kWhite, BrushStyle::Clear});
    canvas.textRect(rect, MakerName, HAlign::Left, VAlign::Top);
    canvas.textRect(rect, MakerName, HAlign::Right, VAlign::Top);
}

struct Line {
    QString text;
    WinColour colour;
};

void DrawLines(Canvas& canvas, const PixelRect& rect)
{
    Font font;
    font.pointSize = 12;
    font.bold = true;
    canvas.setFont(font);
    const int h = canvas.textExtent(QStringLiteral("|")).height();
    const std::array<Line, 6> lines{{
        {QStringLiteral("Welcome to PIPELOOP for ZAVOZA"), kBlack},
        {QStringLiteral("Version ") + VersionString(QStringLiteral("ProductVersion")) + u' ' +
             MakerNotice,
         kBlack},
        {QStringLiteral("Symbols reproduced from BS 2917-1:1993, ISO 1219-1:1991"), Green},
        {QStringLiteral("Use the F1 button to obtain help from any window."), Blue},
        {QStringLiteral("Please read the EULA & disclaimer under the help menu."), Red},
        {QStringLiteral("Use the tutorials menu to learn how to use PIPELOOP"), Blue},
    }};
    int y = rect.top + 3 * h;
    for (size_t i = 0; i < lines.size(); ++i) {
        canvas.setPen(Pen{kBlack, 1, PenStyle::Solid});
        canvas.setBrush(Brush{kBlack, BrushStyle::Solid});
        const int cx = rect.left + 3 * h;
        canvas.ellipse(cx - 5, y + 5, cx + 5, y + 15);
        font.colour = lines[i].colour;
        canvas.setFont(font);
        canvas.setBrush(Brush{kWhite, BrushStyle::Clear});
        canvas.textOut(QPoint(rect.left + 4 * h, y), lines[i].text);
        y += canvas.textExtent(lines[i].text).height();
        if (i == 4)
            y += h;
    }
}

void DrawLogos(Canvas& canvas, const PixelRect& rect, const QImage& logo)
{
    if (logo.isNull())
        return;
    const int w = logo.width();
    const int h = logo.height();
    canvas.stretchDraw({rect.left, rect.bottom - h, rect.left + w, rect.bottom}, logo);
    canvas.stretchDraw({rect.right - w, rect.bottom - h, rect.right, rect.bottom}, logo);
}

} // namespace

void DrawWelcome(Canvas& canvas, const PixelRect& rect, const QImage& logo, uint32_t seed)
{
    DrawBackground(canvas, rect, seed);
    DrawMakerName(canvas, rect);
    DrawLines(canvas, rect);
    DrawLogos(canvas, rect, logo);
    canvas.setPen(Pen{kBlack, 1, PenStyle::Solid});
    canvas.moveTo(rect.left, rect.top);
    canvas.lineTo(rect.right, rect.top);
}

} // namespace pipeloop
