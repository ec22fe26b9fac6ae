#pragma once

#include <QDialog>

class QTextBrowser;

namespace pipeloop
{

// "EULA && Disclaimer": the terms the program is provided under, fixed text
// the user reads and closes.
class TDisclaimerForm : public QDialog
{
    Q_OBJECT

public:
    explicit TDisclaimerForm(QWidget* parent = nullptr);

    QString text() const;

private:
    QTextBrowser* m_text;
};

} // namespace pipeloop
