#pragma once

// TNewProjectForm: collects what a new design needs (units, building, loop
// height, pipe details, header texts and how the elbows are made) and checks
// it. It builds nothing; the New command reads values() after OK. The window
// is made once per run, so a second use starts from the texts of the first.

#include "ModelTypes.h"
#include "Units.h"

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace pipeloop
{

namespace catalogue
{
class TPartsDatabase;
}
using catalogue::TPartsDatabase;

// How the loop's elbows are made, in the order of the " Elbows defined by " group.
enum class ElbowChoice : int {
    DefaultLoop = 0,
    ClipboardMm = 1,
    ClipboardMetres = 2,
    UserDefined = 3,
    FileMm = 4,
    FileMetres = 5,
};

struct NewProjectValues {
    DisplayUnits Units = DisplayUnits::Millimetres;
    int32_t RoomNS = 3000;
    int32_t RoomEW = 5000;
    int32_t RoomHG = 2000;
    int32_t Height = 2000;
    float PipeSize = 0.0f;
    PipeColour Colour = PipeColour::Blue;
    float DefaultOutletSize = 0.0f;
    QString Description;
    QString CreatedBy;
    QString CustomerCompany;
    ElbowChoice Elbows = ElbowChoice::UserDefined;
};

class ExampleDrawing;

class TNewProjectForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNewProjectForm(QWidget* parent = nullptr);

    // Sets the window up for one use: the compressor house flag, and the
    // size lists refilled from the catalogue with their first entries chosen.
    void Prepare(const TPartsDatabase& catalogue, bool showAllSizes, bool compressorHouse);

    // The checks of OK; true when the values are good (then values() holds
    // them). Failures are reported through Ui() and keep the window open.
    bool Validate();
    const NewProjectValues& values() const { return m_values; }

    // Rewrites the four dimension edits from the previous units into units.
    void ChangeUnits(DisplayUnits units);
    DisplayUnits units() const { return m_units; }
    bool compressorHouse() const { return m_compressorHouse; }

    // Controls, for the language file and for tests.
    QTabWidget* pages() const { return m_pages; }
    QLineEdit* northSouthEdit() const { return m_edNS; }
    QLineEdit* eastWestEdit() const { return m_edEW; }
    QLineEdit* roomHeightEdit() const { return m_edRoomHG; }
    QLineEdit* loopHeightEdit() const { return m_edPLHeight; }
    QLabel* loopHeightLabel() const { return m_lbPLHeight; }
    QComboBox* pipeSizeBox() const { return m_cbPLPipeSize; }
    QComboBox* outletSizeBox() const { return m_cbOutletSize; }
    QComboBox* colourBox() const { return m_cbPipeColour; }
    QGroupBox* elbowGroup() const { return m_rgElbows; }
    QLineEdit* descriptionEdit() const { return m_edDescription; }
    QLineEdit* createdByEdit() const { return m_edCreatedBy; }
    QLineEdit* customerEdit() const { return m_edCustomer; }
    QRadioButton* unitButton(DisplayUnits units) const;
    QRadioButton* elbowButton(ElbowChoice choice) const;

    static QString NotesText();

public slots:
    void accept() override; // OK: validates first
    void reject() override; // Cancel: asks first

private:
    QWidget* makeDimensionsPage();
    QWidget* makeInformationPage();
    void fillColoursOnce();
    std::array<QLineEdit*, 4> dimensionEdits() const;
    // The length an edit holds. While the user has not typed in it since the
    // units last changed, that is the exact length it was rewritten from: a
    // feet-and-inches text is rounded, and reading it back would change a
    // value the user never touched.
    Parsed<int32_t> lengthIn(const QLineEdit* edit) const;
    // A building dimension: a length above 0, or nothing after the message
    // that names its field.
    std::optional<int32_t> readDimension(QLineEdit* edit, const QLabel* label);
    // Shows the dimension message with the field's reason and puts the user
    // on that field.
    void refuseDimension(QLineEdit* edit, const QString& reason);

    QTabWidget* m_pages;
    ExampleDrawing* m_example = nullptr;
    QButtonGroup* m_unitGroup = nullptr;
    QButtonGroup* m_elbowGroup = nullptr;
    QLineEdit* m_edNS = nullptr;
    QLineEdit* m_edEW = nullptr;
    QLineEdit* m_edRoomHG = nullptr;
    QLabel* m_lbNS = nullptr;
    QLabel* m_lbEW = nullptr;
    QLabel* m_lbRoomHG = nullptr;
    QLineEdit* m_edPLHeight = nullptr;
    QLabel* m_lbPLHeight = nullptr;
    QComboBox* m_cbPLPipeSize = nullptr;
    QComboBox* m_cbPipeColour = nullptr;
    QComboBox* m_cbOutletSize = nullptr;
    QGroupBox* m_rgElbows = nullptr;
    QLineEdit* m_edDescription = nullptr;
    QLineEdit* m_edCreatedBy = nullptr;
    QLineEdit* m_edCustomer = nullptr;
    DisplayUnits m_units = DisplayUnits::Millimetres;
    struct ShownLength {
        QString text;
        int32_t mm = 0;
    };
    QHash<const QLineEdit*, ShownLength> m_shownLengths;
    const TPartsDatabase* m_catalogue = nullptr;
    bool m_compressorHouse = false;
    bool m_coloursFilled = false;
    NewProjectValues m_values;
};

} // namespace pipeloop
