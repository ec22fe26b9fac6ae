#include "PartSelectForm.h"

#include "PartSelection.h"
#include "UiServices.h"
#include "Units.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace pipeloop
{

using namespace catalogue;

namespace
{

constexpr int PictureSize = 160;

// Each list item carries its part.
const TPartObject* PartOf(const QListWidgetItem* item)
{
    return item ? static_cast<const TPartObject*>(item->data(Qt::UserRole).value<const void*>())
                : nullptr;
}

void AddItem(QListWidget& list, const PartChoice& choice)
{
    auto* item = new QListWidgetItem(choice.partNumber, &list);
    item->setData(Qt::UserRole, QVariant::fromValue(static_cast<const void*>(choice.part)));
}

QLabel* Caption(const QString& name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

} // namespace

void ShowCataloguePicture(QLabel& box, TPartsDatabase* database, const QString& name)
{
    const QString entry = name.isEmpty() || !database ? QString() : database->PictureEntryFor(name);
    const QImage image = entry.isEmpty() ? QImage() : database->AssignPicture(entry);
    if (image.isNull()) {
        box.setText(QStringLiteral("NO IMAGE"));
        return;
    }
    box.setPixmap(QPixmap::fromImage(image).scaled(box.size() - QSize(6, 6), Qt::KeepAspectRatio,
                                                   Qt::SmoothTransformation));
}

TPartSelectForm::TPartSelectForm(DocumentOpener openDocument, QWidget* parent)
    : QDialog(parent), m_openDocument(std::move(openDocument))
{
    setObjectName(QStringLiteral("PartSelectForm"));
    setWindowTitle(QStringLiteral("Part Selector"));

    m_candidates = new QListWidget;
    m_candidates->setObjectName(QStringLiteral("lbDatabaseParts"));
    m_candidates->setAccessibleName(QStringLiteral("Database Parts"));
    m_candidates->setToolTip(QStringLiteral("Double click to select part"));
    m_selected = new QListWidget;
    m_selected->setObjectName(QStringLiteral("lbSelectedParts"));
    m_selected->setAccessibleName(QStringLiteral("Selected Parts"));
    m_description = new QTextEdit;
    m_description->setObjectName(QStringLiteral("mmDescription"));
    m_description->setAccessibleName(QStringLiteral("Description"));
    m_description->setReadOnly(true);
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("imPart"));
    m_picture->setAccessibleName(QStringLiteral("Picture"));
    m_picture->setFixedSize(PictureSize, PictureSize);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::Box);
    m_dropSizeLabel = Caption(QStringLiteral("lbDropSize"), QString());

    auto* lists = new QGridLayout;
    lists->addWidget(
        Caption(QStringLiteral("lbDatabasePartsCaption"), QStringLiteral("Database Parts :")), 0,
        0);
    lists->addWidget(
        Caption(QStringLiteral("lbSelectedPartsCaption"), QStringLiteral("Selected Parts")), 0, 1);
    lists->addWidget(m_candidates, 1, 0);
    lists->addWidget(m_selected, 1, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(m_picture);
    side->addWidget(m_dropSizeLabel);
    side->addWidget(m_description);
    lists->addLayout(side, 1, 2);

    auto* buttons = new QHBoxLayout;
    for (const auto& [name, caption] : {std::pair{"btnAddPart", "Add Part"},
                                        {"btnClearParts", "Clear Parts"},
                                        {"btnViewCatalog", "View Catalog"}}) {
        buttons->addWidget(addButton(QString::fromLatin1(name), QString::fromLatin1(caption)));
    }
    buttons->addStretch();
    buttons->addWidget(addButton(QStringLiteral("btnOK"), QStringLiteral("OK")));
    buttons->addWidget(addButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel")));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    connect(m_candidates, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { candidateHighlighted(item); });
    connect(m_candidates, &QListWidget::itemDoubleClicked, this, [this] { AddPart(); });
    connect(m_selected, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            m_candidates->setCurrentItem(nullptr);
    });
    connect(button(QStringLiteral("btnAddPart")), &QPushButton::clicked, this,
            [this] { AddPart(); });
    connect(button(QStringLiteral("btnClearParts")), &QPushButton::clicked, this,
            [this] { ShowAssignment(); });
    connect(button(QStringLiteral("btnViewCatalog")), &QPushButton::clicked, this,
            [this] { viewCatalog(); });
    connect(button(QStringLiteral("btnOK")), &QPushButton::clicked, this, &QDialog::accept);
    connect(button(QStringLiteral("btnCancel")), &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 400);
}

QPushButton* TPartSelectForm::addButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    m_buttons.insert(name, button);
    return button;
}

