// the rules: loading the catalogue, its header, packages, queries, selections
// with their queued messages, and the size lists. The tiny hand-written
// catalogue in tests/data/catalogue/tiny holds one part per exact case.

#include "CatalogueTestSupport.h"
#include "ModelTypes.h"
#include "ScriptedUi.h"
#include "Units.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::ScriptedUi;

namespace
{

class PartsDatabaseTest : public pipeloop::testing::TinyCatalogueTest
{
protected:
    QString Key(const TPartObject* part) const
    {
        return part ? part->PartKey() : QStringLiteral("<none>");
    }
};

const EndSet MaleBsp = Flags(EndAttr::Male, EndAttr::Bsp);

TEST_F(PartsDatabaseTest, TheTinyCatalogueLoadsWithOnlyItsDeliberateMessages)
{
    ScriptedUi fresh;
    const auto tiny = pipeloop::testing::TinyDatabase();
    EXPECT_TRUE(tiny->Loaded());
    EXPECT_TRUE(tiny->IsUsable());
    EXPECT_EQ(fresh.texts(),
              QStringList({QStringLiteral("Database error reading CON for package KIT-BAD"),
                           QStringLiteral("Database error reading LEN for package KIT-BAD"),
                           QStringLiteral("Parts missing in database for package KIT-BAD"),
                           QStringLiteral("Symbols missing in database for package KIT-BAD")}));
    EXPECT_EQ(tiny->PartCount(), 38);
    EXPECT_EQ(tiny->PackageCount(), 2);
}

TEST_F(PartsDatabaseTest, Header)
{
    EXPECT_EQ(db->Supplier(), QStringLiteral("TINY"));
    EXPECT_EQ(db->Maker(), QStringLiteral("TINYMAKER"));
    EXPECT_EQ(db->Description(), QStringLiteral("Tiny test catalogue"));
    EXPECT_EQ(db->OrderAddress(), QStringLiteral("orders@tiny.example"));
    EXPECT_EQ(db->ExpiryDate(), QDateTime(QDate(2030, 12, 31), QTime(0, 0)));
}

TEST_F(PartsDatabaseTest, TheMakerDefaultIsTheCatalogueMakerReadSoFar)
{
    EXPECT_EQ(db->Part(0)->PartKey(), QStringLiteral("EARLY-CPL"));
    EXPECT_EQ(db->Part(0)->Maker(), QString()); // before the CATALOGUE section
    EXPECT_EQ(db->PartOfKey(QStringLiteral("P25-B4"))->Maker(), QStringLiteral("TINYMAKER"));
    EXPECT_EQ(db->PartOfKey(QStringLiteral("OLD-32"))->Maker(), QStringLiteral("OTHERMAKER"));
}

TEST_F(PartsDatabaseTest, ExpiryDates)
{
    auto expiry = [&](const QString& exp) {
        return pipeloop::testing::DatabaseFromText(QStringLiteral("[CATALOGUE]\nEXP=") + exp)
            ->ExpiryDate();
    };
    EXPECT_EQ(expiry(QStringLiteral("31-12-2030")), QDateTime(QDate(2030, 12, 31), QTime(0, 0)));
    EXPECT_EQ(expiry(QStringLiteral("31/12/2030")), QDateTime(QDate(2030, 12, 31), QTime(0, 0)));
    EXPECT_TRUE(ui.messages.empty());
    const QDateTime unset(QDate(1899, 12, 30), QTime(0, 0));
    EXPECT_EQ(expiry(QStringLiteral("2030-12-31")), unset);
    EXPECT_EQ(expiry(QStringLiteral("31-02-2030")), unset); // impossible date
    EXPECT_EQ(expiry(QStringLiteral("31-12")), unset);
    EXPECT_EQ(ui.texts(), QStringList(3, QStringLiteral("Invalid database expire date.")));
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Error);
    const auto defaults = pipeloop::testing::DatabaseFromText(QStringLiteral("[CATALOGUE]\nSUP=X"));
    EXPECT_EQ(defaults->ExpiryDate(), QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    EXPECT_EQ(defaults->OrderAddress(), DefaultOrderAddress());
}

TEST_F(PartsDatabaseTest, TypDispatchAndItsMessages)
{
    const auto mixed = pipeloop::testing::DatabaseFromText(QStringLiteral(
        "[A]\nTYP=SADDLE-OUTLET\n[B]\nTYP=pipe\n[C]\nDSC=no type\n[catalogue]\nSUP=lower\n"
        "[D]\nTYP=VALVE\n[E]\nTYP=PACKAGE\nCON=20\nLEN=5\nPTS=A\nSYM=VALVE\n"));
    EXPECT_EQ(ui.texts(),
              QStringList({QStringLiteral("Parts database type pipe unknown for B"),
                           QStringLiteral("Parts database type missing for C"),
                           QStringLiteral("Parts database type missing for catalogue")}));
    EXPECT_TRUE(mixed->HasErrors());
    EXPECT_FALSE(mixed->IsUsable());
    EXPECT_EQ(mixed->Supplier(), QString()); // "catalogue" is not the header section
    ASSERT_EQ(mixed->PartCount(), 2);
    EXPECT_TRUE(mixed->Part(0)->IsA<TSaddleOutlet>());
    EXPECT_TRUE(mixed->Part(1)->IsA<TValve>());
    EXPECT_EQ(mixed->PackageCount(), 1);
    EXPECT_EQ(mixed->Part(2), nullptr);
    EXPECT_EQ(mixed->Package(-1), nullptr);
}

TEST_F(PartsDatabaseTest, Packages)
{
    const TPackage* kit = db->FindPackage(QStringLiteral("KIT-1"));
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->Parts(), QStringList({QStringLiteral("OT25-20"), QStringLiteral("P25-B4"),
                                         QStringLiteral("V25")}));
    EXPECT_EQ(kit->Symbols(), QStringList({QStringLiteral("VALVE"), QStringLiteral("COUPLER"),
                                           QStringLiteral("AIR-HOSE"), QStringLiteral("COUPLER")}));
    EXPECT_EQ(kit->ConnectionSize(), 25.0f);
    EXPECT_FLOAT_EQ(kit->HoseSize(), 6.35f);
    EXPECT_TRUE(kit->NeedsHoseSize());
    EXPECT_EQ(kit->Length(), 1500);
    EXPECT_EQ(kit->Image(), QStringLiteral("KIT1.JPG"));
    EXPECT_EQ(kit->Description(), QStringLiteral("Test kit"));
    EXPECT_EQ(db->FindPackage(QStringLiteral("kit-1")), nullptr); // case-sensitive
    const TPackage* bad = db->FindPackage(QStringLiteral("KIT-BAD"));
    ASSERT_NE(bad, nullptr); // added in every case
    EXPECT_TRUE(bad->Parts().isEmpty());
    EXPECT_EQ(bad->HoseSize(), 0.0f);
    EXPECT_EQ(SplitSpaceList(QStringLiteral("  A  B   C ")),
              QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
}

TEST_F(PartsDatabaseTest, LoadingMessages)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.pldbcab"));
    TPartsDatabase database;
    EXPECT_TRUE(database.HasErrors()); // until a load clears it
    database.LoadContainer(missing);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Parts database not found : ") + missing});
    EXPECT_FALSE(database.Loaded());
    EXPECT_TRUE(database.HasErrors());

