#include "NewProjectWizard.h"

#include "DialogParts.h"
#include "EntryKeyFilter.h"
#include "HelpTopics.h"
#include "LanguageFile.h"
#include "PartsDatabase.h"
#include "UiServices.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace pipeloop
{

namespace
{

const QString HelpTopic = QString::fromLatin1(topic::NewProject);

QString UserName()
{
    QString name = qEnvironmentVariable("USERNAME");
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    return name.left(128);
}

} // namespace

// The building outline with the four directions, so that users see which wall
// each section looks at.
class ExampleDrawing : public QWidget
{
public:
    explicit ExampleDrawing(QWidget* parent = nullptr) : QWidget(parent)
    {
        setObjectName(QStringLiteral("pbExample"));
        setMinimumSize(220, 160);
    }
    void setCompressorHouse(bool house)
    {
        m_house = house;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect box = rect();
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        const QFontMetrics metrics = painter.fontMetrics();
        const int northHeight = metrics.height();
        const int southHeight = metrics.height();
        const int eastWidth = metrics.horizontalAdvance(QStringLiteral("EAST"));
        const int westWidth = metrics.horizontalAdvance(QStringLiteral("WEST"));
        painter.drawText(box, Qt::AlignTop | Qt::AlignHCenter, QStringLiteral("NORTH"));
        painter.drawText(box, Qt::AlignBottom | Qt::AlignHCenter, QStringLiteral("SOUTH"));
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("EAST"));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("WEST"));
        const QRect building = box.adjusted(westWidth, northHeight, -eastWidth, -southHeight);
        painter.drawRect(building.adjusted(0, 0, -1, -1));
        painter.drawText(building, Qt::AlignCenter,
                         m_house ? QStringLiteral("compressor house design area")
                                 : QStringLiteral("pipe loop design area"));
    }

private:
    bool m_house = false;
};

TNewProjectForm::TNewProjectForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("NewProjectForm"));
    setWindowTitle(QStringLiteral("Project Creator"));
    InstallHelpKey(*this, [] { return HelpTopic; });
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pcNewProject"));
    m_pages->addTab(makeDimensionsPage(), QStringLiteral("Dimensions"));
    m_pages->addTab(makeInformationPage(), QStringLiteral("Information"));

    auto* ok = new QPushButton(QStringLiteral("&Ok"));
    ok->setObjectName(QStringLiteral("bbOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"));
    cancel->setObjectName(QStringLiteral("bbCancel"));
    cancel->setToolTip(QStringLiteral("Cancel New Project"));
    auto* help = new QPushButton(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("bbHelp"));
    help->setToolTip(QStringLiteral("Get New Project Help"));
    help->setEnabled(HelpAvailable());
    connect(ok, &QPushButton::clicked, this, &TNewProjectForm::accept);
    connect(cancel, &QPushButton::clicked, this, &TNewProjectForm::reject);
    connect(help, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopic); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);

    m_values.CreatedBy = UserName();
    m_edCreatedBy->setText(m_values.CreatedBy);
}

QWidget* TNewProjectForm::makeDimensionsPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsDimensions"));
    m_example = new ExampleDrawing;

    auto* notes = NamedGroup(QStringLiteral("gbNotes"), QStringLiteral(" Notes . . . "));
    auto* notesLayout = new QVBoxLayout(notes);
    auto* notesText = NamedLabel(QStringLiteral("lbNotes"), NotesText());
    notesLayout->addWidget(notesText);
    auto* unitsBox =
        NamedGroup(QStringLiteral("rgUnits"), QStringLiteral(" Measurement Units . . . "));
    auto* unitsLayout = new QHBoxLayout(unitsBox);
    m_unitGroup = new QButtonGroup(this);
    const QStringList unitNames{QStringLiteral("Metres"), QStringLiteral("Milli-metres"),
                                QStringLiteral("Feet && Inches")};
    for (int i = 0; i < unitNames.size(); ++i) {
        auto* button = NamedRadio(QStringLiteral("rbUnits%1").arg(i), unitNames[i]);
        m_unitGroup->addButton(button, i);
        unitsLayout->addWidget(button);
    }
    m_unitGroup->button(int(DisplayUnits::Millimetres))->setChecked(true);
    connect(m_unitGroup, &QButtonGroup::idClicked, this,
            [this](int id) { ChangeUnits(static_cast<DisplayUnits>(id)); });
    notesLayout->addWidget(unitsBox);

    auto* dimensions = NamedGroup(QStringLiteral("gbDimensions"),
                                  QStringLiteral(" Internal Building/Room Dimensions . . . "));
    auto* form = new QFormLayout(dimensions);
    m_edNS = NamedEdit(QStringLiteral("edNorthSouth"), QStringLiteral("3000"));
    m_edEW = NamedEdit(QStringLiteral("edEastWest"), QStringLiteral("5000"));
    m_edRoomHG = NamedEdit(QStringLiteral("edRoomHeight"), QStringLiteral("2000"),
                           QStringLiteral("Enter Building Height"));
    m_lbNS = NamedLabel(QStringLiteral("lbNorthSouth"), QStringLiteral("NORTH/SOUTH distance :"));
    m_lbEW = NamedLabel(QStringLiteral("lbEastWest"), QStringLiteral("EAST/WEST distance :"));
    m_lbRoomHG = NamedLabel(QStringLiteral("lbRoomHeight"), QStringLiteral("Height :"));
    form->addRow(m_lbNS, m_edNS);
    form->addRow(m_lbEW, m_edEW);
    form->addRow(m_lbRoomHG, m_edRoomHG);

    auto* left = new QVBoxLayout;
    left->addWidget(m_example, 1);
    left->addWidget(dimensions);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addWidget(notes);
    return page;
}

