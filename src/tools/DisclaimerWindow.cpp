#include "DisclaimerWindow.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace pipeloop
{

namespace
{

const char DisclaimerText[] =
    "<h3>PIPELOOP licence and disclaimer</h3>"
    "<p>PIPELOOP is provided \"as is\", without warranty of any kind, express or implied, "
    "including the warranties of merchantability and fitness for a particular purpose. In no "
    "event shall Zelkworks be liable for any claim, damages or other liability arising from the "
    "use of the program or of the designs, drawings and parts lists it produces.</p>"
    "<p><b>Parts lists must be checked by a competent person before ordering.</b> The program "
    "works from the design as drawn; it cannot know what the drawing leaves out, and a list can "
    "miss or miscount parts. Pipework under pressure must be designed, installed and tested by "
    "qualified people according to the regulations that apply where it is built.</p>"
    "<p>The vendor catalogue, its part numbers, pictures and prices are the vendor's. They are "
    "shown as the vendor supplied them and may have changed since; the vendor's current "
    "catalogue and price list are what an order is placed against.</p>"
    "<p>You may install and use the program on the computers of your organisation. You may not "
    "sell it, or modify and redistribute it, without Zelkworks' written permission.</p>";

} // namespace

TDisclaimerForm::TDisclaimerForm(QWidget* parent) : QDialog(parent), m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("DisclaimerForm"));
    setWindowTitle(QStringLiteral("PIPELOOP EULA and Disclaimer"));
    m_text->setObjectName(QStringLiteral("meDisclaimer"));
    m_text->setHtml(QString::fromLatin1(DisclaimerText));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(520, 420);
}

QString TDisclaimerForm::text() const
{
    return m_text->toPlainText();
}

} // namespace pipeloop
