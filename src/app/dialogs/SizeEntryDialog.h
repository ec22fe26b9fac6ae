#pragma once

// TEditForm: asks for one pipe, outlet or hose size, typed or chosen from a
// list. The window is made once and reused.

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;
class QLabel;

namespace pipeloop
{

// What OK makes of the text: the size, or nothing after the user has been
// told why ("Invalid size : " + text) or has cancelled the question about a
// size the list does not hold.
std::optional<float> ConfirmSizeEntry(const QString& text, const QString& sizeList);

class SizeEntryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SizeEntryDialog(QWidget* parent = nullptr);

    // Sets the window up for one use: caption, prompt, the size shown and the
    // sizes offered one per line (empty: the built-in list, any size taken).
    void prepare(const QString& title, const QString& prompt, float size, const QString& sizeList);
    // The size the last OK confirmed.
    float size() const { return m_size; }

    QComboBox* sizeBox() const { return m_cbSize; }
    QLabel* promptLabel() const { return m_lbPrompt; }

public slots:
    // OK: closes with the size read, or refused.
    void accept() override;

private:
    QLabel* m_lbPrompt;
    QComboBox* m_cbSize;
    QString m_sizeList;
    float m_size = 0.0f;
};

} // namespace pipeloop
