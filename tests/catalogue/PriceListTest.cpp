// Price lists: reading, writing and importing from text.

#include "CatalogueTestSupport.h"
#include "DateSerial.h"
#include "PriceListFile.h"
#include "ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::Cp1252;
using pipeloop::testing::ScriptedUi;

namespace
{

const QString Pound = QStringLiteral("\u00a3");

class PriceListTest : public pipeloop::testing::TinyCatalogueTest
{
protected:
    Money PriceOf(const QString& key) const { return db->PriceOf(key)->price; }
    int32_t UnitsOf(const QString& key) const { return db->PriceOf(key)->unitsPerPackage; }
    void Load(const QString& text)
    {
        db->LoadPriceListBytes(Cp1252(text), QStringLiteral("x.ppl"));
    }
};

TEST_F(PriceListTest, RecognisesThePriceListHeader)
{
    EXPECT_TRUE(TPartsDatabase::IsPriceListText("[PARTS-RRICE-LIST-FILE]\r\nVersion=1"));
    EXPECT_TRUE(TPartsDatabase::IsPriceListText("[PARTS-RRICE-LIST-FILE]"));
    EXPECT_FALSE(TPartsDatabase::IsPriceListText(" [PARTS-RRICE-LIST-FILE]"));
    EXPECT_FALSE(TPartsDatabase::IsPriceListText("[PARTS-PRICE-LIST-FILE]"));
    EXPECT_FALSE(TPartsDatabase::IsPriceListText("[parts-rrice-list-file]"));
    EXPECT_FALSE(TPartsDatabase::IsPriceListText("[PARTS-RRICE-LIST-FILE"));
    EXPECT_TRUE(TPartsDatabase::IsPriceListFile(
        pipeloop::testing::CatalogueTestData(QStringLiteral("tiny/tiny.ppl"))));
    EXPECT_FALSE(TPartsDatabase::IsPriceListFile(
        pipeloop::testing::CatalogueTestData(QStringLiteral("tiny/PARTS.PLDBI"))));
    EXPECT_FALSE(TPartsDatabase::IsPriceListFile(QStringLiteral("/no/such/file.ppl")));
}

TEST_F(PriceListTest, TheTinyListReplacesEveryPriceWithItsFallbacks)
{
    db->LoadPriceList(pipeloop::testing::CatalogueTestData(QStringLiteral("tiny/tiny.ppl")));
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join(u'|').toStdString();
    EXPECT_TRUE(db->PriceListLoaded());
    EXPECT_EQ(db->PriceListCurrency(), Pound);
    // No Expires: 30 December 2099.
    EXPECT_EQ(db->PriceListExpiry(), QDateTime(QDate(2099, 12, 30), QTime(0, 0)));
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 125000);
    EXPECT_EQ(UnitsOf(QStringLiteral("P25-B4")), 3);
    // UPP 0 under the key sends the reader to the part-number section; without
    // an APN that is the same section, which answers 0 again.
    EXPECT_EQ(PriceOf(QStringLiteral("P25-G6")), 10000);
    EXPECT_EQ(UnitsOf(QStringLiteral("P25-G6")), 0);
    // Only under its part number (APN HOSE-FIVE).
    EXPECT_EQ(PriceOf(QStringLiteral("H-5")), 300000);
    EXPECT_EQ(UnitsOf(QStringLiteral("H-5")), 2);
    // Any non-digit is the decimal separator.
    EXPECT_EQ(PriceOf(QStringLiteral("CLIP25-T")), 50000);
    EXPECT_EQ(UnitsOf(QStringLiteral("CLIP25-T")), 10);
    // Parts the list does not mention get price 0 and one unit per package.
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B6")), 0);
    EXPECT_EQ(PriceOf(QStringLiteral("V25")), 0);
    EXPECT_EQ(UnitsOf(QStringLiteral("V25")), 1);
}

TEST_F(PriceListTest, ACurrencyMismatchChangesNothing)
{
    Load(QStringLiteral("[PARTS-RRICE-LIST-FILE]\nCurrency=EUR\n[P25-B4]\nPRC=1\nUPP=3\n"));
    EXPECT_EQ(ui.texts(),
              QStringList{QStringLiteral("Parts price list : x.ppl\r\n\nHas currency EUR"
                                         "\r\n\nThis will not be loaded.")});
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Information);
    EXPECT_FALSE(db->PriceListLoaded());
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 100000);
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B6")), 140000);
    EXPECT_EQ(db->PriceListCurrency(), QString());
}

