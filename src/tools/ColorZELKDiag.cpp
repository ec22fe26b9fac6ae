#include "ColorZELKDiag.h"

#include "HelpTopics.h"
#include "SettingsStore.h"
#include "UiServices.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <exception>

namespace pipeloop
{

namespace
{

// Qt's chooser shows a custom colour never set as white.
const QColor UnsetCustomColour = Qt::white;

QString CustomColourKey(int index)
{
    return QStringLiteral("Color") + QChar(u'A' + index);
}

// The stored text is the Windows colour value: blue in the high byte.
QString StoredText(const QColor& colour)
{
    const uint value = uint(colour.red()) | uint(colour.green()) << 8 | uint(colour.blue()) << 16;
    return QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0'));
}

std::optional<QColor> StoredColour(const QString& text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 16);
    if (!ok || text.trimmed().isEmpty())
        return std::nullopt;
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}

// The screen the user works on: the one under the pointer, else the owner's.
QScreen* ActiveScreen(const QWidget& dialog)
{
    if (QScreen* screen = QGuiApplication::screenAt(QCursor::pos()))
        return screen;
    return dialog.screen();
}

} // namespace

CustomColours ReadCustomColours(const SettingsStore& settings)
{
    CustomColours colours;
    for (int i = 0; i < int(colours.size()); ++i)
        colours[size_t(i)] = StoredColour(settings.RegReadText(CustomColourKey(i), QString()));
    return colours;
}

void WriteCustomColours(SettingsStore& settings, const CustomColours& colours)
{
    for (int i = 0; i < int(colours.size()); ++i) {
        if (colours[size_t(i)])
            settings.writeText(CustomColourKey(i), StoredText(*colours[size_t(i)]));
        else
            settings.remove(CustomColourKey(i));
    }
}

TColorZELKDiag::TColorZELKDiag(const QColor& initial, const QString& title,
                               const QString& helpTopic, SettingsStore& settings, QWidget* parent)
    : QColorDialog(parent), m_settings(settings), m_loaded(ReadCustomColours(settings))
{
    setObjectName(QStringLiteral("ColorZELKDiag"));
    // The program's own chooser (not the platform's) carries the help button
    // and can be placed; it is always fully expanded and picks solid colours.
    setOption(QColorDialog::DontUseNativeDialog);
    setOption(QColorDialog::ShowAlphaChannel, false);
    setWindowTitle(title);
    for (int i = 0; i < int(m_loaded.size()); ++i)
        setCustomColor(i, m_loaded[size_t(i)].value_or(UnsetCustomColour));
    setCurrentColor(initial);
    if (!helpTopic.isEmpty())
        addHelpButton(helpTopic);
}

std::optional<QColor> TColorZELKDiag::Choose(QWidget* parent, const QColor& initial,
                                             const QString& title, const QString& helpTopic,
                                             SettingsStore& settings)
{
    try {
        TColorZELKDiag dialog(initial, title, helpTopic, settings, parent);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    } catch (const std::exception& failure) {
        Ui().reportError(QString::fromLocal8Bit(failure.what()));
        return std::nullopt;
    }
}

void TColorZELKDiag::done(int result)
{
    // A slot the user never touched stays unset; any other is kept.
    CustomColours now;
    for (int i = 0; i < int(now.size()); ++i) {
        const QColor colour = customColor(i);
        if (m_loaded[size_t(i)] || colour != UnsetCustomColour)
            now[size_t(i)] = colour;
    }
    WriteCustomColours(m_settings, now);
    QColorDialog::done(result);
}

void TColorZELKDiag::showEvent(QShowEvent* event)
{
    QColorDialog::showEvent(event);
    placeOnScreen();
}

void TColorZELKDiag::addHelpButton(const QString& topic)
{
    auto* buttons = findChild<QDialogButtonBox*>();
    if (!buttons)
        return;
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setObjectName(QStringLiteral("btnHelp"));
    help->setEnabled(HelpAvailable());
    connect(buttons, &QDialogButtonBox::helpRequested, this, [topic] { ShowHelpTopic(topic); });
}

void TColorZELKDiag::placeOnScreen()
{
    const QScreen* screen = ActiveScreen(*this);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(area.left() + (area.width() - size.width()) / 2,
         area.top() + (area.height() - size.height()) / 3);
}

} // namespace pipeloop
