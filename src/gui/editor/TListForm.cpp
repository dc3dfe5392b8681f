#include "gui/editor/TListForm.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "gui/app/EnteredValues.h"
#include "gui/app/WindowDialogs.h"
#include "gui/editor/DialogSupport.h"
#include "gui/widgets/ControlNames.h"

namespace stonereach {

namespace {

const QString kCoordinatesFilter = QStringLiteral("Brannock Coordinates (*.def)");
constexpr const char* kCoordinatesFileName = "coords.def";

QPushButton* button(const QString& name, const QString& caption) {
    auto* result = new QPushButton(caption);
    result->setObjectName(name);
    return result;
}

} // namespace

TListForm::TListForm(WindowDialogs& dialogs, std::filesystem::path programDir, const QString& x, const QString& y,
                     QWidget* parent)
    : QDialog(parent), guard_(dialogs, this), programDir_(std::move(programDir)) {
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(QStringLiteral("Coordinates Index"));

    list_ = new QTableWidget(0, 2, this);
    list_->setObjectName(QStringLiteral("Seznam"));
    list_->setAccessibleName(QStringLiteral("Coordinates"));
    list_->setHorizontalHeaderLabels({QStringLiteral("X"), QStringLiteral("Y")});
    list_->verticalHeader()->setVisible(false);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    // Tab leaves the list for the next control instead of walking its cells.
    list_->setTabKeyNavigation(false);

    xEdit_ = new QLineEdit(QStringLiteral("0"), this);
    xEdit_->setObjectName(QStringLiteral("PridatX"));
    yEdit_ = new QLineEdit(QStringLiteral("0"), this);
    yEdit_->setObjectName(QStringLiteral("PridatY"));
    QLabel* textX = buddyLabel(QStringLiteral("TextX"), QStringLiteral("X:"), xEdit_, this);
    QLabel* textY = buddyLabel(QStringLiteral("TextY"), QStringLiteral("Y:"), yEdit_, this);

    addButton_ = button(QStringLiteral("TLAdd"), QStringLiteral("Add"));
    removeButton_ = button(QStringLiteral("TLRemove"), QStringLiteral("Remove"));
    importButton_ = button(QStringLiteral("TLLoad"), QStringLiteral("Import"));
    exportButton_ = button(QStringLiteral("TLSave"), QStringLiteral("Export"));
    okButton_ = button(QStringLiteral("TlOK"), QStringLiteral("&OK"));
    okButton_->setDefault(true);
    cancelButton_ = button(QStringLiteral("TlCancel"), QStringLiteral("Cancel"));

    auto* pair = new QGridLayout;
    pair->addWidget(textX, 0, 0);
    pair->addWidget(xEdit_, 0, 1);
    pair->addWidget(textY, 1, 0);
    pair->addWidget(yEdit_, 1, 1);
    auto* side = new QVBoxLayout;
    side->addLayout(pair);
    side->addWidget(addButton_);
    side->addWidget(removeButton_);
    side->addSpacing(12);
    side->addWidget(importButton_);
    side->addWidget(exportButton_);
    side->addStretch();
    side->addWidget(okButton_);
    side->addWidget(cancelButton_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(side);
    chainTabOrder({list_, xEdit_, yEdit_, addButton_, removeButton_, importButton_, exportButton_, okButton_, cancelButton_});
    resize(360, 300);

    guard_.connect(addButton_, &QPushButton::clicked, this, [this] { TLAddClick(); });
    guard_.connect(removeButton_, &QPushButton::clicked, this, [this] { TLRemoveClick(); });
    guard_.connect(importButton_, &QPushButton::clicked, this, [this] { TLLoadClick(); });
    guard_.connect(exportButton_, &QPushButton::clicked, this, [this] { TLSaveClick(); });
    guard_.connect(okButton_, &QPushButton::clicked, this, [this] { TlOKClick(); });
    guard_.connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { TlOKClick(); });
    connect(cancelButton_, &QPushButton::clicked, this, &TListForm::reject);

    TempCoords(x, y);
    guard_([this] { TempLoad(); });
}

std::filesystem::path TListForm::coordsFile() const { return programDir_ / kCoordinatesFileName; }

void TListForm::TempCoords(const QString& x, const QString& y) {
    xEdit_->setText(x);
    yEdit_->setText(y);
}

void TListForm::TempLoad() {
    try {
        CoordinateList read = readCoordinatesFile(coordsFile());
        if (!read.empty())
            entries_ = std::move(read);
    } catch (const Error&) {
        fileUnread_ = true;
        throw;
    }
    showEntries();
}

void TListForm::TempSave() {
    if (fileUnread_)
        return;
    writeCoordinatesFile(coordsFile(), entries_);
}

void TListForm::listChanged() {
    fileUnread_ = false;
    showEntries();
}

void TListForm::showEntries() {
    list_->clearContents();
    list_->setRowCount(static_cast<int>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        list_->setItem(static_cast<int>(i), 0, new QTableWidgetItem(fromFileText(entries_[i].x)));
        list_->setItem(static_cast<int>(i), 1, new QTableWidgetItem(fromFileText(entries_[i].y)));
    }
    list_->clearSelection();
}

std::optional<std::size_t> TListForm::selectedEntry() const {
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return std::nullopt;
    return static_cast<std::size_t>(rows.front().row());
}

void TListForm::TLAddClick() {
    // A place that Go could not jump to is not kept.
    if (!acceptEntered(guard_.dialogs(), this, integerFieldProblem(QStringLiteral("X"), xEdit_->text()), xEdit_) ||
        !acceptEntered(guard_.dialogs(), this, integerFieldProblem(QStringLiteral("Y"), yEdit_->text()), yEdit_))
        return;
    entries_.push_back({toFileText(xEdit_->text()), toFileText(yEdit_->text())});
    listChanged();
}

void TListForm::TLRemoveClick() {
    const auto selected = selectedEntry();
    if (!selected)
        return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*selected));
    listChanged();
}

void TListForm::TLLoadClick() {
    const auto path = guard_.dialogs().chooseOpenFile(
        this, {QStringLiteral("Import coordinates definition"), {kCoordinatesFilter},
               qPath(programDir_), QString()});
    if (!path)
        return;
    CoordinateList imported;
    if (!runRefusable(guard_.dialogs(), this, [&] { imported = importCoordinatesFile(pathOf(*path)); }))
        return;
    entries_ = std::move(imported);
    listChanged();
}

void TListForm::TLSaveClick() {
    const auto path = guard_.dialogs().chooseSaveFile(
        this, {QStringLiteral("Export coordinates definition"), {kCoordinatesFilter},
               qPath(programDir_), QString::fromLatin1(kCoordinatesFileName)});
    if (path)
        writeCoordinatesFile(pathOf(*path), entries_);
}

void TListForm::TlOKClick() {
    const auto selected = selectedEntry();
    if (!selected) {
        guard_.dialogs().showMessage(this, QStringLiteral("You must select any Coordinates!"));
        return;
    }
    // A list that cannot be saved keeps the dialog open, so nothing typed
    // is lost; the error says why.
    TempSave();
    chosen_ = entries_[*selected];
    accept();
}

void TListForm::reject() {
    // Leaving without a place still keeps the list; a list that cannot be
    // saved is told, and the dialog closes all the same so it never traps
    // the user.
    guard_([this] { TempSave(); });
    QDialog::reject();
}

} // namespace stonereach
