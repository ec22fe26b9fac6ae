// libFuzzer target for the user parts file reader and the
// assigned-parts text: any bytes are read; the user's entries written out and
// read again give the same keys and descriptions; a split assigned text joins
// and splits again to the same items.

#include "FuzzSupport.h"
#include "UserParts.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace pipeloop;
using namespace pipeloop::fuzz;
using namespace pipeloop::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstallSilentUi();
    const QByteArray bytes = InputBytes(data, size);

    UserPartsDatabase parts;
    parts.ReadBytes(bytes);
    check(parts.Keys().size() == parts.Descriptions().size());
    for (const QString& key : parts.Keys())
        check(!key.contains(u' ') && !key.contains(u'\r') && !key.contains(u'\n'));
    for (const QString& maker : parts.Makers())
        parts.PartNumbersOf(maker);

    UserPartsDatabase again;
    again.ReadBytes(parts.UserEntriesBytes());
    check(again.Keys() == parts.Keys());
    check(again.Descriptions() == parts.Descriptions());
    check(again.Makers() == parts.Makers());

    const QString text = QString::fromLatin1(bytes);
    const std::vector<AssignedItem> items = SplitAssignedText(text);
    for (const AssignedItem& item : items)
        check(!item.maker.contains(u':') && !item.maker.contains(u'+') &&
              !item.partNumber.contains(u'+'));
    // Items without a maker gain an empty one (":" + number), which splits back the same.
    check(SplitAssignedText(JoinAssignedText(items)) == items);
    return 0;
}