    ui.messages.clear();
    const QString noCatalogue = dir.filePath(QStringLiteral("pictures.pldbcab"));
    pipeloop::testing::WriteBytes(noCatalogue, BuildCab({{QStringLiteral("LOGO.JPG"), "x"}}));
    database.LoadContainer(noCatalogue);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("PARTS.PLDBI not found in : ") + noCatalogue});
    EXPECT_FALSE(database.IsUsable());

    ui.messages.clear();
    const QString damaged = dir.filePath(QStringLiteral("damaged.pldbcab"));
    QByteArray bytes = BuildCab({{QStringLiteral("parts.pldbi"), "[CATALOGUE]\nSUP=S"}});
    bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] ^ 1);
    pipeloop::testing::WriteBytes(damaged, bytes);
    database.LoadContainer(damaged);
    EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("Invalid CAB file CRC : ") + damaged,
                                       QStringLiteral("PARTS.PLDBI not found in : ") + damaged}));

    ui.messages.clear();
    database.LoadContainer(dir.path()); // exists, but is no file to read
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Exception loading : ") + dir.path()});
    EXPECT_FALSE(database.Loaded());

    ui.messages.clear();
    bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] ^ 1);
    pipeloop::testing::WriteBytes(damaged, bytes);
    database.LoadContainer(damaged); // the entry name matches without regard to case
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(database.IsUsable());
    EXPECT_EQ(database.Supplier(), QStringLiteral("S"));
}

