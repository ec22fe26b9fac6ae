#pragma once

// A print target that records every page on a RecordingCanvas of its own,
// with the orientation the page was begun in, and a small design to print.

#include "PipeLoop.h"
#include "RecordingCanvas.h"
#include "print/PagePrinter.h"

#include <memory>
#include <vector>

namespace pipeloop::test
{

class RecordingTarget final : public PrintTarget
{
public:
    // An A4 sheet at 300 dpi with 5 mm offsets: 200.0 x 287.0 mm printable
    // upright (2362 x 3390 pixels).
    RecordingTarget()
    {
        m_portrait.dpiX = m_portrait.dpiY = 300;
        m_portrait.physical = QSize(2480, 3508);
        m_portrait.offset = QPoint(59, 59);
    }

    struct Page {
        bool landscape = false;
        std::unique_ptr<RecordingCanvas> canvas;
    };

    void setLandscape(bool landscape) override { m_landscape = landscape; }
    PageGeometry geometry() const override
    {
        PageGeometry g = m_portrait;
        if (m_landscape)
            g.physical.transpose();
        if (m_landscape)
            g.offset = QPoint(g.offset.y(), g.offset.x());
        return g;
    }
    Canvas& beginPage() override
    {
        const PageGeometry g = geometry();
        pages.push_back(
            {m_landscape, std::make_unique<RecordingCanvas>(
                              QSize(g.printableWidth(), g.printableHeight()), g.dpiX, g.dpiY)});
        return *pages.back().canvas;
    }
    void endJob() override { ++jobsEnded; }

    // Every text drawn on a page, in order.
    QStringList texts(size_t page) const
    {
        QStringList all;
        for (const Primitive& primitive : pages.at(page).canvas->primitives())
            if (primitive.kind == Primitive::Kind::Text ||
                primitive.kind == Primitive::Kind::TextRect)
                all.append(primitive.text);
        return all;
    }

    std::vector<Page> pages;
    int jobsEnded = 0;

private:
    PageGeometry m_portrait;
    bool m_landscape = false;
};

// A 30 x 20 m building, 6 m high, with a closed loop 1 m inside the walls at
// 4.5 m and the header texts set.
struct PrintDesignFixture {
    PrintDesignFixture() : loop(options)
    {
        loop.RoomEW = 30000;
        loop.RoomNS = 20000;
        loop.RoomHG = 6000;
        loop.Height = 4500;
        loop.Description = QStringLiteral("Test hall");
        loop.CreatedBy = QStringLiteral("A. Fitter");
        loop.CustomerCompany = QStringLiteral("Acme Ltd");
        for (const auto& [ns, ew] :
             {std::pair{1000, 1000}, std::pair{1000, 29000}, std::pair{19000, 29000},
              std::pair{19000, 1000}, std::pair{1000, 1000}})
            loop.AddElbow({ns, ew, 4500});
    }

    TDrop& addDrop(int32_t ew, const QStringList& symbols, const QString& name)
    {
        auto drop = std::make_unique<TDrop>();
        drop->setPosition({1000, ew, 4500});
        drop->Style = DropStyle::Tee;
        drop->PipeLen = 1500;
        for (const QString& symbol : symbols)
            drop->Symbols.push_back({symbol, {}});
        drop->Name = name;
        loop.Drops.push_back(std::move(drop));
        return *loop.Drops.back();
    }

    TPipeLoopOptions options;
    TPipeLoop loop;
};

} // namespace pipeloop::test
