#include "CatalogueFolder.h"

#include "AtomicSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

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

bool SafeEntryName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':') &&
           !name.contains(QChar(0));
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
    if (!QDir().mkpath(folder)) {
        result.error = QStringLiteral("Cannot create folder ") + folder;
        return result;
    }
    const QDir dir(folder);
    QSet<QString> seen;
    for (int i = 0; i < cab.Count(); ++i) {
        const QString& name = cab.Names().at(i);
        const QString folded = name.toUpper();
        if (!SafeEntryName(name) || seen.contains(folded)) {
            result.skipped.append(name);
            continue;
        }
        seen.insert(folded);
        const QByteArray& bytes = *cab.Entry(i);
        if (auto failure = SaveAtomically(dir.filePath(name), bytes)) {
            result.error = std::move(*failure);
            return result;
        }
        result.written.append(name);
    }
    return result;
}

} // namespace pipeloop::catalogue
