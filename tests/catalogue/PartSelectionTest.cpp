// The part selector's headless side: candidates by symbol, the assignment it
// opens with, and the text it writes.

#include "PartSelection.h"
#include "CatalogueTestSupport.h"
#include "DropSymbols.h"

namespace pipeloop::testing
{

using namespace catalogue;

namespace
{

QStringList Keys(const QList<PartChoice>& choices)
{
    QStringList keys;
    for (const PartChoice& choice : choices)
        keys.append(choice.part->PartKey());
    return keys;
}

} // namespace

TEST_F(TinyCatalogueTest, CandidatesFollowTheSymbolAndTheDropSize)
{
    const auto candidates = [this](const QString& symbol, float size) {
        return Keys(PartCandidates(*db, symbol, size));
    };
    EXPECT_EQ(candidates(Symbol::TwoPortOutlet, 25), QStringList({"M2-25", "M-90642-25"}));
    EXPECT_EQ(candidates(Symbol::FourPortOutlet, 25), QStringList({"M4-12N", "M4-12"}));
    EXPECT_EQ(candidates(Symbol::MaleAdaptor, 25), QStringList({"A25-12", "A25-34"}));
    EXPECT_EQ(candidates(Symbol::AdaptorFemale, 25), QStringList({"AF25-34"}));
    EXPECT_EQ(candidates(Symbol::Valve, 25), QStringList({"V25", "V25F"}));
    EXPECT_TRUE(candidates(Symbol::MaleAdaptor, 20).isEmpty());
    EXPECT_TRUE(candidates(Symbol::ThreePortOutlet, 25).isEmpty());
    EXPECT_TRUE(candidates(Symbol::Frl, 25).isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TinyCatalogueTest, AssignmentKeepsTheCataloguesPartsAndReportsTheRest)
{
    // A foreign maker, a key a newer catalogue dropped, and one part twice.
    const QList<PartChoice> parts = AssignedVendorParts(
        *db, QStringLiteral("TINYMAKER:V25+ACME:1++TINYMAKER:GONE-1+TINYMAKER:V25+ZAVOZA:A25-12"));
    EXPECT_EQ(Keys(parts), QStringList({"V25", "V25"}));
    EXPECT_EQ(ui.texts(), QStringList({"Part 1 maker ACME\r\nis not supported.",
                                       "Part GONE-1 is not in the parts database.",
                                       "Part A25-12 maker ZAVOZA\r\nis not supported."}));
    // Written back in order with every duplicate; nothing chosen clears it.
    QList<PartChoice> chosen = parts;
    chosen.append(PartCandidates(*db, Symbol::MaleAdaptor, 25).first());
    EXPECT_EQ(VendorAssignedText(chosen),
              QStringLiteral("TINYMAKER:V25+TINYMAKER:V25+TINYMAKER:A25-12"));
    EXPECT_EQ(VendorAssignedText({}), QString());
    // What the selector writes, the generator takes as the vendor's.
    for (const AssignedItem& item : SplitAssignedText(VendorAssignedText(chosen)))
        EXPECT_TRUE(IsVendorItem(*db, item));
}

} // namespace pipeloop::testing
