#include "Cab.h"

#include "Cp1252.h"
#include "UiServices.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace pipeloop::catalogue
{

uint32_t Crc32(QByteArrayView bytes)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    qsizetype left = bytes.size();
    // zlib takes at most a uInt at a time.
    while (left > 0) {
        const auto chunk = static_cast<uInt>(std::min<qsizetype>(left, 1 << 30));
        crc = crc32(crc, data, chunk);
        data += chunk;
        left -= chunk;
    }
    return static_cast<uint32_t>(crc);
}

namespace
{

constexpr qsizetype SignatureSize = 8;
constexpr qsizetype ReservedSize = 8;
constexpr qsizetype HeaderSize = SignatureSize + ReservedSize + 4;
constexpr qsizetype CrcSize = 4;

uint32_t ReadU32(const char* at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

uint16_t ReadU16(const char* at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

void AppendU32(QByteArray& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void AppendU16(QByteArray& out, uint16_t value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Reads the tables after a valid signature and CRC without ever reading past
// the end of the file's bytes before the CRC. False when a count or a size
// runs past it.
bool ReadTables(const QByteArray& file, QStringList& names, std::vector<QByteArray>& data,
                QByteArray& reserved)
{
    const qsizetype end = file.size() - CrcSize;
    if (end < HeaderSize)
        return false;
    const char* bytes = file.constData();
    reserved = file.mid(SignatureSize, ReservedSize);
    const uint32_t count = ReadU32(bytes + SignatureSize + ReservedSize);
    qsizetype at = HeaderSize;
    // Every entry needs at least 2 + 4 bytes: a count that cannot fit is refused
    // before anything is allocated for it.
    if (static_cast<uint64_t>(count) * 6 > static_cast<uint64_t>(end - at))
        return false;
    names.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (end - at < 2)
            return false;
        const uint16_t length = ReadU16(bytes + at);
        at += 2;
        if (end - at < length)
            return false;
        names.append(DecodeCp1252(QByteArrayView(bytes + at, length)));
        at += length;
    }
    data.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (end - at < 4)
            return false;
        const uint32_t size = ReadU32(bytes + at);
        at += 4;
        if (static_cast<uint64_t>(end - at) < size)
            return false;
        data.emplace_back(bytes + at, static_cast<qsizetype>(size));
        at += static_cast<qsizetype>(size);
    }
    return true;
}

} // namespace

void TCAB::Clear()
{
    m_names.clear();
    m_data.clear();
    m_storedCrc = 0;
    m_reserved.clear();
    m_valid = false;
}

void TCAB::Load(const QString& path)
{
    Clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CabReadError(
            QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()).toStdString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CabReadError(
            QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
    LoadBytes(bytes, path);
}

void TCAB::LoadBytes(const QByteArray& file, const QString& path)
{
    Clear();
    if (file.size() < SignatureSize ||
        QByteArrayView(file.constData(), SignatureSize) != QByteArrayView(CabSignature)) {
        Ui().warn(QStringLiteral("Invalid CAB file header : ") + path);
        return;
    }
    // The last four bytes are the CRC of all before them (in a file shorter than
    // a header they overlap the signature, and the tables check below refuses it).
    const qsizetype crcAt = file.size() - CrcSize;
    const uint32_t computed = Crc32(QByteArrayView(file.constData(), crcAt));
    const uint32_t stored = ReadU32(file.constData() + crcAt);
    if (stored != computed) {
        Ui().warn(QStringLiteral("Invalid CAB file CRC : ") + path);
        return;
    }
    QStringList names;
    std::vector<QByteArray> data;
    QByteArray reserved;
    if (!ReadTables(file, names, data, reserved)) {
        Ui().warn(
            QStringLiteral("Invalid CAB file, its entry table runs past the end of the file : ") +
            path);
        return;
    }
    m_storedCrc = stored;
    m_reserved = reserved;
    m_names = std::move(names);
    m_data = std::move(data);
    m_valid = true;
}

const QByteArray* TCAB::Entry(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return &m_data[static_cast<size_t>(index)];
}

int TCAB::IndexOf(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QByteArray BuildCab(const std::vector<CabEntry>& entries, QByteArrayView reserved)
{
    if (entries.size() > std::numeric_limits<uint32_t>::max())
        throw std::invalid_argument("too many container entries");
    QByteArray out;
    qsizetype total = HeaderSize + CrcSize;
    for (const CabEntry& entry : entries)
        total += 6 + entry.name.size() + entry.data.size();
    out.reserve(total);
    out.append(CabSignature, SignatureSize);
    QByteArray header(ReservedSize, '\0');
    std::copy_n(reserved.data(), std::min<qsizetype>(reserved.size(), ReservedSize), header.data());
    out.append(header);
    AppendU32(out, static_cast<uint32_t>(entries.size()));
    for (const CabEntry& entry : entries) {
        const QByteArray name = EncodeCp1252(entry.name);
        if (name.size() > std::numeric_limits<uint16_t>::max())
            throw std::invalid_argument("container entry name longer than 65535 bytes");
        AppendU16(out, static_cast<uint16_t>(name.size()));
        out.append(name);
    }
    for (const CabEntry& entry : entries) {
        if (static_cast<uint64_t>(entry.data.size()) > std::numeric_limits<uint32_t>::max())
            throw std::invalid_argument("container entry larger than 4 GiB");
        AppendU32(out, static_cast<uint32_t>(entry.data.size()));
        out.append(entry.data);
    }
    AppendU32(out, Crc32(out));
    return out;
}

} // namespace pipeloop::catalogue