TEST_F(PartsDatabaseTest, NextErrorIsFirstInFirstOut)
{
    EXPECT_EQ(db->NextError(), QStringLiteral("Parts database GetLastError() failed."));
    db->Elbow(0, 20);
    db->PipeClip(Attr::Steel, 32);
    EXPECT_EQ(db->QueuedErrorCount(), 2);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts elbow not found : 20mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts pipe clip not found : 32mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("Parts database GetLastError() failed."));
    EXPECT_TRUE(ui.messages.empty()); // lookups never show a message
}

TEST_F(PartsDatabaseTest, QueriesByKey)
{
    EXPECT_EQ(Key(db->FindPart(QStringLiteral("HOSE-FIVE"))), QStringLiteral("H-5"));
    EXPECT_EQ(Key(db->FindPart(QStringLiteral("H-10"))), QStringLiteral("H-10"));
    EXPECT_EQ(db->FindPart(QStringLiteral("h-10")), nullptr);
    EXPECT_EQ(db->PartNumberOf(QStringLiteral("H-5")), QStringLiteral("HOSE-FIVE"));
    EXPECT_EQ(db->PartNumberOf(QStringLiteral("HOSE-FIVE")), QString()); // keys only
    const PartDisplay old = db->DisplayOf(QStringLiteral("OLD-32"), true);
    EXPECT_EQ(old.number, QStringLiteral("ZZ-32"));
    EXPECT_EQ(old.description, QStringLiteral("* Old connector 32mm (end of line)"));
    EXPECT_EQ(db->DisplayOf(QStringLiteral("OLD-32"), false).number, QStringLiteral("OLD-32"));
    EXPECT_EQ(db->DisplayOf(QStringLiteral("H-5"), true).number, QStringLiteral("HOSE-FIVE"));
    EXPECT_EQ(db->PriceOf(QStringLiteral("P25-B4"))->price, 100000);
    EXPECT_EQ(db->PriceOf(QStringLiteral("CLIP25-T"))->unitsPerPackage, 10);
    EXPECT_FALSE(db->PriceOf(QStringLiteral("NOPE")).has_value());
    EXPECT_EQ(db->CataloguePageOf(QStringLiteral("OLD-32")).page, 12);
    EXPECT_EQ(db->CataloguePageOf(QStringLiteral("OLD-32")).code, QStringLiteral("ZZ-32"));
    EXPECT_EQ(db->CataloguePageOf(QStringLiteral("NOPE")).page, 0);
    EXPECT_EQ(db->WidestPartNumber(
                  {QStringLiteral("H-5"), QStringLiteral("S25"), QStringLiteral("NOPE")}),
              9);
}

TEST_F(PartsDatabaseTest, PipesByColourLengthAndSize)
{
    EXPECT_EQ(Key(db->Pipe(ColourBlue, 6000, 25)), QStringLiteral("P25-B6"));
    EXPECT_EQ(Key(db->Pipe(ColourBlue, 4000, 25)), QStringLiteral("P25-B4"));
    EXPECT_EQ(Key(db->Pipe(ColourGrey, 6000, 25)), QStringLiteral("P25-G6"));
    EXPECT_EQ(Key(db->Pipe(ColourBlue, 4000, 19.0504f)), QStringLiteral("P19-4"));
    EXPECT_EQ(db->Pipe(ColourBlue, 4000, 19.06f), nullptr); // shown as 3/4" all the same
    EXPECT_EQ(db->Pipe(ColourBlue, 5000, 25), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts pipe size not found : 4000mm x 3/4\""));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts pipe size not found : 5000mm x 25mm"));
}

TEST_F(PartsDatabaseTest, HoseLengthRule)
{
    EXPECT_EQ(Key(db->Hose(7000, false, 6.35f)), QStringLiteral("H-10"));
    EXPECT_EQ(Key(db->Hose(12000, false, 6.35f)), QStringLiteral("H-10")); // the last of the size
    EXPECT_EQ(Key(db->Hose(4000, false, 6.35f)), QStringLiteral("H-5"));
    EXPECT_EQ(Key(db->Hose(6000, true, 6.35f)), QStringLiteral("H-R6"));
    EXPECT_EQ(db->Hose(5000, true, 6.35f), nullptr); // recoil: the length must be equal
    EXPECT_EQ(db->Hose(5000, false, 9.25f), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts hose not found : 1/4\" x 5000mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts hose not found : 3/8\" x 5000mm"));
}