std::optional<QString> TPartSelectForm::Open(TPartsDatabase& database, const QString& symbolName,
                                             float dropSize, const QString& assigned,
                                             const QString& appDir)
{
    Prepare(database, symbolName, dropSize, assigned, appDir);
    const bool accepted = exec() == QDialog::Accepted;
    const QString chosen = AssignedText();
    // The catalogue and its parts are lent for the showing only.
    m_candidates->clear();
    m_selected->clear();
    m_database = nullptr;
    return accepted ? std::optional<QString>(chosen) : std::nullopt;
}

void TPartSelectForm::Prepare(TPartsDatabase& database, const QString& symbolName, float dropSize,
                              const QString& assigned, const QString& appDir)
{
    m_database = &database;
    m_symbolName = symbolName;
    m_dropSize = dropSize;
    m_assigned = assigned;
    m_appDir = appDir;
    m_dropSizeLabel->setText(QStringLiteral("Drop Size ") + SizeText(dropSize));
    ShowAssignment();
}

void TPartSelectForm::ShowAssignment()
{
    m_selected->clear();
    for (const PartChoice& choice : AssignedVendorParts(*m_database, m_assigned))
        AddItem(*m_selected, choice);
    m_candidates->clear();
    for (const PartChoice& choice : PartCandidates(*m_database, m_symbolName, m_dropSize))
        AddItem(*m_candidates, choice);
    if (m_candidates->count() > 0) {
        m_candidates->setCurrentRow(0);
    } else {
        candidateHighlighted(nullptr);
        Ui().inform(QStringLiteral("Cannot find any parts in the database for : ") + m_symbolName);
    }
    button(QStringLiteral("btnOK"))->setEnabled(false);
}

void TPartSelectForm::AddPart()
{
    const QListWidgetItem* item = m_candidates->currentItem();
    if (!item)
        return;
    AddItem(*m_selected, {item->text(), PartOf(item)});
    button(QStringLiteral("btnOK"))->setEnabled(true);
}

QString TPartSelectForm::AssignedText() const
{
    QList<PartChoice> parts;
    for (int row = 0; row < m_selected->count(); ++row)
        parts.append({m_selected->item(row)->text(), PartOf(m_selected->item(row))});
    return VendorAssignedText(parts);
}

void TPartSelectForm::candidateHighlighted(QListWidgetItem* item)
{
    const TPartObject* part = PartOf(item);
    if (part)
        m_selected->setCurrentItem(nullptr);
    m_description->setPlainText(part ? part->Description() : QString());
    showPicture(part);
}

void TPartSelectForm::showPicture(const TPartObject* part)
{
    const QString name = !part                     ? QString()
                         : part->Image().isEmpty() ? part->PartKey()
                                                   : part->Image();
    ShowCataloguePicture(*m_picture, m_database, name);
}

void TPartSelectForm::viewCatalog()
{
    QListWidgetItem* item = m_candidates->currentItem();
    if (!item)
        item = m_selected->currentItem();
    if (!item)
        return;
    const TPartObject* part = PartOf(item);
    OpenCatalogueDocument(m_openDocument, m_appDir,
                          ImageNameOf(part ? part->PartKey() : item->text()));
}

} // namespace pipeloop
