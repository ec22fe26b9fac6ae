#include "DxfWriter.h"

#include "AtomicSave.h"
#include "ErrorReport.h"
#include "PipeLoop.h"
#include "Version.h"

#include <QBuffer>
#include <QFile>

#include <cstdio>

namespace pipeloop
{

namespace
{

// Writes DXF groups, each as one write of its two CR LF lines, and throws on
// the first write the device does not take whole.
class GroupWriter
{
public:
    GroupWriter(QIODevice& device, QString target) : m_device(device), m_target(std::move(target))
    {
    }

    void text(int code, QByteArrayView value)
    {
        QByteArray group = QByteArray::number(code);
        group += "\r\n";
        group += value;
        group += "\r\n";
        put(group);
    }
    // Decimal, no blanks, no leading zeros, "-" only for negative values.
    void integer(int code, int64_t value) { text(code, QByteArray::number(qlonglong(value))); }

private:
    void put(const QByteArray& bytes)
    {
        if (m_device.write(bytes) != bytes.size())
            throw DxfWriteError(QStringLiteral("Problem writing to :\r\n%1\r\n%2")
                                    .arg(m_target, m_device.errorString()));
    }

    QIODevice& m_device;
    QString m_target;
};

// X = EW, Y = L - NS (north is +Y).
void point(GroupWriter& out, int xCode, int64_t l, int32_t ns, int32_t ew, int64_t z)
{
    out.integer(xCode, ew);
    out.integer(xCode + 10, l - ns);
    out.integer(xCode + 20, z);
}

void line(GroupWriter& out, QByteArrayView layer, int64_t l, int32_t ns1, int32_t ew1, int32_t ns2,
          int32_t ew2, int64_t z2)
{
    out.text(0, "LINE");
    out.text(8, layer);
    point(out, 10, l, ns1, ew1, 0);
    point(out, 11, l, ns2, ew2, z2);
}

void writeGroups(GroupWriter& out, const TPipeLoop& design)
{
    const int64_t w = design.RoomEW;
    const int64_t l = design.RoomNS;
    const int64_t h = design.RoomHG;

    // 1. The comment with the program's file version.
    out.text(999, (QStringLiteral("PIPELOOP ") + ProgramVersion()).toLatin1());

    // 2. The header.
    out.text(0, "SECTION");
    out.text(2, "HEADER");
    out.text(9, "$INSUNITS");
    out.integer(70, 4);
    out.text(9, "$EXTMIN");
    out.integer(10, 0);
    out.integer(20, 0);
    out.integer(30, 0);
    out.text(9, "$EXTMAX");
    out.integer(10, w);
    out.integer(20, l);
    out.integer(30, -h);
    out.text(0, "ENDSEC");

    // 3. The viewport table, directly after the header, with no TABLES
    // section around it.
    out.text(0, "TABLE");
    out.text(2, "VPORT");
    out.text(0, "VPORT");
    out.text(2, "*ACTIVE");
    char one[32];
    std::snprintf(one, sizeof one, "%10.6f", 1.0); // "  1.000000"
    out.text(41, QByteArrayView(one));
    out.text(0, "ENDTAB");

    // 4. The entities.
    out.text(0, "SECTION");
    out.text(2, "ENTITIES");
    const auto& corners = design.Elbows;
    for (size_t k = 1; k < corners.size(); ++k) {
        const TElbow& a = *corners[k - 1];
        const TElbow& b = *corners[k];
        line(out, "ELBOW_LAYER", l, a.NS, a.EW, b.NS, b.EW, 0);
    }
    for (const auto& spur : design.Spurs)
        line(out, "SPUR_LAYER", l, spur->NS, spur->EW, spur->NS2, spur->EW2, 0);
    for (const auto& drop : design.Drops)
        line(out, "DROP_LAYER", l, drop->NS, drop->EW, drop->NS, drop->EW, -int64_t(drop->PipeLen));
    out.text(0, "ENDSEC");

    // 5. End of file.
    out.text(0, "EOF");
}

} // namespace

void WriteDxf(QIODevice& device, const TPipeLoop& design)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    GroupWriter out(device, file ? file->fileName() : QString());
    writeGroups(out, design);
}

QByteArray DxfBytes(const TPipeLoop& design)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteDxf(buffer, design);
    return bytes;
}

namespace
{

void saveInPlace(const TPipeLoop& design, const QString& path)
{
    // Unbuffered: every group goes to the file system at once and its write
    // is verified there, not at a later flush.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw DxfWriteError(
            QStringLiteral("Cannot create file : %1\r\n%2").arg(path, file.errorString()));
    try {
        WriteDxf(file, design);
    } catch (...) {
        file.close(); // the partly written file stays
        throw;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw DxfWriteError(
            QStringLiteral("Problem writing to :\r\n%1\r\n%2").arg(path, file.errorString()));
}

void saveAtomic(const TPipeLoop& design, const QString& path)
{
    // The groups are written, each verified, into memory; the file then
    // takes all of them or none.
    if (const auto failure = SaveAtomically(path, DxfBytes(design)))
        throw DxfWriteError(*failure);
}

} // namespace

bool SaveDxf(const TPipeLoop& design, const QString& path, const DxfOptions& options)
{
    try {
        if (options.fileMode == DxfFileMode::Atomic)
            saveAtomic(design, path);
        else
            saveInPlace(design, path);
        return true;
    } catch (...) {
        ReportError();
        return false;
    }
}

} // namespace pipeloop
