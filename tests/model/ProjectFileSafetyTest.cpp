// What the project file does when things go wrong: saves that cannot replace
// the target or fail while writing leave the old file as it was; loads that
// stop part-way leave the open design, options, print setup and zoom factors
// as they were; counts the file cannot describe are refused; bad input of any
// kind gives defaults or a message, never a crash, a hang or a partial design.

#include "ProjectFileTest.h"

#include "FileSizeLimit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

const QByteArray OldContent = "[PIPELOOP-FILE-INFO]\r\nthe user's earlier project\r\n\r\n";

class ProjectSafety : public ::testing::Test
{
protected:
    ProjectSafety() { FillEveryKind(*s.design); }

    // Files in the folder other than the given ones (left-over temporary files).
    static QStringList Others(const QString& folder, const QStringList& expected)
    {
        QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System |
                                                   QDir::NoDotAndDotDot);
        for (const QString& name : expected)
            names.removeAll(name);
        return names;
    }

    ScriptedUi ui;
    ScopedLocale locale{LocaleFacts{}};
    Session s;
};

// Runs check() as an ordinary user: directly when the tests do not run as
// root; as root (where permission bits do not stop writes) in a child process
// that gives up root for the unprivileged "nobody" (uid 65534) first. The
// child's ScriptedUi and expectations are its own: it reports through its exit
// status, 0 when every check held. Returns a description of what went wrong.
template <typename Check>::testing::AssertionResult AsUnprivilegedUser(Check check)
{
    if (geteuid() != 0)
        return check() ? ::testing::AssertionSuccess()
                       : ::testing::AssertionFailure() << "check failed";
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return ::testing::AssertionFailure() << "fork failed";
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the unprivileged check ended with status " << status
           << (WIFEXITED(status) && WEXITSTATUS(status) == 3 ? " (could not drop root)" : "");
}

// ---------------------------------------------------------------- saving

TEST_F(ProjectSafety, SavingReplacesTheFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("project.plf");
    ASSERT_TRUE(WriteBytes(path, OldContent));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(s.save(path));
    EXPECT_EQ(ReadBytes(path), s.bytes());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Others(dir.path(), {"project.plf"}), QStringList());
    // The replaced file keeps the permissions of the old one.
    EXPECT_EQ(QFileInfo(path).permissions() & (QFile::WriteGroup | QFile::ReadOther),
              QFile::ReadOther);
}

TEST_F(ProjectSafety, SavingANewFileCreatesIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.cph");
    ASSERT_TRUE(s.save(path));
    EXPECT_EQ(ReadBytes(path), s.bytes());
}

TEST_F(ProjectSafety, AFolderInPlaceOfTheFileCannotBeOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("project.plf");
    ASSERT_TRUE(QDir(dir.path()).mkdir("project.plf"));
    ASSERT_TRUE(WriteBytes(path + "/inside.txt", OldContent));
    EXPECT_FALSE(s.save(path));
    EXPECT_EQ(ui.texts(), QStringList{"Cannot overwrite file : " + path});
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(ReadBytes(path + "/inside.txt"), OldContent);
    EXPECT_EQ(Others(dir.path(), {}), QStringList());
}

TEST_F(ProjectSafety, AReadOnlyFileCannotBeOverwritten)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString path = dir.filePath("readonly.plf");
    ASSERT_TRUE(WriteBytes(path, OldContent));
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // The folder stays writable: only the file's own bit protects it. As root
    // the folder must also let the unprivileged child in and write.
    ASSERT_EQ(chmod(folder.toLocal8Bit().constData(), 0777), 0);
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedUi childUi;
        const bool saved = s.save(path);
        return !saved && childUi.texts() == QStringList{"Cannot overwrite file : " + path} &&
               ReadBytes(path) == OldContent && Others(folder, {"readonly.plf"}).isEmpty();
    }));
    EXPECT_EQ(ReadBytes(path), OldContent);
}