TEST_F(PriceListTest, AMissingCurrencyIsTheSystemsAndExpiresIsADateSerial)
{
    Load(QStringLiteral("[PARTS-RRICE-LIST-FILE]\nExpires=47483.5\n[P25-B4]\nPRC=2,5\n"));
    EXPECT_TRUE(db->PriceListLoaded());
    EXPECT_EQ(db->PriceListExpiry(), QDateTime(QDate(2029, 12, 31), QTime(12, 0)));
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 25000);
    Load(QStringLiteral("[PARTS-RRICE-LIST-FILE]\nExpires=soon\n"));
    EXPECT_EQ(db->PriceListExpiry(), QDateTime(QDate(2099, 12, 30), QTime(0, 0)));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PriceListTest, ABadPriceNamesItsLineAndAbortLeavesEveryPriceAsItWas)
{
    // CR LF, a lone CR and LF line ends; a repeated section is read from its last copy.
    const QString list = QStringLiteral("[PARTS-RRICE-LIST-FILE]\r\n[P25-B4]\rPRC=1\n\n"
                                        "; note\r\n[p25-b4]\r\n PRC = cheap \r\n[P25-B6]\nPRC=3\n"
                                        "[HOSE-FIVE]\nPRC=x\n");
    const QString question =
        QStringLiteral("Price list error reading PRC for P25-B4\r\nLine 7: PRC=cheap");
    ui.askAnswers = {QStringLiteral("&Ok")};
    EXPECT_EQ(db->LoadPriceListBytes(Cp1252(list), QStringLiteral("x.ppl")), PriceListLoad::Loaded);
    EXPECT_EQ(ui.questions, QStringList{question});
    // Without an APN the part-number section is the key's: its PRC fails again, with OK only.
    EXPECT_EQ(ui.texts(),
              QStringList({question, QStringLiteral("Price list error reading PRC "
                                                    "for HOSE-FIVE\r\nLine 11: PRC=x")}));
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 0);
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B6")), 30000);
    EXPECT_TRUE(db->PriceListLoaded());

    // Abort: no price of the list is used, before or after the bad line.
    for (const bool earlierList : {false, true}) {
        db = pipeloop::testing::TinyDatabase();
        if (earlierList)
            Load(QStringLiteral("[PARTS-RRICE-LIST-FILE]\n[P25-B6]\nPRC=2\n"));
        const Money before = PriceOf(QStringLiteral("P25-B6"));
        ui.questions.clear();
        ui.messages.clear();
        ui.askAnswers = {QStringLiteral("&Abort")};
        EXPECT_EQ(db->LoadPriceListBytes(Cp1252(list), QStringLiteral("x.ppl")),
                  PriceListLoad::Abandoned);
        EXPECT_EQ(ui.questions, QStringList{question});
        EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Parts price list : x.ppl\r\n\n"
                                                         "This will not be loaded.")});
        EXPECT_EQ(ui.messages.back().kind, UiServices::Kind::Error);
        EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), earlierList ? 0 : 100000);
        EXPECT_EQ(PriceOf(QStringLiteral("P25-B6")), before);
        EXPECT_EQ(db->PriceListLoaded(), earlierList);
    }
}

TEST_F(PriceListTest, SaveListFormat)
{
    const std::vector<PriceRow> rows = {
        {QStringLiteral("P25-B4"), Pound + QStringLiteral("3.00"), QStringLiteral("3")},
        {QStringLiteral("H-5"), Pound + QStringLiteral("0.50"), QStringLiteral("1")}};
    const QByteArray bytes = PriceListFileBytes(rows, QDate(2030, 6, 30));
    EXPECT_EQ(bytes,
              Cp1252(QStringLiteral("[PARTS-RRICE-LIST-FILE]\r\nVersion=1\r\nExpires=47664\r\n"
                                    "Currency=\u00a3\r\n\r\n[P25-B4]\r\nPRC=\u00a33.00\r\n"
                                    "UPP=3\r\n\r\n[H-5]\r\nPRC=\u00a30.50\r\nUPP=1\r\n\r\n")));
    EXPECT_EQ(DateTimeFromSerial(47664)->date(), QDate(2030, 6, 30));
}

