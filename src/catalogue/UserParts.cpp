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
    m_loaded = true;
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
    if (m_unsaved && !Ui().confirm(QStringLiteral("You have added your own part numbers.\r\n"
                                                  "Open another file without saving them ?")))
        return false;
    // Read aside first: a file that cannot be read leaves the entries alone.
    UserPartsDatabase opened;
    if (!opened.ReadFile(path))
        return false;
    m_keys = m_keys.mid(0, m_defaultCount);
    m_descriptions = m_descriptions.mid(0, m_defaultCount);
    RebuildMakers();
    for (int i = 0; i < opened.Count(); ++i)
        Append(opened.m_keys.at(i), opened.m_descriptions.at(i));
    m_userFile = path;
    m_unsaved = false;
    return true;
}

void UserPartsDatabase::SaveAtExit(const std::function<QString()>& chooseFile)
{
    if (!m_unsaved || !Ui().confirm(QStringLiteral("You have added your own part numbers.\r\n"
                                                   "Do you want to save them for use again ?")))
        return;
    const QString path = m_userFile.isEmpty() ? chooseFile() : m_userFile;
    if (path.isEmpty()) {
        Ui().inform(QStringLiteral("Your part numbers were not saved."));
        return;
    }
    SaveUserEntries(path);
}

void UserPartsDatabase::RebuildMakers()
{
    const QStringList keys = m_keys;
    const QStringList descriptions = m_descriptions;
    m_keys.clear();
    m_descriptions.clear();
    m_makers.clear();
    for (int i = 0; i < keys.size(); ++i)
        Append(keys.at(i), descriptions.at(i));
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

QString UserPartKeyProblem(const QString& maker, const QString& partNumber)
{
    if (maker.isEmpty())
        return QStringLiteral("Select a manufacturer.");
    if (partNumber.isEmpty())
        return QStringLiteral("Enter a part number.");
    struct Forbidden {
        QChar character;
        const char* name;
    };
    static const Forbidden forbidden[] = {{u' ', "a blank"},       {u'+', "\"+\""},
                                          {u':', "\":\""},         {u'\r', "a line break"},
                                          {u'\n', "a line break"}, {u'\t', "a tab"}};
    const std::pair<QString, const QString&> fields[] = {
        {QStringLiteral("manufacturer"), maker}, {QStringLiteral("part number"), partNumber}};
    for (const auto& [field, text] : fields)
        for (const Forbidden& bad : forbidden)
            if (text.contains(bad.character))
                return QStringLiteral("The %1 cannot contain %2.")
                    .arg(field, QString::fromLatin1(bad.name));
    return QString();
}

bool UserPartsDatabase::AddPart(const QString& maker, const QString& partNumber,
                                const QString& description)
{
    if (const QString problem = UserPartKeyProblem(maker, partNumber); !problem.isEmpty()) {
        Ui().inform(problem);
        return false;
    }
    const QString key = maker + u':' + partNumber.toUpper();
    if (IndexOfKey(key) >= 0) {
        Ui().inform(QStringLiteral("Part already in database."));
        return false;
    }
    // A description runs to the end of its line in the file.
    Append(key, QString(description).replace(u'\r', u' ').replace(u'\n', u' '));
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