TEST_F(ProjectSafety, AFileInAReadOnlyFolderCannotBeOverwritten)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString path = folder + "/project.plf";
    const QString fresh = folder + "/fresh.plf";
    ASSERT_TRUE(WriteBytes(path, OldContent));
    ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0666), 0);
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(chmod(folder.toLocal8Bit().constData(), 0555), 0);
    EXPECT_TRUE(AsUnprivilegedUser([&] {
        ScriptedUi childUi;
        // The file itself is writable, but it cannot be replaced.
        const bool replaced = s.save(path);
        const bool overwriteMessage =
            childUi.texts() == QStringList{"Cannot overwrite file : " + path};
        childUi.messages.clear();
        // A new file cannot even be started: a failed write.
        const bool created = s.save(fresh);
        const QString message = childUi.texts().value(0);
        return !replaced && overwriteMessage && !created &&
               message.startsWith("Problem writing to :\r\n" + fresh + "\r\n") &&
               ReadBytes(path) == OldContent && !QFile::exists(fresh) &&
               Others(folder, {"project.plf"}).isEmpty();
    }));
    ASSERT_EQ(chmod(folder.toLocal8Bit().constData(), 0755), 0);
    EXPECT_EQ(ReadBytes(path), OldContent);
}

TEST_F(ProjectSafety, APathWhereNoFileCanBeMadeIsAFailedWrite)
{
    // /proc refuses new files to everyone, root included.
    const QString path = QStringLiteral("/proc/self/pipeloop-project.plf");
    EXPECT_FALSE(s.save(path));
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString text = ui.messages[0].text;
    EXPECT_TRUE(text.startsWith("Problem writing to :\r\n" + path + "\r\n")) << text.toStdString();
    // The error text: the failure's kind, then its message.
    EXPECT_TRUE(text.contains(" raised in PIPELOOP.\r\n")) << text.toStdString();

    ui.messages.clear();
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath("no/such/folder/project.plf");
    EXPECT_FALSE(s.save(missingFolder));
    EXPECT_TRUE(ui.texts().value(0).startsWith("Problem writing to :\r\n" + missingFolder));
}

TEST_F(ProjectSafety, AWriteThatFailsPartWayLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("project.plf");
    ASSERT_TRUE(WriteBytes(path, OldContent));
    const QByteArray design = s.bytes();
    ASSERT_GT(design.size(), 1024);

    // A file size limit makes the write itself fail after the temporary file
    // was created, for root as for anyone.
    bool saved = false;
    {
        const test::FileSizeLimit limit(512);
        saved = s.save(path);
    }

    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("Problem writing to :\r\n" + path + "\r\n"))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(ReadBytes(path), OldContent);
    EXPECT_EQ(Others(dir.path(), {"project.plf"}), QStringList());
}

// ---------------------------------------------------------------- loads that stop

// The session as it was before a failed load, to compare with after it.
struct Snapshot {
    explicit Snapshot(const Session& s)
        : design(s.design.get()), bytes(s.bytes()), options(s.options), printSetup(s.printSetup),
          zoom(s.zoom)
    {
    }
    ::testing::AssertionResult unchanged(const Session& s) const
    {
        if (s.design.get() != design)
            return ::testing::AssertionFailure() << "the design was replaced";
        if (s.bytes() != bytes)
            return ::testing::AssertionFailure() << "the design changed";
        if (!(s.options == options))
            return ::testing::AssertionFailure() << "the options changed";
        if (!(s.printSetup == printSetup))
            return ::testing::AssertionFailure() << "the print setup changed";
        if (s.zoom != zoom)
            return ::testing::AssertionFailure() << "the zoom factors changed";
        return ::testing::AssertionSuccess();
    }
    const TPipeLoop* design;
    QByteArray bytes;
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom;
};

// A file that would change everything (options saved with it, zoom factors,
// a design) had it loaded, with the given extra sections.
QByteArray ChangingFile(const QByteArray& objects, const QByteArray& counts)
{
    return ProjectText("[Project]\nZoomFactorPLAN=99\nDescription=New\n"
                       "[Options]\nSaved=1\nGridSpacing=123\n"
                       "[PrintSetup]\nPrintScalingPLAN=321\n"
                       "[PipeLoop]\nElbows=1\n" +
                       counts + "[Elbow1]\nNS=5\n" + objects);
}

