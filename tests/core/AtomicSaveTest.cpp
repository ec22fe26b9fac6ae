// Writing a file completely or not at all, whatever stops the write.

#include "AtomicSave.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipeloop
{
namespace
{

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class AtomicSaveTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("target.txt"));
    const QByteArray old = QByteArrayLiteral("the old content\r\n");

    QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

TEST_F(AtomicSaveTest, ReplacesTheTargetWithEveryByte)
{
    WriteBytes(path, old);
    const QByteArray bytes(300000, 'x');
    EXPECT_EQ(SaveAtomically(path, bytes), std::nullopt);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("target.txt")});
}

TEST_F(AtomicSaveTest, AFolderThatIsNotThereCannotBeCreated)
{
    const QString missing = dir.filePath(QStringLiteral("no-such-folder/target.txt"));
    const auto failure = WriteAtomically(missing, "x");
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->created);
    EXPECT_TRUE(
        SaveAtomically(missing, "x")->startsWith("Cannot create file : " + missing + "\r\n"));
}

TEST_F(AtomicSaveTest, AWriteCutShortLeavesTheOldFileAndNoTemporaryFile)
{
    // Buffered, the whole text would sit in the file's buffer until commit,
    // whose flush writes the first 1000 bytes, fails on the rest and still
    // renames the truncated file over the target.
    WriteBytes(path, old);
    std::optional<QString> message;
    {
        const test::FileSizeLimit limit(1000);
        message = SaveAtomically(path, QByteArray(10000, 'y'));
    }
    ASSERT_TRUE(message.has_value());
    EXPECT_TRUE(message->startsWith("Problem writing to :\r\n" + path + "\r\n"))
        << message->toStdString();
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("target.txt")});
}

} // namespace
} // namespace pipeloop