QWidget* TNewProjectForm::makeInformationPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsInformation"));
    auto* texts = new QFormLayout;
    m_edDescription =
        NamedEdit(QStringLiteral("edDescription"), {}, QStringLiteral("Enter project description"));
    m_edCreatedBy = NamedEdit(QStringLiteral("edCreatedBy"), {},
                              QStringLiteral("Enter who created this diagram"));
    m_edCustomer =
        NamedEdit(QStringLiteral("edCustomer"), {},
                  QStringLiteral("Enter the company for which the diagram is being created"));
    texts->addRow(
        NamedLabel(QStringLiteral("lbDescription"), QStringLiteral("Project Description :")),
        m_edDescription);
    texts->addRow(NamedLabel(QStringLiteral("lbCreatedBy"), QStringLiteral("Created By :")),
                  m_edCreatedBy);
    texts->addRow(NamedLabel(QStringLiteral("lbCustomer"), QStringLiteral("Customer Reference :")),
                  m_edCustomer);

    m_rgElbows =
        NamedGroup(QStringLiteral("rgElbows"), QStringLiteral(" Elbows defined by . . . "));
    auto* elbowLayout = new QVBoxLayout(m_rgElbows);
    m_elbowGroup = new QButtonGroup(this);
    const QStringList choices{QStringLiteral("Default Pipeloop to building dimensions"),
                              QStringLiteral("Imported from clipboard data (units mm)"),
                              QStringLiteral("Imported from clipboard data (units m)"),
                              QStringLiteral("Defined by the user"),
                              QStringLiteral("Import from text file (units mm)"),
                              QStringLiteral("Import from text file (units m)")};
    for (int i = 0; i < choices.size(); ++i) {
        auto* button = NamedRadio(QStringLiteral("rbElbows%1").arg(i), choices[i]);
        m_elbowGroup->addButton(button, i);
        elbowLayout->addWidget(button);
    }
    m_elbowGroup->button(int(ElbowChoice::UserDefined))->setChecked(true);

    auto* settings = NamedGroup(QStringLiteral("gbSettings"), QStringLiteral(" Settings . . . "));
    auto* settingsForm = new QFormLayout(settings);
    m_edPLHeight = NamedEdit(QStringLiteral("edPLHeight"), QStringLiteral("2000"));
    m_lbPLHeight =
        NamedLabel(QStringLiteral("lbPLHeight"), QStringLiteral("Pipeloop height above floor :"));
    settingsForm->addRow(m_lbPLHeight, m_edPLHeight);

    auto* pipe =
        NamedGroup(QStringLiteral("gbPipeDetails"), QStringLiteral(" Pipe Details . . . "));
    auto* pipeForm = new QFormLayout(pipe);
    m_cbPLPipeSize = new QComboBox;
    m_cbPLPipeSize->setObjectName(QStringLiteral("cbPLPipeSize"));
    m_cbPLPipeSize->setEditable(true);
    m_cbPLPipeSize->setToolTip(QStringLiteral("Select Pipeloop Pipe Size"));
    m_cbPipeColour = new QComboBox;
    m_cbPipeColour->setObjectName(QStringLiteral("cbPipeColour"));
    m_cbOutletSize = new QComboBox;
    m_cbOutletSize->setObjectName(QStringLiteral("cbOutletSize"));
    m_cbOutletSize->setEditable(true);
    pipeForm->addRow(
        NamedLabel(QStringLiteral("lbPipeSize"), QStringLiteral("Pipe size/diameter (mm) :")),
        m_cbPLPipeSize);
    pipeForm->addRow(NamedLabel(QStringLiteral("lbPipeColour"), QStringLiteral("Pipe Colour :")),
                     m_cbPipeColour);
    pipeForm->addRow(
        NamedLabel(QStringLiteral("lbOutletSize"), QStringLiteral("Default outlet pipe size :")),
        m_cbOutletSize);

    for (QLineEdit* edit : dimensionEdits())
        EntryKeyFilter::install(edit, EntryKeyFilter::Rule::Length);
    for (QComboBox* box : {m_cbPLPipeSize, m_cbOutletSize})
        EntryKeyFilter::install(box->lineEdit(), EntryKeyFilter::Rule::Size,
                                EntryKeyFilter::Refusal::Silent);

    auto* right = new QVBoxLayout;
    right->addWidget(settings);
    right->addWidget(pipe);
    right->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(texts);
    left->addWidget(m_rgElbows);
    left->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    return page;
}

