#include "gui/editor/TSRFOptions.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "gui/app/WindowDialogs.h"
#include "gui/editor/DialogSupport.h"
#include "gui/editor/TSRFAddTile.h"
#include "gui/editor/TDlgSelectMode.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/TilePictures.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

constexpr int kPictureSize = 64;

QPushButton* button(const QString& name, const QString& caption, bool enabled = true) {
    auto* result = new QPushButton(caption);
    result->setObjectName(name);
    result->setEnabled(enabled);
    return result;
}

QToolButton* arrowButton(const QString& name, const QString& glyph, const QString& hint) {
    QToolButton* result = glyphButton(name, glyph, hint);
    result->setEnabled(false);
    return result;
}

QLabel* noteLabel(const QString& name, const std::string& note) {
    auto* label = new QLabel(fromFileText(note));
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setVisible(!note.empty());
    return label;
}

QVBoxLayout* buttonColumn(std::initializer_list<QWidget*> buttons) {
    auto* column = new QVBoxLayout;
    for (QWidget* button : buttons)
        column->addWidget(button);
    return column;
}

// The row of a list control, or nothing.
std::optional<std::size_t> rowOf(int row) {
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(row);
}

} // namespace

TSRFOptions::TSRFOptions(WindowDialogs& dialogs, std::filesystem::path programDir, MapDrawSource& pictures,
                         QWidget* parent)
    : QDialog(parent), guard_(dialogs, this), programDir_(std::move(programDir)), pictureSource_(pictures),
      pictures_(std::make_unique<TilePictures>(pictures)), model_(OptionsModel::open(programDir_)) {
    setObjectName(QStringLiteral("SRFOptions"));
    setWindowTitle(QStringLiteral("Options"));

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setDocumentMode(true);
    pages_->addTab(buildGroupsTab(), QStringLiteral("&Select Modes"));
    auto* shortCuts = new QWidget;
    shortCuts->setObjectName(QStringLiteral("TabShortCuts"));
    pages_->addTab(shortCuts, QStringLiteral("S&hort Cuts"));
    pages_->setTabVisible(1, false);
    pages_->addTab(buildTexturesTab(), QStringLiteral("Te&xture Lists"));

    const OkCancelRow buttons =
        okCancelRow(this, QStringLiteral("btnOK"), QStringLiteral("btnCancel"), QStringLiteral("&Cancel"));
    okButton_ = buttons.ok;
    cancelButton_ = buttons.cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(buttons.row);
    resize(500, 400);

    showGroups();
    showListNames();
    showEntries();
    connectControls();
}

TSRFOptions::~TSRFOptions() = default;

QWidget* TSRFOptions::buildGroupsTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSelectModes"));
    groups_ = new QTreeWidget;
    groups_->setObjectName(QStringLiteral("lvSelectModes"));
    groups_->setAccessibleName(QStringLiteral("Select Modes"));
    groups_->setColumnCount(2);
    groups_->setHeaderLabels({QStringLiteral("Caption"), QStringLiteral("Items")});
    groups_->setColumnWidth(0, 200);
    groups_->setColumnWidth(1, 149);
    groups_->setRootIsDecorated(false);
    groups_->setUniformRowHeights(true);
    groups_->setSelectionMode(QAbstractItemView::SingleSelection);
    addGroup_ = button(QStringLiteral("btnAdd"), QStringLiteral("Add"));
    editGroup_ = button(QStringLiteral("btnEdit"), QStringLiteral("Edit"), false);
    deleteGroup_ = button(QStringLiteral("btnDelete"), QStringLiteral("Delete"), false);
    groupUp_ = arrowButton(QStringLiteral("btnUp"), QStringLiteral("\u25B2"), QStringLiteral("Move up"));
    groupDown_ = arrowButton(QStringLiteral("btnDown"), QStringLiteral("\u25BC"), QStringLiteral("Move down"));
    groupsNote_ = noteLabel(QStringLiteral("GroupsNote"), model_.groupsNote());

    QVBoxLayout* side = buttonColumn({addGroup_, editGroup_, deleteGroup_, groupUp_, groupDown_});
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(groups_, 1);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row, 1);
    layout->addWidget(groupsNote_);
    chainTabOrder({groups_, addGroup_, editGroup_, deleteGroup_, groupUp_, groupDown_});
    return page;
}