TEST_F(ProjectSafety, AnUnparsableValveAngleLeavesEverythingAsItWas)
{
    s.options.SetProjectSettingsMode(1); // the options would be taken
    const Snapshot before(s);
    const ProjectLoad load =
        s.openBytes(ChangingFile("[Valve1]\nAngle=0.5\n[Valve2]\nAngle=north\n", "Valves=2\n"));
    EXPECT_FALSE(load);
    EXPECT_EQ(ui.texts(), QStringList{"'north' is not a valid floating point value"});
    EXPECT_EQ(load.error(), "'north' is not a valid floating point value");
    EXPECT_TRUE(before.unchanged(s));
}

TEST_F(ProjectSafety, AnUnparsableInletAngleOrSizeLeavesEverythingAsItWas)
{
    s.options.SetProjectSettingsMode(1);
    const Snapshot before(s);
    EXPECT_FALSE(s.openBytes(ChangingFile("[Inlet1]\nAngle=1..5\n", "Inlets=1\n")));
    EXPECT_FALSE(s.openBytes(ChangingFile("[Inlet1]\nPipeSize=two\n", "Inlets=1\n")));
    EXPECT_FALSE(s.openBytes(ChangingFile("[Inlet1]\nPipeSize=\n", "Inlets=1\n")));
    EXPECT_EQ(ui.texts(), (QStringList{"'1..5' is not a valid floating point value",
                                       "'two' is not a valid floating point value",
                                       "'' is not a valid floating point value"}));
    EXPECT_TRUE(before.unchanged(s));
}

TEST_F(ProjectSafety, AskedOptionsAreNotTakenWhenTheLoadStops)
{
    ui.confirmAnswers = {true};
    const Snapshot before(s);
    EXPECT_FALSE(s.openBytes(ChangingFile("[Valve1]\nAngle=x\n", "Valves=1\n")));
    EXPECT_EQ(ui.questions, QStringList{"Load project file settings ?"});
    EXPECT_TRUE(before.unchanged(s));
    EXPECT_FALSE(s.options.LoadedFromProject());
}

TEST_F(ProjectSafety, TheSameFileWithoutTheFaultIsTaken)
{
    s.options.SetProjectSettingsMode(1);
    ASSERT_TRUE(s.openBytes(ChangingFile("[Valve1]\nAngle=0.5\n", "Valves=1\n")));
    EXPECT_EQ(s.zoom[0], 99);
    EXPECT_EQ(s.options.GridSpacing, 123);
    EXPECT_EQ(s.printSetup.PrintScaling(ViewKind::Plan), 321);
    EXPECT_EQ(s.design->Description, "New");
    EXPECT_EQ(&s.design->Options, &s.options); // the new design works on the run's options
}

TEST_F(ProjectSafety, AnUnreadableFileLeavesEverythingAsItWas)
{
    const Snapshot before(s);
    QTemporaryDir dir;
    // A file whose header cannot even be read is no project.
    EXPECT_FALSE(s.open(dir.filePath("gone.plf")));
    EXPECT_FALSE(s.open(dir.path()));
    EXPECT_EQ(ui.texts(), (QStringList{"File header invalid : " + dir.filePath("gone.plf"),
                                       "File header invalid : " + dir.path()}));
    EXPECT_TRUE(before.unchanged(s));
}

// ---------------------------------------------------------------- counts

TEST_F(ProjectSafety, AnEnormousCountIsRefusedAtOnce)
{
    const Snapshot before(s);
    QElapsedTimer timer;
    timer.start();
    const ProjectLoad load =
        s.openBytes(ProjectText("[PipeLoop]\nDrops=2000000000\n[Drop1]\nName=one\n"),
                    QStringLiteral("huge.plf"));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_FALSE(load);
    EXPECT_EQ(ui.texts(), QStringList{"The project file is damaged : huge.plf\r\n"
                                      "Section Drop2 is missing (Drops=2000000000 in section "
                                      "PipeLoop)."});
    EXPECT_TRUE(before.unchanged(s));
}

