#include "OptionsForm.h"

#include "AppDialogs.h"
#include "HelpTopics.h"
#include "PartsDatabase.h"
#include "UiServices.h"

#include "Canvas.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <tuple>

namespace pipeloop
{

namespace
{

using Options = TPipeLoopOptions;

constexpr int MinFontSize = 2;
constexpr int MaxFontSize = 12;

// The pages in their order, with their names and help topics.
struct PageInfo {
    const char* name;
    const char* caption;
    const char* helpTopic;
};
constexpr std::array<PageInfo, 7> Pages{{
    {"tsGeneral", "General", topic::GeneralOptions},
    {"tsSettings", "Settings", topic::OptionsSettings},
    {"tsPrintOptions", "Print Options", topic::PrintOptions},
    {"tsPipeColours", "Pipe Colours", topic::PipeColourOptions},
    {"tsSymbolColours", "Symbol Colours", topic::SymbolColourOptions},
    {"tsGrid", "Grid", topic::GridOptions},
    {"tsParts", "Parts", topic::PartOptions},
}};

// The colour panels of the pipe colour page: caption and the colour it edits.
struct PipePanel {
    const char* name;
    const char* caption;
    WinColour& (*option)(Options&);
};
template <size_t Slot> WinColour& SizeColour(Options& o)
{
    return o.SizePipeColours[Slot];
}
const std::array<PipePanel, 10> PipePanels{{
    {"pnPipe20", "Upto 20mm", SizeColour<0>},
    {"pnPipe25", "20mm.25mm", SizeColour<1>},
    {"pnPipe32", "25..32mm", SizeColour<2>},
    {"pnPipe40", "32..40mm", SizeColour<3>},
    {"pnPipe50", "40..50mm", SizeColour<4>},
    {"pnPipe63", "50..63mm", SizeColour<5>},
    {"pnPipe80", "63..80mm", SizeColour<6>},
    {"pnPipe110", "80..110mm", SizeColour<7>},
    {"pnPipeMain", "Main", [](Options& o) -> WinColour& { return o.MainPipeColour; }},
    {"pnPipeNonMain", "Non Main", [](Options& o) -> WinColour& { return o.NonPipeLoopPipeColour; }},
}};

constexpr int GridStyleRowHeight = 16;
constexpr std::array<Qt::PenStyle, 5> GridPenStyles{Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                                    Qt::DashDotLine, Qt::DashDotDotLine};

QVBoxLayout* PageLayout(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setAlignment(Qt::AlignTop);
    return layout;
}

QLabel* NamedLabel(const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    return label;
}

FontSpec SpecOf(const QFont& font, int pointSize)
{
    return {font.family(), pointSize,        font.bold(),
            font.italic(), font.underline(), font.strikeOut()};
}

// A label and its control side by side.
void AddRow(QVBoxLayout* page, QLabel* label, QWidget* control)
{
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(control);
    row->addStretch();
    label->setBuddy(control);
    control->setAccessibleName(label->text());
    page->addLayout(row);
}

} // namespace

int32_t NextSwatchStyle(int32_t style)
{
    if (style == Options::BrushSolid)
        return Options::BrushHorizontal;
    if (style >= Options::BrushHorizontal && style < Options::BrushDiagonalCross)
        return style + 1;
    return Options::BrushSolid;
}

// ============================================================== the swatches

// A colour to click on: a pipe colour panel with its caption, a plain colour
// box, or a hatch swatch drawn in the colour of the box beside it.
class SwatchButton : public QPushButton
{
public:
    explicit SwatchButton(const QString& caption) : QPushButton(caption)
    {
        setMinimumSize(72, 24);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    WinColour colour() const { return m_colour; }
    void setColour(WinColour colour)
    {
        m_colour = colour;
        update();
    }
    int32_t style() const { return m_style; }
    void setStyle(int32_t style)
    {
        m_style = style;
        update();
    }
    // A hatch swatch shows its style in the colour of another swatch.
    void followColourOf(const SwatchButton* colour) { m_colourOf = colour; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect box = rect().adjusted(0, 0, -1, -1);
        painter.fillRect(box, Qt::white);
        const QColor colour = ToQColor(m_colourOf ? m_colourOf->colour() : m_colour);
        painter.fillRect(box, QBrush(colour, ToQtBrush(m_style)));
        painter.setPen(hasFocus() ? palette().highlight().color() : QColor(Qt::gray));
        painter.drawRect(box);
        if (text().isEmpty())
            return;
        // The caption in black or white, whichever stands out on the colour.
        const int brightness =
            (299 * colour.red() + 587 * colour.green() + 114 * colour.blue()) / 1000;
        painter.setPen(brightness < 128 ? Qt::white : Qt::black);
        painter.drawText(box, Qt::AlignCenter, text());
    }

private:
    static Qt::BrushStyle ToQtBrush(int32_t style)
    {
        static constexpr std::array<Qt::BrushStyle, 8> styles{
            Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return style >= 0 && style < int32_t(styles.size()) ? styles[size_t(style)]
                                                            : Qt::SolidPattern;
    }

    WinColour m_colour = 0;
    int32_t m_style = Options::BrushSolid;
    const SwatchButton* m_colourOf = nullptr;
};

// The grid styles, each item a line in its pen style 4 pixels in from both
// sides: the selected one in the grid colour on white, others black on silver.
class GridStyleDelegate : public QStyledItemDelegate
{
public:
    GridStyleDelegate(const SwatchButton& gridColour, QObject* parent)
        : QStyledItemDelegate(parent), m_gridColour(gridColour)
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? QColor(Qt::white) : QColor(192, 192, 192));
        const int row = std::clamp(index.row(), 0, int(GridPenStyles.size()) - 1);
        painter->setPen(QPen(selected ? ToQColor(m_gridColour.colour()) : QColor(Qt::black), 1,
                             GridPenStyles[size_t(row)]));
        const int y = option.rect.center().y();
        painter->drawLine(option.rect.left() + 4, y, option.rect.right() - 4, y);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {120, GridStyleRowHeight};
    }

private:
    const SwatchButton& m_gridColour;
};

// ============================================================== the window

TOptionsForm::TOptionsForm(AppDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("PIPELOOP options"));
    InstallHelpKey(*this, [this] { return HelpTopic(); });
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl"));
    m_pages->setUsesScrollButtons(false); // every page's tab in view
    const std::array<QWidget*, 7> pages{
        createGeneralPage(),       createSettingsPage(), createPrintPage(), createPipeColoursPage(),
        createSymbolColoursPage(), createGridPage(),     createPartsPage()};
    for (size_t i = 0; i < pages.size(); ++i) {
        pages[i]->setObjectName(QString::fromLatin1(Pages[i].name));
        m_pages->addTab(pages[i], QString::fromLatin1(Pages[i].caption));
    }
    layout->addWidget(m_pages);
    layout->addWidget(createButtons());
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false); // Enter is no button's: not even Ok's
}