QWidget* TSRFOptions::buildTexturesTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabTextureLists"));
    entries_ = new QListWidget;
    entries_->setObjectName(QStringLiteral("lbTexture"));
    entries_->setAccessibleName(QStringLiteral("Texture list entries"));
    addEntry_ = button(QStringLiteral("btnAddTexture"), QStringLiteral("Add"));
    editEntry_ = button(QStringLiteral("btnEditTexture"), QStringLiteral("Edit"), false);
    deleteEntry_ = button(QStringLiteral("btnDeleteTexture"), QStringLiteral("Delete"), false);
    entryUp_ = arrowButton(QStringLiteral("btnTextureUp"), QStringLiteral("\u25B2"), QStringLiteral("Move up"));
    entryDown_ = arrowButton(QStringLiteral("btnTextureDown"), QStringLiteral("\u25BC"), QStringLiteral("Move down"));
    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setAccessibleName(QStringLiteral("Picture of the selected entry"));
    picture_->setFixedSize(kPictureSize, kPictureSize);
    listNames_ = new QComboBox;
    listNames_->setObjectName(QStringLiteral("cbTextureLists"));
    listNames_->setMinimumContentsLength(14);
    QLabel* listsLabel = buddyLabel(QStringLiteral("TextureListsLabel"), QStringLiteral("Texture Lists"), listNames_, page);
    addList_ = button(QStringLiteral("btnAddList"), QStringLiteral("Add"));
    texturesNote_ = noteLabel(QStringLiteral("TexturesNote"), model_.texturesNote());

    QVBoxLayout* side = buttonColumn({addEntry_, editEntry_, deleteEntry_, entryUp_, entryDown_});
    side->addSpacing(8);
    side->addWidget(picture_);
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(entries_, 1);
    row->addLayout(side);
    auto* lists = new QHBoxLayout;
    lists->addWidget(listsLabel);
    lists->addWidget(listNames_, 1);
    lists->addWidget(addList_);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row, 1);
    layout->addWidget(texturesNote_);
    layout->addLayout(lists);
    chainTabOrder({entries_, addEntry_, editEntry_, deleteEntry_, entryUp_, entryDown_, listNames_, addList_});
    return page;
}

