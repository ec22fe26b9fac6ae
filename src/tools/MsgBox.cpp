#include "MsgBox.h"

#include "HelpTopics.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

#include <algorithm>

namespace pipeloop
{

namespace
{
// Every gap of the box: the margin around the message and between buttons.
constexpr int Gap = 12;
constexpr int MinButtonWidth = 75;
constexpr int MinButtonHeight = 25;

QFont messageFont()
{
    return QApplication::font("QMenu");
}

QString windowCaption(const QString& caption)
{
    const QString title = caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption;
    return QLatin1Char(' ') + title;
}

// A box that no button can close would hold the user for ever.
QStringList closableButtons(QStringList buttons)
{
    const bool closable = std::any_of(buttons.cbegin(), buttons.cend(),
                                      [](const QString& b) { return b != HelpButtonCaption; });
    if (!closable)
        buttons.prepend(QStringLiteral("&Ok"));
    return buttons;
}
} // namespace

MsgBoxLayout LayOutMsgBox(const MsgBoxMetrics& m)
{
    const int borders = 2 * m.border;
    const int messageHeight = m.lineCount * m.lineHeight + 2 * Gap;
    const int buttonsWidth = m.buttonCount * (m.buttonWidth + Gap) + Gap;
    const int width = std::max(m.widestLine + borders + 4 * Gap, buttonsWidth + borders);
    const int height = messageHeight + m.buttonHeight + borders + m.captionHeight + 4 * Gap;

    MsgBoxLayout layout;
    layout.windowSize = QSize(width, height);
    const int clientWidth = width - borders;
    layout.messageArea = QRect(0, 0, clientWidth, messageHeight);

    // The buttons are centred as one group; the group's width counts the gaps
    // between buttons only.
    const int groupWidth = m.buttonCount * m.buttonWidth + (m.buttonCount - 1) * Gap;
    int left = (clientWidth - groupWidth) / 2;
    const int top = messageHeight + Gap;
    for (int i = 0; i < m.buttonCount; ++i) {
        layout.buttons.append(QRect(left, top, m.buttonWidth, m.buttonHeight));
        left += m.buttonWidth + Gap;
    }
    return layout;
}

QStringList MessageLines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    return text.split(lineBreak);
}

TMsgBoxForm::TMsgBoxForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("MsgBoxForm"));
    setFont(messageFont());
}

void TMsgBoxForm::setMessage(const QString& caption, const QString& text,
                             const QStringList& buttons, const QString& helpTopic)
{
    setWindowTitle(windowCaption(caption));
    m_lines = MessageLines(text);
    // The text is painted, not a label: a screen reader reads it from here.
    setAccessibleDescription(m_lines.join(u'\n'));
    m_helpTopic = helpTopic;
    m_pressed.clear();
    clearButtons();

    int buttonWidth = MinButtonWidth;
    int buttonHeight = MinButtonHeight;
    for (const QString& caption : closableButtons(buttons)) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(true);
        if (caption == HelpButtonCaption)
            button->setEnabled(HelpAvailable());
        connect(button, &QPushButton::clicked, this, [this, button] { onButtonClicked(button); });
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
        buttonHeight = std::max(buttonHeight, button->sizeHint().height());
        m_buttons.append(button);
    }

    const QFontMetrics metrics(font());
    MsgBoxMetrics measures;
    measures.lineCount = int(m_lines.size());
    measures.lineHeight = metrics.height();
    for (const QString& line : std::as_const(m_lines))
        measures.widestLine = std::max(measures.widestLine, metrics.horizontalAdvance(line));
    measures.buttonCount = int(m_buttons.size());
    measures.buttonWidth = buttonWidth;
    measures.buttonHeight = buttonHeight;
    // The window manager adds the frame around the client size set here.
    m_layout = LayOutMsgBox(measures);

    setFixedSize(m_layout.windowSize);
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setGeometry(m_layout.buttons[i]);
    if (!m_buttons.isEmpty())
        m_buttons.front()->setFocus();
    update();
}

