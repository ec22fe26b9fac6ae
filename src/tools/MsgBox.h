#pragma once

#include <QDialog>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPushButton;

namespace pipeloop
{

// The caption of the button that shows the box's help topic instead of closing it.
inline const QString HelpButtonCaption = QStringLiteral("&Help");

// The measures the message box is laid out from, all in pixels. border and
// captionHeight are the window frame's; a box whose size is set as a client
// area passes 0 for both.
struct MsgBoxMetrics {
    int lineCount = 1;
    int lineHeight = 0;
    int widestLine = 0;
    int buttonCount = 1;
    int buttonWidth = 75;
    int buttonHeight = 25;
    int border = 0;
    int captionHeight = 0;
};

// Where everything of the box goes: the outer size, the message area (its text
// is drawn 12 pixels inside it) and one rectangle per button, in client
// coordinates.
struct MsgBoxLayout {
    QSize windowSize;
    QRect messageArea;
    QList<QRect> buttons;
};

MsgBoxLayout LayOutMsgBox(const MsgBoxMetrics& metrics);

// Splits a message into its lines at CR LF, LF or a lone CR.
QStringList MessageLines(const QString& text);

// The program's own message box: a caption, a message of several lines and one
// to four named buttons. Its result is the caption of the button pressed. The
// box closes only through one of its buttons; "&Help" shows the help topic and
// leaves the box open (and is disabled while no help viewer is installed).
class TMsgBoxForm : public QDialog
{
    Q_OBJECT

public:
    explicit TMsgBoxForm(QWidget* owner = nullptr);

    // Fills the box. An empty caption shows the application's title. One to
    // four buttons are expected; a box that no button could close (none, or
    // only "&Help") also gets "&Ok", so that it can never trap the user.
    void setMessage(const QString& caption, const QString& text, const QStringList& buttons,
                    const QString& helpTopic = {});

    // While set, the box opens where it was last left instead of centred on
    // its owner. Closing the box clears it.
    void setKeepPosition(bool keep) { m_keepPosition = keep; }
    bool keepPosition() const { return m_keepPosition; }

    // Shows the box modally and waits for a button; returns its caption.
    QString execute();
    // Shows the box on top of all windows and returns at once; the answer
    // comes through buttonPressed.
    void showModeless();
    // Closes the box without an answer (the caller ended a modeless prompt
    // another way).
    void dismiss();

    // The caption of the button pressed last, empty before any.
    QString pressedCaption() const { return m_pressed; }
    QString helpTopic() const { return m_helpTopic; }
    QStringList buttonCaptions() const;
    QPushButton* button(const QString& caption) const;
    const MsgBoxLayout& currentLayout() const { return m_layout; }

signals:
    void buttonPressed(const QString& caption);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

public slots:
    // Escape and the window's close button end up here: the box stays open.
    void reject() override;

private:
    void onButtonClicked(QPushButton* pressed);
    void clearButtons();
    void placeOnOwner();
    void finish(const QString& caption);

    QStringList m_lines;
    QString m_helpTopic;
    QString m_pressed;
    QList<QPushButton*> m_buttons;
    MsgBoxLayout m_layout;
    bool m_keepPosition = false;
    bool m_closingByButton = false;
};

// The general form: a modal box with caller-given buttons; returns the caption
// of the button pressed. The owner defaults to the active window.
QString MessageBox(const QString& caption, const QString& text, const QStringList& buttons,
                   const QString& helpTopic = {}, QWidget* owner = nullptr);

// A question with "&Yes" and "&No"; true for "&Yes".
bool Confirm(const QString& text);

// A notice with "&Ok".
void Inform(const QString& text);

// The modeless prompt of the drawing area: shows the one prompt box on top and
// returns it at once; connect to buttonPressed for the answer. The box is kept
// and reused, so that keepPosition can leave it where the user last put it;
// without keepPosition it is centred over the owner (the active window when
// none is given). Connections to buttonPressed made for an earlier prompt are
// dropped when the next one is shown. The box is a child of its first owner
// and goes with it; hold the pointer in a QPointer.
TMsgBoxForm* ShowModelessPrompt(const QString& caption, const QString& text,
                                const QStringList& buttons, QWidget* owner,
                                bool keepPosition = false);

} // namespace pipeloop
