#pragma once

#include <QString>

#include <exception>

namespace pipeloop
{

// A description of a caught failure: its type and its message, on two lines,
// at most 1024 characters. Call from inside a catch block; with no exception
// in flight it says so.
QString ErrorText();
QString ErrorText(const std::exception& failure);

// The full text of the common error report around an ErrorText.
QString ReportErrorText(const QString& errorText);

// Shows the common error report for the failure being handled, through the
// current UiServices. Call from inside a catch block.
void ReportError();

} // namespace pipeloop
