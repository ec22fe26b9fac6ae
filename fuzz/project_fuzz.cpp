// libFuzzer target for the project file reader: any bytes are loaded as the
// Open command loads them (the header check included). A load either fails
// with exactly one message and changes nothing the caller holds, or gives a
// design that the connection check can run on and that saves to a file which
// loads again and saves to the same bytes.

#include "FuzzSupport.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "UiServices.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace pipeloop;
using namespace pipeloop::fuzz;

namespace
{

// Counts messages and answers every question Yes, so that options saved with
// a project are read too.
class CountingUi : public UiServices
{
public:
    void show(Kind, const QString&, const QString& = {}) override { ++messages; }
    bool confirm(const QString&, const QString& = {}) override { return true; }
    QString ask(Kind, const QString&, const QStringList& buttons, const QString& = {}) override
    {
        return buttons.value(0);
    }
    int messages = 0;
};

struct Session {
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;

    Session() : design(std::make_unique<TPipeLoop>(options)) {}
    QByteArray bytes() const { return ProjectBytes(*design, options, printSetup, zoom); }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (HeaderFormOf(bytes) == ProjectHeaderForm::Invalid)
        return 0; // refused at once: nothing more to learn from it

    // Files move between locales: the separator in use varies with the input.
    ScopedLocale locale(size % 2 ? LocaleFacts{u','} : LocaleFacts{u'.'});
    CountingUi ui;
    ScopedUiServices scope(ui);

    Session s;
    const QByteArray before = s.bytes();
    const TPipeLoopOptions optionsBefore = s.options;
    const TPipeLoop* designBefore = s.design.get();

    ProjectLoad load =
        LoadProjectFromBytes(bytes, QStringLiteral("fuzz.plf"), s.options, s.printSetup, s.zoom);
    // Nothing the caller holds changes before the swap.
    check(s.options == optionsBefore);
    check(s.bytes() == before);
    if (!load) {
        check(ui.messages == 1);
        check(!load.error().isEmpty());
        check(!load.Design);
        return 0;
    }
    check(ui.messages == (load.LineEndingsChanged ? 1 : 0)); // the warning alone
    load.Apply(s.design, s.options, s.printSetup, s.zoom);
    check(s.design.get() != designBefore);
    check(&s.design->Options == &s.options);

    // What was loaded is written in a form that loads again to the same file.
    const QByteArray saved = s.bytes();
    check(CheckProjectHeaderBytes(saved));
    Session again;
    again.options.SetProjectSettingsMode(1);
    ProjectLoad reload = LoadProjectFromBytes(saved, QStringLiteral("again.plf"), again.options,
                                              again.printSetup, again.zoom);
    check(reload.ok());
    reload.Apply(again.design, again.options, again.printSetup, again.zoom);
    check(again.bytes() == saved);

    // The loaded design can be checked as the CLI's check command does.
    s.design->CheckConnections();
    return 0;
}
