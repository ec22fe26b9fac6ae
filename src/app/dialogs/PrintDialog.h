#pragma once

// The print dialog every print command shows first: which output takes the
// job (an installed printer, or a PDF file and its name) and what the job
// holds. It is the program's own: Qt's dialog on this platform writes a PDF
// in place, where ours is made whole or not at all, and offers outputs the
// preview does not measure.

#include "print/PagePrinter.h"

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pipeloop
{

// What a print command tells the dialog about its job.
struct PrintJob {
    QString title;           // the dialog's caption: the command's name
    QString contents;        // what will print, a line for the user
    QString preferredOutput; // the output offered first (the print setup's)
    QString suggestedPdf;    // the file offered for a PDF
};

// The PDF a job suggests: beside the project, named after it with the
// addition ("Parts List"); in the documents folder when it has no file yet.
QString SuggestedPdfPath(const QString& projectPath, const QString& addition = {});

class PrintDialog : public QDialog
{
    Q_OBJECT
public:
    PrintDialog(const PrintJob& job, const std::vector<PrintOutput>& outputs,
                QWidget* parent = nullptr);

    // The chosen output; for PDF, the file name as entered.
    PrintDestination destination() const;

    // Print refuses a PDF without a file name, and asks before replacing a
    // file the user did not choose through Browse.
    void accept() override;

private:
    void browse();
    void showOutputChoice();

    std::vector<PrintOutput> m_outputs;
    QString m_confirmedPath;
    QComboBox* m_output = nullptr;
    QLineEdit* m_pdfPath = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_print = nullptr;
};

} // namespace pipeloop
