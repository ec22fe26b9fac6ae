#pragma once

#include "Cab.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PriceListFile.h"
#include "ScriptedUi.h"
#include "TestFiles.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace pipeloop::testing
{

// Paths of the catalogue test data and of the demo container the build packs.
QString CatalogueTestData(const QString& relative);
QString DemoContainerPath();
QString DemoSourcePath(const QString& relative);

// The locale every catalogue test runs under unless it says otherwise: full
// stop, pound sign, two decimals.
LocaleFacts PoundFacts();

// Text written as a catalogue or price list is: Windows-1252.
QByteArray Cp1252(const QString& text);

// A database loaded from catalogue text (no container).
std::unique_ptr<catalogue::TPartsDatabase> DatabaseFromText(const QString& text);
// The tiny hand-written test catalogue, loaded from a container packed in memory.
std::unique_ptr<catalogue::TPartsDatabase> TinyDatabase();
// A small JPEG of one colour.
QByteArray SolidJpeg(int width, int height, const QColor& colour);

// A test on the tiny catalogue under the pound locale, its messages recorded;
// the catalogue's own deliberate package errors are cleared before each test.
class TinyCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = TinyDatabase();
        ui.messages.clear();
    }

    ScopedLocale locale{PoundFacts()};
    ScriptedUi ui;
    std::unique_ptr<catalogue::TPartsDatabase> db;
};

} // namespace pipeloop::testing

// Readable failure messages for Qt text in GoogleTest.
#include <ostream>
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (const QString& text : list)
        *out << " \"" << text.toStdString() << '"';
    *out << " }";
}
namespace pipeloop::catalogue
{
inline void PrintTo(const PriceRow& row, std::ostream* out)
{
    *out << '{' << row.partKey.toStdString() << ", " << row.priceText.toStdString() << ", "
         << row.unitsText.toStdString() << '}';
}
} // namespace pipeloop::catalogue