TEST_F(PriceListTest, ASavedListLoadsBackTheSameRows)
{
    db->LoadPriceList(pipeloop::testing::CatalogueTestData(QStringLiteral("tiny/tiny.ppl")));
    const std::vector<PriceRow> saved = PriceRowsOf(*db);
    ASSERT_EQ(saved.size(), static_cast<size_t>(db->PartCount()));
    EXPECT_EQ(saved[1], (PriceRow{QStringLiteral("P25-B4"), Pound + QStringLiteral("12.50"),
                                  QStringLiteral("3")}));
    const QByteArray bytes = PriceListFileBytes(saved, QDate(2031, 1, 1));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.ppl"));
    ASSERT_TRUE(WritePriceListFile(path, saved, QDate(2031, 1, 1)));
    EXPECT_TRUE(TPartsDatabase::IsPriceListFile(path));
    std::vector<PriceRow> loaded = saved;
    for (PriceRow& row : loaded)
        row = {row.partKey, QStringLiteral("?"), QStringLiteral("?")};
    EXPECT_TRUE(LoadPriceListRowsFrom(path, loaded));
    EXPECT_EQ(loaded, saved);
    EXPECT_FALSE(
        WritePriceListFile(dir.filePath(QStringLiteral("no/such/dir.ppl")), saved, QDate()));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(pipeloop::testing::ReadBytes(path), bytes);

    // The database reads the saved file to the same prices.
    const auto again = pipeloop::testing::TinyDatabase();
    again->LoadPriceListBytes(bytes, QStringLiteral("saved.ppl"));
    EXPECT_EQ(PriceRowsOf(*again), saved);
}

TEST_F(PriceListTest, LoadListRefusesOtherFilesAndOldVersions)
{
    std::vector<PriceRow> rows = {{QStringLiteral("A"), QStringLiteral("p"), QStringLiteral("u")}};
    EXPECT_FALSE(LoadPriceListRows("[CATALOGUE]\r\n", rows));
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("File is not a parts list file.")});
    EXPECT_TRUE(
        LoadPriceListRows("[PARTS-RRICE-LIST-FILE]\r\nVersion=0\r\n[A]\r\nPRC=1\r\n", rows));
    EXPECT_EQ(rows[0].priceText, QStringLiteral("p")); // nothing read
    EXPECT_TRUE(
        LoadPriceListRows("[PARTS-RRICE-LIST-FILE]\r\nVersion=2\r\n[A]\r\nPRC=bad\r\n", rows));
    EXPECT_EQ(rows[0].priceText, QStringLiteral("0.0"));
    EXPECT_EQ(rows[0].unitsText, QStringLiteral("1"));
}

class ImportTest : public PriceListTest
{
protected:
    std::vector<PriceRow> Rows(std::initializer_list<const char*> keys)
    {
        std::vector<PriceRow> rows;
        for (const char* key : keys)
            rows.push_back(
                {QString::fromLatin1(key), Pound + QStringLiteral("0.00"), QStringLiteral("1")});
        return rows;
    }
};

TEST_F(ImportTest, ExplainsFirstAndStopsOnNo)
{
    auto rows = Rows({"90000-20"});
    ui.confirmAnswers = {false};
    EXPECT_FALSE(ImportPriceText({QStringLiteral("90000 20 \u00a31.00 3")}, rows));
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(ui.questions[0],
              QStringLiteral("The import text must be of the following format:\r\n\n"
                             "PART SIZE PRICE UNITS, for example:\r\n\n"
                             "90000 20 \u00a31.00 3 or\r\n90000-20 \u00a39.00 1, the \u00a3 is "
                             "optional.\r\n\nDo you want to continue ?"));
    EXPECT_EQ(rows[0].priceText, Pound + QStringLiteral("0.00"));
}

