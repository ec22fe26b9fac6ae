// libFuzzer target for the text readers: every length, size and
// real a user types or a file holds goes through these. The input is tried as
// UTF-8 and as Latin-1 text, under a full-stop and a comma locale; whatever a
// reader accepts must be a sane value that formats and reads back.

#include "FuzzSupport.h"
#include "LocaleInfo.h"
#include "Rounding.h"
#include "Units.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

using namespace pipeloop;
using namespace pipeloop::fuzz;

namespace
{

void exercise(const QString& text)
{
    for (DisplayUnits units :
         {DisplayUnits::Metres, DisplayUnits::Millimetres, DisplayUnits::FeetInches}) {
        const Parsed<int32_t> length = ParseLength(text, units);
        check(length.ok() == length.error().isEmpty()); // a failure always says why
        if (length.ok() && length.value() >= 0) {
            const uint32_t mm = static_cast<uint32_t>(length.value());
            // Metres and millimetres are exact; feet and inches lose under half an inch.
            check(ParseLength(FormatLength(mm, DisplayUnits::Metres), units).valueOr(-1) ==
                  length.value());
            check(ParseLength(FormatLength(mm, DisplayUnits::Millimetres), units).valueOr(-1) ==
                  length.value());
            const Parsed<int32_t> feet =
                ParseLength(FormatLength(mm, DisplayUnits::FeetInches), units);
            check(feet.ok() && std::abs(int64_t(feet.value()) - length.value()) <= 13);
        }
    }

    const std::optional<float> size = ParseSizeText(text);
    if (size) {
        check(std::isfinite(*size));
        const QString named = SizeText(*size);
        const std::optional<float> back = ParseSizeText(named);
        // 15 significant digits of the largest singles read back a little
        // beyond the single range; every other size text reads back.
        check(back.has_value() || std::fabs(*size) > 1e38f);
        // Three decimals are near; a nominal inch text is the nearest sixteenth.
        const double tolerance = named.endsWith(QStringLiteral("mm"))
                                     ? 0.0005 + std::fabs(*size) * 1e-6
                                     : MmPerSixteenth / 2 + 1e-4;
        check(!back || std::fabs(double(*back) - double(*size)) <= tolerance);
    }

    const Parsed<double> real = ParseReal(text);
    if (real)
        check(std::isfinite(real.value()));
    check(!ParseReal(text).ok() || !text.trimmed().isEmpty());

    const Parsed<int32_t> integer = ParseInteger(text);
    const Parsed<double> localeReal = ParseLocaleReal(text);
    if (integer) // every integer is a real too
        check(localeReal.ok() && localeReal.value() == integer.value());
    if (localeReal)
        check(std::isfinite(localeReal.value()));

    // The key filter takes any text and any key.
    if (!text.isEmpty()) {
        const QString before = text.left(text.size() - 1);
        const QChar key = text.back();
        const bool allowed = LengthKeyAllowed(before, key);
        if (key.unicode() >= u'0' && key.unicode() <= u'9')
            check(allowed);
        if (key == u'-' || key == u' ')
            check(!allowed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const LocaleFacts FullStop{u'.', QStringLiteral("£"), 2};
    static const LocaleFacts Comma{u',', QStringLiteral("€"), 2};
    const char* bytes = reinterpret_cast<const char*>(data);
    const qsizetype length = static_cast<qsizetype>(size);
    const QString utf8 = QString::fromUtf8(bytes, length);
    const QString latin1 = QString::fromLatin1(bytes, length);
    for (const LocaleFacts* facts : {&FullStop, &Comma}) {
        ScopedLocale locale(*facts);
        exercise(utf8);
        if (latin1 != utf8)
            exercise(latin1);
    }
    return 0;
}