void TSRFOptions::connectControls() {
    guard_.connect(groups_, &QTreeWidget::itemSelectionChanged, this, [this] { lvSelectModesSelectItem(); });
    guard_.connect(addGroup_, &QPushButton::clicked, this, [this] { btnAddClick(); });
    guard_.connect(editGroup_, &QPushButton::clicked, this, [this] { btnEditClick(); });
    guard_.connect(deleteGroup_, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
    guard_.connect(groupUp_, &QToolButton::clicked, this, [this] { btnUpClick(); });
    guard_.connect(groupDown_, &QToolButton::clicked, this, [this] { btnDownClick(); });
    guard_.connect(entries_, &QListWidget::itemSelectionChanged, this, [this] { lbTextureClick(); });
    guard_.connect(addEntry_, &QPushButton::clicked, this, [this] { btnAddTextureClick(); });
    guard_.connect(editEntry_, &QPushButton::clicked, this, [this] { btnEditTextureClick(); });
    guard_.connect(deleteEntry_, &QPushButton::clicked, this, [this] { btnDeleteTextureClick(); });
    guard_.connect(entryUp_, &QToolButton::clicked, this, [this] { btnTextureUpClick(); });
    guard_.connect(entryDown_, &QToolButton::clicked, this, [this] { btnTextureDownClick(); });
    guard_.connect(listNames_, &QComboBox::textActivated, this,
                   [this](const QString& name) { cbTextureListsChange(name); });
    guard_.connect(addList_, &QPushButton::clicked, this, [this] { btnAddListClick(); });
    guard_.connect(okButton_, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

// ---- Selection groups ---------------------------------------------------------

void TSRFOptions::showGroups() {
    const QSignalBlocker blocker(groups_);
    groups_->clear();
    for (const SelectionGroupRow& row : model_.groups().items())
        groups_->addTopLevelItem(new QTreeWidgetItem({fromFileText(row.caption), fromFileText(row.items)}));
    if (const auto selected = model_.groups().selected())
        groups_->setCurrentItem(groups_->topLevelItem(static_cast<int>(*selected)));
    showGroupButtons();
}

void TSRFOptions::showGroupButtons() {
    enableListButtons(model_.groups().buttons(), editGroup_, deleteGroup_, groupUp_, groupDown_);
}

void TSRFOptions::lvSelectModesSelectItem() {
    const QList<QTreeWidgetItem*> selected = groups_->selectedItems();
    model_.groups().select(selected.isEmpty() ? std::nullopt : rowOf(groups_->indexOfTopLevelItem(selected.front())));
    showGroupButtons();
}

void TSRFOptions::btnAddClick() {
    TDlgSelectMode dialog(guard_.dialogs(), programDir_, pictureSource_, this);
    dialog.setWindowTitle(QStringLiteral("Add new Tiles"));
    dialog.setHelpText(QStringLiteral("Seperate Tile IDs with Comma! Insert Tile ID as Hex (Sample: $011a)"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    model_.groups().append({toFileText(dialog.groupCaption()), toFileText(dialog.tileList())});
    showGroups();
}

void TSRFOptions::btnEditClick() {
    const SelectionGroupRow* row = model_.groups().selectedItem();
    if (!row)
        return;
    TDlgSelectMode dialog(guard_.dialogs(), programDir_, pictureSource_, this);
    dialog.setWindowTitle(QStringLiteral("Edit Group ") + fromFileText(row->caption));
    dialog.setGroupCaption(fromFileText(row->caption));
    dialog.setTileList(fromFileText(row->items));
    if (dialog.exec() != QDialog::Accepted)
        return;
    model_.groups().replaceSelected({toFileText(dialog.groupCaption()), toFileText(dialog.tileList())});
    showGroups();
}

void TSRFOptions::btnDeleteClick() {
    if (!model_.groups().selected() ||
        !guard_.dialogs().askYesNo(this, QStringLiteral("Delete selected selection group?")))
        return;
    model_.groups().removeSelected();
    showGroups();
}

void TSRFOptions::btnUpClick() {
    model_.groups().moveSelectedUp();
    showGroups();
    groups_->setFocus();
}

void TSRFOptions::btnDownClick() {
    model_.groups().moveSelectedDown();
    showGroups();
    groups_->setFocus();
}

// ---- Texture lists --------------------------------------------------------------

void TSRFOptions::showEntries() {
    {
        const QSignalBlocker blocker(entries_);
        entries_->clear();
        for (const std::string& entry : model_.textureEntries().items())
            entries_->addItem(fromFileText(entry));
        if (const auto selected = model_.textureEntries().selected())
            entries_->setCurrentRow(static_cast<int>(*selected));
    }
    showTextureButtons();
    showEntryPicture(false);
}

void TSRFOptions::showListNames() {
    const QSignalBlocker blocker(listNames_);
    listNames_->clear();
    for (const std::string& name : model_.textureListNames())
        listNames_->addItem(fromFileText(name));
    // The list being edited is named even before its file exists.
    const QString current = fromFileText(model_.textureListName());
    if (listNames_->findText(current) < 0)
        listNames_->addItem(current);
    listNames_->setCurrentIndex(listNames_->findText(current));
}

void TSRFOptions::showTextureButtons() {
    enableListButtons(model_.textureEntries().buttons(), editEntry_, deleteEntry_, entryUp_, entryDown_);
}

void TSRFOptions::showEntryPicture(bool userChoice) {
    picture_->clear();
    const std::string* entry = model_.textureEntries().selectedItem();
    if (!entry)
        return;
    std::int64_t tile = 0;
    try {
        tile = parseInteger(*entry);
    } catch (const ConversionError&) {
        if (userChoice)
            throw;
        return;
    }
    // A value outside the tile ids has no picture: it shows black.
    const int shown = tile >= 0 && tile <= 0xFFFF ? static_cast<int>(tile) : 0x10000;
    picture_->setPixmap(QPixmap::fromImage(pictures_->picture(shown, QSize(kPictureSize, kPictureSize))));
}

void TSRFOptions::lbTextureClick() {
    const QList<QListWidgetItem*> selected = entries_->selectedItems();
    model_.textureEntries().select(selected.isEmpty() ? std::nullopt : rowOf(entries_->row(selected.front())));
    showTextureButtons();
    showEntryPicture(true);
}

void TSRFOptions::btnAddTextureClick() {
    TSRFAddTile dialog(guard_.dialogs(), programDir_, pictureSource_, this);
    dialog.setWindowTitle(QStringLiteral("Insert"));
    dialog.setEditLabel(QStringLiteral("Insert a new Item"));
    dialog.setEntryText(QStringLiteral("$"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    model_.textureEntries().insertBeforeSelected(toFileText(dialog.entryText()));
    showEntries();
}

void TSRFOptions::btnEditTextureClick() {
    const std::string* entry = model_.textureEntries().selectedItem();
    if (!entry)
        return;
    TSRFAddTile dialog(guard_.dialogs(), programDir_, pictureSource_, this);
    dialog.setWindowTitle(QStringLiteral("Edit"));
    dialog.setEditLabel(QStringLiteral("Edit Item ") + fromFileText(*entry));
    // A new id is typed or taken from the palette; the old one is in the label.
    dialog.setEntryText(QStringLiteral("$"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    model_.textureEntries().replaceSelected(toFileText(dialog.entryText()));
    showEntries();
}

void TSRFOptions::btnDeleteTextureClick() {
    if (!model_.textureEntries().selected() ||
        !guard_.dialogs().askYesNo(this, QStringLiteral("Delete selected Item?")))
        return;
    model_.textureEntries().removeSelected();
    showEntries();
}

void TSRFOptions::btnTextureUpClick() {
    model_.textureEntries().moveSelectedUp();
    showEntries();
    entries_->setFocus();
}

void TSRFOptions::btnTextureDownClick() {
    model_.textureEntries().moveSelectedDown();
    showEntries();
    entries_->setFocus();
}

void TSRFOptions::cbTextureListsChange(const QString& name) {
    // A list that cannot be read leaves the entries empty; the error says why.
    try {
        model_.chooseTextureList(toFileText(name));
    } catch (const Error&) {
        showEntries();
        throw;
    }
    showEntries();
}

void TSRFOptions::btnAddListClick() {
    const auto name = guard_.dialogs().inputText(this, QStringLiteral("Add List"), QStringLiteral("Add new Item list"),
                                                 QStringLiteral(".lst"));
    if (!name)
        return;
    if (!runRefusable(guard_.dialogs(), this, [&] { model_.addTextureList(toFileText(*name)); }))
        return;
    showListNames();
    showEntries();
}

void TSRFOptions::btnOKClick() {
    // Written before the dialog closes, so a failed write keeps every change
    // on screen to try again or keep by Cancel's choice.
    if (runRefusable(guard_.dialogs(), this, [this] { model_.write(); }))
        accept();
}

} // namespace stonereach
