#pragma once

// The six tutorial lessons, as the Tutorials menu numbers them.

#include "Stage.h"

namespace pipeloop::lessons
{

inline constexpr int LessonCount = 6;
// Lesson n (1 to LessonCount); samples is the folder of the sample designs.
Lesson MakeLesson(int number, const QString& samples);

} // namespace pipeloop::lessons
