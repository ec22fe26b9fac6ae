#pragma once

#include <QDialog>

class QLabel;

namespace pipeloop
{

// The about window: caption "PIPELOOP " + the product version, and a version
// label with the file version.
class TAboutForm : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return m_version; }

private:
    QLabel* m_version;
};

} // namespace pipeloop
