#include "PrintDialog.h"

#include "DialogParts.h"
#include "UiServices.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace pipeloop
{

namespace
{
const QString PdfFilter = QStringLiteral("PDF Files (*.pdf);;All Files (*)");

bool IsPdf(const PrintOutput& output)
{
    return output.kind == PrintOutput::Kind::PdfFile;
}
} // namespace

QString SuggestedPdfPath(const QString& projectPath, const QString& addition)
{
    const QString extra = addition.isEmpty() ? QString() : QLatin1Char(' ') + addition;
    if (projectPath.isEmpty()) {
        const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        return documents.filePath(QStringLiteral("PIPELOOP") + extra + QStringLiteral(".pdf"));
    }
    const QFileInfo project(projectPath);
    return project.dir().filePath(project.completeBaseName() + extra + QStringLiteral(".pdf"));
}

PrintDialog::PrintDialog(const PrintJob& job, const std::vector<PrintOutput>& outputs,
                         QWidget* parent)
    : QDialog(parent), m_outputs(outputs)
{
    setObjectName(QStringLiteral("PrintDialog"));
    setWindowTitle(job.title);

    m_output = new QComboBox;
    m_output->setObjectName(QStringLiteral("cbPrinter"));
    for (const PrintOutput& output : m_outputs)
        m_output->addItem(output.name);
    const auto preferred =
        std::find_if(m_outputs.begin(), m_outputs.end(),
                     [&job](const PrintOutput& o) { return o.name == job.preferredOutput; });
    if (preferred != m_outputs.end())
        m_output->setCurrentIndex(int(preferred - m_outputs.begin()));

    m_pdfPath = NamedEdit(QStringLiteral("edPdfFile"), QDir::toNativeSeparators(job.suggestedPdf));
    m_browse = new QPushButton(QStringLiteral("Browse..."));
    m_browse->setObjectName(QStringLiteral("btnBrowse"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_pdfPath, 1);
    fileRow->addWidget(m_browse);
    auto* fileField = new QWidget;
    fileField->setLayout(fileRow);
    fileRow->setContentsMargins(0, 0, 0, 0);

    auto* form = new QFormLayout;
    AddLabelledRow(form, NamedLabel(QStringLiteral("lblPrinter"), QStringLiteral("Printer:")),
                   m_output);
    AddLabelledRow(form, NamedLabel(QStringLiteral("lblPdfFile"), QStringLiteral("PDF file:")),
                   fileField);
    m_pdfPath->setAccessibleName(QStringLiteral("PDF file:"));
    form->addRow(NamedLabel(QStringLiteral("lblContents"), job.contents));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(OkCancelRow(this, QStringLiteral("Print"), QStringLiteral("Cancel")));
    m_print = findChild<QPushButton*>(QStringLiteral("bbOk"));

    connect(m_output, &QComboBox::currentIndexChanged, this, &PrintDialog::showOutputChoice);
    connect(m_pdfPath, &QLineEdit::textChanged, this, &PrintDialog::showOutputChoice);
    connect(m_browse, &QPushButton::clicked, this, &PrintDialog::browse);
    showOutputChoice();
    setMinimumWidth(480);
}

PrintDestination PrintDialog::destination() const
{
    const int index = m_output->currentIndex();
    if (index < 0)
        return {};
    PrintDestination chosen{m_outputs[size_t(index)], {}};
    if (IsPdf(chosen.output))
        chosen.pdfPath = QDir::fromNativeSeparators(m_pdfPath->text().trimmed());
    return chosen;
}

void PrintDialog::showOutputChoice()
{
    const PrintDestination chosen = destination();
    const bool pdf = IsPdf(chosen.output);
    m_pdfPath->setEnabled(pdf);
    m_browse->setEnabled(pdf);
    m_print->setEnabled(m_output->currentIndex() >= 0 && (!pdf || !chosen.pdfPath.isEmpty()));
}

void PrintDialog::browse()
{
    QFileDialog dialog(this, QStringLiteral("Print to PDF"), m_pdfPath->text(), PdfFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_confirmedPath = dialog.selectedFiles().constFirst();
    m_pdfPath->setText(QDir::toNativeSeparators(m_confirmedPath));
}

void PrintDialog::accept()
{
    const PrintDestination chosen = destination();
    if (IsPdf(chosen.output)) {
        QString path = chosen.pdfPath;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        const QFileInfo file(path);
        if (!file.dir().exists()) {
            Ui().error(QStringLiteral("The folder %1 does not exist.")
                           .arg(QDir::toNativeSeparators(file.absolutePath())));
            return;
        }
        if (file.exists() && path != m_confirmedPath &&
            !Ui().confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                              .arg(QDir::toNativeSeparators(path))))
            return;
        m_pdfPath->setText(QDir::toNativeSeparators(path));
    }
    QDialog::accept();
}

} // namespace pipeloop