QStringList TMsgBoxForm::buttonCaptions() const
{
    QStringList captions;
    for (const QPushButton* button : m_buttons)
        captions.append(button->text());
    return captions;
}

QPushButton* TMsgBoxForm::button(const QString& caption) const
{
    for (QPushButton* button : m_buttons)
        if (button->text() == caption)
            return button;
    return nullptr;
}

QString TMsgBoxForm::execute()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    placeOnOwner();
    exec();
    return m_pressed;
}

void TMsgBoxForm::showModeless()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setModal(false);
    placeOnOwner();
    show();
    raise();
    activateWindow();
}

void TMsgBoxForm::dismiss()
{
    m_closingByButton = true;
    hide();
    m_closingByButton = false;
    m_keepPosition = false;
}

void TMsgBoxForm::placeOnOwner()
{
    if (m_keepPosition)
        return;
    QRect area;
    if (QWidget* owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(width() / 2, height() / 2));
}

void TMsgBoxForm::onButtonClicked(QPushButton* pressed)
{
    const QString caption = pressed->text();
    if (caption == HelpButtonCaption) {
        ShowHelpTopic(m_helpTopic);
        return;
    }
    finish(caption);
}

void TMsgBoxForm::finish(const QString& caption)
{
    m_pressed = caption;
    m_keepPosition = false;
    m_closingByButton = true;
    done(QDialog::Accepted);
    m_closingByButton = false;
    // Announced after the box is gone: a prompt's caller may show it again at once.
    emit buttonPressed(caption);
}

void TMsgBoxForm::closeEvent(QCloseEvent* event)
{
    if (m_closingByButton)
        event->accept();
    else
        event->ignore();
}

void TMsgBoxForm::reject()
{
    // Escape and the window manager's close do not answer the box.
}

void TMsgBoxForm::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    int y = m_layout.messageArea.top() + Gap;
    for (const QString& line : std::as_const(m_lines)) {
        painter.drawText(QRect(Gap, y, m_layout.messageArea.width() - Gap, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
        y += metrics.height();
    }
}

void TMsgBoxForm::clearButtons()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
}

QString MessageBox(const QString& caption, const QString& text, const QStringList& buttons,
                   const QString& helpTopic, QWidget* owner)
{
    // A fresh box each time, so that a box opened from inside another (a help
    // viewer's own message, an error during a question) cannot disturb it.
    TMsgBoxForm box(owner ? owner : QApplication::activeWindow());
    box.setMessage(caption, text, buttons, helpTopic);
    return box.execute();
}

bool Confirm(const QString& text)
{
    return MessageBox({}, text, {QStringLiteral("&Yes"), QStringLiteral("&No")}) ==
           QStringLiteral("&Yes");
}

void Inform(const QString& text)
{
    MessageBox({}, text, {QStringLiteral("&Ok")});
}

TMsgBoxForm* ShowModelessPrompt(const QString& caption, const QString& text,
                                const QStringList& buttons, QWidget* owner, bool keepPosition)
{
    static QPointer<TMsgBoxForm> prompt;
    QWidget* centreOn = owner ? owner : QApplication::activeWindow();
    if (!prompt)
        prompt = new TMsgBoxForm(centreOn);
    else if (prompt->isVisible())
        prompt->dismiss();
    QObject::disconnect(prompt, &TMsgBoxForm::buttonPressed, nullptr, nullptr);
    if (centreOn && centreOn->window() != prompt->parentWidget() && !keepPosition) {
        // Centre over the window that asks now, keeping the box's parent.
        prompt->setKeepPosition(true);
        const QRect area = centreOn->window()->frameGeometry();
        prompt->setMessage(caption, text, buttons);
        prompt->move(area.center() - QPoint(prompt->width() / 2, prompt->height() / 2));
    } else {
        prompt->setKeepPosition(keepPosition);
        prompt->setMessage(caption, text, buttons);
    }
    prompt->showModeless();
    return prompt;
}

} // namespace pipeloop