TEST_F(PartsDatabaseTest, ElbowsConnectorsAndTees)
{
    EXPECT_EQ(Key(db->Elbow(0, 25)), QStringLiteral("E90-25"));
    EXPECT_EQ(Key(db->Elbow(Flag(Attr::Quick), 25)), QStringLiteral("E90-25Q"));
    EXPECT_EQ(Key(db->Elbow45(0, 25)), QStringLiteral("E135-25")); // 135 counts as 45
    EXPECT_EQ(Key(db->Elbow45(0, 20)), QStringLiteral("E45-20"));
    EXPECT_EQ(Key(db->Connector(0, 25)), QStringLiteral("S25"));
    EXPECT_EQ(Key(db->Connector(0, 32)), QStringLiteral("OLD-32"));
    EXPECT_EQ(Key(db->EqualTee(0, 25)), QStringLiteral("T25")); // T25-20 is no equal tee
    EXPECT_EQ(Key(db->EndCap(0, 25)), QStringLiteral("CAP25"));
    EXPECT_EQ(db->Elbow(0, 20), nullptr);
    EXPECT_EQ(db->Elbow45(0, 32), nullptr);
    EXPECT_EQ(db->Connector(Flag(Attr::Quick), 25), nullptr);
    EXPECT_EQ(db->EqualTee(0, 20), nullptr);
    EXPECT_EQ(db->EndCap(Flag(Attr::Saddle), 25), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts elbow not found : 20mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts 45 degree elbow not found : 32mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts pipe connector not found : 25mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts equal tee not found : 20mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts end cap not found : 25mm"));
}

TEST_F(PartsDatabaseTest, ReducersAndBushes)
{
    EXPECT_EQ(Key(db->PipeReducer(25, 20)), QStringLiteral("R25-20"));
    EXPECT_EQ(Key(db->ReducerBush(25, 20)), QStringLiteral("B25-20"));
    EXPECT_EQ(db->PipeReducer(32, 25), nullptr);
    EXPECT_EQ(db->ReducerBush(12.7f, 6.35f), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts pipe reducer not found : 32mm-25mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts reducer bush not found : 1/2\"-1/4\""));
}

TEST_F(PartsDatabaseTest, Outlets)
{
    EXPECT_EQ(Key(db->OutletTee(25, 20)), QStringLiteral("OT25-20"));
    EXPECT_EQ(Key(db->SaddleOutlet(40, 20)), QStringLiteral("SO40-20"));
    // An empty attribute set passes every part: the first in catalogue order wins.
    EXPECT_EQ(Key(db->FemaleOutlet(ThreadBsp, 0, 25, 12.7f)), QStringLiteral("FO25-12S"));
    EXPECT_EQ(Key(db->FemaleOutlet(ThreadBsp, Flag(Attr::Saddle), 25, 12.7f)),
              QStringLiteral("FO25-12S"));
    EXPECT_EQ(Key(db->FemaleOutlet(ThreadNpt, 0, 25, 12.7f)), QStringLiteral("FO25-12N"));
    EXPECT_EQ(db->OutletTee(40, 20), nullptr);
    EXPECT_EQ(db->SaddleOutlet(25, 20), nullptr);
    EXPECT_EQ(db->FemaleOutlet(ThreadBsp, 0, 25, 19.05f), nullptr);
    EXPECT_EQ(db->FemaleOutlet(ThreadMetric, 0, 25, 12.7f), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts outlet tee not found : 40mm-20mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts saddle outlet not found : 25mm-20mm"));
    EXPECT_EQ(db->NextError(),
              QStringLiteral("TINY parts female outlet not found : 25mm-3/4\" BSP"));
    EXPECT_EQ(db->NextError(),
              QStringLiteral("TINY parts female outlet not found : 25mm-1/2\" METRIC"));
}

TEST_F(PartsDatabaseTest, Valves)
{
    EXPECT_EQ(Key(db->BallValve(0, 25)), QStringLiteral("V25"));
    EXPECT_EQ(Key(db->BallValve(Flag(EndAttr::Female), 25)), QStringLiteral("V25F"));
    EXPECT_EQ(Key(db->ButterflyValve(110)), QStringLiteral("BF110"));
    EXPECT_EQ(db->ButterflyValve(25), nullptr);
    EXPECT_EQ(db->BallValve(Flag(EndAttr::Male), 25), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts butterfly valve not found : 25mm"));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts ball valve not found : 25mm"));
}

