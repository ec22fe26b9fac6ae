#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pipeloop::catalogue
{

// The signature at offset 0 of a container.
inline constexpr char CabSignature[] = "ZELKCAB1";

// CRC-32 of ISO 3309 / ITU-T V.42 (zlib's crc32): 0xCBF43926 for "123456789".
uint32_t Crc32(QByteArrayView bytes);

// An operating-system failure while reading a container (file vanished, no
// access). TCAB::Load lets it reach its caller.
class CabReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The checksummed container: the catalogue text and the pictures,
// held in memory whole. The program only reads containers.
class TCAB
{
public:
    TCAB() = default;

    // Reads and validates the file. A bad container shows a warning and stays
    // empty; only an operating-system error is thrown (CabReadError).
    void Load(const QString& path);
    // The same from bytes already in memory; `path` names the file in messages.
    void LoadBytes(const QByteArray& file, const QString& path);
    void Clear();

    // Whether the last load passed every check (an empty container can be valid).
    bool Valid() const { return m_valid; }
    int Count() const { return static_cast<int>(m_names.size()); }
    // The data of entry `index`, or nullptr when index < 0 or index >= Count().
    const QByteArray* Entry(int index) const;
    // Entry names in file order; IndexOf matches case-insensitively, first wins.
    const QStringList& Names() const { return m_names; }
    int IndexOf(const QString& name) const;

    uint32_t StoredCrc() const { return m_storedCrc; }
    const QByteArray& Reserved() const { return m_reserved; }

private:
    QStringList m_names;
    std::vector<QByteArray> m_data;
    uint32_t m_storedCrc = 0;
    QByteArray m_reserved;
    bool m_valid = false;
};

// One entry of a container to write: its name and its bytes.
struct CabEntry {
    QString name;
    QByteArray data;
};

// The bytes of a container holding the entries in the given order, laid out
// exactly as the rules describe (names are written as Windows-1252). Fails with
// std::invalid_argument when a name is longer than 65535 bytes or the data
// do not fit the 32-bit sizes.
QByteArray BuildCab(const std::vector<CabEntry>& entries, QByteArrayView reserved = {});

} // namespace pipeloop::catalogue
