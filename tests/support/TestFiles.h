#pragma once

// Reading and writing whole files, and the paths of the sample projects the
// program ships with: what most tests that touch the disk need.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace pipeloop::testing
{

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file's content; false unless every byte was written.
inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

#ifdef PIPELOOP_SOURCE_DIR
// A project of data/samples, by its file name.
inline QString SampleFile(const QString& name)
{
    return QStringLiteral(PIPELOOP_SOURCE_DIR "/data/samples/") + name;
}
#endif

} // namespace pipeloop::testing