TOptionsForm::~TOptionsForm() = default;

void TOptionsForm::addCheck(QVBoxLayout* page, const char* name, const QString& caption,
                            bool Options::*option)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    page->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this] { edited(); });
    m_bindings.push_back({[box, option](const Options& o) { box->setChecked(o.*option); },
                          [box, option](Options& o) { o.*option = box->isChecked(); }});
}

void TOptionsForm::addModeGroup(QVBoxLayout* page, const char* name, const QString& title,
                                const QStringList& captions, SettingsMode (Options::*get)() const,
                                void (Options::*set)(int32_t))
{
    // The buttons in the order always, never, ask.
    static constexpr std::array<SettingsMode, 3> modes{SettingsMode::Always, SettingsMode::Never,
                                                       SettingsMode::Ask};
    auto* box = new QGroupBox(title);
    box->setObjectName(QString::fromLatin1(name));
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (size_t i = 0; i < modes.size(); ++i) {
        auto* button = new QRadioButton(captions[qsizetype(i)]);
        button->setObjectName(box->objectName() + QString::number(i));
        group->addButton(button, int(modes[i]));
        column->addWidget(button);
    }
    page->addWidget(box);
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            edited();
    });
    m_bindings.push_back(
        {[group, get](const Options& o) { group->button(int((o.*get)()))->setChecked(true); },
         [group, set](Options& o) { (o.*set)(group->checkedId()); }});
}

