#pragma once

// Helpers shared by the project file tests: the state the main window holds
// (design, options, print setup, zoom factors), loading into it the way the
// Open command does, and the golden files of tests/data/projects.

#include "IniFile.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "ScriptedUi.h"
#include "TestFiles.h"
#include "Version.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace pipeloop::testing
{

inline QString ProjectData(const QString& name)
{
    return QStringLiteral(PIPELOOP_TEST_DATA "/projects/") + name;
}

// An expected file of tests/data/projects, with "@VERSION@" standing for the
// program's own version.
inline QByteArray Expected(const QString& name)
{
    QByteArray bytes = ReadBytes(ProjectData(name));
    bytes.replace("@VERSION@", ProgramVersion().toLatin1());
    return bytes;
}

// The PipeLoop_Version line replaced by a fixed text, for comparisons that
// allow it alone to differ.
inline QByteArray WithoutProgramVersion(QByteArray bytes)
{
    const QByteArray key = "\r\nPipeLoop_Version=";
    const qsizetype at = bytes.indexOf(key);
    if (at < 0)
        return bytes;
    const qsizetype end = bytes.indexOf("\r\n", at + key.size());
    bytes.replace(at + key.size(), end - (at + key.size()), "*");
    return bytes;
}

// Prints differing texts line by line in a failure.
inline ::testing::AssertionResult SameBytes(const QByteArray& expected, const QByteArray& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    const QList<QByteArray> e = expected.split('\n');
    const QList<QByteArray> a = actual.split('\n');
    for (qsizetype i = 0; i < std::max(e.size(), a.size()); ++i) {
        const QByteArray el = i < e.size() ? e[i] : QByteArray("<end>");
        const QByteArray al = i < a.size() ? a[i] : QByteArray("<end>");
        if (el != al)
            return ::testing::AssertionFailure()
                   << "first difference at line " << (i + 1) << ": expected \"" << el.toStdString()
                   << "\", actual \"" << al.toStdString() << "\" (" << expected.size() << " vs "
                   << actual.size() << " bytes)";
    }
    return ::testing::AssertionFailure() << "the texts differ";
}

// What the main window holds: the options, print setup and zoom factors of
// the run, and the open design (made on those options).
struct Session {
    Session() { design = std::make_unique<TPipeLoop>(options); }

    // The Open command: header check, load, and on success the swap.
    ProjectLoad open(const QString& path)
    {
        ProjectLoad load = OpenProject(path, options, printSetup, zoom);
        if (load)
            load.Apply(design, options, printSetup, zoom);
        return load;
    }
    ProjectLoad openBytes(const QByteArray& bytes, const QString& name = QStringLiteral("test.plf"))
    {
        ProjectLoad load = LoadProjectFromBytes(bytes, name, options, printSetup, zoom);
        if (load)
            load.Apply(design, options, printSetup, zoom);
        return load;
    }
    QByteArray bytes() const { return ProjectBytes(*design, options, printSetup, zoom); }
    bool save(const QString& path) const
    {
        return SaveProject(*design, options, printSetup, zoom, path);
    }

    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;
};

// A file of the given sections after the header, CR LF throughout.
inline QByteArray ProjectText(const QByteArray& body)
{
    QByteArray text = "[PIPELOOP-FILE-INFO]\nFile_Version=1\nPipeLoop_Version=1.0.0.0\n\n" + body;
    text.replace("\r\n", "\n");
    text.replace("\n", "\r\n");
    return text;
}

// A design with every kind of object and field away from its default.
inline void FillEveryKind(TPipeLoop& d)
{
    d.Units = DisplayUnits::FeetInches;
    d.RoomEW = 20000;
    d.RoomNS = 10000;
    d.RoomHG = 6000;
    d.Height = 4000;
    d.PipeSize = 63.0f;
    d.PipeColour = PipeColour::Gray;
    d.CompressorHouse = false;
    d.Description = QStringLiteral("Every kind");
    d.CreatedBy = QStringLiteral("Tester");
    d.CustomerCompany = QStringLiteral("Customer plc");
    d.DefaultOutletSize = 31.75f;
    d.CreateDefaultElbows();
    d.Elbows[2]->VerticalDrop = 250;

    auto feature = std::make_unique<TBuildFeature>();
    feature->Name = QStringLiteral("Machine");
    feature->Feature = QStringLiteral("RECEIVER");
    feature->P1NS = 2000;
    feature->P1EW = 3000;
    feature->P2NS = 3000;
    feature->P2EW = 4500;
    feature->Height = 2200;
    feature->Ellipse = true;
    d.AddBuildFeature(std::move(feature));

    d.AddDrain(MakePosition(10000, 7000), false, 25.0f, 350);
    auto& spur = d.AddSpur(MakePosition(0, 5000), MakePosition(4000, 5000), true, 500, 32.0f);
    (void)spur;
    TDrop& drop = d.AddDropFrom(TDrop(), MakePosition(0, 12000));
    drop.Style = DropStyle::FemaleSaddle;
    drop.HoseSize = 6.35f;
    drop.OutletSize = 12.7f;
    drop.PipeLen = 1500;
    drop.PartPackage = QStringLiteral("PKG-7");
    drop.AddSymbol(QStringLiteral("FRL"), QStringLiteral("FRL-1/2"));
    drop.AddSymbol(QStringLiteral("COUPLER"));
    drop.AddSymbol(QStringLiteral("AIR-HOSE"), QStringLiteral("H-6"));
    drop.AddSymbol(QStringLiteral("COUPLER"));
    TDrop& tee = d.AddDropFrom(TDrop(), MakePosition(2000, 5000));
    tee.Style = DropStyle::Tee;
    tee.HoseSize = 0.0f;
    tee.PipeLen = 1200;
    tee.AddSymbol(QStringLiteral("2-PORT-OUTLET"));
    d.AddValve(MakePosition(5000, 20000));
    TInlet& inlet = d.AddInlet(MakePosition(10000, 15000), 2500, 50.0f);
    inlet.AddSymbol(QStringLiteral("VALVE"), QStringLiteral("BV-50"));
    d.Notes = QStringList{QStringLiteral("First"), QString(), QStringLiteral("Third line")};
}

} // namespace pipeloop::testing