TEST_F(ImportTest, PerItemPricesAreMultipliedByTheUnits)
{
    auto rows = Rows({"90000-20", "90000-25", "90001"});
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes")};
    EXPECT_TRUE(ImportPriceText(
        {QStringLiteral("90000 20 \u00a31.00 3"), QStringLiteral("90000-25\t\u00a39.00,1"),
         QStringLiteral("90001 no currency here 5"), QStringLiteral("90001 \u00a32.50")},
        rows));
    EXPECT_EQ(ui.questions[1],
              QStringLiteral("Are prices per item [&Yes]\r\n\nAre prices per package [&All]"));
    EXPECT_EQ(rows[0], (PriceRow{QStringLiteral("90000-20"), Pound + QStringLiteral("3.00"),
                                 QStringLiteral("3")}));
    EXPECT_EQ(rows[1], (PriceRow{QStringLiteral("90000-25"), Pound + QStringLiteral("9.00"),
                                 QStringLiteral("1")}));
    EXPECT_EQ(rows[2], (PriceRow{QStringLiteral("90001"), Pound + QStringLiteral("2.50"),
                                 QStringLiteral("1")}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ImportTest, PackagePricesAreTakenAsTheyAre)
{
    auto rows = Rows({"90000-20"});
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&All")};
    ImportPriceText({QStringLiteral("90000 20 \u00a31.00 3")}, rows);
    EXPECT_EQ(rows[0].priceText, Pound + QStringLiteral("1.00"));
    EXPECT_EQ(rows[0].unitsText, QStringLiteral("3"));
}

TEST_F(ImportTest, TheShortestKnownPartTextWins)
{
    // 90000 exists: the size is not joined on.
    auto rows = Rows({"90000", "90000-20"});
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes")};
    ImportPriceText({QStringLiteral("90000 20 \u00a31.00 2")}, rows);
    EXPECT_EQ(rows[0].priceText, Pound + QStringLiteral("2.00"));
    EXPECT_EQ(rows[1].priceText, Pound + QStringLiteral("0.00"));
    // Pairs of single quotes become an inch mark; letter case is ignored.
    auto inches = Rows({"ADAPTER-1\"-x"});
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes")};
    ImportPriceText({QStringLiteral("adapter 1'' X \u00a34 1")}, inches);
    EXPECT_EQ(inches[0].priceText, Pound + QStringLiteral("4.00"));
}

TEST_F(ImportTest, UnknownPartsBadUnitsAndBadPrices)
{
    auto rows = Rows({"A", "B", "C"});
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes"), QStringLiteral("&Ok"), QStringLiteral("Con&tinue"),
                     QStringLiteral("Con&tinue")};
    ImportPriceText({QStringLiteral("Z 9 \u00a31"), QStringLiteral("A \u00a31 lots"),
                     QStringLiteral("B \u00a3x.y 2"), QStringLiteral("C \u00a35 0")},
                    rows);
    EXPECT_EQ(
        ui.questions.mid(2),
        QStringList({QStringLiteral("Ignored price entry for Z-9\r\n\nThis part is not in the "
                                    "parts database."),
                     QStringLiteral("A\r\nInvalid units per : lots\r\n\nCancel price load ?"),
                     QStringLiteral("B\r\nInvalid price : \u00a3x.y\r\n\nCancel price load ?")}));
    EXPECT_EQ(rows[0],
              (PriceRow{QStringLiteral("A"), Pound + QStringLiteral("0.00"), QStringLiteral("0")}));
    EXPECT_EQ(rows[1].unitsText, QStringLiteral("2"));
    EXPECT_EQ(rows[1].priceText, Pound + QStringLiteral("0.00"));
    // Units 0 are written and the price cell stays.
    EXPECT_EQ(rows[2],
              (PriceRow{QStringLiteral("C"), Pound + QStringLiteral("0.00"), QStringLiteral("0")}));
}

TEST_F(ImportTest, AbortAndCancelEndTheImport)
{
    auto rows = Rows({"A", "B"});
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes"), QStringLiteral("&Abort")};
    ImportPriceText({QStringLiteral("Z \u00a31"), QStringLiteral("A \u00a31")}, rows);
    EXPECT_EQ(rows[0].priceText, Pound + QStringLiteral("0.00"));

    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes"), QStringLiteral("&Cancel")};
    ImportPriceText({QStringLiteral("A \u00a31 x"), QStringLiteral("B \u00a31")}, rows);
    EXPECT_EQ(rows[0].unitsText, QStringLiteral("0"));
    EXPECT_EQ(rows[1].priceText, Pound + QStringLiteral("0.00"));
}

TEST_F(ImportTest, WithoutACurrencySymbolThePriceIsTheFirstAmountAfterThePart)
{
    // The C locale has no currency symbol: every line used to "contain" it.
    ScopedLocale plain(QStringLiteral("C"));
    auto rows = Rows({"90000-20", "90001", "HOSE-6.35", "90002"});
    for (PriceRow& row : rows)
        row.priceText = QStringLiteral("0.00");
    ui.confirmAnswers = {true};
    ui.askAnswers = {QStringLiteral("&Yes"), QStringLiteral("&Ok")};
    EXPECT_TRUE(
        ImportPriceText({QStringLiteral("90000 20 1.00 3"), QStringLiteral("90001 2.50"),
                         QStringLiteral("hose 6.35 4.00 2"),
                         QStringLiteral("90002 20 no price here"), QStringLiteral("99999 7.00 1")},
                        rows));
    EXPECT_EQ(rows[0],
              (PriceRow{QStringLiteral("90000-20"), QStringLiteral("3.00"), QStringLiteral("3")}));
    EXPECT_EQ(rows[1].priceText, QStringLiteral("2.50"));
    // A size that reads as an amount stays part of the part text when that names a part.
    EXPECT_EQ(rows[2],
              (PriceRow{QStringLiteral("HOSE-6.35"), QStringLiteral("8.00"), QStringLiteral("2")}));
    EXPECT_EQ(rows[3].priceText, QStringLiteral("0.00"));
    EXPECT_EQ(ui.questions.mid(2),
              QStringList{QStringLiteral("Ignored price entry for 99999\r\n\nThis part is not in "
                                         "the parts database.")});
}

TEST_F(PriceListTest, ImportFilesAreTextOfASaneSize)
{
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(pipeloop::testing::WriteBytes(path, bytes));
        return path;
    };
    // Windows-1252, UTF-8 and any line ends.
    EXPECT_EQ(ReadImportTextFile(write("cp.txt", "A \xa3"
                                                 "1.00 2\r\nB \xa3"
                                                 "2\rC")),
              (QStringList{QStringLiteral("A \u00a31.00 2"), QStringLiteral("B \u00a32"),
                           QStringLiteral("C")}));
    EXPECT_EQ(ReadImportTextFile(write("utf8.txt", "A \xc2\xa3"
                                                   "1.00\n")),
              (QStringList{QStringLiteral("A \u00a31.00"), QString()}));
    EXPECT_TRUE(ui.messages.empty());

    const QString binary = write("bin.txt", QByteArray("A \xa3"
                                                       "1\0\x01\x02",
                                                       7));
    const QString large = write("large.txt", QByteArray(MaxImportTextSize + 1, 'x'));
    for (const QString& path : {binary, large, dir.filePath(QStringLiteral("none.txt"))})
        EXPECT_FALSE(ReadImportTextFile(path).has_value());
    EXPECT_EQ(ui.texts(),
              QStringList({QStringLiteral("The file is not a text file : ") + binary,
                           QStringLiteral("The file is too large to import prices from : ") + large,
                           QStringLiteral("An error occurred while reading : ") +
                               dir.filePath(QStringLiteral("none.txt"))}));
}