void TOptionsForm::addSizeSpin(QVBoxLayout* page, const char* name, const QString& caption,
                               int32_t Options::*option, int minimum, int maximum)
{
    auto* spin = new QSpinBox;
    spin->setObjectName(QString::fromLatin1(name));
    spin->setRange(minimum, maximum);
    AddRow(page, NamedLabel(QStringLiteral("lb") + spin->objectName().mid(2), caption), spin);
    connect(spin, &QSpinBox::valueChanged, this, [this] { edited(true); });
    m_bindings.push_back({[spin, option](const Options& o) { spin->setValue(o.*option); },
                          [spin, option](Options& o) { o.*option = spin->value(); }});
}

void TOptionsForm::addFontGroup(QVBoxLayout* page, const char* name, const QString& title,
                                FontSpec Options::*option, bool sizeAppliesAtOnce)
{
    const QString base = QString::fromLatin1(name);
    auto* box = new QGroupBox(title);
    box->setObjectName(QStringLiteral("gb") + base);
    auto* row = new QHBoxLayout(box);
    auto* sample = NamedLabel(QStringLiteral("lb") + base + QStringLiteral("Sample"),
                              QStringLiteral("Example"));
    sample->setMinimumWidth(120);
    auto* change = new QPushButton(QStringLiteral("Change"));
    change->setObjectName(QStringLiteral("btn") + base);
    change->setAccessibleName(title.trimmed() + QStringLiteral(" Change"));
    auto* size = new QSpinBox;
    size->setObjectName(QStringLiteral("se") + base + QStringLiteral("Size"));
    size->setRange(MinFontSize, MaxFontSize);
    size->setAccessibleName(title.trimmed() + QStringLiteral(" Size"));
    row->addWidget(sample, 1);
    row->addWidget(change);
    row->addWidget(size);
    page->addWidget(box);

    // The font chosen so far lives in the sample; its size in the spin box.
    auto showFont = [sample, size](const FontSpec& font) {
        QFont shown = Font::fromSpec(font).styledQFont();
        shown.setPointSize(std::clamp(font.pointSize, MinFontSize, MaxFontSize));
        sample->setFont(shown);
        size->setValue(shown.pointSize());
    };
    connect(change, &QPushButton::clicked, this, [this, sample, size, showFont] {
        const FontSpec current = SpecOf(sample->font(), size->value());
        if (const std::optional<FontSpec> chosen = m_dialogs.chooseFont(this, current)) {
            showFont(*chosen);
            edited();
        }
    });
    connect(size, &QSpinBox::valueChanged, this, [this, sample, sizeAppliesAtOnce](int points) {
        QFont shown = sample->font();
        shown.setPointSize(points);
        sample->setFont(shown);
        edited(sizeAppliesAtOnce);
    });
    m_bindings.push_back({[option, showFont](const Options& o) { showFont(o.*option); },
                          [option, sample, size](Options& o) {
                              o.*option = SpecOf(sample->font(), size->value());
                          }});
}

SwatchButton* TOptionsForm::addColourSwatch(const char* name, const QString& caption,
                                            const QString& title, const QString& topic,
                                            const char* whiteRefusal,
                                            WinColour& (*option)(Options&))
{
    auto* swatch = new SwatchButton(caption);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setAccessibleName(caption.isEmpty() ? title : caption);
    connect(swatch, &QPushButton::clicked, this, [this, swatch, title, topic, whiteRefusal] {
        const std::optional<WinColour> chosen =
            whiteRefusal ? ChooseColourNotWhite(m_dialogs, this, title, topic, swatch->colour(),
                                                QString::fromLatin1(whiteRefusal))
                         : m_dialogs.chooseColour(this, title, topic, swatch->colour());
        if (!chosen)
            return;
        swatch->setColour(*chosen);
        edited();
    });
    m_bindings.push_back({[swatch, option](Options& o) { swatch->setColour(option(o)); },
                          [swatch, option](Options& o) { option(o) = swatch->colour(); }});
    return swatch;
}

