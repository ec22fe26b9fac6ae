#include "UserPartForm.h"

#include "AppDialogs.h"
#include "PartSelectForm.h"
#include "PartsDatabase.h"
#include "UiServices.h"
#include "UserParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pipeloop
{

using namespace catalogue;

namespace
{

constexpr int PictureSize = 140;
const QString NewMakerPrompt = QStringLiteral("Enter New Manufacturer");
const QString MakerPrompt = QStringLiteral("Select Manufacturer . . .");
const QString UserFileFilter = QStringLiteral("User DB Files (*.updb)");

QLabel* Caption(const QString& name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

template <typename Widget> Widget* Named(Widget* widget, const QString& name, const QString& access)
{
    widget->setObjectName(name);
    widget->setAccessibleName(access);
    return widget;
}

} // namespace

QString ChooseUserPartsFile(AppDialogs& dialogs, QWidget* parent, const QString& start)
{
    return dialogs.saveFileName(parent, QStringLiteral("Save User Parts Database"), UserFileFilter,
                                QStringLiteral("updb"), start);
}

TUserPartForm::TUserPartForm(AppDialogs& dialogs, const QString& appDir, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_appDir(appDir)
{
    setObjectName(QStringLiteral("UserPartForm"));
    m_connecting = Caption(QStringLiteral("lbConnectingPipe"), QString());
    m_tabs = new QTabWidget;
    m_tabs->addTab(createAssignTab(), QStringLiteral("Assign Parts"));
    m_tabs->addTab(createDatabaseTab(), QStringLiteral("User Parts DB"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_connecting);
    buttons->addStretch();
    buttons->addWidget(addButton(QStringLiteral("btnOK"), QStringLiteral("Ok")));
    buttons->addWidget(addButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    const auto clicked = [this](const char* name, void (TUserPartForm::*slot)()) {
        connect(button(QString::fromLatin1(name)), &QPushButton::clicked, this, slot);
    };
    clicked("btnAddPart", &TUserPartForm::AddPart);
    clicked("btnClearParts", &TUserPartForm::ClearParts);
    clicked("btnAddNewPart", &TUserPartForm::AddNewPart);
    clicked("btnAddNewPartAndMaker", &TUserPartForm::AddNewPartAndMaker);
    clicked("btnSaveUserDB", &TUserPartForm::SaveUserParts);
    clicked("btnOpenUserDB", &TUserPartForm::OpenUserParts);
    connect(button(QStringLiteral("btnOK")), &QPushButton::clicked, this, &QDialog::accept);
    connect(button(QStringLiteral("btnCancel")), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_makerBox, &QComboBox::textActivated, this, &TUserPartForm::ChooseMaker);
    connect(m_partList, &QListWidget::currentTextChanged, this, &TUserPartForm::ChoosePart);
    connect(m_partList, &QListWidget::itemDoubleClicked, this, [this] { AddPart(); });
    resize(720, 420);
}

QWidget* TUserPartForm::createAssignTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tsAssignParts"));
    m_makerBox = Named(new QComboBox, QStringLiteral("cbManufacturer"), MakerPrompt);
    m_makerBox->setPlaceholderText(MakerPrompt);
    m_partList =
        Named(new QListWidget, QStringLiteral("lbPartNumbers"), QStringLiteral("Part Numbers"));
    m_picture = Named(new QLabel, QStringLiteral("imPart"), QStringLiteral("Picture"));
    m_picture->setFixedSize(PictureSize, PictureSize);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFrameShape(QFrame::Box);
    m_grid =
        Named(new QTableWidget(0, 3), QStringLiteral("sgParts"), QStringLiteral("Assigned Parts"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Manufacturer"), QStringLiteral("Part code"),
                                       QStringLiteral("Description")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto* layout = new QGridLayout(tab);
    layout->addWidget(m_makerBox, 0, 0);
    layout->addWidget(m_partList, 1, 0);
    layout->addWidget(m_picture, 1, 1, Qt::AlignTop);
    layout->addWidget(m_grid, 0, 2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton(QStringLiteral("btnAddPart"), QStringLiteral("Add Part")));
    buttons->addWidget(addButton(QStringLiteral("btnClearParts"), QStringLiteral("Clear Parts")));
    buttons->addStretch();
    layout->addLayout(buttons, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    return tab;
}

QWidget* TUserPartForm::createDatabaseTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tsUserPartsDB"));
    m_makerList =
        Named(new QListWidget, QStringLiteral("lbManufacturers"), QStringLiteral("Manufacturer"));
    m_newPart =
        Named(new QLineEdit, QStringLiteral("edNewPart"), QStringLiteral("New Part Number"));
    m_newDescription =
        Named(new QLineEdit, QStringLiteral("edDescription"), QStringLiteral("Description"));
    m_newMaker =
        Named(new QLineEdit(NewMakerPrompt), QStringLiteral("edNewManufacturer"), NewMakerPrompt);

    auto* layout = new QGridLayout(tab);
    layout->addWidget(
        Caption(QStringLiteral("lbManufacturerCaption"), QStringLiteral("Manufacturer :")), 0, 0);
    layout->addWidget(m_makerList, 1, 0, 6, 1);
    layout->addWidget(Caption(QStringLiteral("lbNewPartCaption"), QStringLiteral("Part Number :")),
                      0, 1);
    layout->addWidget(m_newPart, 1, 1);
    layout->addWidget(
        Caption(QStringLiteral("lbDescriptionCaption"), QStringLiteral("Description :")), 2, 1);
    layout->addWidget(m_newDescription, 3, 1);
    layout->addWidget(
        Caption(QStringLiteral("lbNewManufacturerCaption"), QStringLiteral("New Manufacturer :")),
        4, 1);
    layout->addWidget(m_newMaker, 5, 1);
    layout->setRowStretch(6, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addButton(QStringLiteral("btnAddNewPart"), QStringLiteral("Add New Part")));
    buttons->addWidget(addButton(QStringLiteral("btnAddNewPartAndMaker"),
                                 QStringLiteral("Add New Part && Manufacturer")));
    buttons->addWidget(addButton(QStringLiteral("btnSaveUserDB"), QStringLiteral("Save User DB")));
    buttons->addWidget(addButton(QStringLiteral("btnOpenUserDB"), QStringLiteral("Open User DB")));
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2, 7, 1);
    layout->setColumnStretch(1, 1);
    return tab;
}

QPushButton* TUserPartForm::addButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    // "&&" shows one ampersand; the accessible name is what the user reads.
    button->setAccessibleName(QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&")));
    m_buttons.insert(name, button);
    return button;
}

std::optional<QString> TUserPartForm::Open(UserPartsDatabase& userParts, TPartsDatabase& catalogue,
                                           const QString& symbolName, const QString& assigned,
                                           const QString& connectingSize)
{
    Prepare(userParts, catalogue, symbolName, assigned, connectingSize);
    const bool accepted = exec() == QDialog::Accepted;
    // The databases are lent for the showing only.
    m_partList->clear();
    m_userParts = nullptr;
    m_catalogue = nullptr;
    return accepted ? std::optional<QString>(AssignedText()) : std::nullopt;
}

void TUserPartForm::Prepare(UserPartsDatabase& userParts, TPartsDatabase& catalogue,
                            const QString& symbolName, const QString& assigned,
                            const QString& connectingSize)
{
    m_userParts = &userParts;
    m_catalogue = &catalogue;
    if (!userParts.Loaded())
        userParts.Load(m_appDir, userParts.UserFile());
    setWindowTitle(QStringLiteral("User Part Selector : ") + symbolName);
    m_connecting->setText(QStringLiteral("Connecting Pipe OD : ") + connectingSize);
    m_grid->setRowCount(0);
    for (const AssignedItem& item : SplitAssignedText(assigned))
        addRow(item.maker, item.partNumber);
    fillMakers();
    m_partList->clear();
    showPicture(QString());
    button(QStringLiteral("btnSaveUserDB"))->setEnabled(userParts.HasUnsavedAdditions());
    m_tabs->setCurrentIndex(0);
}

void TUserPartForm::fillMakers()
{
    m_makerBox->clear();
    m_makerBox->addItems(m_userParts->Makers());
    m_makerBox->setCurrentIndex(-1);
    const QString chosen =
        m_makerList->currentItem() ? m_makerList->currentItem()->text() : QString();
    m_makerList->clear();
    m_makerList->addItems(m_userParts->Makers());
    const auto found = m_makerList->findItems(chosen, Qt::MatchExactly);
    if (!found.isEmpty())
        m_makerList->setCurrentItem(found.first());
}

void TUserPartForm::addRow(const QString& maker, const QString& partNumber)
{
    const int row = m_grid->rowCount();
    m_grid->insertRow(row);
    const QString key = maker.isEmpty() ? partNumber : maker + u':' + partNumber;
    const QString cells[] = {maker, partNumber, m_userParts->DescriptionOf(key)};
    for (int column = 0; column < 3; ++column)
        m_grid->setItem(row, column, new QTableWidgetItem(cells[column]));
}

void TUserPartForm::ChooseMaker(const QString& maker)
{
    m_makerBox->setCurrentText(maker);
    m_partList->clear();
    m_partList->addItems(m_userParts->PartNumbersOf(maker));
}

void TUserPartForm::ChoosePart(const QString& partNumber)
{
    const auto found = m_partList->findItems(partNumber, Qt::MatchExactly);
    if (!found.isEmpty() && m_partList->currentItem() != found.first())
        m_partList->setCurrentItem(found.first()); // comes back here
    const QString key = m_makerBox->currentText() + u':' + partNumber;
    m_partList->setToolTip(partNumber.isEmpty() ? QString() : m_userParts->DescriptionOf(key));
    showPicture(partNumber);
}

void TUserPartForm::showPicture(const QString& partNumber)
{
    ShowCataloguePicture(*m_picture, m_catalogue, partNumber);
}

void TUserPartForm::AddPart()
{
    const QListWidgetItem* part = m_partList->currentItem();
    if (!part || m_makerBox->currentIndex() < 0) {
        Ui().inform(QStringLiteral("Select a part before using the button."));
        return;
    }
    addRow(m_makerBox->currentText(), part->text());
}

void TUserPartForm::ClearParts()
{
    if (m_grid->rowCount() > 0 &&
        Ui().confirm(QStringLiteral("Are you sure you want to clear the parts list ?")))
        m_grid->setRowCount(0);
}

QString TUserPartForm::AssignedText() const
{
    std::vector<AssignedItem> items;
    for (int row = 0; row < m_grid->rowCount(); ++row)
        items.push_back({m_grid->item(row, 0)->text(), m_grid->item(row, 1)->text()});
    return JoinAssignedText(items);
}

void TUserPartForm::AddNewPart()
{
    const QString maker =
        m_makerList->currentItem() ? m_makerList->currentItem()->text() : QString();
    if (m_userParts->AddPart(maker, m_newPart->text(), m_newDescription->text()))
        added();
}

void TUserPartForm::AddNewPartAndMaker()
{
    if (m_userParts->AddPartAndMaker(m_newMaker->text(), m_newPart->text(),
                                     m_newDescription->text()))
        added();
}

// A new key: the maker lists show its maker, the "Assign Parts" tab its maker's
// part numbers, and it can be saved.
void TUserPartForm::added()
{
    const QString key = m_userParts->Keys().last();
    const QString maker = key.left(key.indexOf(u':'));
    fillMakers();
    m_makerList->setCurrentItem(m_makerList->findItems(maker, Qt::MatchExactly).value(0));
    ChooseMaker(maker);
    button(QStringLiteral("btnSaveUserDB"))->setEnabled(true);
}

void TUserPartForm::SaveUserParts()
{
    const QString path = ChooseUserPartsFile(m_dialogs, this, m_userParts->UserFile());
    if (!path.isEmpty() && m_userParts->SaveUserEntries(path))
        button(QStringLiteral("btnSaveUserDB"))->setEnabled(false);
}

void TUserPartForm::OpenUserParts()
{
    const QString path = m_dialogs.openFileName(this, QStringLiteral("Open User Parts Database"),
                                                UserFileFilter, m_userParts->UserFile());
    if (path.isEmpty() || !m_userParts->OpenUserFile(path))
        return;
    fillMakers();
    m_partList->clear();
    button(QStringLiteral("btnSaveUserDB"))->setEnabled(false);
}

} // namespace pipeloop
