#include "CatalogueFolder.h"

#include "AtomicSave.h"
#include "Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace pipeloop::catalogue
{

namespace
{

bool ReadWhole(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// The longest file name the usual file systems take, in bytes.
constexpr qsizetype MaxFileNameBytes = 255;

// A name that a container can hold (its names are Windows-1252) and that
// makes a plain file of that name in a folder, nowhere else.
bool SafeEntryName(const QString& name)
{
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") ||
        QFile::encodeName(name).size() > MaxFileNameBytes ||
        DecodeCp1252(EncodeCp1252(name)) != name)
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control;
    });
}

// A name as a message can show it: control characters as \xNN, cut short.
QString PrintableName(const QString& name)
{
    constexpr qsizetype Shown = 80;
    QString text;
    for (QChar c : name.first(std::min(name.size(), Shown)))
        text += c.category() == QChar::Other_Control
                    ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'))
                    : QString(c);
    return name.size() > Shown ? text + QStringLiteral("...") : text;
}

std::filesystem::path FileSystemPath(const QString& path)
{
    return QFileInfo(path).filesystemFilePath();
}

// Nothing there yet, or a plain file that may be replaced; never a link,
// whose target could lie anywhere.
bool AbsentOrPlainFile(const QString& path)
{
    std::error_code failure;
    const auto type = std::filesystem::symlink_status(FileSystemPath(path), failure).type();
    return type == std::filesystem::file_type::not_found ||
           type == std::filesystem::file_type::regular;
}

// Creates the file, which must not exist (a link in its place is not
// followed), and writes every byte to it.
std::optional<QString> WriteNewFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return std::nullopt;
}

} // namespace

FolderEntries ReadCatalogueFolder(const QString& folder)
{
    FolderEntries result;
    const QDir dir(folder);
    if (!dir.exists()) {
        result.error = QStringLiteral("Catalogue folder not found : ") + folder;
        return result;
    }
    QString catalogue;
    QString logo;
    QStringList pictures;
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : files) {
        const QString upper = name.toUpper();
        if (upper == QStringLiteral("PARTS.PLDBI"))
            catalogue = name;
        else if (upper == QStringLiteral("LOGO.JPG"))
            logo = name;
        else if (upper.endsWith(QStringLiteral(".JPG")))
            pictures.append(name);
        else
            result.skipped.append(name);
    }
    if (catalogue.isEmpty()) {
        result.error = QStringLiteral("PARTS.PLDBI not found in : ") + folder;
        return result;
    }
    std::sort(pictures.begin(), pictures.end(), [](const QString& a, const QString& b) {
        const QByteArray ua = a.toUpper().toUtf8();
        const QByteArray ub = b.toUpper().toUtf8();
        return ua != ub ? ua < ub : a.toUtf8() < b.toUtf8();
    });
    QStringList ordered{catalogue};
    if (!logo.isEmpty())
        ordered.append(logo);
    ordered += pictures;
    for (const QString& name : ordered) {
        if (!SafeEntryName(name)) {
            result.error = QStringLiteral("File name not allowed in a parts container : ") +
                           PrintableName(name);
            return result;
        }
        QByteArray bytes;
        if (!ReadWhole(dir.filePath(name), bytes, result.error))
            return result;
        result.entries.push_back({name, bytes});
    }
    return result;
}

UnpackResult UnpackCatalogue(const TCAB& cab, const QString& folder)
{
    UnpackResult result;
    const QStringList& names = cab.Names();
    std::vector<int> entries; // the first of each name
    QSet<QString> seen;
    for (int i = 0; i < cab.Count(); ++i) {
        if (!SafeEntryName(names.at(i))) {
            result.error = QStringLiteral("Entry name not allowed, nothing unpacked : ") +
                           PrintableName(names.at(i));
            return result;
        }
        const QString folded = names.at(i).toUpper();
        if (seen.contains(folded)) {
            result.skipped.append(names.at(i));
            continue;
        }
        seen.insert(folded);
        entries.push_back(i);
    }
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("Cannot create folder ") + folder;
        return result;
    }
    const QDir dir(folder);
    for (int i : entries) {
        if (!AbsentOrPlainFile(dir.filePath(names.at(i)))) {
            result.error =
                QStringLiteral("Not a plain file, nothing unpacked : ") + dir.filePath(names.at(i));
            return result;
        }
    }
    // Removed with whatever it still holds when this returns.
    const QTemporaryDir staging(dir.filePath(QStringLiteral(".unpack-XXXXXX")));
    if (!staging.isValid()) {
        result.error = ProblemWritingMessage(folder, staging.errorString());
        return result;
    }
    for (int i : entries) {
        if (const auto reason = WriteNewFile(staging.filePath(names.at(i)), *cab.Entry(i))) {
            result.error = ProblemWritingMessage(dir.filePath(names.at(i)), *reason);
            return result;
        }
    }
    // A rename replaces a file, or a link put there meanwhile, without
    // following it.
    for (int i : entries) {
        std::error_code failure;
        std::filesystem::rename(FileSystemPath(staging.filePath(names.at(i))),
                                FileSystemPath(dir.filePath(names.at(i))), failure);
        if (failure) {
            result.error = ProblemWritingMessage(dir.filePath(names.at(i)),
                                                 QString::fromLocal8Bit(failure.message()));
            return result;
        }
        result.written.append(names.at(i));
    }
    return result;
}

} // namespace pipeloop::catalogue