SwatchButton* TOptionsForm::addStyleSwatch(const char* name, SwatchButton& colour,
                                           int32_t (Options::*get)() const,
                                           void (Options::*set)(int32_t))
{
    auto* swatch = new SwatchButton(QString());
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setAccessibleName(colour.accessibleName() + QStringLiteral(" Style"));
    swatch->followColourOf(&colour);
    connect(&colour, &QPushButton::clicked, swatch, qOverload<>(&QWidget::update));
    connect(swatch, &QPushButton::clicked, this, [this, swatch] {
        swatch->setStyle(NextSwatchStyle(swatch->style()));
        edited(true);
    });
    m_bindings.push_back({[swatch, get](const Options& o) { swatch->setStyle((o.*get)()); },
                          [swatch, set](Options& o) { (o.*set)(swatch->style()); }});
    return swatch;
}

// ---------------------------------------------------------------- the pages

QWidget* TOptionsForm::createGeneralPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    addCheck(layout, "cbShiftWheelScroll",
             QStringLiteral("Scroll left/right with mouse wheel and SHIFT key"),
             &Options::ShiftWheelScrollLeftRight);
    // A setting of the window only: it changes no option.
    m_autoApply =
        new QCheckBox(QStringLiteral("Automatically apply option size changes from this window"));
    m_autoApply->setObjectName(QStringLiteral("cbAutoApply"));
    layout->addWidget(m_autoApply);
    addCheck(layout, "cbShowAllSizes",
             QStringLiteral("Show all pipe sizes not only parts database supported sizes in lists"),
             &Options::ShowAllSizes);
    addCheck(layout, "cbDrawWalls", QStringLiteral("Draw building exterior walls"),
             &Options::DrawWalls);
    return page;
}

QWidget* TOptionsForm::createSettingsPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    addCheck(layout, "cbSaveOptions", QStringLiteral("Save options in project files"),
             &Options::Saved);
    addModeGroup(layout, "rgRegistryUpdate",
                 QStringLiteral(" Update user registry settings from loaded project file . . .  "),
                 {QStringLiteral("Always update registry with project file settings"),
                  QStringLiteral("Never update registry with project files settings"),
                  QStringLiteral("Ask before updating registry with project file settings")},
                 &Options::RegistryUpdateMode, &Options::SetRegistryUpdateMode);
    addModeGroup(layout, "rgProjectSettings", QStringLiteral(" Load project file settings . . . "),
                 {QStringLiteral("Always load project file settings"),
                  QStringLiteral("Never load project file settings"),
                  QStringLiteral("Ask before loading project file settings")},
                 &Options::ProjectSettingsMode, &Options::SetProjectSettingsMode);
    return page;
}

QWidget* TOptionsForm::createPrintPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    addSizeSpin(layout, "seSymbolSize", QStringLiteral("Printed Symbol Size :"),
                &Options::SymbolSize, Options::MinSymbolSize, Options::MaxSymbolSize);
    addSizeSpin(layout, "seHeaderMargin", QStringLiteral("Header Margin (mm) :"),
                &Options::HeaderMargin, Options::MinHeaderMargin, Options::MaxHeaderMargin);
    addFontGroup(layout, "LabelFont", QStringLiteral(" Symbol Label Font . . . "),
                 &Options::SymbolLabelFont, true);
    addFontGroup(layout, "NotesFont", QStringLiteral(" Printed Notes Font . . . "),
                 &Options::NotesFont, false);
    const std::array<std::tuple<const char*, const char*, bool Options::*>, 9> boxes{{
        {"cbNoLogo", "Do not print company graphic", &Options::NoLogo},
        {"cbPrintInColour", "Print using colour", &Options::PrintInColour},
        {"cbPrintPipeColourTable", "Print pipe size colour table", &Options::PrintPipeColourTable},
        {"cbPrintGrids", "Print Grids", &Options::PrintGrids},
        {"cbPrintNotes", "Print Project Notes", &Options::PrintNotes},
        {"cbPrintDropsPage", "Print Separate Drops Page", &Options::PrintDropsPage},
        {"cbSymbolNamesOnPlan", "Print Symbol Names On Plan", &Options::SymbolNamesOnPlan},
        {"cbSymbolNamesOnSection", "Print Symbol Names On Sections",
         &Options::SymbolNamesOnSection},
        {"cbSymbolsOnDrops", "Print Symbols On Drops", &Options::DrawSymbolsOnDrops},
    }};
    for (const auto& [name, caption, option] : boxes)
        addCheck(layout, name, QString::fromLatin1(caption), option);
    return page;
}

