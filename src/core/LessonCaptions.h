#pragma once

// The caption file of a tutorial lesson: Windows-1252 text whose first line is
// the lesson's title and whose every further line is a frame number of the
// lesson's video, blanks, and the caption shown from that frame on:
//
//   1. Creating a new project
//   0 Select New Pipe Loop Project from the File menu
//   45 Enter the size of the building

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace pipeloop
{

// A lesson never shows more captions than this; further lines are ignored.
inline constexpr int MaxLessonCaptions = 1026;

struct LessonCaption {
    int frame = 0;
    QString text; // trimmed; may be empty (the text panel is cleared)

    bool operator==(const LessonCaption&) const = default;
};

struct LessonScript {
    QString title;                       // trimmed
    std::vector<LessonCaption> captions; // in the file's order
};

// Reads the file's text. A line that does not start with a frame number
// (blanks before it allowed) followed by a blank or the line's end is no
// caption and is skipped, as is every caption after the first
// MaxLessonCaptions: a stray line must not become a caption at frame 0.
LessonScript ParseLessonCaptions(QByteArrayView bytes);

// The caption file at path; nothing when it cannot be read.
std::optional<LessonScript> ReadLessonCaptions(const QString& path);

// The file names of lesson n in the program's data folder (which ends with a
// separator).
QString LessonVideoFile(const QString& dataFolder, int lesson);
QString LessonCaptionFile(const QString& dataFolder, int lesson);

} // namespace pipeloop