TEST_F(ProjectSafety, EnormousSymbolAndLineCountsAreRefused)
{
    const Snapshot before(s);
    EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nInlets=1\n[Inlet1]\nSymbols=0x7FFFFFFF\n")));
    EXPECT_FALSE(s.openBytes(ProjectText("[Notes]\nLines=2147483647\n1=a\n")));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.texts().value(0).contains("Symbols=2147483647 in section Inlet1"));
    EXPECT_TRUE(ui.texts().value(1).contains("Lines=2147483647 in section Notes"));
    EXPECT_TRUE(before.unchanged(s));
}

TEST_F(ProjectSafety, UpToTenThousandMissingSymbolsAndNoteLinesAreFilledWithDefaults)
{
    // Ten drops of 1000 symbols each, not one of them in the file.
    QByteArray drops;
    for (int i = 1; i <= 10; ++i)
        drops += "[Drop" + QByteArray::number(i) + "]\nSymbols=1000\n";
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nDrops=10\n" + drops)));
    EXPECT_EQ(s.design->Drops.back()->SymbolCount(), 1000);

    // The allowance is for the whole file, symbols and note lines alike.
    ScriptedUi quiet;
    EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nDrops=10\n" + drops + "[Notes]\nLines=1\n")));
    EXPECT_TRUE(quiet.texts().value(0).contains("Lines=1 in section Notes"));
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nDrops=1\n[Drop1]\nSymbols=1000\n"
                                        "[Notes]\nLines=9002\n1=a\n9002=z\n")));
    EXPECT_EQ(s.design->Notes.size(), 9002);
    EXPECT_EQ(s.design->Notes.back(), "z");

    // One symbol list may leave at most 1000 entries to the defaults; the
    // entries present do not count against it.
    EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nDrops=1\n[Drop1]\nSymbols=1001\n")));
    EXPECT_TRUE(quiet.texts().value(1).contains("Symbols=1001 in section Drop1"));
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nDrops=1\n[Drop1]\nSymbols=1002\n"
                                        "SYM1=FILTER\nSYM1002=GAUGE\n")));
    EXPECT_EQ(s.design->Drops[0]->SymbolName(1001), "GAUGE");
}

// ---------------------------------------------------------------- damage

// A file cut short and a count that is not a count are refused with a
// message that says what is wrong; nothing is loaded.
TEST_F(ProjectSafety, AFileCutShortAmongItsObjectsIsRefused)
{
    const QByteArray sample = ReadBytes(SampleFile("workshop.plf"));
    ASSERT_FALSE(sample.isEmpty());
    const Snapshot before(s);
    const std::pair<const char*, const char*> cuts[] = {
        {"[Elbow3]", "Section Elbow3 is missing (Elbows=5 in section PipeLoop)."},
        {"[Drain1]", "Section Drain1 is missing (Drains=3 in section PipeLoop)."},
        {"[Drop4]", "Section Drop4 is missing (Drops=7 in section PipeLoop)."},
        {"[Spur2]", "Section Spur2 is missing (Spurs=2 in section PipeLoop)."},
    };
    for (const auto& [section, missing] : cuts) {
        const qsizetype at = sample.indexOf(section);
        ASSERT_GT(at, 0) << section;
        EXPECT_FALSE(s.openBytes(sample.left(at), "cut.plf")) << section;
        EXPECT_EQ(ui.texts().last(),
                  QStringLiteral("The project file is damaged : cut.plf\r\n") + missing);
    }
    // A section lost from the middle is as missing as a cut-off tail.
    QByteArray gap = sample;
    gap.replace("[Valve1]", "[Valve0]");
    EXPECT_FALSE(s.openBytes(gap, "gap.plf"));
    EXPECT_TRUE(ui.texts().last().endsWith("Section Valve1 is missing (Valves=2 in section "
                                           "PipeLoop)."));
    EXPECT_EQ(ui.messages.size(), std::size(cuts) + 1);
    EXPECT_TRUE(before.unchanged(s));

    // A file without counts counts nothing, whatever sections it holds.
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nHeight=2500\n[Drop1]\nName=spare\n")));
    EXPECT_TRUE(s.design->Drops.empty());
    EXPECT_EQ(s.design->Height, 2500);
}