QWidget* TOptionsForm::createPipeColoursPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    auto* box = new QGroupBox(QStringLiteral(" Pipe Colour Option . . . "));
    box->setObjectName(QStringLiteral("rgPipeColourOption"));
    auto* column = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    const QStringList captions{QStringLiteral("Use one colour (main) for all pipes"),
                               QStringLiteral("Use different colours for main and non main pipes"),
                               QStringLiteral("Use one colour for each pipe size range")};
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        button->setObjectName(box->objectName() + QString::number(i));
        group->addButton(button, i);
        column->addWidget(button);
    }
    layout->addWidget(box);
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            edited();
    });
    m_bindings.push_back(
        {[group](const Options& o) { group->button(int(o.PipeColourOption()))->setChecked(true); },
         [group](Options& o) { o.SetPipeColourOption(group->checkedId()); }});

    auto* panels = new QGridLayout;
    for (size_t i = 0; i < PipePanels.size(); ++i) {
        const QString caption = QString::fromLatin1(PipePanels[i].caption);
        SwatchButton* panel = addColourSwatch(
            PipePanels[i].name, caption, caption + QStringLiteral(" Pipe Colour"),
            QString::fromLatin1(topic::PipeColours), PipeColourNotWhite, PipePanels[i].option);
        panel->setMinimumWidth(90);
        panels->addWidget(panel, int(i % 5), int(i / 5));
    }
    layout->addLayout(panels);
    return page;
}

QWidget* TOptionsForm::createSymbolColoursPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const char* label, const QString& caption, SwatchButton* swatch,
                      SwatchButton* style = nullptr) {
        QLabel* text = NamedLabel(QString::fromLatin1(label), caption);
        text->setBuddy(swatch);
        swatch->setAccessibleName(caption);
        grid->addWidget(text, row, 0);
        grid->addWidget(swatch, row, 1);
        if (style)
            grid->addWidget(style, row, 2);
        ++row;
    };
    addRow("lbSelectColour", QStringLiteral("Symbol Selection Colour :"),
           addColourSwatch("pnSelectColour", {}, QStringLiteral("Selected Symbol Colour"),
                           QString::fromLatin1(topic::SelectColour), SelectColourNotWhite,
                           [](Options& o) -> WinColour& { return o.SelectColour; }));
    addRow("lbHighlightColour", QStringLiteral("Symbol Highlight Colour :"),
           addColourSwatch("pnHighlightColour", {}, QStringLiteral("Highlighted Symbol Colour"),
                           QString::fromLatin1(topic::HighlightColour), HighlightColourNotWhite,
                           [](Options& o) -> WinColour& { return o.HighlightColour; }));
    SwatchButton* wall =
        addColourSwatch("pnWallColour", {}, QStringLiteral("Building Wall Colour"),
                        QString::fromLatin1(topic::WallColour), WallColourNotWhite,
                        [](Options& o) -> WinColour& { return o.BuildingWallColour; });
    addRow("lbWallColour", QStringLiteral("Building Exterior Colour :"), wall,
           addStyleSwatch("pnWallStyle", *wall, &Options::BuildingWallStyle,
                          &Options::SetBuildingWallStyle));
    SwatchButton* features =
        addColourSwatch("pnFeaturesColour", {}, QStringLiteral("Building Features Colour"),
                        QString::fromLatin1(topic::FeatureColour), FeatureColourNotWhite,
                        [](Options& o) -> WinColour& { return o.BuildFeaturesColour; });
    addRow("lbFeaturesColour", QStringLiteral("Build Features Colour :"), features,
           addStyleSwatch("pnFeaturesStyle", *features, &Options::BuildFeaturesStyle,
                          &Options::SetBuildFeaturesStyle));
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    return page;
}

