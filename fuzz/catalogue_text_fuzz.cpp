// libFuzzer target for the catalogue text decoder: any
// bytes are parsed as PARTS.PLDBI, then every part's own sizes are fed back to
// the selections, size lists and key queries. Nothing may crash, hang or read
// out of bounds, and every selection must answer with a part that meets its
// own conditions or queue exactly one message.

#include "FuzzSupport.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace pipeloop;
using namespace pipeloop::fuzz;
using namespace pipeloop::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstallSilentUi();
    const QByteArray text = InputBytes(data, size);
    TPartsDatabase db;
    db.LoadCatalogueText(text);
    check(db.Loaded());

    const int parts = std::min(db.PartCount(), 16);
    for (int i = 0; i < parts; ++i) {
        const TPartObject* part = db.Part(i);
        const float s1 = part->Size1();
        const float s2 = part->Size2();
        const int before = db.QueuedErrorCount();
        int asked = 0;
        int failed = 0;
        auto count = [&](const TPartObject* found) {
            ++asked;
            failed += found == nullptr;
            return found;
        };
        if (const TPartObject* p = count(db.Pipe(part->ColourIndex(), part->Length(), s1)))
            check(p->IsA<TPipe>() && SameSize(p->Size1(), s1) && p->Length() == part->Length());
        count(db.Hose(part->Length(), part->HasAttribute(Attr::Recoil), s1));
        count(db.Coupling(part->End1(), part->End2(), s1));
        count(db.ReducerBush(s1, s2));
        count(db.PipeReducer(s1, s2));
        count(db.EndCap(part->Attributes(), s1));
        count(db.OutletTee(s1, s2));
        count(db.SaddleOutlet(s1, s2));
        count(db.FemaleOutlet(part->ThreadOfEnd2(), part->Attributes(), s1, s2));
        if (const TPartObject* e = count(db.Elbow(part->Attributes(), s1)))
            check(e->HasAttribute(Attr::Elbow) && e->Angle() == 90.0f);
        count(db.Elbow45(part->Attributes(), s1));
        count(db.Connector(part->Attributes(), s1));
        count(db.EqualTee(part->Attributes(), s1));
        count(db.BallValve(part->End2(), s1));
        count(db.ButterflyValve(s1));
        count(db.Manifold(part->Ports(), part->ThreadOfEnd2(), part->PartKey().left(3), s1));
        count(db.Adapter(part->End2(), s2, s1));
        count(db.PipeClip(Attr::Steel, s1));
        check(db.QueuedErrorCount() - before == failed && asked == 18);
        db.DisplayOf(part->PartKey(), true);
        db.PriceOf(part->PartKey());
        db.CataloguePageOf(part->PartKey());
        check(db.FindPart(part->PartNumber()) != nullptr);
        check(db.PartOfKey(part->PartKey()) != nullptr);
        ImageNameOf(part->PartNumber());
        QString sizes;
        db.FemaleOutletSizes(sizes, part->Attributes(), s1);
        db.OutletTeeSizes(sizes, s1);
        db.SaddleOutletSizes(sizes, 0);
        db.SizeSupported(s1);
        QList<PartChoice> choices;
        db.AdaptersFor(choices, EndAttr::Male, s1);
        db.ManifoldsWith(choices, part->Ports());
        db.ValvesOfSize(choices, s1);
    }
    while (db.QueuedErrorCount() > 0)
        db.NextError();
    QStringList list;
    db.PipeSizes(list, false);
    db.PipeSizeText();
    for (int i = 0; i < db.PackageCount(); ++i)
        check(db.FindPackage(db.Package(i)->Name()) != nullptr);
    return 0;
}