TEST_F(PartsDatabaseTest, ManifoldsByPortsThreadAndNameFilter)
{
    EXPECT_EQ(Key(db->Manifold(2, ThreadBsp, QString(), 25)), QStringLiteral("M2-25"));
    EXPECT_EQ(Key(db->Manifold(2, ThreadBsp, QStringLiteral("90642"), 25)),
              QStringLiteral("M-90642-25"));
    EXPECT_EQ(Key(db->Manifold(4, ThreadBsp, QString(), 12.7f)), QStringLiteral("M4-12"));
    EXPECT_EQ(Key(db->Manifold(4, ThreadNpt, QString(), 12.7f)), QStringLiteral("M4-12N"));
    EXPECT_EQ(db->Manifold(2, ThreadBsp, QStringLiteral("90662"), 25), nullptr);
    EXPECT_EQ(db->Manifold(3, ThreadBsp, QString(), 25), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts manifold not found : 25mm 2 ports."));
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts manifold not found : 25mm 3 ports."));
}

TEST_F(PartsDatabaseTest, AdaptersCompareSizeTwoExactly)
{
    EXPECT_EQ(Key(db->Adapter(MaleBsp, 0, 25)), QStringLiteral("A25-12"));
    EXPECT_EQ(Key(db->Adapter(MaleBsp, 19.05f, 25)), QStringLiteral("A25-34"));
    EXPECT_EQ(Key(db->Adapter(Flag(EndAttr::Female), 0, 25)), QStringLiteral("AF25-34"));
    EXPECT_EQ(db->Adapter(MaleBsp, 19.0504f, 25), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts adapter not found : 25mm-3/4\""));
}

TEST_F(PartsDatabaseTest, ClipsAndCouplings)
{
    EXPECT_EQ(Key(db->PipeClip(Attr::Steel, 25)), QStringLiteral("CLIP25-S"));
    EXPECT_EQ(Key(db->PipeClip(Attr::Technopolymeric, 25)), QStringLiteral("CLIP25-T"));
    EXPECT_EQ(Key(db->Coupling(0, Flag(EndAttr::Male), 12.7f)), QStringLiteral("CPL-12M"));
    EXPECT_EQ(Key(db->Coupling(0, Flag(EndAttr::Female), 12.7f)), QStringLiteral("CPL-12F"));
    EXPECT_EQ(Key(db->Coupling(Flag(EndAttr::Female), 0, 12.7f)), QStringLiteral("CPL-12F"));
    EXPECT_EQ(Key(db->Coupling(0, Flag(EndAttr::Male), 6.35f)), QStringLiteral("EARLY-CPL"));
    EXPECT_EQ(db->Coupling(Flag(EndAttr::Male), 0, 12.7f), nullptr);
    EXPECT_EQ(db->NextError(), QStringLiteral("TINY parts coupling not found : 1/2\""));
}

TEST_F(PartsDatabaseTest, AnUnloadedDatabaseFailsEverySelection)
{
    TPartsDatabase empty;
    EXPECT_EQ(empty.Pipe(ColourBlue, 4000, 25), nullptr);
    EXPECT_EQ(empty.NextError(), QStringLiteral(" parts pipe size not found : 4000mm x 25mm"));
    EXPECT_TRUE(empty.SizeSupported(33));
    EXPECT_TRUE(ui.questions.isEmpty());
    QString kept = QStringLiteral("kept");
    empty.OutletTeeSizes(kept, 0);
    EXPECT_EQ(kept, QStringLiteral("kept"));
    EXPECT_EQ(empty.PipeSizeText(), DropSizeText());
}

