#include "UiServices.h"

#include "ErrorReport.h"

#include <cstdio>

namespace pipeloop
{

namespace
{
UiServices*& installed()
{
    static UiServices* services = nullptr;
    return services;
}

const char* prefixOf(UiServices::Kind kind)
{
    switch (kind) {
    case UiServices::Kind::Information:
        return "info: ";
    case UiServices::Kind::Warning:
        return "warning: ";
    case UiServices::Kind::Error:
        return "error: ";
    }
    return "";
}
} // namespace

void UiServices::reportError(const QString& errorText)
{
    error(ReportErrorText(errorText));
}

UiServices& UiServices::current()
{
    static ConsoleUiServices fallback;
    UiServices* services = installed();
    return services ? *services : fallback;
}

void UiServices::install(UiServices* services)
{
    installed() = services;
}

ScopedUiServices::ScopedUiServices(UiServices& services) : m_previous(installed())
{
    UiServices::install(&services);
}

ScopedUiServices::~ScopedUiServices()
{
    UiServices::install(m_previous);
}

void ConsoleUiServices::show(Kind kind, const QString& text, const QString&)
{
    std::fprintf(stderr, "%s%s\n", prefixOf(kind), text.toLocal8Bit().constData());
    std::fflush(stderr);
}

bool ConsoleUiServices::confirm(const QString& text, const QString&)
{
    std::fprintf(stderr, "question: %s -> %s\n", text.toLocal8Bit().constData(),
                 m_answerYes ? "yes" : "no");
    std::fflush(stderr);
    return m_answerYes;
}

QString ConsoleUiServices::ask(Kind kind, const QString& text, const QStringList& buttons,
                               const QString&)
{
    // --yes takes the first button (the affirmative one by convention), --no the last.
    const QString answer = buttons.isEmpty() ? QString()
                           : m_answerYes     ? buttons.front()
                                             : buttons.back();
    std::fprintf(stderr, "%s%s -> %s\n", prefixOf(kind), text.toLocal8Bit().constData(),
                 answer.toLocal8Bit().constData());
    std::fflush(stderr);
    return answer;
}

} // namespace pipeloop
