// Where the program looks for the files it ships with, in a build tree, an
// installed prefix and a bare folder.

#include "ProgramData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;

namespace
{

bool MakeFile(const QString& path)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly);
}

} // namespace

TEST(ProgramDataFolder, BesideTheProgramInABuildTreeElseShareOfItsPrefix)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir top(root.path());

    // Installed: PREFIX/bin/pipeloop reads PREFIX/share/pipeloop, wherever the prefix is.
    const QString bin = top.filePath(QStringLiteral("opt/x/bin"));
    const QString share = top.filePath(QStringLiteral("opt/x/share/pipeloop"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(MakeFile(share + QStringLiteral("/zavoza.pldbcab")));
    EXPECT_EQ(ProgramDataFolderFor(bin), share);
    EXPECT_EQ(ProgramDataFolderFor(bin + u'/'), share);

    // A build tree, or an unpacked folder, holds the catalogue beside the
    // program: that wins even over a share folder next to it.
    ASSERT_TRUE(MakeFile(bin + QStringLiteral("/zavoza.pldbcab")));
    EXPECT_EQ(ProgramDataFolderFor(bin), bin);

    // Neither: the program's own folder, so that a missing file is named
    // where the user would put it.
    const QString bare = top.filePath(QStringLiteral("bare"));
    ASSERT_TRUE(QDir().mkpath(bare));
    EXPECT_EQ(ProgramDataFolderFor(bare), bare);
}