QWidget* TOptionsForm::createGridPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    m_gridColour = addColourSwatch("pnGridColour", {}, QStringLiteral("Grid Line Colour"), {},
                                   nullptr, [](Options& o) -> WinColour& { return o.GridColour; });
    m_gridStyle = new QListWidget;
    m_gridStyle->setObjectName(QStringLiteral("lbGridStyle"));
    m_gridStyle->setItemDelegate(new GridStyleDelegate(*m_gridColour, m_gridStyle));
    for (size_t i = 0; i < GridPenStyles.size(); ++i)
        m_gridStyle->addItem(QString::number(i));
    m_gridStyle->setFixedSize(140, int(GridPenStyles.size()) * GridStyleRowHeight +
                                       2 * m_gridStyle->frameWidth());
    AddRow(layout,
           NamedLabel(QStringLiteral("lbGridStyleCaption"), QStringLiteral(" Grid Line Style :")),
           m_gridStyle);
    AddRow(layout, NamedLabel(QStringLiteral("lbGridColour"), QStringLiteral("Grid Line Colour :")),
           m_gridColour);
    connect(m_gridStyle, &QListWidget::currentRowChanged, this, [this] { edited(); });
    connect(m_gridColour, &QPushButton::clicked, m_gridStyle->viewport(),
            qOverload<>(&QWidget::update));
    m_bindings.push_back({[this](const Options& o) { m_gridStyle->setCurrentRow(o.GridStyle()); },
                          [this](Options& o) { o.SetGridStyle(m_gridStyle->currentRow()); }});
    return page;
}

QWidget* TOptionsForm::createPartsPage()
{
    auto* page = new QWidget;
    QVBoxLayout* layout = PageLayout(page);
    auto* email = new QLineEdit;
    email->setObjectName(QStringLiteral("edSupplierEMail"));
    email->setMinimumWidth(300);
    layout->addWidget(NamedLabel(QStringLiteral("lbSupplierEMail"),
                                 QStringLiteral("Prefered Parts Supplier EMail Address :")));
    layout->addWidget(email);
    email->setAccessibleName(QStringLiteral("Prefered Parts Supplier EMail Address :"));
    connect(email, &QLineEdit::textEdited, this, [this] { edited(); });
    m_bindings.push_back({[email](const Options& o) { email->setText(o.SupplierEMail); },
                          [email](Options& o) { o.SupplierEMail = email->text(); }});

    m_priceListFile = new QLineEdit;
    m_priceListFile->setObjectName(QStringLiteral("edPriceListFile"));
    m_priceListFile->setReadOnly(true);
    m_priceListFile->setAccessibleName(QStringLiteral("Parts Price List File :"));
    auto* change = new QPushButton(QStringLiteral("Change"));
    change->setObjectName(QStringLiteral("btnChangePriceList"));
    change->setAccessibleName(QStringLiteral("Change Price List"));
    connect(change, &QPushButton::clicked, this, &TOptionsForm::changePriceList);
    layout->addWidget(
        NamedLabel(QStringLiteral("lbPriceListFile"), QStringLiteral("Parts Price List File :")));
    auto* row = new QHBoxLayout;
    row->addWidget(m_priceListFile, 1);
    row->addWidget(change);
    layout->addLayout(row);
    m_bindings.push_back(
        {[this](const Options& o) { m_priceListFile->setText(o.PartsPriceListFile); },
         [this](Options& o) { o.PartsPriceListFile = m_priceListFile->text(); }});
    return page;
}

