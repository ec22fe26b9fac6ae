#include "CatalogueCommands.h"

#include "Cab.h"
#include "CatalogueFolder.h"
#include "Money.h"
#include "PartsDatabase.h"
#include "ProgramData.h"
#include "UiServices.h"
#include "Units.h"

#include <cstdio>

namespace pipeloop::cli
{

using namespace pipeloop::catalogue;

namespace
{

void PrintError(const QString& text)
{
    std::fprintf(stderr, "error: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString Hex(uint32_t value)
{
    return QStringLiteral("0x%1").arg(value, 8, 16, QChar(u'0'));
}

// Passes every message on and counts the warnings and errors among them.
class CountingUi : public UiServices
{
public:
    explicit CountingUi(UiServices& inner) : m_inner(inner), m_scope(*this) {}
    void show(Kind kind, const QString& text, const QString& helpTopic = {}) override
    {
        if (kind != Kind::Information)
            ++problems;
        m_inner.show(kind, text, helpTopic);
    }
    bool confirm(const QString& text, const QString& helpTopic = {}) override
    {
        return m_inner.confirm(text, helpTopic);
    }
    QString ask(Kind kind, const QString& text, const QStringList& buttons,
                const QString& helpTopic = {}) override
    {
        if (kind != Kind::Information)
            ++problems;
        return m_inner.ask(kind, text, buttons, helpTopic);
    }
    int problems = 0;

private:
    UiServices& m_inner;
    ScopedUiServices m_scope;
};

QString PartLine(const TPartObject& part)
{
    const QStringList fields = {
        part.PartKey(),
        PartClassName(part.partClass()),
        part.PartNumber(),
        SizeText(part.Size1()),
        SizeText(part.Size2()),
        QString::number(part.Length()),
        AttributeWords(part.Attributes()),
        EndWords(part.End1()),
        EndWords(part.End2()),
        QString::number(part.Angle()),
        QString::number(part.Ports()),
        FormatMoney(part.Price(), false),
        QString::number(part.UnitsPerPackage()),
        part.Maker(),
        part.Image(),
        QString::number(part.CataloguePage()),
        part.CatalogueCode(),
        part.EndOfLine() ? QStringLiteral("1") : QStringLiteral("0"),
        part.Description(),
    };
    return fields.join(u'\t');
}

QString PackageLine(const TPackage& package)
{
    const QStringList fields = {
        package.Name(),
        SizeText(package.ConnectionSize()),
        QString::number(package.Length()),
        package.NeedsHoseSize() ? SizeText(package.HoseSize()) : QString(),
        package.Parts().join(u' '),
        package.Symbols().join(u' '),
        package.Image(),
        package.Description(),
    };
    return fields.join(u'\t');
}

} // namespace

QString CataloguePathOf(const Invocation& invocation)
{
    const QString given = invocation.option(QStringLiteral("--catalogue"));
    if (!given.isEmpty())
        return given;
    return ProgramDataFile(ProgramCatalogueName());
}

QString PackCatalogueCommand::summary() const
{
    return QStringLiteral(
        "packs a catalogue folder into a parts container: PARTS.PLDBI first, then LOGO.JPG, then\n"
        "every other *.JPG by name; other files are left out");
}

int PackCatalogueCommand::run(const Invocation& invocation)
{
    const QString folder = invocation.argument(0, QStringLiteral("DIR"));
    invocation.expectArguments(1);
    const QString out = invocation.option(QStringLiteral("--out"));
    if (out.isEmpty())
        throw UsageError{QStringLiteral("missing --out FILE.pldbcab")};
    const FolderEntries folderEntries = ReadCatalogueFolder(folder);
    if (!folderEntries.ok()) {
        PrintError(folderEntries.error);
        return ExitStopped;
    }
    for (const QString& skipped : folderEntries.skipped)
        Ui().inform(QStringLiteral("not packed (not a catalogue entry): ") + skipped);
    QByteArray bytes;
    try {
        bytes = BuildCab(folderEntries.entries);
    } catch (const std::exception& bad) {
        PrintError(QString::fromLocal8Bit(bad.what()));
        return ExitStopped;
    }
    if (!invocation.writeResult(bytes))
        return ExitStopped;
    const QString summary = QStringLiteral("%1: %2 entries, %3 bytes, CRC %4\n")
                                .arg(out)
                                .arg(folderEntries.entries.size())
                                .arg(bytes.size())
                                .arg(Hex(Crc32(QByteArrayView(bytes).first(bytes.size() - 4))));
    return WriteStandardOutput(summary.toLocal8Bit()) ? ExitOk : ExitStopped;
}

QString UnpackCatalogueCommand::summary() const
{
    return QStringLiteral("writes every entry of a parts container into a folder");
}

int UnpackCatalogueCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const QString out = invocation.option(QStringLiteral("--out"));
    if (out.isEmpty())
        throw UsageError{QStringLiteral("missing --out DIR")};
    TCAB cab;
    try {
        cab.Load(path);
    } catch (const CabReadError& failure) {
        PrintError(QString::fromLocal8Bit(failure.what()));
        return ExitStopped;
    }
    if (!cab.Valid())
        return ExitStopped;
    const UnpackResult result = UnpackCatalogue(cab, out);
    for (const QString& name : result.skipped)
        Ui().warn(QStringLiteral("entry not written (repeated name): ") + name);
    if (!result.ok()) {
        PrintError(result.error);
        return ExitStopped;
    }
    QString names;
    for (const QString& name : result.written)
        names += name + u'\n';
    return WriteStandardOutput(names.toLocal8Bit()) ? ExitOk : ExitStopped;
}

QString CatalogueCommand::summary() const
{
    return QStringLiteral(
        "validates a parts container and lists it (--parts: one tab-separated line per part,\n"
        "--packages: one per package); exit 1 when loading showed any warning or error");
}

int CatalogueCommand::run(const Invocation& invocation)
{
    const QString path =
        invocation.arguments.isEmpty() ? CataloguePathOf(invocation) : invocation.arguments.front();
    invocation.expectArguments(1);
    TPartsDatabase database;
    int problems = 0;
    {
        CountingUi counting(Ui());
        database.LoadContainer(path);
        problems = counting.problems;
    }
    // A container that was refused has nothing to list: the message said why.
    if (!database.Loaded())
        return ExitStopped;
    const TCAB& cab = database.Container();
    QStringList lines;
    lines << QStringLiteral("container\t%1").arg(path)
          << QStringLiteral("entries\t%1").arg(cab.Count())
          << QStringLiteral("crc\t%1").arg(Hex(cab.StoredCrc()));
    for (int i = 0; i < cab.Count(); ++i)
        lines << QStringLiteral("entry\t%1\t%2").arg(cab.Names().at(i)).arg(cab.Entry(i)->size());
    lines << QStringLiteral("supplier\t%1").arg(database.Supplier())
          << QStringLiteral("maker\t%1").arg(database.Maker())
          << QStringLiteral("description\t%1").arg(database.Description())
          << QStringLiteral("order address\t%1").arg(database.OrderAddress())
          << QStringLiteral("expires\t%1").arg(database.ExpiryDate().date().toString(Qt::ISODate))
          << QStringLiteral("parts\t%1").arg(database.PartCount())
          << QStringLiteral("packages\t%1").arg(database.PackageCount());
    if (invocation.has(QStringLiteral("--parts"))) {
        lines << QStringLiteral("PART\tCLASS\tAPN\tOD1\tOD2\tLEN\tATR\tAT1\tAT2\tANG\tNPO\tPRC\tUPP"
                                "\tMAK\tIMG\tCPN\tCOD\tEOL\tDSC");
        for (int i = 0; i < database.PartCount(); ++i)
            lines << PartLine(*database.Part(i));
    }
    if (invocation.has(QStringLiteral("--packages"))) {
        lines << QStringLiteral("PACKAGE\tCON\tLEN\tHOS\tPTS\tSYM\tIMG\tDSC");
        for (int i = 0; i < database.PackageCount(); ++i)
            lines << PackageLine(*database.Package(i));
    }
    if (!invocation.writeResult((lines.join(u'\n') + u'\n').toUtf8()))
        return ExitStopped;
    return problems > 0 || database.HasErrors() ? ExitCheckFailed : ExitOk;
}

} // namespace pipeloop::cli
