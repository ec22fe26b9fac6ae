#include "CatalogueTestSupport.h"

#include "CatalogueFolder.h"
#include "Cp1252.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>

namespace pipeloop::testing
{

using namespace pipeloop::catalogue;

QString CatalogueTestData(const QString& relative)
{
    return QStringLiteral(PIPELOOP_TEST_DATA "/catalogue/") + relative;
}

QString DemoContainerPath()
{
    return QStringLiteral(PIPELOOP_DEMO_CONTAINER);
}

QString DemoSourcePath(const QString& relative)
{
    return QStringLiteral(PIPELOOP_SOURCE_DIR "/data/catalogue/") + relative;
}

LocaleFacts PoundFacts()
{
    LocaleFacts facts;
    facts.decimalSeparator = u'.';
    facts.currencySymbol = QStringLiteral("\u00a3");
    facts.currencyDecimals = 2;
    return facts;
}

QByteArray Cp1252(const QString& text)
{
    return EncodeCp1252(text);
}

std::unique_ptr<TPartsDatabase> DatabaseFromText(const QString& text)
{
    auto database = std::make_unique<TPartsDatabase>();
    database->LoadCatalogueText(Cp1252(text));
    return database;
}

std::unique_ptr<TPartsDatabase> TinyDatabase()
{
    const FolderEntries folder = ReadCatalogueFolder(CatalogueTestData(QStringLiteral("tiny")));
    auto database = std::make_unique<TPartsDatabase>();
    database->LoadContainerBytes(BuildCab(folder.entries), QStringLiteral("tiny.pldbcab"));
    return database;
}

QByteArray SolidJpeg(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

} // namespace pipeloop::testing