QWidget* TOptionsForm::createButtons()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->addStretch();
    auto add = [&](const char* name, const QString& caption) {
        auto* button = new QPushButton(caption);
        button->setObjectName(QString::fromLatin1(name));
        layout->addWidget(button);
        return button;
    };
    m_ok = add("btnOk", QStringLiteral("Ok"));
    m_apply = add("btnApply", QStringLiteral("Apply"));
    QPushButton* close = add("btnClose", QStringLiteral("&Close"));
    QPushButton* help = add("btnHelp", QStringLiteral("Help"));
    help->setEnabled(HelpAvailable());
    connect(m_ok, &QPushButton::clicked, this, &TOptionsForm::accept);
    connect(m_apply, &QPushButton::clicked, this, &TOptionsForm::Apply);
    connect(close, &QPushButton::clicked, this, &TOptionsForm::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelpTopic(HelpTopic()); });
    return row;
}

// ---------------------------------------------------------------- behaviour

OptionsResult TOptionsForm::Open(TPipeLoopOptions& options, OptionsPage page,
                                 std::function<void()> afterApply)
{
    Prepare(options, page, std::move(afterApply));
    const bool accepted = exec() == QDialog::Accepted;
    OptionsResult result = Result();
    result.accepted = accepted;
    m_options = nullptr;
    m_afterApply = {};
    return result;
}

void TOptionsForm::Prepare(TPipeLoopOptions& options, OptionsPage page,
                           std::function<void()> afterApply)
{
    m_options = &options;
    m_atOpen = options;
    m_afterApply = std::move(afterApply);
    m_pages->setCurrentIndex(int(page));
    load();
}

OptionsResult TOptionsForm::Result() const
{
    OptionsResult result;
    result.accepted = this->result() == QDialog::Accepted;
    if (m_options) {
        result.changed = !(*m_options == m_atOpen);
        result.priceListChanged = m_options->PartsPriceListFile != m_atOpen.PartsPriceListFile;
    }
    return result;
}

void TOptionsForm::load()
{
    m_loading = true;
    for (const Binding& binding : m_bindings)
        binding.load(*m_options);
    m_loading = false;
    m_modified = false;
    m_ok->setEnabled(false);
    m_apply->setEnabled(false);
}

void TOptionsForm::Apply()
{
    if (!m_options)
        return;
    for (const Binding& binding : m_bindings)
        binding.store(*m_options);
    m_modified = false;
    m_ok->setEnabled(false);
    m_apply->setEnabled(false);
    if (m_afterApply)
        m_afterApply();
}

void TOptionsForm::edited(bool sizeOption)
{
    if (m_loading || !m_options)
        return;
    m_modified = true;
    m_ok->setEnabled(true);
    m_apply->setEnabled(true);
    if (sizeOption && m_autoApply->isChecked())
        Apply();
}

void TOptionsForm::changePriceList()
{
    const QString path = m_dialogs.openFileName(this, QStringLiteral("Parts Price List File"),
                                                QStringLiteral("Parts Price List Files (*.ppl)"),
                                                QFileInfo(m_priceListFile->text()).path());
    if (path.isEmpty() || path == m_priceListFile->text())
        return;
    if (!catalogue::TPartsDatabase::IsPriceListFile(path)) {
        Ui().warn(QStringLiteral("Parts price list file invalid :\r\n") + path);
        return;
    }
    m_priceListFile->setText(path);
    edited();
}

OptionsPage TOptionsForm::Page() const
{
    return OptionsPage(m_pages->currentIndex());
}

QString TOptionsForm::HelpTopic() const
{
    return QString::fromLatin1(Pages[size_t(m_pages->currentIndex())].helpTopic);
}

void TOptionsForm::accept()
{
    Apply();
    QDialog::accept();
}

void TOptionsForm::reject()
{
    if (m_modified && !Ui().confirm(QStringLiteral("Discard option changes ?")))
        Apply();
    QDialog::reject();
}

} // namespace pipeloop
