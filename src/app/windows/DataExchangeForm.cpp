#include "DataExchangeForm.h"

#include "AppDialogs.h"
#include "DxfWriter.h"
#include "ErrorReport.h"
#include "HelpTopics.h"
#include "UiServices.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pipeloop
{

namespace
{

const QString HelpTopic = QString::fromLatin1(topic::DataExchange);

const QString MetafileNote =
    QStringLiteral("Window's meta-file data exchange.  Either save to a file\n"
                   "or copy to the clip board.  Select the check box to export\n"
                   "the data as an enhanced meta-file.  Only the current view\n"
                   "can be saved or copied.  Supported by most applications.");
const QString BitmapNote = QStringLiteral("Windows BITMAP files are supported by a wide range\n"
                                          "of applications.  These files however are not very \n"
                                          "scaleable.  Only the current view can be saved or\n"
                                          "copied to the clip board.");
const QString DxfNote = QStringLiteral("DXF files are used by many AutoCAD applications.");

// A tab: its note above, then its controls, pushed to the top.
QWidget* Tab(const QString& name, const QString& note, const QList<QWidget*>& controls)
{
    auto* tab = new QWidget;
    tab->setObjectName(name);
    auto* layout = new QVBoxLayout(tab);
    auto* label = new QLabel(note);
    label->setObjectName(QStringLiteral("lb") + name.mid(2) + QStringLiteral("Note"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    for (QWidget* control : controls)
        layout->addWidget(control);
    layout->addStretch();
    return tab;
}

} // namespace

TDataExchangeForm::TDataExchangeForm(AppDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("DataExchangeForm"));
    setWindowTitle(QStringLiteral("Data Exchange"));
    InstallHelpKey(*this, [] { return HelpTopic; });
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl"));
    m_tabs->addTab(createMetafileTab(), QStringLiteral("WMF"));
    m_tabs->addTab(createBitmapTab(), QStringLiteral("BMP"));
    m_tabs->addTab(createDxfTab(), QStringLiteral("DXF"));
    layout->addWidget(m_tabs);
    layout->addWidget(createButtons());
}

// ---------------------------------------------------------------- the controls

QWidget* TDataExchangeForm::createMetafileTab()
{
    m_enhanced = new QCheckBox(QStringLiteral("Create &Enhanced Meta-File"));
    m_enhanced->setObjectName(QStringLiteral("cbEnhancedMetaFile"));
    m_enhanced->setChecked(true);
    return Tab(
        QStringLiteral("tsWMF"), MetafileNote,
        {m_enhanced,
         addButton(QStringLiteral("btnSaveMetafile"), QStringLiteral("&Save METAFILE to file"),
                   &TDataExchangeForm::SaveMetafile),
         addButton(QStringLiteral("btnCopyMetafile"), QStringLiteral("&Copy METAFILE to clipboard"),
                   &TDataExchangeForm::CopyMetafile)});
}

QWidget* TDataExchangeForm::createBitmapTab()
{
    return Tab(
        QStringLiteral("tsBMP"), BitmapNote,
        {addButton(QStringLiteral("btnSaveBitmap"), QStringLiteral("Save BITMAP to file"),
                   &TDataExchangeForm::SaveBitmap),
         addButton(QStringLiteral("btnCopyBitmap"), QStringLiteral("Copy BITMAP to clipboard"),
                   &TDataExchangeForm::CopyBitmap)});
}

QWidget* TDataExchangeForm::createDxfTab()
{
    return Tab(QStringLiteral("tsDXF"), DxfNote,
               {addButton(QStringLiteral("btnSaveDXF"), QStringLiteral("Save DXF file"),
                          &TDataExchangeForm::SaveDxf)});
}

QWidget* TDataExchangeForm::createButtons()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto* help = new QPushButton(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("btnHelp"));
    help->setAutoDefault(false);
    help->setEnabled(HelpAvailable());
    connect(help, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopic); });
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("btnClose"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons.insert(help->objectName(), help);
    m_buttons.insert(close->objectName(), close);
    layout->addWidget(help);
    layout->addWidget(close);
    return row;
}

QPushButton* TDataExchangeForm::addButton(const QString& name, const QString& caption,
                                          void (TDataExchangeForm::*command)())
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, command);
    m_buttons.insert(name, button);
    return button;
}

// ---------------------------------------------------------------- the commands

void TDataExchangeForm::Open(TPipeLoop& design, const PictureSource& source)
{
    m_design = &design;
    m_source = source;
    exec();
    m_design = nullptr;
}

void TDataExchangeForm::CopyMetafile(TPipeLoop& design, const PictureSource& source)
{
    const bool enhanced = m_enhanced->isChecked();
    copy([&] { return ClipboardMetafile(design, source, enhanced); }, CopiedAsMetafileMessage());
}

void TDataExchangeForm::CopyBitmap(TPipeLoop& design, const PictureSource& source)
{
    copy([&] { return ClipboardBitmap(design, source); }, CopiedAsBitmapMessage());
}

void TDataExchangeForm::SaveMetafile()
{
    if (!m_design)
        return;
    const bool enhanced = m_enhanced->isChecked();
    const QString path =
        askFileName(QStringLiteral("Save as META-FILE file"),
                    enhanced ? QStringLiteral("Enhanced Meta Files (*.emf);;All Files (*)")
                             : QStringLiteral("Windows Meta Files (*.wmf);;All Files (*)"),
                    enhanced ? QStringLiteral("emf") : QStringLiteral("wmf"));
    if (!path.isEmpty())
        SavePicture(*m_design, m_source, enhanced ? PictureFormat::Emf : PictureFormat::Wmf, path);
}

void TDataExchangeForm::CopyMetafile()
{
    if (m_design)
        CopyMetafile(*m_design, m_source);
}

void TDataExchangeForm::SaveBitmap()
{
    if (!m_design)
        return;
    const QString path =
        askFileName(QStringLiteral("Save as BITMAP file"),
                    QStringLiteral("BITMAP Files (*.bmp);;All Files (*)"), QStringLiteral("bmp"));
    if (!path.isEmpty())
        SavePicture(*m_design, m_source, PictureFormat::Bmp, path);
}

void TDataExchangeForm::CopyBitmap()
{
    if (m_design)
        CopyBitmap(*m_design, m_source);
}

void TDataExchangeForm::SaveDxf()
{
    if (!m_design)
        return;
    const QString path =
        askFileName(QStringLiteral("Save as DXF file"),
                    QStringLiteral("DXF Files (*.dxf);;All Files (*)"), QStringLiteral("dxf"));
    // Written whole or not at all: a failed save leaves no partial drawing
    // that a CAD program would open as if it were complete.
    if (!path.isEmpty())
        pipeloop::SaveDxf(*m_design, path, {DxfFileMode::Atomic});
}

QString TDataExchangeForm::askFileName(const QString& title, const QString& filter,
                                       const QString& suffix)
{
    return m_dialogs.saveFileName(this, title, filter, suffix, QString());
}

void TDataExchangeForm::copy(const std::function<ClipboardPicture()>& picture,
                             const QString& confirmation)
{
    try {
        QGuiApplication::clipboard()->setMimeData(picture().mimeData().release());
    } catch (...) {
        ReportError();
        return;
    }
    Ui().inform(confirmation);
}

} // namespace pipeloop