TEST_F(ProjectSafety, ACountThatIsNotACountIsRefusedWithItsText)
{
    const Snapshot before(s);
    const QByteArray drop = "[Drop1]\nSymbols=1\nSYM1=FILTER\n";
    for (const QByteArray text : {"7x", "-1", "7.0", "99999999999", "", "0x"}) {
        SCOPED_TRACE(text.toStdString());
        ui.messages.clear();
        EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nDrops=" + text + "\n" + drop)));
        EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nDrops=1\n[Drop1]\nSymbols=" + text)));
        EXPECT_FALSE(s.openBytes(ProjectText("[Notes]\nLines=" + text + "\n1=a\n")));
        const QString found = QString::fromLatin1(text);
        EXPECT_EQ(ui.texts(),
                  (QStringList{"The project file is damaged : test.plf\r\nDrops=" + found +
                                   " in section PipeLoop is not a count.",
                               "The project file is damaged : test.plf\r\nSymbols=" + found +
                                   " in section Drop1 is not a count.",
                               "The project file is damaged : test.plf\r\nLines=" + found +
                                   " in section Notes is not a count."}));
    }
    EXPECT_TRUE(before.unchanged(s));
    // Hexadecimal is an integer the format knows.
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nDrops=0x1\n" + drop)));
    EXPECT_EQ(s.design->Drops[0]->SymbolName(0), "FILTER");
}

TEST_F(ProjectSafety, AFileWhoseLineEndsBecameLineFeedsLoadsWithAWarning)
{
    const QByteArray sample = ReadBytes(SampleFile("workshop.plf"));
    QByteArray lineFeeds = sample;
    lineFeeds.replace("\r\n", "\n");
    ASSERT_EQ(HeaderFormOf(lineFeeds), ProjectHeaderForm::LineFeed);
    EXPECT_FALSE(CheckProjectHeaderBytes(lineFeeds)); // the header rule stays byte-exact

    const ProjectLoad load = s.openBytes(lineFeeds, "unix.plf");
    ASSERT_TRUE(load);
    EXPECT_TRUE(load.LineEndingsChanged);
    EXPECT_EQ(ui.texts(), QStringList{"The file's line endings were changed (LF instead of CR "
                                      "LF) by another program : unix.plf\r\n"
                                      "Saving the project restores them."});
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Warning);
    // Everything came back, and a save writes CR LF again.
    EXPECT_EQ(s.design->Drops.size(), 7u);
    EXPECT_TRUE(SameBytes(WithoutProgramVersion(sample), WithoutProgramVersion(s.bytes())));

    // Older releases' header likewise; a lone CR or anything else is no header.
    EXPECT_EQ(HeaderFormOf("[PIPELOOP]\nHeight=2000\n"), ProjectHeaderForm::LineFeed);
    EXPECT_EQ(HeaderFormOf("[PIPELOOP]\r\n"), ProjectHeaderForm::Exact);
    EXPECT_EQ(HeaderFormOf("[PIPELOOP-FILE-INFO]\r"), ProjectHeaderForm::Invalid);
    EXPECT_EQ(HeaderFormOf("[PIPELOOP-FILE-INFO] \n"), ProjectHeaderForm::Invalid);
    EXPECT_EQ(HeaderFormOf("[pipeloop]\n"), ProjectHeaderForm::Invalid);
}