std::array<QLineEdit*, 4> TNewProjectForm::dimensionEdits() const
{
    return {m_edNS, m_edEW, m_edRoomHG, m_edPLHeight};
}

QRadioButton* TNewProjectForm::unitButton(DisplayUnits units) const
{
    return qobject_cast<QRadioButton*>(m_unitGroup->button(int(units)));
}

QRadioButton* TNewProjectForm::elbowButton(ElbowChoice choice) const
{
    return qobject_cast<QRadioButton*>(m_elbowGroup->button(int(choice)));
}

QString TNewProjectForm::NotesText()
{
    return QStringList{QStringLiteral("The software uses NORTH/SOUTH/EAST/WEST to"),
                       QStringLiteral("reference the four sectional views of the project.  This"),
                       QStringLiteral("is only a conceptual view and does not have to be the"),
                       QStringLiteral("real NORTH, SOUTH, EAST or WEST."),
                       QString(),
                       QStringLiteral("Measurements are all in milli-metres, however there is"),
                       QStringLiteral("an option to display and edit values in metres or feet"),
                       QStringLiteral("and inches.  All units are stored as milli-metres however."),
                       QString(),
                       QStringLiteral("If metres are selected then a decimal point can be used"),
                       QStringLiteral("to separate metres from milli-metres, e.g. 3.100 is 3m and"),
                       QStringLiteral("100mm. 3100mm or 3.1m can also be used."),
                       QString(),
                       QStringLiteral("If feet and inches are selected then a number is read as"),
                       QStringLiteral("feet.  For example 3 and 3' are three feet, 3'6\" and 3'6"),
                       QStringLiteral("are three feet and six inches.")}
        .join(u'\n');
}

void TNewProjectForm::fillColoursOnce()
{
    if (m_coloursFilled)
        return;
    m_coloursFilled = true;
    const TLanguage& language = TLanguage::Instance();
    m_cbPipeColour->addItem(language.TranslateColour(QStringLiteral("Blue")));
    m_cbPipeColour->addItem(language.TranslateColour(QStringLiteral("Grey")));
    m_cbPipeColour->setCurrentIndex(0);
}

void TNewProjectForm::Prepare(const TPartsDatabase& catalogue, bool showAllSizes,
                              bool compressorHouse)
{
    m_catalogue = &catalogue;
    m_compressorHouse = compressorHouse;
    m_rgElbows->setEnabled(!compressorHouse);
    m_lbPLHeight->setText(compressorHouse ? QStringLiteral("Default pipe height above floor :")
                                          : QStringLiteral("Pipeloop height above floor :"));
    m_example->setCompressorHouse(compressorHouse);
    m_pages->setCurrentIndex(0);
    fillColoursOnce();
    QStringList sizes;
    catalogue.PipeSizes(sizes, showAllSizes);
    for (QComboBox* box : {m_cbOutletSize, m_cbPLPipeSize}) {
        box->clear();
        box->addItems(sizes);
        box->setCurrentIndex(sizes.isEmpty() ? -1 : 0);
        if (sizes.isEmpty())
            box->setEditText(QString());
    }
}

