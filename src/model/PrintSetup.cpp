#include "PrintSetup.h"

#include "IniFile.h"
#include "SettingsStore.h"

#include <algorithm>

namespace pipeloop
{

namespace
{
const QString Section = QStringLiteral("PrintSetup");
const QString PrintCenterKey = QStringLiteral("PrintCenter");
const QString PrinterNameKey = QStringLiteral("PrinterName");
const QString ShowPrintPageKey = QStringLiteral("ShowPrintPage");

QString ScalingKey(ViewKind view)
{
    return QStringLiteral("PrintScaling") + ViewWord(view);
}
QString LandscapeKey(ViewKind view)
{
    return QStringLiteral("Landscape") + ViewWord(view);
}
} // namespace

void PrintSetup::SetPrintScaling(ViewKind view, int32_t scale)
{
    if (scale >= MinScale)
        m_scaling[index(view)] = std::min(scale, MaxScale);
}

bool PrintSetup::LoadFromRegistry(const SettingsStore& store)
{
    if (!store.keyExists())
        return false;
    PrintCenter = store.RegReadBool(PrintCenterKey, PrintCenter);
    for (ViewKind view : AllViews) {
        SetPrintScaling(view, store.RegReadInt(ScalingKey(view), PrintScaling(view)));
        SetLandscape(view, store.RegReadBool(LandscapeKey(view), Landscape(view)));
    }
    PrinterName = store.RegReadText(PrinterNameKey, PrinterName);
    ShowPrintPage = store.RegReadBool(ShowPrintPageKey, ShowPrintPage);
    return true;
}

void PrintSetup::SaveToRegistry(SettingsStore& store) const
{
    store.writeBool(PrintCenterKey, PrintCenter);
    for (ViewKind view : AllViews) {
        store.writeInt(ScalingKey(view), PrintScaling(view));
        store.writeBool(LandscapeKey(view), Landscape(view));
    }
    store.writeText(PrinterNameKey, PrinterName);
    store.writeBool(ShowPrintPageKey, ShowPrintPage);
}

void PrintSetup::LoadFromProject(const IniFile& ini)
{
    PrintCenter = ini.readBool(Section, PrintCenterKey, PrintCenter);
    for (ViewKind view : AllViews) {
        SetPrintScaling(view, ini.readInteger(Section, ScalingKey(view), PrintScaling(view)));
        SetLandscape(view, ini.readBool(Section, LandscapeKey(view), Landscape(view)));
    }
    PrinterName = ini.readString(Section, PrinterNameKey, PrinterName);
    ShowPrintPage = ini.readBool(Section, ShowPrintPageKey, ShowPrintPage);
}

void PrintSetup::SaveToProject(IniFile& ini) const
{
    ini.writeBool(Section, PrintCenterKey, PrintCenter);
    for (ViewKind view : AllViews) {
        ini.writeInteger(Section, ScalingKey(view), PrintScaling(view));
        ini.writeBool(Section, LandscapeKey(view), Landscape(view));
    }
    ini.writeString(Section, PrinterNameKey, PrinterName);
    ini.writeBool(Section, ShowPrintPageKey, ShowPrintPage);
}

} // namespace pipeloop
