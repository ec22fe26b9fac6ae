// Draws the demo catalogue's part and package pictures with the program's own
// symbol renderer: one JPEG per picture name a part or package of the
// catalogue text asks for. Nothing is copied from any vendor; each class of
// part gets a simple technical sketch of its shape.
//
// usage: pipeloop_demo_pictures PARTS.PLDBI OUT_DIR

#include "IsoSymbols.h"
#include "PartsDatabase.h"
#include "QPainterCanvas.h"
#include "UiServices.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>

#include <algorithm>

#include <cstdio>

namespace
{

using namespace pipeloop;
using namespace pipeloop::catalogue;

constexpr int PictureSize = 160;
constexpr QPoint Centre{PictureSize / 2, PictureSize / 2};
constexpr WinColour PipeBlue = 0xB06020; // 0x00BBGGRR: a mid blue
constexpr WinColour PipeGrey = 0x909090;
constexpr WinColour Black = 0;

// A pipe piece from a to b drawn as a thick coloured band with dark edges.
void DrawPipeRun(Canvas& canvas, QPoint from, QPoint to, int width, WinColour colour)
{
    canvas.setPenColour(Black);
    canvas.setPenWidth(width + 4);
    canvas.moveTo(from);
    canvas.lineTo(to);
    canvas.setPenColour(colour);
    canvas.setPenWidth(width);
    canvas.moveTo(from);
    canvas.lineTo(to);
    canvas.setPenWidth(1);
    canvas.setPenColour(Black);
}

std::vector<TSymbolEntry> StackOf(const QStringList& keywords)
{
    std::vector<TSymbolEntry> stack;
    for (const QString& keyword : keywords)
        stack.push_back(TSymbolEntry{keyword, {}});
    return stack;
}

// The pipe width in pixels for a size in mm: bigger pipes look bigger.
int BandWidth(float sizeMm)
{
    return std::clamp(static_cast<int>(sizeMm / 3.0f), 6, 34);
}

void DrawFitting(Canvas& canvas, const TPartObject& part, WinColour colour)
{
    const int w = BandWidth(part.Size1());
    const int reach = 60;
    switch (part.partClass()) {
    case PartClass::Pipe:
        DrawPipeRun(canvas, {15, 110}, {145, 50}, w, colour);
        break;
    case PartClass::PipeConnector: {
        const bool bend = part.Angle() > 1.0f && part.Angle() < 179.0f;
        DrawPipeRun(canvas, Centre - QPoint(reach, 0), Centre, w, colour);
        const QPoint end = bend && part.Angle() <= 50.0f
                               ? Centre + QPoint(reach * 7 / 10, -reach * 7 / 10)
                           : bend ? Centre + QPoint(0, -reach)
                                  : Centre + QPoint(reach, 0);
        DrawPipeRun(canvas, Centre, end, w, colour);
        break;
    }
    case PartClass::PipeTee:
    case PartClass::OutletTee:
        DrawPipeRun(canvas, Centre - QPoint(reach, 0), Centre + QPoint(reach, 0), w, colour);
        DrawPipeRun(canvas, Centre, Centre + QPoint(0, reach),
                    part.Size2() > 0 ? BandWidth(part.Size2()) : w, colour);
        break;
    case PartClass::SaddleOutlet:
        DrawPipeRun(canvas, Centre - QPoint(reach, -10), Centre + QPoint(reach, 10), w, colour);
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColour(colour);
        canvas.rectangle(Centre.x() - 22, Centre.y() - 8, Centre.x() + 22, Centre.y() + 12);
        DrawSymbol(canvas, QStringLiteral("1-PORT-OUTLET"), Centre + QPoint(0, 40), 16);
        break;
    case PartClass::FemaleOutlet:
        DrawPipeRun(canvas, Centre - QPoint(reach, 0), Centre + QPoint(reach, 0), w, colour);
        DrawSymbol(canvas, QStringLiteral("ADAPTOR_FEMALE"), Centre + QPoint(0, 38), 18);
        break;
    case PartClass::EndCap:
        DrawPipeRun(canvas, Centre - QPoint(reach, 0), Centre, w, colour);
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColour(colour);
        canvas.rectangle(Centre.x(), Centre.y() - w, Centre.x() + 14, Centre.y() + w);
        break;
    case PartClass::Reducer:
        DrawSymbol(canvas, QStringLiteral("REDUCER"), Centre, 40);
        break;
    case PartClass::Adapter:
        DrawPipeRun(canvas, Centre - QPoint(0, reach), Centre, w, colour);
        DrawSymbol(canvas,
                   part.HasEnd2(EndAttr::Female) ? QStringLiteral("ADAPTOR_FEMALE")
                                                 : QStringLiteral("MALE_ADAPTOR"),
                   Centre + QPoint(0, 24), 26);
        break;
    case PartClass::Manifold: {
        const int ports = std::clamp<int>(part.Ports(), 1, 4);
        DrawSymbol(canvas, QStringLiteral("%1-PORT-OUTLET").arg(ports), Centre, 40);
        break;
    }
    case PartClass::Valve:
        DrawPipeRun(canvas, Centre - QPoint(reach, 0), Centre + QPoint(reach, 0), w, colour);
        DrawValveSymbol(canvas, Centre, 30, 1.5707963705062866);
        break;
    case PartClass::PipeClip:
        canvas.setPenWidth(5);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.ellipse(Centre.x() - 40, Centre.y() - 40, Centre.x() + 40, Centre.y() + 40);
        canvas.setPenWidth(1);
        canvas.setBrushStyle(BrushStyle::Solid);
        canvas.setBrushColour(PipeGrey);
        canvas.rectangle(Centre.x() - 10, Centre.y() + 38, Centre.x() + 10, Centre.y() + 70);
        break;
    case PartClass::Hose: {
        std::vector<TSymbolEntry> hose =
            StackOf({QStringLiteral("COUPLER"),
                     part.HasAttribute(Attr::Recoil) ? QStringLiteral("RECOIL-HOSE")
                                                     : QStringLiteral("AIR-HOSE"),
                     QStringLiteral("COUPLER")});
        DrawHoseStack(canvas, hose, Centre.x(), -1, Black, 3, true, 12, 6);
        break;
    }
    case PartClass::Coupling:
        DrawSymbol(canvas, QStringLiteral("COUPLER"), Centre, 40);
        break;
    default:
        DrawSymbol(canvas, QStringLiteral("FILTER"), Centre, 40);
        break;
    }
}

QImage BlankPicture()
{
    QImage picture(PictureSize, PictureSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

bool SavePicture(const QImage& picture, const QString& path)
{
    if (picture.save(path, "JPG", 90))
        return true;
    std::fprintf(stderr, "error: cannot write %s\n", qPrintable(path));
    return false;
}

QImage PartPicture(const TPartObject& part)
{
    QImage picture = BlankPicture();
    QPainterCanvas canvas(&picture);
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setBrushColour(0xFFFFFF);
    DrawFitting(canvas, part, part.ColourIndex() == 1 ? PipeGrey : PipeBlue);
    return picture;
}

// A package (drop kit) shows its symbol stack hanging from a piece of main.
QImage PackagePicture(const TPackage& package)
{
    QImage picture = BlankPicture();
    QPainterCanvas canvas(&picture);
    DrawPipeRun(canvas, {10, 14}, {150, 14}, 8, PipeBlue);
    std::vector<TSymbolEntry> stack = StackOf(package.Symbols());
    const int s = 12;
    DrawPipeRun(canvas, {Centre.x(), 14}, {Centre.x(), 30}, 3, PipeBlue);
    DrawSymbolStack(canvas, stack, Centre.x(), 3, 24, -1, Black, true, s, 0);
    return picture;
}

int MakePictures(const QString& cataloguePath, const QString& outDir)
{
    QFile file(cataloguePath);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "error: cannot read %s\n", qPrintable(cataloguePath));
        return 2;
    }
    TPartsDatabase database;
    database.LoadCatalogueText(file.readAll());
    QDir().mkpath(outDir);
    QSet<QString> written;
    bool ok = true;
    for (int i = 0; i < database.PartCount(); ++i) {
        const TPartObject& part = *database.Part(i);
        const QString name =
            (part.Image().isEmpty() ? ImageNameOf(part.PartNumber()) : part.Image()).toUpper();
        if (name.isEmpty() || written.contains(name))
            continue;
        written.insert(name);
        ok &= SavePicture(PartPicture(part), QDir(outDir).filePath(name + QStringLiteral(".JPG")));
    }
    for (int i = 0; i < database.PackageCount(); ++i) {
        const TPackage& package = *database.Package(i);
        const QString name =
            package.Image().isEmpty() ? package.Name() + QStringLiteral(".JPG") : package.Image();
        ok &= SavePicture(PackagePicture(package), QDir(outDir).filePath(name.toUpper()));
    }
    return ok ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: pipeloop_demo_pictures PARTS.PLDBI OUT_DIR\n");
        return 64;
    }
    return MakePictures(args.at(1), args.at(2));
}
