#include "gui/patches/TPatchEditForm.h"

#include <algorithm>

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/app/EditorLink.h"
#include "gui/app/EnteredValues.h"
#include "gui/app/ProgressPump.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowDialogs.h"
#include "gui/patches/PatchProgressWindow.h"
#include "gui/widgets/ControlNames.h"
#include "mapdata/IntegerText.h"

namespace stonereach {

namespace {

enum Column { ColumnX, ColumnY, ColumnZ, ColumnId, ColumnCount };

const QStringList kPatchFilters{QStringLiteral("BNStonereach Patch (*.bnp)")};

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(name);
    // Enter belongs to the list (it jumps to the entry), not to a button.
    result->setAutoDefault(false);
    return result;
}

QLineEdit* entryField(const QString& name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

TPatchEditForm::TPatchEditForm(EditorLink& link, WindowDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint), link_(link),
      dialogs_(dialogs), list_(new QTableWidget(0, ColumnCount, this)),
      x_(entryField(QStringLiteral("PridatX"), QStringLiteral("0"), this)),
      y_(entryField(QStringLiteral("PridatY"), QStringLiteral("0"), this)),
      z_(entryField(QStringLiteral("PridatZ"), QStringLiteral("0"), this)),
      id_(entryField(QStringLiteral("PridatID"), QStringLiteral("00 00"), this)) {
    setObjectName(QStringLiteral("PatchEditForm"));
    setWindowTitle(QStringLiteral("Patch Editor"));

    list_->setObjectName(QStringLiteral("Seznam"));
    list_->setAccessibleName(QStringLiteral("Patch entries"));
    list_->setHorizontalHeaderLabels(
        {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z"), QStringLiteral("Tile ID")});
    list_->verticalHeader()->hide();
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTabKeyNavigation(false);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setMinimumSize(320, 240);

    load_ = button(QStringLiteral("TLLoad"), QStringLiteral("Load"), this);
    save_ = button(QStringLiteral("TLSave"), QStringLiteral("Save"), this);
    QPushButton* add = button(QStringLiteral("TLAdd"), QStringLiteral("Add"), this);
    QPushButton* edit = button(QStringLiteral("TlEdit"), QStringLiteral("Edit"), this);
    QPushButton* remove = button(QStringLiteral("TLRemove"), QStringLiteral("Remove"), this);
    QPushButton* clear = button(QStringLiteral("TlClear"), QStringLiteral("Clear"), this);
    QPushButton* close = button(QStringLiteral("TlClose"), QStringLiteral("Close"), this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {load_, save_})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    for (QPushButton* b : {add, edit, remove, clear})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* fields = new QHBoxLayout;
    const auto addField = [&](const char* name, const QString& caption, QLineEdit* field, int width) {
        fields->addWidget(buddyLabel(QString::fromLatin1(name), caption, field, this));
        field->setFixedWidth(width);
        fields->addWidget(field);
    };
    addField("PridatXLabel", QStringLiteral("X:"), x_, 56);
    addField("PridatYLabel", QStringLiteral("Y:"), y_, 56);
    addField("PridatZLabel", QStringLiteral("Z:"), z_, 44);
    addField("PridatIDLabel", QStringLiteral("ID:"), id_, 64);
    fields->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(list_, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addLayout(fields, 1, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    const auto on = [this](QPushButton* b, void (TPatchEditForm::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    on(load_, &TPatchEditForm::TLLoadClick);
    on(save_, &TPatchEditForm::TLSaveClick);
    on(add, &TPatchEditForm::TLAddClick);
    on(edit, &TPatchEditForm::TlEditClick);
    on(remove, &TPatchEditForm::TLRemoveClick);
    on(clear, &TPatchEditForm::TlClearClick);
    on(close, &TPatchEditForm::TlCloseClick);
    // Clicking an entry and moving to it with the keys both fill the fields;
    // a double click and Enter both jump to it.
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] { guarded([this] { SeznamClick(); }); });
    connect(list_, &QTableWidget::activated, this, [this] { guarded([this] { SeznamDblClick(); }); });

    adjustSize();
}

template <typename Handler>
void TPatchEditForm::guarded(Handler&& handler) {
    runToolHandler(dialogs_, this, std::forward<Handler>(handler));
}

bool TPatchEditForm::IsOnPatchList(const QString& x, const QString& y) const {
    for (int row = 0; row < list_->rowCount(); ++row) {
        if (list_->item(row, ColumnX)->text() == x && list_->item(row, ColumnY)->text() == y)
            return true;
    }
    return false;
}

void TPatchEditForm::addCapturedCell(int x, int y, const MapCell& cell) {
    appendEntry(PointPatchEntry{std::to_string(x), std::to_string(y), std::to_string(cell.z),
                                intToSpacedHex(cell.tile, 2)});
}

std::vector<PointPatchEntry> TPatchEditForm::entries() const {
    std::vector<PointPatchEntry> result;
    result.reserve(static_cast<std::size_t>(list_->rowCount()));
    for (int row = 0; row < list_->rowCount(); ++row)
        result.push_back(entryAt(row));
    return result;
}

void TPatchEditForm::appendEntry(const PointPatchEntry& entry) {
    const int row = list_->rowCount();
    list_->insertRow(row);
    const std::string* texts[ColumnCount] = {&entry.x, &entry.y, &entry.z, &entry.id};
    for (int column = 0; column < ColumnCount; ++column)
        list_->setItem(row, column, new QTableWidgetItem(qText(*texts[column])));
}

PointPatchEntry TPatchEditForm::entryAt(int row) const {
    const auto text = [&](int column) { return stdText(list_->item(row, column)->text()); };
    return PointPatchEntry{text(ColumnX), text(ColumnY), text(ColumnZ), text(ColumnId)};
}

PointPatchEntry TPatchEditForm::entryFields() const {
    return PointPatchEntry{stdText(x_->text()), stdText(y_->text()), stdText(z_->text()),
                           stdText(id_->text())};
}

std::vector<int> TPatchEditForm::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool TPatchEditForm::entryFieldsUsable() {
    const std::optional<PointPatchFieldError> problem = pointPatchEntryProblem(entryFields());
    if (!problem)
        return true;
    QLineEdit* const fields[] = {x_, y_, z_, id_};
    const char* const keys[] = {"X", "Y", "Z", "ID"};
    QLineEdit* field = x_;
    for (int i = 0; i < 4; ++i)
        if (problem->key() == keys[i])
            field = fields[i];
    return acceptEntered(dialogs_, this, qText(problem->what()), field);
}

void TPatchEditForm::TLAddClick() {
    // An entry that applying would stop at is not taken.
    if (!entryFieldsUsable())
        return;
    if (IsOnPatchList(x_->text(), y_->text())) {
        dialogs_.showMessage(this, QStringLiteral("This coors are on list!"));
        return;
    }
    appendEntry(entryFields());
}

void TPatchEditForm::TlEditClick() {
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !entryFieldsUsable())
        return;
    const QString texts[ColumnCount] = {x_->text(), y_->text(), z_->text(), id_->text()};
    for (int column = 0; column < ColumnCount; ++column)
        list_->item(rows.front(), column)->setText(texts[column]);
}

void TPatchEditForm::TLRemoveClick() {
    const std::vector<int> rows = selectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        list_->removeRow(*row);
}

void TPatchEditForm::TlClearClick() { list_->setRowCount(0); }

void TPatchEditForm::SeznamClick() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const PointPatchEntry entry = entryAt(rows.front());
    x_->setText(qText(entry.x));
    y_->setText(qText(entry.y));
    z_->setText(qText(entry.z));
    id_->setText(qText(entry.id));
}

void TPatchEditForm::SeznamDblClick() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const PointPatchEntry entry = entryAt(rows.front());
    link_.goToCell(parseInteger(entry.x), parseInteger(entry.y));
}

QString TPatchEditForm::fileDialogFolder() const { return lastFolder_; }

void TPatchEditForm::TLLoadClick() {
    const auto chosen = dialogs_.chooseOpenFile(
        this, FileDialogRequest{QStringLiteral("Load Patch file"), kPatchFilters, fileDialogFolder(), QString()});
    if (!chosen)
        return;
    lastFolder_ = QFileInfo(*chosen).absolutePath();

    const auto loaded = readPointPatchFile(pathOf(*chosen));
    if (loaded.empty()) {
        dialogs_.showMessage(this, QStringLiteral("Empty or corupted file!"));
        return;
    }
    list_->setRowCount(0);
    const int last = static_cast<int>(loaded.size()) - 1;
    const DisabledWhileRunning disabled(load_);
    PatchProgressWindow progress(this, last);
    for (int i = 0; i <= last; ++i) {
        // A section number missing from the file holds no entry; it is not
        // shown as a made-up change of cell (0, 0).
        if (const auto& entry = loaded[static_cast<std::size_t>(i)])
            appendEntry(*entry);
        progress.step(QStringLiteral("Loading ... %1/%2").arg(i).arg(last), i);
    }
}

void TPatchEditForm::TLSaveClick() {
    const auto chosen = dialogs_.chooseSaveFile(this, FileDialogRequest{QStringLiteral("Save Patch file"), kPatchFilters,
                                                                        fileDialogFolder(),
                                                                        QStringLiteral("bnstonereach.bnp")});
    if (!chosen)
        return;
    lastFolder_ = QFileInfo(*chosen).absolutePath();

    const int last = list_->rowCount() - 1;
    std::vector<PointPatchEntry> toWrite;
    {
        const DisabledWhileRunning disabled(save_);
        PatchProgressWindow progress(this, std::max(last, 0));
        for (int i = 0; i <= last; ++i) {
            toWrite.push_back(entryAt(i));
            progress.step(QStringLiteral("Saving ... %1/%2").arg(i).arg(last), i);
        }
        // The file is replaced whole, so it holds exactly the list: no
        // sections of an earlier, longer list are left behind.
        writePointPatchFile(pathOf(*chosen), toWrite);
    }
    link_.mapFileReplaced(pathOf(*chosen));
}

void TPatchEditForm::TlCloseClick() { hide(); }

} // namespace stonereach
