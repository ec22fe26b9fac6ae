#pragma once

// TAirSupplyForm: "Analyse Air Supply". The design's ring main solved for
// pressures (AirAnalysis.h): the plan coloured by pressure beside its legend,
// a table of the drops with the worst one marked and selected, the verdict and
// the ring size that would do in words, and the supply pressure and allowed
// drop editable (each change one undo step). Printed as the plan page with the
// colours, copied or saved as a picture.
//
// Made once by the main window. While it shows it analyses the design again
// after every change the document reports, and keeps the worst drop
// highlighted in the design.

#include "AirAnalysis.h"
#include "PlanOverlay.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pipeloop
{

namespace catalogue
{
class TPartsDatabase;
}

class AppDialogs;
class Document;
struct PictureSource;

class TAirSupplyForm : public QWidget
{
    Q_OBJECT
public:
    TAirSupplyForm(Document& document, AppDialogs& dialogs,
                   const catalogue::TPartsDatabase& database, QWidget* parent = nullptr);

    // Shows the window with the design analysed.
    void Open();
    // The picture printed in the title block.
    void setLogo(const QImage& logo) { m_logo = logo; }

    const analysis::AirAnalysis& analysis() const { return m_analysis; }
    QTableWidget* dropsTable() const { return m_drops; }
    QLineEdit* supplyPressureEdit() const { return m_supply; }
    QLineEdit* allowedDropEdit() const { return m_allowed; }
    QLabel* verdictLabel() const { return m_verdict; }
    QLabel* suggestionLabel() const { return m_suggestion; }
    QWidget* legend() const { return m_legend; }
    QWidget* plan() const { return m_plan; }

    // What leaving the fields does: the typed value set on the design, or
    // refused with a message and the field shows the design's value again.
    void applySupplyPressure();
    void applyAllowedDrop();
    void print();
    void copyPicture();
    void savePicture();

    // Paints the plan with its colours into an area of the given size.
    void paintPlan(QPainter& painter, QSize size);
    void paintLegend(QPainter& painter);

signals:
    // The worst drop's highlight in the design changed: the drawing needs a repaint.
    void highlightChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* createFields();
    QWidget* createButtons();
    QPushButton* addButton(QWidget* panel, const QString& name, const QString& caption);
    void analyse();
    void showFields();
    void showVerdict();
    void showDrops();
    void highlightWorst();
    void clearHighlight();
    void applyValue(QLineEdit* edit, QString (*set)(Document&, double));
    PictureSource pictureSource() const;

    Document& m_document;
    AppDialogs& m_dialogs;
    const catalogue::TPartsDatabase& m_database;
    QImage m_logo;
    analysis::AirAnalysis m_analysis;
    std::optional<float> m_suggested;
    std::shared_ptr<const PlanOverlay> m_overlay;
    const TDrop* m_highlighted = nullptr; // compared with the design's drops, never followed

    QLineEdit* m_supply = nullptr;
    QLineEdit* m_allowed = nullptr;
    QLabel* m_verdict = nullptr;
    QLabel* m_suggestion = nullptr;
    QWidget* m_plan = nullptr;
    QWidget* m_legend = nullptr;
    QTableWidget* m_drops = nullptr;
};

} // namespace pipeloop