TEST_F(PriceListTest, TheConfiguredListIsRecognisedByItsCanonicalPath)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString path = dir.filePath(QStringLiteral("prices.ppl"));
    const QString other = dir.filePath(QStringLiteral("other.ppl"));
    QFile::link(path, dir.filePath(QStringLiteral("link.ppl")));
    const QString roundabout = dir.filePath(QStringLiteral("sub/../prices.ppl"));
    std::vector<PriceRow> rows = PriceRowsOf(*db);
    rows[1].priceText = Pound + QStringLiteral("7.00");
    ASSERT_TRUE(WritePriceListFile(path, rows, QDate(2031, 1, 1)));
    ASSERT_TRUE(WritePriceListFile(other, rows, QDate(2031, 1, 1)));
    EXPECT_TRUE(SamePriceListFile(roundabout, path));
    EXPECT_TRUE(SamePriceListFile(dir.filePath(QStringLiteral("link.ppl")), path));
    EXPECT_FALSE(SamePriceListFile(other, path));
    EXPECT_FALSE(SamePriceListFile(QString(), path));

    // Saved again under another spelling: no question, the prices are read back.
    QString configured = roundabout;
    OfferPriceListForEveryUse(*db, configured, path, true);
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(configured, roundabout);
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 70000);
    // Loaded, it is not read again; another file is offered, and taken on Yes only.
    db = pipeloop::testing::TinyDatabase();
    OfferPriceListForEveryUse(*db, configured, path, false);
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 100000);
    ui.confirmAnswers = {false, true};
    OfferPriceListForEveryUse(*db, configured, other, true);
    EXPECT_EQ(configured, roundabout);
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 100000);
    OfferPriceListForEveryUse(*db, configured, other, true);
    EXPECT_EQ(configured, other);
    EXPECT_EQ(PriceOf(QStringLiteral("P25-B4")), 70000);
    EXPECT_EQ(ui.questions, QStringList(2, QStringLiteral("Use this price list file every time "
                                                          "PIPELOOP is used ?")));
}

TEST_F(PriceListTest, DateSerials)
{
    EXPECT_EQ(SerialFromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(SerialFromDate(QDate(2099, 12, 30)), 73049.0);
    EXPECT_EQ(*DateTimeFromSerial(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    EXPECT_FALSE(DateTimeFromSerial(1e300).has_value());
    EXPECT_FALSE(DateTimeFromSerial(std::nan("")).has_value());
}

} // namespace
