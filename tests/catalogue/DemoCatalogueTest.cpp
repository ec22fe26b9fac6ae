// The demo catalogue the build packs into zavoza.pldbcab: it loads cleanly and
// holds a part for every selection the parts list generator and the
// report make.

#include "CatalogueTestSupport.h"
#include "ScriptedUi.h"
#include "Units.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::ScriptedUi;

namespace
{

const QList<float> LoopSizes = {20, 25, 32, 40, 50, 63, 80, 110};
const EndSet MaleBsp = Flags(EndAttr::Male, EndAttr::Bsp);

class DemoCatalogueTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ScopedLocale locale(pipeloop::testing::PoundFacts());
        ScriptedUi ui;
        demo = new TPartsDatabase;
        demo->LoadContainer(pipeloop::testing::DemoContainerPath());
        loadMessages = new QStringList(ui.texts());
    }
    static void TearDownTestSuite()
    {
        delete demo;
        delete loadMessages;
    }
    void TearDown() override
    {
        // Every selection asked for here must have been found.
        QStringList queued;
        while (demo->QueuedErrorCount() > 0)
            queued.append(demo->NextError());
        EXPECT_TRUE(queued.isEmpty()) << queued.join(u'\n').toStdString();
    }

    ScopedLocale locale{pipeloop::testing::PoundFacts()};
    ScriptedUi ui;
    static TPartsDatabase* demo;
    static QStringList* loadMessages;
};

TPartsDatabase* DemoCatalogueTest::demo = nullptr;
QStringList* DemoCatalogueTest::loadMessages = nullptr;

TEST_F(DemoCatalogueTest, LoadsWithoutAnyMessage)
{
    EXPECT_TRUE(loadMessages->isEmpty()) << loadMessages->join(u'\n').toStdString();
    EXPECT_TRUE(demo->IsUsable());
    EXPECT_GT(demo->PartCount(), 250);
    EXPECT_GE(demo->PackageCount(), 3);
    EXPECT_EQ(demo->Supplier(), QStringLiteral("ZAVOZA"));
    EXPECT_EQ(demo->Maker(), QStringLiteral("ZAVOZA"));
    EXPECT_FALSE(demo->Description().isEmpty());
    EXPECT_TRUE(demo->OrderAddress().endsWith(QStringLiteral(".example")));
    EXPECT_EQ(demo->ExpiryDate().date(), QDate(2099, 12, 31));
    EXPECT_TRUE(demo->HasEntry(QStringLiteral("LOGO.JPG")));
    EXPECT_EQ(demo->Container().Names().front(), QStringLiteral("PARTS.PLDBI"));
    // The container holds the catalogue text byte for byte.
    EXPECT_EQ(*demo->Container().Entry(0),
              pipeloop::testing::ReadBytes(
                  pipeloop::testing::DemoSourcePath(QStringLiteral("PARTS.PLDBI"))));
}

TEST_F(DemoCatalogueTest, MainPartsForEveryLoopSizeColourAndLength)
{
    for (float size : LoopSizes) {
        SCOPED_TRACE(SizeText(size).toStdString());
        for (int colour : {ColourBlue, ColourGrey})
            for (int length : {4000, 6000})
                ASSERT_NE(demo->Pipe(colour, length, size), nullptr);
        EXPECT_EQ(demo->Elbow(0, size)->Angle(), 90.0f);
        EXPECT_NE(demo->Elbow45(0, size), nullptr);
        EXPECT_NE(demo->Connector(0, size), nullptr);
        EXPECT_NE(demo->EqualTee(0, size), nullptr);
        EXPECT_NE(demo->EndCap(0, size), nullptr);
        EXPECT_TRUE(demo->PipeClip(Attr::Steel, size)->HasAttribute(Attr::Steel));
        EXPECT_NE(demo->PipeClip(Attr::Technopolymeric, size), nullptr);
        if (size == 110.0f) {
            EXPECT_NE(demo->ButterflyValve(size), nullptr);
        } else {
            EXPECT_TRUE(demo->BallValve(0, size)->HasAttribute(Attr::Ball));
        }
        EXPECT_TRUE(demo->SizeSupported(size));
    }
    // The straight connector and end cap option names them.
    EXPECT_TRUE(demo->Connector(0, 25)->PartKey().startsWith(QStringLiteral("90040")));
    EXPECT_TRUE(demo->EndCap(0, 25)->PartKey().startsWith(QStringLiteral("90610")));
    // A plain elbow is listed before the quick one; the quick one is there too.
    EXPECT_FALSE(demo->Elbow(0, 20)->HasAttribute(Attr::Quick));
    EXPECT_TRUE(demo->Elbow(Flag(Attr::Quick), 20)->EndOfLine());
    // The 110 mm bend is catalogued at 135 degrees and still serves 45-degree turns.
    EXPECT_EQ(demo->Elbow45(0, 110)->Angle(), 135.0f);
    QStringList sizes;
    demo->PipeSizes(sizes, false);
    EXPECT_EQ(sizes.size(), 8);
}