TEST_F(PartsDatabaseTest, SizeLists)
{
    QStringList sizes{QStringLiteral("old")};
    db->PipeSizes(sizes, false);
    EXPECT_EQ(sizes, QStringList({QStringLiteral("25mm"), QStringLiteral("3/4\"")}));
    db->PipeSizes(sizes, true);
    EXPECT_EQ(sizes, FullPipeSizeTexts());
    EXPECT_EQ(db->PipeSizeText(), QStringLiteral("25mm\n3/4\"\n"));
    EXPECT_TRUE(ui.messages.empty());

    const auto noPipes =
        pipeloop::testing::DatabaseFromText(QStringLiteral("[X]\nTYP=TEE\nOD1=20"));
    noPipes->PipeSizes(sizes, false);
    EXPECT_EQ(sizes, FullPipeSizeTexts());
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral(
                              "No pipe items found in database, all sizes will be listed.")});
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Information);

    QString text;
    db->OutletTeeSizes(text, 25);
    EXPECT_EQ(text, QStringLiteral("20mm\n"));
    db->SaddleOutletSizes(text, 0);
    EXPECT_EQ(text, QStringLiteral("20mm\n"));
    db->SaddleOutletSizes(text, 25);
    EXPECT_EQ(text, QString());
    db->FemaleOutletSizes(text, 0, 25);
    EXPECT_EQ(text, QStringLiteral("1/2\"\n")); // three outlets, one size
    db->FemaleOutletSizes(text, Flag(Attr::Quick), 25);
    EXPECT_EQ(text, QString());

    // The drop dialog's outlets by style: female, tee, saddle, quick, female quick, female saddle.
    const QStringList byStyle = {"1/2\"\n", "20mm\n", "", "", "1/2\"\n", "1/2\"\n"};
    for (int style = 0; style < DropStyleCount; ++style)
        EXPECT_EQ(db->DropOutletSizes(style, 25), byStyle[style]) << style;
    EXPECT_EQ(db->DropOutletSizes(2, 0), QStringLiteral("20mm\n"));
    EXPECT_EQ(db->DropOutletSizes(3, 0), QStringLiteral("20mm\n"));
    // No parts: nothing for the threaded styles, the first nine pipe sizes for the others.
    const TPartsDatabase empty;
    for (int style = 0; style < DropStyleCount; ++style)
        EXPECT_EQ(empty.DropOutletSizes(style, 25),
                  style == 0 || style == 4 ? QString() : DropSizeText())
            << style;

    // Edit Drop Outlet Size offers the same, but only quick outlets to a female quick drop.
    for (int style = 0; style < DropStyleCount; ++style) {
        EXPECT_EQ(db->EditOutletSizes(style, 25), style == 4 ? QString() : byStyle[style]) << style;
        EXPECT_EQ(empty.EditOutletSizes(style, 25), empty.DropOutletSizes(style, 25)) << style;
    }
    const auto quick = pipeloop::testing::DatabaseFromText(
        QStringLiteral("[FO]\nTYP=FEMALE-OUTLET\nOD1=25\nOD2=1/2\"\n"
                       "[FOQ]\nTYP=FEMALE-OUTLET\nOD1=25\nOD2=3/8\"\nATR=QUICK"));
    EXPECT_EQ(quick->DropOutletSizes(4, 25), QStringLiteral("1/2\"\n3/8\"\n"));
    EXPECT_EQ(quick->EditOutletSizes(4, 25), QStringLiteral("3/8\"\n"));
    EXPECT_EQ(quick->EditOutletSizes(0, 25), QStringLiteral("1/2\"\n3/8\"\n"));
}

TEST_F(PartsDatabaseTest, SizeSupportedAsksThroughUiServices)
{
    EXPECT_TRUE(db->SizeSupported(25));
    EXPECT_TRUE(db->SizeSupported(19.0504f));
    EXPECT_TRUE(ui.questions.isEmpty());
    ui.askAnswers = {QStringLiteral("&Ignore"), QStringLiteral("&Cancel")};
    EXPECT_TRUE(db->SizeSupported(32));
    EXPECT_FALSE(db->SizeSupported(32));
    EXPECT_EQ(ui.questions, QStringList(2, QStringLiteral("TINYpart: pipe size not supported.")));
}

TEST_F(PartsDatabaseTest, ChoiceLists)
{
    QList<PartChoice> adapters;
    db->AdaptersFor(adapters, EndAttr::Male, 25);
    ASSERT_EQ(adapters.size(), 2);
    EXPECT_EQ(adapters[0].partNumber, QStringLiteral("A25-12"));
    EXPECT_EQ(adapters[1].part->PartKey(), QStringLiteral("A25-34"));
    QList<PartChoice> manifolds;
    db->ManifoldsWith(manifolds, 4);
    ASSERT_EQ(manifolds.size(), 2);
    EXPECT_EQ(manifolds[0].partNumber, QStringLiteral("M4-12N"));
    QList<PartChoice> valves{{QStringLiteral("kept"), nullptr}};
    db->ValvesOfSize(valves, 25);
    ASSERT_EQ(valves.size(), 3); // appended
    EXPECT_EQ(valves[1].partNumber, QStringLiteral("V25"));
    EXPECT_EQ(valves[2].partNumber, QStringLiteral("V25F"));
}

} // namespace
