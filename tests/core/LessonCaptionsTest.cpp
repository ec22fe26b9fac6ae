// A lesson's caption file: its title, the captions with their frames, and the
// lines that are no caption.

#include "LessonCaptions.h"

#include <gtest/gtest.h>

using namespace pipeloop;

TEST(LessonCaptions, TitleCaptionsAndIgnoredLines)
{
    const QByteArray file = "  1. Creating a new project \r\n"
                            "0 Select New Pipe Loop Project\r\n"
                            "  45\t\tEnter the building's size  \r\n"
                            "\r\n"
                            "Press OK\r\n"           // no frame number
                            "12abc not a number\r\n" // digits run into the text
                            "99999999999 too far\r\n"
                            "-5 negative\r\n"
                            "80\r\n" // an empty caption clears the text
                            "120 Gr\xf6\xdf"
                            "e \x80 10\r\n"
                            "130 last line without a break";
    const LessonScript script = ParseLessonCaptions(file);
    EXPECT_EQ(script.title, "1. Creating a new project");
    const std::vector<LessonCaption> expected{{0, "Select New Pipe Loop Project"},
                                              {45, "Enter the building's size"},
                                              {80, ""},
                                              {120, QString::fromUtf8("Größe € 10")},
                                              {130, "last line without a break"}};
    EXPECT_EQ(script.captions, expected);

    // Only the first captions up to the limit are read; stray lines among
    // them do not count.
    QByteArray many = "Many\n";
    for (int frame = 0; frame < MaxLessonCaptions + 10; ++frame)
        many += QByteArray::number(frame) + " step\n" + (frame % 100 == 0 ? "stray\n" : "");
    const LessonScript limited = ParseLessonCaptions(many);
    ASSERT_EQ(limited.captions.size(), size_t(MaxLessonCaptions));
    EXPECT_EQ(limited.captions.back().frame, MaxLessonCaptions - 1);

    EXPECT_TRUE(ParseLessonCaptions("").title.isEmpty());
    EXPECT_TRUE(ParseLessonCaptions("Title only").captions.empty());
    EXPECT_FALSE(ReadLessonCaptions("/nonexistent/lesson1.txt").has_value());
    EXPECT_EQ(LessonCaptionFile("/data/", 3), "/data/lesson3.txt");
    EXPECT_EQ(LessonVideoFile("/data/", 3), "/data/lesson3.wmv");
}
