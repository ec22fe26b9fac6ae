#pragma once

#include "Document.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

namespace pipeloop::testing
{

// A document holding a new 5000 x 2000 design (EW x NS) with its default
// loop at 2500 mm, under a full-stop locale, with messages recorded.
class EditFixture : public ::testing::Test
{
protected:
    EditFixture() : locale(LocaleFacts{})
    {
        auto made = std::make_unique<TPipeLoop>(document.options());
        made->RoomEW = 5000;
        made->RoomNS = 2000;
        made->RoomHG = 4000;
        made->Height = 2500;
        made->CreateDefaultElbows();
        document.adopt(std::move(made));
        design = document.design();
    }

    // A drop made by the design at the position (snapped onto the pipe), kept
    // as one undo step.
    TDrop& addDrop(const Position& at)
    {
        TDrop& drop = design->AddDropFrom(TDrop(), at);
        EXPECT_TRUE(document.pushAppended(drop, QStringLiteral("Add drop")));
        return drop;
    }

    ScriptedUi ui;
    ScopedLocale locale;
    Document document;
    TPipeLoop* design = nullptr;
};

inline Position P(int32_t ns, int32_t ew, int32_t hg = 0)
{
    return {ns, ew, hg};
}

} // namespace pipeloop::testing
