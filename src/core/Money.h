#pragma once

#include "Parsed.h"

#include <QString>

#include <cstdint>

namespace pipeloop
{

// An amount of money in ten-thousandths of the currency unit.
using Money = int64_t;
inline constexpr Money MoneyUnit = 10000;

// Reads an amount such as "£1.234" (the locale's currency symbol is optional).
Parsed<Money> ParseMoney(const QString& text);

// An amount with the locale's currency decimals, optionally after its symbol.
QString FormatMoney(Money amount, bool withSymbol);

} // namespace pipeloop