TEST_F(DemoCatalogueTest, ReducingTeesAndSpurReducers)
{
    for (float big : LoopSizes)
        for (float small : LoopSizes)
            if (small < big) {
                EXPECT_FALSE(demo->PipeReducer(big, small)->HasAttribute(Attr::Bush))
                    << big << "-" << small;
            }
}

TEST_F(DemoCatalogueTest, DropOutletsOfEveryStyle)
{
    for (float run : LoopSizes) {
        SCOPED_TRACE(SizeText(run).toStdString());
        for (float outlet : {20.0f, 25.0f})
            if (outlet <= run) {
                EXPECT_NE(demo->OutletTee(run, outlet), nullptr);
            }
        if (run >= 40) {
            for (float outlet : {20.0f, 25.0f})
                EXPECT_NE(demo->SaddleOutlet(run, outlet), nullptr);
        }
        // FEMALE style and the FEMALE-TEE symbol: the plain threaded outlet.
        for (float thread : {12.7f, 19.05f}) {
            const TPartObject* plain = demo->FemaleOutlet(ThreadBsp, 0, run, thread);
            ASSERT_NE(plain, nullptr);
            EXPECT_FALSE(plain->HasAttribute(Attr::Saddle));
            EXPECT_FALSE(plain->HasAttribute(Attr::Quick));
            if (run >= 40) {
                EXPECT_TRUE(demo->FemaleOutlet(ThreadBsp, Flag(Attr::Saddle), run, thread)
                                ->HasAttribute(Attr::Saddle));
            }
        }
    }
    QString quick;
    demo->FemaleOutletSizes(quick, Flag(Attr::Quick), 25);
    EXPECT_EQ(quick, QStringLiteral("1/2\"\n"));
}

TEST_F(DemoCatalogueTest, ManifoldsForEveryTwoPortPreference)
{
    for (const char* code : {"90602", "90642", "90660", "90662", "90664"}) {
        const QString preferred = QString::fromLatin1(code);
        const bool needsAdapter =
            preferred == QStringLiteral("90642") || preferred == QStringLiteral("90662");
        for (float c : {20.0f, 25.0f, 32.0f}) {
            SCOPED_TRACE((preferred + u' ' + SizeText(c)).toStdString());
            float manifoldSize = c;
            if (needsAdapter) {
                const TPartObject* adapter = demo->Adapter(MaleBsp, c == 25.0f ? 19.05f : 12.7f, c);
                ASSERT_NE(adapter, nullptr);
                manifoldSize = adapter->Size2();
            }
            const TPartObject* manifold = demo->Manifold(2, ThreadBsp, preferred, manifoldSize);
            ASSERT_NE(manifold, nullptr);
            EXPECT_TRUE(manifold->PartKey().contains(preferred));
            // With that preference a one-port outlet needs the adapter too.
            EXPECT_NE(demo->Manifold(1, ThreadBsp, QString(), manifoldSize), nullptr);
        }
    }
    for (float c : {20.0f, 25.0f, 32.0f, 40.0f, 50.0f, 63.0f, 12.7f}) {
        const float size =
            c == 12.7f ? c : demo->Adapter(MaleBsp, c == 25.0f ? 19.05f : 12.7f, c)->Size2();
        const TPartObject* four = demo->Manifold(4, ThreadBsp, QString(), size);
        ASSERT_NE(four, nullptr);
        EXPECT_EQ(four->ThreadOfEnd2(), ThreadBsp); // the NPT one listed first is passed over
    }
    QList<PartChoice> threePort;
    demo->ManifoldsWith(threePort, 3);
    EXPECT_EQ(threePort.size(), 2);
    EXPECT_EQ(demo->CataloguePageOf(threePort[0].partNumber).page, -1); // not in the catalogue yet
}

