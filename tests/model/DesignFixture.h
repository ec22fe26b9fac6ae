#pragma once

#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace pipeloop::testing
{

inline constexpr float Pi = 3.14159265f;

// A design of a 5000 x 2000 building (EW x NS) with its default loop at
// 2500 mm, under a full-stop locale, with messages recorded.
class DesignFixture : public ::testing::Test
{
protected:
    DesignFixture() : locale(LocaleFacts{}), loop(options)
    {
        loop.RoomEW = 5000;
        loop.RoomNS = 2000;
        loop.RoomHG = 4000;
        loop.Height = 2500;
    }

    void withDefaultLoop() { loop.CreateDefaultElbows(); }

    TSpur& addSpur(Position start, Position end, float size = 25.0f, int32_t verticalDrop = 0)
    {
        return loop.AddSpur(start, end, false, verticalDrop, size);
    }

    template <typename T> T& place(std::vector<std::unique_ptr<T>>& list, Position at)
    {
        auto object = std::make_unique<T>();
        object->setPosition(at);
        list.push_back(std::move(object));
        return *list.back();
    }

    ScriptedUi ui;
    ScopedLocale locale;
    TPipeLoopOptions options;
    TPipeLoop loop;
};

inline Position P(int32_t ns, int32_t ew, int32_t hg = 0)
{
    return {ns, ew, hg};
}

} // namespace pipeloop::testing

namespace pipeloop
{
// Readable failures for positions.
inline void PrintTo(const Position& p, std::ostream* os)
{
    *os << "(NS " << p.NS << ", EW " << p.EW << ", HG " << p.HG << ")";
}
} // namespace pipeloop