TEST_F(ProjectSafety, TheReplaceQuestionComesAfterTheFilesChecksAndNoChangesNothing)
{
    int asked = 0;
    const auto no = [&] {
        ++asked;
        return false;
    };
    const Snapshot before(s);
    const QByteArray damaged = ProjectText("[PipeLoop]\nDrops=2\n[Drop1]\n");
    EXPECT_FALSE(LoadProjectFromBytes(damaged, "d.plf", s.options, s.printSetup, s.zoom, no));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ui.messages.size(), 1u);

    const ProjectLoad declined = LoadProjectFromBytes(ProjectText("[Options]\nSaved=1\n"), "ok.plf",
                                                      s.options, s.printSetup, s.zoom, no);
    EXPECT_FALSE(declined);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(declined.error().isEmpty());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.questions.isEmpty()); // the options were not offered either
    EXPECT_TRUE(before.unchanged(s));
}

// ---------------------------------------------------------------- bad input

// Loads bytes into a fresh session and checks the one rule for bad input:
// either a complete new design or a message and the old design untouched.
void LoadsWithoutHarm(const QByteArray& bytes)
{
    ScriptedUi ui;
    Session s;
    s.options.SetProjectSettingsMode(1);
    FillEveryKind(*s.design);
    const Snapshot before(s);
    const ProjectLoad load = s.openBytes(bytes);
    if (load) {
        EXPECT_TRUE(ui.messages.empty());
        // Whatever was read saves and loads again to the same file.
        const QByteArray saved = s.bytes();
        Session again;
        again.options.SetProjectSettingsMode(1);
        ASSERT_TRUE(again.openBytes(saved));
        EXPECT_EQ(again.bytes(), saved);
    } else {
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(before.unchanged(s));
    }
}

TEST(ProjectBadInput, TruncatedFilesGiveDefaultsOrAMessage)
{
    ScopedLocale locale{LocaleFacts{}};
    const QByteArray whole = ReadBytes(ProjectData("legacy.plf"));
    ASSERT_FALSE(whole.isEmpty());
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        SCOPED_TRACE(size);
        const QByteArray part = whole.left(size);
        if (!CheckProjectHeaderBytes(part))
            continue; // the Open command refuses it before loading
        LoadsWithoutHarm(part);
    }
}

TEST(ProjectBadInput, BinaryGarbageAfterTheHeader)
{
    ScopedLocale locale{LocaleFacts{}};
    QRandomGenerator random(4);
    const QByteArray grammar = "[]=;\r\n \t0123456789x-.,eE";
    const QByteArrayList words = {"Drop",  "Valve",    "Inlet", "Spur",   "Symbols", "SYM",
                                  "Angle", "PipeLoop", "Drops", "Valves", "Inlets",  "Lines",
                                  "Notes", "PipeSize", "Style", "Saved",  "Options", "1"};
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = ProjectFileHeader.toByteArray();
        const int size = random.bounded(3000);
        while (bytes.size() < size) {
            const int pick = random.bounded(10);
            if (pick < 3)
                bytes += words[random.bounded(words.size())];
            else if (pick < 8)
                bytes += grammar[random.bounded(grammar.size())];
            else
                bytes += static_cast<char>(random.bounded(256));
        }
        SCOPED_TRACE(round);
        LoadsWithoutHarm(bytes);
    }
}

TEST(ProjectBadInput, TenMegabytesOfOneLine)
{
    ScopedLocale locale{LocaleFacts{}};
    const QByteArray line(10 * 1024 * 1024, 'x');
    QElapsedTimer timer;
    timer.start();
    LoadsWithoutHarm(ProjectFileHeader.toByteArray() + line);
    LoadsWithoutHarm(ProjectText("[PipeLoop]\nDrops=1\n[Drop1]\nName=") + line + "\r\n");
    LoadsWithoutHarm(ProjectText("[PipeLoop]\nValves=1\n[Valve1]\nAngle=") + line + "\r\n");
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_FALSE(CheckProjectHeaderBytes(line)); // without the header it is not opened
}

