#include "UserParts.h"

#include "AtomicSave.h"
#include "Cp1252.h"
#include "ErrorReport.h"
#include "UiServices.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace pipeloop::catalogue
{

std::vector<AssignedItem> SplitAssignedText(const QString& text)
{
    std::vector<AssignedItem> items;
    const QStringList pieces = text.split(u'+', Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        const qsizetype colon = piece.indexOf(u':');
        if (colon < 0)
            items.push_back({QString(), piece});
        else
            items.push_back({piece.left(colon), piece.mid(colon + 1)});
    }
    return items;
}

QString JoinAssignedText(const std::vector<AssignedItem>& items)
{
    QStringList pieces;
    for (const AssignedItem& item : items)
        pieces.append(item.maker + u':' + item.partNumber);
    return pieces.join(u'+');
}

void UserPartsDatabase::Append(const QString& key, const QString& description)
{
    m_keys.append(key);
    m_descriptions.append(description);
    const qsizetype colon = key.indexOf(u':');
    if (colon >= 0) {
        const QString maker = key.left(colon);
        if (!m_makers.contains(maker))
            m_makers.append(maker);
    }
}

void UserPartsDatabase::ReadBytes(const QByteArray& bytes)
{
    const QString text = DecodeCp1252(bytes);
    // Lines end at CR LF, LF or CR; empty lines hold no entry.
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        const QString line = text.mid(start, end - start);
        if (!line.isEmpty()) {
            const qsizetype space = line.indexOf(u' ');
            if (space < 0)
                Append(line, QString());
            else
                Append(line.left(space), line.mid(space + 1));
        }
        if (end < size && text.at(end) == u'\r' && end + 1 < size && text.at(end + 1) == u'\n')
            ++end;
        start = end + 1;
    }
}

bool UserPartsDatabase::ReadFile(const QString& path)
{
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error(
                QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()).toStdString());
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw std::runtime_error(
                QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()).toStdString());
        ReadBytes(bytes);
        return true;
    } catch (...) {
        ReportError();
        return false;
    }
}

void UserPartsDatabase::Load(const QString& programFolder, const QString& userFile)
{
    const QString defaults = QDir(programFolder).filePath(DefaultFileName());
    if (QFile::exists(defaults))
        ReadFile(defaults);
    MarkDefaults();
    m_userFile = userFile;
    if (!userFile.isEmpty() && QFile::exists(userFile))
        ReadFile(userFile);
}

QByteArray UserPartsDatabase::UserEntriesBytes() const
{
    QString text;
    for (int i = m_defaultCount; i < Count(); ++i)
        text += m_keys.at(i) + u' ' + m_descriptions.at(i) + QStringLiteral("\r\n");
    return EncodeCp1252(text);
}

bool UserPartsDatabase::SaveUserEntries(const QString& path)
{
    const QByteArray bytes = UserEntriesBytes();
    if (const auto failure = WriteAtomically(path, bytes)) {
        Ui().error(ProblemWritingMessage(path, failure->reason));
        return false;
    }
    m_userFile = path;
    m_unsaved = false;
    return true;
}

bool UserPartsDatabase::OpenUserFile(const QString& path)
{
    m_userFile = path;
    return ReadFile(path);
}

int UserPartsDatabase::IndexOfKey(const QString& key) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_keys.at(i).compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString UserPartsDatabase::DescriptionOf(const QString& key) const
{
    const qsizetype index = m_keys.indexOf(key);
    return index < 0 ? QString() : m_descriptions.at(index);
}

QStringList UserPartsDatabase::PartNumbersOf(const QString& maker) const
{
    QStringList numbers;
    const QString prefix = maker + u':';
    for (const QString& key : m_keys)
        if (key.startsWith(prefix))
            numbers.append(key.mid(prefix.size()));
    return numbers;
}

bool UserPartsDatabase::AddPart(const QString& maker, const QString& partNumber,
                                const QString& description)
{
    const QString key = maker + u':' + partNumber.toUpper();
    if (IndexOfKey(key) >= 0) {
        Ui().inform(QStringLiteral("Part already in database."));
        return false;
    }
    Append(key, description);
    m_unsaved = true;
    return true;
}

bool UserPartsDatabase::AddPartAndMaker(const QString& newMaker, const QString& partNumber,
                                        const QString& description)
{
    if (newMaker.isEmpty() || newMaker == QStringLiteral("Enter New Manufacturer")) {
        Ui().inform(QStringLiteral("Invalid manufacturer."));
        return false;
    }
    return AddPart(newMaker.toUpper(), partNumber, description);
}

} // namespace pipeloop::catalogue
