#pragma once

// TPrintSetupForm: the per-view print scale and orientation, centring, the
// printer, a live preview of the page and Print. The window edits a copy of
// the print settings; whoever opened it decides what a change means (the
// main window makes it an undoable change of the design when the options
// are saved with the project).
//
// The print commands of the main window share RunPrintJob with it: the
// output the settings name (or the first one there is), a PDF asking for its
// file name first.

#include "ModelTypes.h"
#include "PrintDialog.h"
#include "PrintSetup.h"
#include "print/PagePrinter.h"
#include "print/PrintPreview.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace pipeloop
{

class AppDialogs;
class TPipeLoop;

// The scale "Print scaling too small, adjust ?" settles on: the scale
// rounded down to a multiple of 10 (at least 10), raised by 10 until the
// view fits, at most PrintSetup::MaxScale; nothing when no such scale fits.
std::optional<int32_t> AdjustedScale(const TPipeLoop& design, ViewKind view, int32_t scale,
                                     const PageGeometry& page);

// The output of that name, or the first printer (PDF when there is none).
PrintOutput ChosenOutput(const QString& name);

// The pages a request prints, as the print dialog lists them.
QString PrintContents(const PrintRequest& request);

// The print dialog for the job (offering first the output the settings name,
// listing the request's pages), then the request as one job on the output
// chosen there (Cancel prints nothing). False when nothing was printed or the
// job failed (the messages shown).
bool RunPrintJob(AppDialogs& dialogs, QWidget* parent, PrintJob job, TPipeLoop& design,
                 const PrintSetup& setup, const PrintRequest& request, const QImage& logo);

class TPrintSetupForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPrintSetupForm(AppDialogs& dialogs, QWidget* parent = nullptr);
    ~TPrintSetupForm() override;

    // Shows the window modally for the design (lent until it closes),
    // starting from setup and the view; answers the settings it closed with.
    PrintSetup Open(TPipeLoop& design, const PrintSetup& setup, ViewKind view, const QImage& logo);
    // What Open does before the window shows: the view (the plan for a
    // compressor house), the printer, the caption, the snapshot.
    void Prepare(TPipeLoop& design, const PrintSetup& setup, ViewKind view, const QImage& logo);
    // The PDF file its Print offers (beside the project).
    void SuggestPdf(const QString& path) { m_pdfSuggestion = path; }
    // On activation: the fit question ("Print scaling too small, adjust ?").
    void Activate();

    // What the Options button runs: the options window on its print page,
    // given the preview's repaint for after every apply. Without it the
    // button is disabled.
    using OpenOptions = std::function<void(const std::function<void()>& repaintPreview)>;
    void SetOpenOptions(OpenOptions openOptions);

    const PrintSetup& Setup() const { return m_setup; }
    // The settings differ from those the window opened with.
    bool Changed() const { return m_setup != m_snapshot; }
    ViewKind View() const { return m_view; }
    PageGeometry Page() const;
    PreviewMode Mode() const;

    // The controls, as a user works them.
    void SelectView(ViewKind view);
    void SetScale(int scale);
    void BestFit();
    // The standard scale (1:200, 1:250, 1:500 …) nearest above the best fit.
    void StandardFit();
    void SetLandscape(bool landscape);
    void SetCentre(bool centre);
    void SetPreviewMode(PreviewMode mode);
    void SelectOutput(const QString& name);
    void Print();

    QWidget* preview() const;
    QScrollArea* previewArea() const { return m_previewArea; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    class PreviewWidget;

    QWidget* createControls();
    void showSettings();
    void layOutPreview();
    void storeScale(int32_t scale);

    AppDialogs& m_dialogs;
    TPipeLoop* m_design = nullptr;
    QImage m_logo;
    QString m_pdfSuggestion;
    PrintSetup m_setup;
    PrintSetup m_snapshot;
    ViewKind m_view = ViewKind::Plan;
    bool m_firstShow = true;
    bool m_showing = false; // the controls are being set from the settings

    PreviewWidget* m_preview = nullptr;
    QScrollArea* m_previewArea = nullptr;
    QSpinBox* m_scale = nullptr;
    QPushButton* m_standardFit = nullptr;
    QButtonGroup* m_views = nullptr;
    QButtonGroup* m_orientation = nullptr;
    QButtonGroup* m_previewMode = nullptr;
    QCheckBox* m_centre = nullptr;
    QComboBox* m_printer = nullptr;
    QPushButton* m_options = nullptr;
    OpenOptions m_openOptions;
};

} // namespace pipeloop
