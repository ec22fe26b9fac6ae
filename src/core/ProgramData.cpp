#include "ProgramData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pipeloop
{

QString ProgramCatalogueName()
{
    return QStringLiteral("zavoza.pldbcab");
}

QString ProgramDataFolderFor(const QString& programFolder)
{
    const QDir beside(programFolder);
    if (QFileInfo::exists(beside.filePath(ProgramCatalogueName())))
        return beside.path();
    const QFileInfo installed(beside.filePath(QStringLiteral("../share/pipeloop")));
    if (installed.isDir())
        return QDir::cleanPath(installed.absoluteFilePath());
    return beside.path();
}

QString ProgramDataFolder()
{
    return ProgramDataFolderFor(QCoreApplication::applicationDirPath());
}

QString ProgramDataFile(const QString& name)
{
    return QDir(ProgramDataFolder()).filePath(name);
}

} // namespace pipeloop