void TNewProjectForm::ChangeUnits(DisplayUnits units)
{
    bool converted = true;
    for (QLineEdit* edit : dimensionEdits()) {
        const Parsed<int32_t> length = lengthIn(edit);
        if (!length || length.value() < 0) {
            converted = false;
            break;
        }
        const QString text = FormatLength(static_cast<uint32_t>(length.value()), units);
        edit->setText(text);
        m_shownLengths.insert(edit, {text, length.value()});
    }
    if (!converted)
        Ui().inform(QStringLiteral("Could not convert edit box units automatically."));
    m_units = units;
    if (QAbstractButton* button = m_unitGroup->button(int(units)); button && !button->isChecked())
        button->setChecked(true);
}

Parsed<int32_t> TNewProjectForm::lengthIn(const QLineEdit* edit) const
{
    const auto shown = m_shownLengths.constFind(edit);
    if (shown != m_shownLengths.constEnd() && shown->text == edit->text())
        return shown->mm;
    return ParseLength(edit->text(), m_units);
}

std::optional<int32_t> TNewProjectForm::readDimension(QLineEdit* edit, const QLabel* label)
{
    const Parsed<int32_t> length = lengthIn(edit);
    if (length && length.value() > 0)
        return length.value();
    refuseDimension(
        edit, QStringLiteral("%1 '%2' is not a length above 0.").arg(label->text(), edit->text()));
    return std::nullopt;
}

void TNewProjectForm::refuseDimension(QLineEdit* edit, const QString& reason)
{
    for (int page = 0; page < m_pages->count(); ++page)
        if (m_pages->widget(page)->isAncestorOf(edit))
            m_pages->setCurrentIndex(page);
    edit->setFocus();
    Ui().inform(QStringLiteral("Errors found with building dimensions.\r\n") + reason);
}

bool TNewProjectForm::Validate()
{
    NewProjectValues values = m_values;
    values.Units = m_units;
    // The order of reading is the order the checks have always run in.
    const std::optional<int32_t> ns = readDimension(m_edNS, m_lbNS);
    if (!ns)
        return false;
    const std::optional<int32_t> roomHeight = readDimension(m_edRoomHG, m_lbRoomHG);
    if (!roomHeight)
        return false;
    const std::optional<int32_t> ew = readDimension(m_edEW, m_lbEW);
    if (!ew)
        return false;
    // The pipes run inside the building: above the floor, at most at the
    // roof (where both start, at 2000).
    const Parsed<int32_t> height = lengthIn(m_edPLHeight);
    if (!height || height.value() <= 0 || height.value() > *roomHeight) {
        refuseDimension(m_edPLHeight,
                        QStringLiteral("%1 '%2' must be above 0 and no higher than "
                                       "the building height (%3).")
                            .arg(m_lbPLHeight->text(), m_edPLHeight->text(),
                                 FormatLength(static_cast<uint32_t>(*roomHeight), m_units)));
        return false;
    }
    values.RoomNS = *ns;
    values.RoomHG = *roomHeight;
    values.RoomEW = *ew;
    values.Height = height.value();

    const QString pipeText = m_cbPLPipeSize->currentText();
    const std::optional<float> pipeSize = ParseSizeText(pipeText);
    if (!pipeSize) {
        m_pages->setCurrentIndex(1);
        Ui().inform(QStringLiteral("Invalid main pipe size value :\r\n") + pipeText);
        return false;
    }
    if (!m_catalogue || !m_catalogue->SizeSupported(*pipeSize))
        return false;
    values.PipeSize = *pipeSize;

    const QString outletText = m_cbOutletSize->currentText();
    const std::optional<float> outletSize = ParseSizeText(outletText);
    if (!outletSize) {
        m_pages->setCurrentIndex(1);
        Ui().inform(QStringLiteral("Invalid default outlet size value :\r\n") + outletText);
        return false;
    }
    values.DefaultOutletSize = *outletSize;
    values.Colour = m_cbPipeColour->currentIndex() == 1 ? PipeColour::Gray : PipeColour::Blue;
    values.Description = m_edDescription->text();
    values.CreatedBy = m_edCreatedBy->text();
    values.CustomerCompany = m_edCustomer->text();
    values.Elbows = static_cast<ElbowChoice>(m_elbowGroup->checkedId());
    m_values = values;
    return true;
}

void TNewProjectForm::accept()
{
    if (Validate())
        QDialog::accept();
}

void TNewProjectForm::reject()
{
    if (Ui().confirm(QStringLiteral("Are you sure you want to cancel ?")))
        QDialog::reject();
}

} // namespace pipeloop
