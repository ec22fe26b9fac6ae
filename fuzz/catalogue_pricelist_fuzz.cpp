// libFuzzer target for the price-list reader, the "Load List" row
// reader and the import-text parser, over a small fixed catalogue.
// Nothing may crash, hang or read out of bounds; a list written from the rows
// must load back to the same rows.

#include "FuzzSupport.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PriceListFile.h"
#include "UiServices.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace pipeloop;
using namespace pipeloop::fuzz;
using namespace pipeloop::catalogue;

namespace
{

class YesUi : public UiServices
{
public:
    void show(Kind, const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return true; }
    // The first button: OK, Continue, Yes (prices per item).
    QString ask(Kind, const QString&, const QStringList& buttons, const QString&) override
    {
        return buttons.isEmpty() ? QString() : buttons.front();
    }
};

const char Catalogue[] = "[CATALOGUE]\r\nSUP=F\r\nMAK=F\r\n"
                         "[90000-20]\r\nTYP=PIPE\r\nOD1=20\r\nLEN=4000\r\nATR=BLUE\r\nPRC=1\r\n"
                         "[90000-25]\r\nTYP=PIPE\r\nOD1=25\r\nLEN=4000\r\nAPN=P25\r\n"
                         "[H-1]\r\nTYP=HOSE\r\nOD1=1/4\"\r\nAPN=HOSE\r\nUPP=3\r\n"
                         "[C-1]\r\nTYP=PIPE-CLIP\r\nOD1=20\r\nATR=STEEL\r\nUPP=10\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static YesUi yes;
    UiServices::install(&yes);
    static const bool localeSet = [] {
        LocaleFacts facts;
        facts.decimalSeparator = u'.';
        facts.currencySymbol = QStringLiteral("\u00a3");
        facts.currencyDecimals = 2;
        LocaleInfo::set(facts);
        return true;
    }();
    (void)localeSet;
    const QByteArray bytes = InputBytes(data, size);

    TPartsDatabase db;
    db.LoadCatalogueText(Catalogue);
    TPartsDatabase::IsPriceListText(bytes);
    db.LoadPriceListBytes(bytes, QStringLiteral("fuzz.ppl"));

    std::vector<PriceRow> rows = PriceRowsOf(db);
    LoadPriceListRows(bytes, rows);
    ImportPriceText(QString::fromLatin1(bytes).split(u'\n'), rows);
    check(rows.size() == static_cast<size_t>(db.PartCount()));

    // Written and read back, the rows come back as "Load List" converts them:
    // prices through the money reader, units as the INI grammar trims them.
    auto convert = [](const QString& text) {
        const Parsed<Money> price = ParseMoney(text);
        return price ? FormatMoney(price.value(), true) : QStringLiteral("0.0");
    };
    auto trimmed = [](const QString& text) {
        qsizetype first = 0;
        qsizetype last = text.size();
        while (first < last && text.at(first).unicode() <= u' ')
            ++first;
        while (last > first && text.at(last - 1).unicode() <= u' ')
            --last;
        return text.mid(first, last - first);
    };
    std::vector<PriceRow> canonical = rows;
    for (PriceRow& row : canonical) {
        row.priceText = convert(row.priceText);
        row.unitsText = trimmed(row.unitsText);
    }
    const QByteArray written = PriceListFileBytes(canonical, QDate(2030, 1, 1));
    std::vector<PriceRow> loaded = canonical;
    for (PriceRow& row : loaded)
        row.priceText = row.unitsText = QStringLiteral("?");
    check(LoadPriceListRows(written, loaded));
    for (size_t i = 0; i < loaded.size(); ++i) {
        check(loaded[i].priceText == convert(canonical[i].priceText));
        check(loaded[i].unitsText == canonical[i].unitsText);
    }
    return 0;
}
