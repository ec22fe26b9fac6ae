// A section finds the objects on a segment's line through an index by NS and
// EW: each object once, in list order, whatever order the coordinates sort in.

#include "ObjectLineIndex.h"
#include "PipeLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace pipeloop;

TEST(ObjectLineIndex, FindsEachObjectOnALineOnceInListOrder)
{
    TPipeLoopOptions options;
    TPipeLoop design(options);
    for (const Position& p : std::vector<Position>{{1000, 2000, 0},
                                                   {1000, 5000, 0},
                                                   {3000, 2000, 0},
                                                   {1000, 2000, 0},
                                                   {-500, 7000, 0},
                                                   {500, -7000, 0}}) {
        auto drop = std::make_unique<TDrop>();
        drop->setPosition(p);
        design.AddExistingDrop(std::move(drop));
    }
    design.AddValve({1000, 9000, 0});
    const ObjectLineIndex index(design);
    const auto collect = [&](ObjectLineIndex::Kind kind, const int32_t* ns, const int32_t* ew) {
        std::vector<int> out{99}; // cleared first
        index.Collect(kind, ns, ew, out);
        return out;
    };
    const int32_t ns1000 = 1000, ew2000 = 2000, nsMinus500 = -500, ew7000 = 7000, missing = 42;

    EXPECT_EQ(collect(ObjectLineIndex::Drops, &ns1000, &ew2000), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(collect(ObjectLineIndex::Drops, &ns1000, nullptr), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(collect(ObjectLineIndex::Drops, nullptr, &ew2000), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(collect(ObjectLineIndex::Drops, &nsMinus500, &ew7000), (std::vector<int>{4}));
    EXPECT_EQ(collect(ObjectLineIndex::Drops, &missing, &missing), std::vector<int>{});
    EXPECT_EQ(collect(ObjectLineIndex::Drops, nullptr, nullptr), std::vector<int>{});
    EXPECT_EQ(collect(ObjectLineIndex::Valves, &ns1000, nullptr), std::vector<int>{0});
    EXPECT_EQ(collect(ObjectLineIndex::Drains, &ns1000, &ew2000), std::vector<int>{});

    // A segment along NS 1000, and one that runs along neither axis.
    std::vector<int> out;
    index.CollectOnLine(ObjectLineIndex::Drops, 1000, 0, 1000, 9000, out);
    EXPECT_EQ(out, (std::vector<int>{0, 1, 3}));
    index.CollectOnLine(ObjectLineIndex::Drops, 1000, 2000, 3000, 5000, out);
    EXPECT_TRUE(out.empty());
}
