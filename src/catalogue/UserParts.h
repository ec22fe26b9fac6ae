#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pipeloop::catalogue
{

// One item of an assigned-parts text: maker and part number.
struct AssignedItem {
    QString maker;
    QString partNumber;

    bool operator==(const AssignedItem&) const = default;
};

// Splits an assigned-parts text at "+"; empty items are dropped. An item
// without ":" has an empty maker and is the part number whole.
std::vector<AssignedItem> SplitAssignedText(const QString& text);
// maker + ":" + part number of each item, joined with "+".
QString JoinAssignedText(const std::vector<AssignedItem>& items);

// Why a maker and part number cannot make a user part key, or empty when
// they can. A blank or line break would split the file's line, a "+" or ":"
// the assigned-parts text; an empty maker or number leaves half a key.
QString UserPartKeyProblem(const QString& maker, const QString& partNumber);

// The user parts database: keys "MAKER:NUMBER" with descriptions,
// the entries of "default.updb" first; only the entries after those are ever
// written to the user's own file.
class UserPartsDatabase
{
public:
    static QString DefaultFileName() { return QStringLiteral("default.updb"); }

    // Reads "default.updb" (if it exists) as the default entries; then the
    // user's file, when set and present. A reading error goes to the common
    // error report.
    void Load(const QString& programFolder, const QString& userFile);
    bool Loaded() const { return m_loaded; }
    // Appends the entries of a .updb file; false (after the error report) when
    // the file exists but cannot be read.
    bool ReadFile(const QString& path);
    // Appends the entries of .updb text (Windows-1252, any line ends).
    void ReadBytes(const QByteArray& bytes);
    // Marks every entry read so far as a default entry.
    void MarkDefaults() { m_defaultCount = Count(); }

    // The user's entries (after the defaults) as .updb text: key + " " +
    // description, CR LF after each line.
    QByteArray UserEntriesBytes() const;
    // Writes the user's entries to the file (completely or not at all), makes
    // it the user's file and clears the unsaved flag. A write failure is shown.
    bool SaveUserEntries(const QString& path);
    // Opens another file: its entries replace the user's entries (the
    // defaults stay) and it becomes the user's file. With unsaved additions
    // the user is asked first; No, or a file that cannot be read, leaves
    // everything as it was.
    bool OpenUserFile(const QString& path);
    // At exit, with unsaved additions: asks whether to save them; on Yes they
    // go to the user's file, or with none set to the file chooseFile names
    // (empty: cancelled, and the user is told they were not saved).
    void SaveAtExit(const std::function<QString()>& chooseFile);

    // "Add New Part": maker + ":" + the number in capitals. Refuses a key the
    // file or an assigned-parts text could not hold (UserPartKeyProblem) and
    // one already there ("Part already in database."), answering false.
    bool AddPart(const QString& maker, const QString& partNumber, const QString& description);
    // "Add New Part && Manufacturer": the maker must be neither empty nor the
    // prompt text ("Invalid manufacturer."); it is taken in capitals.
    bool AddPartAndMaker(const QString& newMaker, const QString& partNumber,
                         const QString& description);

    int Count() const { return static_cast<int>(m_keys.size()); }
    int DefaultCount() const { return m_defaultCount; }
    const QStringList& Keys() const { return m_keys; }
    const QStringList& Descriptions() const { return m_descriptions; }
    const QStringList& Makers() const { return m_makers; }
    const QString& UserFile() const { return m_userFile; }
    void SetUserFile(const QString& path) { m_userFile = path; }
    bool HasUnsavedAdditions() const { return m_unsaved; }

    int IndexOfKey(const QString& key) const;
    // The description of the entry whose key equals key (empty when none).
    QString DescriptionOf(const QString& key) const;
    // The part numbers of a maker's keys, in entry order.
    QStringList PartNumbersOf(const QString& maker) const;

private:
    void Append(const QString& key, const QString& description);
    // The maker list again from the keys, after entries were taken away.
    void RebuildMakers();

    QStringList m_keys;
    QStringList m_descriptions;
    QStringList m_makers;
    int m_defaultCount = 0;
    QString m_userFile;
    bool m_unsaved = false;
    bool m_loaded = false;
};

} // namespace pipeloop::catalogue
