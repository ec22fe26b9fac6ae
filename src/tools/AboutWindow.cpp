#include "AboutWindow.h"

#include "Version.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace pipeloop
{

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent), m_version(new QLabel(this))
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("PIPELOOP ") + VersionString(QStringLiteral("ProductVersion")));

    auto* product = new QLabel(QStringLiteral("PIPELOOP for ZAVOZA"), this);
    product->setObjectName(QStringLiteral("lbProduct"));
    QFont heading = product->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    product->setFont(heading);

    m_version->setObjectName(QStringLiteral("lbVersion"));
    m_version->setText(VersionString(QStringLiteral("FileVersion")));
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product, 0, Qt::AlignHCenter);
    layout->addWidget(m_version, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace pipeloop