TEST(ProjectBadInput, DuplicatedSectionsAndKeys)
{
    ScopedLocale locale{LocaleFacts{}};
    ScriptedUi ui;
    Session s;
    ASSERT_TRUE(s.openBytes(
        ProjectText("[PipeLoop]\nDrops=1\nDrops=2\n[Drop1]\nName=first\n[Drop2]\nName=two\n"
                    "[drop1]\nName=second\nName=third\n[PIPELOOP]\nDrops=1\n")));
    ASSERT_EQ(s.design->Drops.size(), 1u); // the later [PIPELOOP] replaced the first
    EXPECT_EQ(s.design->Drops[0]->Name, "third");
    LoadsWithoutHarm(ProjectText("[Notes]\nLines=2\n1=a\n1=b\n[Notes]\nLines=1\n"));
}

TEST(ProjectBadInput, NegativeAndEnormousNumbers)
{
    ScopedLocale locale{LocaleFacts{}};
    ScriptedUi ui;
    Session s;
    ASSERT_TRUE(s.openBytes(ProjectText(
        "[Project]\nZoomFactorPLAN=-5\nZoomFactorNORTH=99999999999\n"
        "[Building]\nRoomEW=-2147483648\nRoomNS=2147483647\nRoomHG=2147483648\n"
        "[PipeLoop]\nHeight=-1\nPipeSize=1e30\nDefaultOutletSize=1e39\nElbows=2\nSpurs=1\n"
        "[Elbow1]\nNS=2147483647\nEW=-2147483648\nHG=-2147483648\nVerticalDrop=2147483647\n"
        "[Elbow2]\nNS=-2147483648\nEW=2147483647\n"
        "[Spur1]\nNS2=99999999999999999999\nVerticalDrop=-2147483648\nPipeSize=-25\n")));
    const TPipeLoop& d = *s.design;
    EXPECT_EQ(s.zoom[0], -5);
    EXPECT_EQ(s.zoom[1], InitialZoomFactor); // out of range: the default
    EXPECT_EQ(d.RoomEW, INT32_MIN);
    EXPECT_EQ(d.RoomHG, 2000);
    EXPECT_EQ(d.Height, -1);
    EXPECT_EQ(d.PipeSize, 1e30f);
    EXPECT_EQ(d.DefaultOutletSize, 25.0f); // beyond the single range: the fallback
    EXPECT_EQ(d.Spurs[0]->NS2, 0);
    EXPECT_EQ(d.Spurs[0]->PipeSize, -25.0f);
    // The design can be measured and checked without overflow.
    EXPECT_EQ(d.Elbows[0]->PipeHeight(), INT32_MIN);
    s.design->CheckConnections();
    LoadsWithoutHarm(s.bytes());
}

TEST(ProjectBadInput, NonNumericSizesTakeTheirDefaults)
{
    ScopedLocale locale{LocaleFacts{}};
    ScriptedUi ui;
    Session s;
    ASSERT_TRUE(
        s.openBytes(ProjectText("[PipeLoop]\nPipeSize=fifty\nDefaultOutletSize=1,2,3\nDrops=1\n"
                                "[Drop1]\nOutletSize=\nHoseSize=NaN\nPipeLen=1.5\n")));
    const TPipeLoop& d = *s.design;
    EXPECT_EQ(d.PipeSize, 50.0f);
    EXPECT_EQ(d.DefaultOutletSize, 25.0f);
    EXPECT_EQ(d.Drops[0]->OutletSize, 25.0f);
    EXPECT_EQ(d.Drops[0]->HoseSize, 25.0f);
    EXPECT_EQ(d.Drops[0]->PipeLen, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ProjectBadInput, AFileLargerThanTheLimitIsRefusedUnread)
{
    ScriptedUi ui;
    Session s;
    QTemporaryDir dir;
    const QString path = dir.filePath("big.plf");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.write(ProjectFileHeader.toByteArray()) > 0);
        ASSERT_TRUE(file.resize(MaxProjectFileSize + 1)); // sparse
    }
    EXPECT_FALSE(s.open(path));
    EXPECT_EQ(ui.texts(), QStringList{"The project file is too large : " + path});
}

} // namespace
