#pragma once

#include <QString>

namespace pipeloop
{

// Right-aligns text in width columns; longer text is returned whole.
QString PadLeft(const QString& text, int width);
// Left-aligns text in width columns; longer text is returned whole.
QString PadRight(const QString& text, int width);
// Replaces the first occurrence of find, if any.
void ReplaceFirst(QString& text, const QString& find, const QString& replacement);

} // namespace pipeloop
