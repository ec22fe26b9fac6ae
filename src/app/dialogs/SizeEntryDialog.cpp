#include "SizeEntryDialog.h"

#include "DialogParts.h"
#include "EditRules.h"
#include "EntryKeyFilter.h"
#include "UiServices.h"
#include "Units.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pipeloop
{

namespace
{
const QString NotListedQuestion = QStringLiteral("Entered size not support.");

const QStringList BuiltInSizes{QStringLiteral("16.5mm"),  QStringLiteral("20mm"),
                               QStringLiteral("25mm"),    QStringLiteral("32mm"),
                               QStringLiteral("40mm"),    QStringLiteral("50mm"),
                               QStringLiteral("63mm"),    QStringLiteral("76.3mm"),
                               QStringLiteral("101.8mm"), QStringLiteral("110mm")};
} // namespace

std::optional<float> ConfirmSizeEntry(const QString& text, const QString& sizeList)
{
    const Parsed<float> read = ReadSizeEntry(text, sizeList);
    if (read)
        return read.value();
    // A size the list lacks was asked about already; Cancel there needs no more words.
    if (read.error() != NotListedQuestion)
        Ui().inform(read.error());
    return std::nullopt;
}

SizeEntryDialog::SizeEntryDialog(QWidget* parent)
    : QDialog(parent), m_lbPrompt(new QLabel), m_cbSize(new QComboBox)
{
    setObjectName(QStringLiteral("EditForm"));
    m_lbPrompt->setObjectName(QStringLiteral("lbPrompt"));
    m_lbPrompt->setBuddy(m_cbSize);
    QLabel* hint = NamedLabel(QStringLiteral("lbHint"),
                              QStringLiteral("Use 1/4, 3/4 or 1\" for imperial sizes ..."));
    m_cbSize->setObjectName(QStringLiteral("cbSize"));
    m_cbSize->setEditable(true);
    m_cbSize->setInsertPolicy(QComboBox::NoInsert);
    EntryKeyFilter::install(m_cbSize->lineEdit(), EntryKeyFilter::Rule::Size);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lbPrompt);
    layout->addWidget(m_cbSize);
    layout->addWidget(hint);
    layout->addLayout(OkCancelRow(this, QStringLiteral("Ok"), QStringLiteral("Cancel")));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SizeEntryDialog::prepare(const QString& title, const QString& prompt, float size,
                              const QString& sizeList)
{
    setWindowTitle(title);
    m_lbPrompt->setText(prompt);
    m_sizeList = sizeList;
    m_size = size;
    m_cbSize->clear();
    m_cbSize->addItems(sizeList.isEmpty() ? BuiltInSizes
                                          : sizeList.split(u'\n', Qt::SkipEmptyParts));
    m_cbSize->setEditText(SizeText(size));
    m_cbSize->lineEdit()->selectAll();
    m_cbSize->setFocus();
}

void SizeEntryDialog::accept()
{
    const std::optional<float> size = ConfirmSizeEntry(m_cbSize->currentText(), m_sizeList);
    if (!size) {
        done(Rejected);
        return;
    }
    m_size = *size;
    QDialog::accept();
}

} // namespace pipeloop
