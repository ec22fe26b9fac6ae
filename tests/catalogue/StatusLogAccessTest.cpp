#include "PartsListTestSupport.h"
#include "RunList.h"

namespace pipeloop::testing
{

using catalogue::GenerationOutcome;
using catalogue::RunList;

// A line read alone is the line the full listing has at that place, across
// runs of equal lines and blocks counted as repeated.
TEST_F(PartsListTest, StatusLogLinesReadOneAtATimeMatchTheListing)
{
    Rectangle(60000, 30000); // long sides: their clips and pipes repeat as blocks
    Drop(P(0, 1000, Height), DropStyle::Tee, 20.0f, 25000);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const QStringList listed = Log();
    ASSERT_EQ(generator->StatusLogSize(), listed.size());
    for (qsizetype i = listed.size() - 1; i >= 0; --i)
        ASSERT_EQ(generator->StatusLogLine(i), listed[i]) << i;

    RunList<int> list;
    list.Append(1, 3);
    const size_t mark = list.Mark();
    list.Append(2);
    list.Append(3, 2);
    list.Repeat(mark, 2);
    list.Append(4);
    const std::vector<int> expected = {1, 1, 1, 2, 3, 3, 2, 3, 3, 2, 3, 3, 4};
    ASSERT_EQ(list.Size(), int64_t(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(list.At(int64_t(i)), expected[i]) << i;
    list.Append(4); // a change is seen by the next reading
    EXPECT_EQ(list.At(13), 4);
    list.Clear();
    list.Append(7);
    EXPECT_EQ(list.At(0), 7);
}

} // namespace pipeloop::testing
