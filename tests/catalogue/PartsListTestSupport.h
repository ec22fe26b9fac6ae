#pragma once

// Hand-built designs for the parts list tests: a design on its own options,
// recorded messages, a pound locale, a fixed clock, and the tiny catalogue
// (with a few 20 mm and 3/4" parts appended where a test needs them).

#include "CatalogueTestSupport.h"
#include "Clock.h"
#include "PartsDatabase.h"
#include "PartsListGenerator.h"
#include "PartsListOptions.h"
#include "PipeLoop.h"
#include "ScriptedUi.h"

#include <QFile>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

namespace pipeloop::testing
{

// The tiny catalogue's text with parts appended after it: selections take the
// first match, so the tiny parts keep their answers.
inline QString TinyCatalogueText(const QString& appended = {})
{
    QFile file(CatalogueTestData(QStringLiteral("tiny/PARTS.PLDBI")));
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll()) + QStringLiteral("\r\n") + appended;
}

// 20 mm pipe and clips, a 3/4" four-port manifold: what drop legs, inlets and
// manifold adapters need beyond the tiny catalogue.
inline QString ExtraParts()
{
    return QStringLiteral("[P20-B6]\r\nTYP=PIPE\r\nOD1=20\r\nLEN=6000\r\nATR=BLUE\r\n"
                          "[P20-B4]\r\nTYP=PIPE\r\nOD1=20\r\nLEN=4000\r\nATR=BLUE\r\n"
                          "[CLIP20-T]\r\nTYP=PIPE-CLIP\r\nOD1=20\r\nATR=TECHNOPOLYMERIC\r\n"
                          "[CLIP20-S]\r\nTYP=PIPE-CLIP\r\nOD1=20\r\nATR=STEEL\r\n"
                          "[S20]\r\nTYP=CONNECTOR\r\nOD1=20\r\n"
                          "[E90-20]\r\nTYP=CONNECTOR\r\nOD1=20\r\nATR=ELBOW\r\nANG=90\r\n"
                          "[CAP20]\r\nTYP=ENDCAP\r\nOD1=20\r\n"
                          "[M4-34]\r\nTYP=MANIFOLD\r\nOD1=3/4\"\r\nNPO=4\r\nAT2=FEMALE BSP\r\n");
}

inline Position P(int32_t ns, int32_t ew, int32_t hg)
{
    return {ns, ew, hg};
}

class PartsListTest : public ::testing::Test
{
protected:
    static constexpr int32_t Height = 3000;

    PartsListTest()
        : locale(PoundFacts()), clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0))),
          design(designOptions)
    {
        Clock::install(&clock);
        design.Height = Height;
        design.PipeSize = 25.0f;
        design.Units = DisplayUnits::Millimetres;
        database = DatabaseFromText(TinyCatalogueText(ExtraParts()));
        ui.messages.clear(); // the tiny catalogue's deliberate package errors
    }
    ~PartsListTest() override { Clock::install(nullptr); }

    // A loop through the corners (NS, EW) at Height, closed back to the first.
    void Loop(std::initializer_list<std::pair<int32_t, int32_t>> corners)
    {
        for (const auto& [ns, ew] : corners)
            design.AddElbow(P(ns, ew, Height));
        design.AddElbow(P(corners.begin()->first, corners.begin()->second, Height));
    }
    // The rectangle NS 0..depth, EW 0..width, clockwise from the north-west.
    void Rectangle(int32_t width, int32_t depth)
    {
        Loop({{0, 0}, {0, width}, {depth, width}, {depth, 0}});
    }

    // A corner at Height, or verticalDrop below it (the ends of a detour).
    struct Corner {
        int32_t ns;
        int32_t ew;
        int32_t verticalDrop = 0;
    };
    // A loop through the corners as given: the last one closes it.
    void Corners(std::initializer_list<Corner> corners)
    {
        for (const Corner& corner : corners)
            design.AddElbow(P(corner.ns, corner.ew, Height), corner.verticalDrop);
    }

    TDrop& Drop(Position at, DropStyle style, float outlet, int32_t pipeLen,
                std::initializer_list<QString> symbols = {})
    {
        auto drop = std::make_unique<TDrop>();
        drop->setPosition(at);
        drop->Style = style;
        drop->OutletSize = outlet;
        drop->PipeLen = pipeLen;
        for (const QString& symbol : symbols)
            drop->AddSymbol(symbol, QString(), true);
        return design.AddExistingDrop(std::move(drop));
    }
    TSpur& Spur(Position start, Position end, float size = 25.0f, int32_t verticalDrop = 0)
    {
        TSpur& spur = design.AddSpur(start, end, false, verticalDrop, size);
        spur.PipeSize = size;
        return spur;
    }

    // Inlets and drains are named in the order they are added: INLET1, DRAIN1...
    TInlet& Inlet(Position at, float size, int32_t pipeLength,
                  std::initializer_list<QString> symbols = {})
    {
        auto inlet = std::make_unique<TInlet>();
        inlet->setPosition(at);
        inlet->Name = QStringLiteral("INLET%1").arg(design.Inlets.size() + 1);
        inlet->PipeSize = size;
        inlet->PipeLength = pipeLength;
        for (const QString& symbol : symbols)
            inlet->AddSymbol(symbol, QString(), true);
        design.Inlets.push_back(std::move(inlet));
        return *design.Inlets.back();
    }
    TDrain& Drain(Position at, int32_t pipeLen)
    {
        auto drain = std::make_unique<TDrain>();
        drain->setPosition(at);
        drain->Name = QStringLiteral("DRAIN%1").arg(design.Drains.size() + 1);
        drain->PipeSize = 25.0f;
        drain->PipeLen = pipeLen;
        design.Drains.push_back(std::move(drain));
        return *design.Drains.back();
    }

    catalogue::GenerationOutcome Generate()
    {
        generator = std::make_unique<catalogue::TPartsListGenerator>(design, *database);
        return generator->Generate(options);
    }
    const QStringList& Parts() const { return generator->PartList(); }
    const QStringList& Log() const { return generator->StatusLog(); }
    int Count(const QString& key) const { return int(Parts().count(key)); }
    // The log lines from the one that equals first up to the one that equals last.
    QStringList LogBetween(const QString& first, const QString& last) const
    {
        const qsizetype from = Log().indexOf(first);
        const qsizetype to = Log().indexOf(last, from);
        return from < 0 || to < 0 ? QStringList() : Log().mid(from, to - from + 1);
    }

    ScriptedUi ui;
    ScopedLocale locale;
    FixedClock clock;
    TPipeLoopOptions designOptions;
    TPipeLoop design;
    std::unique_ptr<catalogue::TPartsDatabase> database;
    catalogue::PartsListOptions options;
    std::unique_ptr<catalogue::TPartsListGenerator> generator;
};

// n copies of a text.
inline QStringList Times(int n, const QString& text)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list.append(text);
    return list;
}

} // namespace pipeloop::testing
