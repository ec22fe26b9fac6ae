#include "ErrorReport.h"

#include "UiServices.h"

#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace pipeloop
{

namespace
{
constexpr qsizetype MaxErrorTextLength = 1024;

QString demangled(const char* name)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return QString::fromUtf8(status == 0 && readable ? readable.get() : name);
}

QString describe(const QString& type, const QString& message)
{
    QString text = type + QStringLiteral(" raised in PIPELOOP.\r\n") + message;
    if (text.size() > MaxErrorTextLength) {
        // Never cut a character in half: drop the lead surrogate of a split pair.
        qsizetype keep = MaxErrorTextLength;
        if (text.at(keep - 1).isHighSurrogate())
            --keep;
        text.truncate(keep);
    }
    return text;
}
} // namespace

QString ErrorText(const std::exception& failure)
{
    return describe(demangled(typeid(failure).name()), QString::fromLocal8Bit(failure.what()));
}

QString ErrorText()
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return describe(QStringLiteral("No exception"), QStringLiteral("(none)"));
    try {
        std::rethrow_exception(current);
    } catch (const std::exception& failure) {
        return ErrorText(failure);
    } catch (...) {
        const std::type_info* type = abi::__cxa_current_exception_type();
        return describe(type ? demangled(type->name()) : QStringLiteral("Unknown exception"),
                        QStringLiteral("(no message)"));
    }
}

QString ReportErrorText(const QString& errorText)
{
    return QStringLiteral("An error has been detected within PIPELOOP :\r\n") + errorText +
           QStringLiteral("\r\nReport the above to ZELK and close the application.");
}

void ReportError()
{
    Ui().reportError(ErrorText());
}

} // namespace pipeloop