TEST_F(DemoCatalogueTest, SymbolChainParts)
{
    // MALE_ADAPTOR and ADAPTOR_FEMALE at the drop sizes, 25 to 3/4" and to 1/2".
    for (float c : {20.0f, 25.0f, 32.0f}) {
        EXPECT_NE(demo->Adapter(MaleBsp, 0, c), nullptr);
        EXPECT_NE(demo->Adapter(Flags(EndAttr::Bsp, EndAttr::Female), 0, c), nullptr);
    }
    EXPECT_NE(demo->Adapter(MaleBsp, 12.7f, 25), nullptr);
    EXPECT_NE(demo->Adapter(MaleBsp, 19.05f, 25), nullptr);
    // VALVE after a four-port outlet at 20 and 25 mm takes a female-ended valve.
    for (float c : {20.0f, 25.0f})
        EXPECT_TRUE(demo->BallValve(Flag(EndAttr::Female), c)->HasEnd2(EndAttr::Female));
    for (float thread : {12.7f, 19.05f, 25.4f})
        EXPECT_NE(demo->BallValve(0, thread), nullptr);
    // AIR-HOSE: two male couplings at the outlet size; RECOIL-HOSE: bush, hose, coupling.
    for (float outlet : {6.35f, 9.25f, 12.7f, 19.05f})
        EXPECT_NE(demo->Coupling(0, Flag(EndAttr::Male), outlet), nullptr);
    for (float hose : {6.35f, 9.25f}) {
        EXPECT_NE(demo->ReducerBush(12.7f, hose), nullptr);
        EXPECT_NE(demo->ReducerBush(20, hose), nullptr);
        EXPECT_NE(demo->Hose(6000, true, hose), nullptr);
        EXPECT_NE(demo->Coupling(0, Flag(EndAttr::Female), hose), nullptr);
    }
    // Air hose lines: 25 m of 1/4" is a 20 m hose and then a 10 m one.
    EXPECT_EQ(demo->Hose(25000, false, 6.35f)->Length(), 20000);
    EXPECT_EQ(demo->Hose(5000, false, 6.35f)->Length(), 10000);
    for (float hose : SmallSizes())
        for (int length : {10000, 20000})
            EXPECT_EQ(demo->Hose(length, false, hose)->Length(), length);
}

TEST_F(DemoCatalogueTest, PackagesEndOfLineCodesAndPages)
{
    for (int i = 0; i < demo->PackageCount(); ++i) {
        const TPackage* package = demo->Package(i);
        SCOPED_TRACE(package->Name().toStdString());
        EXPECT_FALSE(package->Symbols().isEmpty());
        EXPECT_GT(package->Length(), 0);
        EXPECT_NE(package->ConnectionSize(), 0.0f);
        for (const QString& key : package->Parts())
            EXPECT_NE(demo->PartOfKey(key), nullptr) << key.toStdString();
    }
    int endOfLine = 0;
    int codes = 0;
    int pages = 0;
    QSet<QString> numbers;
    for (int i = 0; i < demo->PartCount(); ++i) {
        const TPartObject* part = demo->Part(i);
        endOfLine += part->EndOfLine();
        codes += !part->CatalogueCode().isEmpty();
        pages += part->CataloguePage() > 0;
        EXPECT_EQ(part->Maker(), QStringLiteral("ZAVOZA"));
        EXPECT_GT(part->Price(), 0);
        EXPECT_FALSE(numbers.contains(part->PartNumber()));
        numbers.insert(part->PartNumber());
    }
    EXPECT_GE(endOfLine, 3);
    EXPECT_GE(codes, 40);
    EXPECT_GT(pages, 200);
}

TEST_F(DemoCatalogueTest, TheDemoPriceListLoadsOverEveryPart)
{
    const QString path = pipeloop::testing::DemoSourcePath(QStringLiteral("demo.ppl"));
    EXPECT_TRUE(TPartsDatabase::IsPriceListFile(path));
    TPartsDatabase priced;
    priced.LoadContainer(pipeloop::testing::DemoContainerPath());
    priced.LoadPriceList(path);
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join(u'\n').toStdString();
    EXPECT_TRUE(priced.PriceListLoaded());
    EXPECT_EQ(priced.PriceListExpiry().date(), QDate(2099, 12, 31));
    for (int i = 0; i < priced.PartCount(); ++i) {
        const TPartObject* part = priced.Part(i);
        EXPECT_GT(part->Price(), 0) << part->PartKey().toStdString();
        EXPECT_LT(part->Price(), demo->Part(i)->Price()); // net prices below list prices
        EXPECT_EQ(part->UnitsPerPackage(), demo->Part(i)->UnitsPerPackage());
    }
}

TEST_F(DemoCatalogueTest, TheDemoPriceListIsIgnoredUnderAnotherCurrency)
{
    LocaleFacts euro = pipeloop::testing::PoundFacts();
    euro.currencySymbol = QStringLiteral("\u20ac");
    ScopedLocale scoped(euro);
    TPartsDatabase priced;
    priced.LoadContainer(pipeloop::testing::DemoContainerPath());
    priced.LoadPriceList(pipeloop::testing::DemoSourcePath(QStringLiteral("demo.ppl")));
    EXPECT_FALSE(priced.PriceListLoaded());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(priced.Part(0)->Price(), demo->Part(0)->Price());
}

} // namespace
