#include "gui/editor/TSRCustomBrush.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "editor/BrushFile.h"
#include "editor/PaletteTileList.h"
#include "gui/app/QtConversions.h"
#include "gui/app/WindowDialogs.h"
#include "gui/editor/BrushGridView.h"
#include "gui/editor/DialogSupport.h"
#include "gui/editor/TileChooser.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/UpDown.h"
#include "gui/widgets/ValidityColours.h"

namespace stonereach {

namespace {

constexpr int kMaxSide = 10;

QLineEdit* countEdit(const QString& name) {
    auto* edit = new QLineEdit(QString::number(BrushGrid::kStartSide));
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFixedWidth(32);
    return edit;
}

UpDown* countUpDown(const QString& name, const QString& accessibleName) {
    auto* upDown = new UpDown(1, kMaxSide, BrushGrid::kStartSide);
    upDown->setObjectName(name);
    upDown->setAccessibleName(accessibleName);
    return upDown;
}

} // namespace

TSRCustomBrush::TSRCustomBrush(WindowDialogs& dialogs, std::filesystem::path programDir, MapDrawSource& pictures,
                               const QStringList& brushNames, QWidget* parent)
    : QDialog(parent), guard_(dialogs, this), programDir_(std::move(programDir)) {
    setObjectName(QStringLiteral("SRCustomBrush"));
    setWindowTitle(QStringLiteral("Custom Brushes"));
    buildControls(pictures, brushNames);
    edBrushNameChange();

    guard_.connect(grid_, &DrawGrid::selectCell, this, [this](int col, int row) { BrushGridSelectCell(col, row); });
    guard_.connect(rowsUpDown_, &UpDown::clicked, this, [this](int position) { udRowsClick(position); });
    guard_.connect(colsUpDown_, &UpDown::clicked, this, [this](int position) { udColsClick(position); });
    guard_.connect(brushNames_, &QComboBox::textActivated, this,
                   [this](const QString& name) { cbCustomBrushesChange(name); });
    guard_.connect(nameEdit_, &QLineEdit::textChanged, this, [this] { edBrushNameChange(); });
    connect(chooser_, &TileChooser::tileChosen, this, [this](int tile) { currentTile_ = tile; });
    guard_.connect(okButton_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TSRCustomBrush::buildControls(MapDrawSource& pictures, const QStringList& brushNames) {
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("edBrushName"));
    QLabel* nameLabel = buddyLabel(QStringLiteral("BrushNameLabel"), QStringLiteral("Brush Name"), nameEdit_, this);
    brushNames_ = new QComboBox(this);
    brushNames_->setObjectName(QStringLiteral("cbCustomBrushes"));
    brushNames_->addItems(brushNames);
    // Nothing is chosen at first, so choosing any brush loads it.
    brushNames_->setCurrentIndex(-1);
    brushNames_->setMinimumContentsLength(12);
    QLabel* namesLabel = buddyLabel(QStringLiteral("BrushesLabel"), QStringLiteral("Brushes"), brushNames_, this);

    grid_ = new BrushGridView(brush_, pictures, this);
    grid_->setObjectName(QStringLiteral("BrushGrid"));
    grid_->setAccessibleName(QStringLiteral("Brush"));
    // Room for the 5 x 5 start (cells and grid lines) beside the scroll bars.
    const int cells = BrushGrid::kStartSide * (BrushGridView::CellSize + grid_->gridLineWidth()) + 2 * grid_->frameWidth();
    grid_->setMinimumSize(cells + grid_->verticalScrollBar()->sizeHint().width(),
                          cells + grid_->horizontalScrollBar()->sizeHint().height());

    rowsEdit_ = countEdit(QStringLiteral("edRows"));
    rowsUpDown_ = countUpDown(QStringLiteral("udRows"), QStringLiteral("Rows"));
    rowsUpDown_->setBuddy(rowsEdit_);
    QLabel* rowsLabel = buddyLabel(QStringLiteral("RowsLabel"), QStringLiteral("Rows"), rowsEdit_, this);
    colsEdit_ = countEdit(QStringLiteral("edCols"));
    colsUpDown_ = countUpDown(QStringLiteral("udCols"), QStringLiteral("Cols"));
    colsUpDown_->setBuddy(colsEdit_);
    QLabel* colsLabel = buddyLabel(QStringLiteral("ColsLabel"), QStringLiteral("Cols"), colsEdit_, this);

    chooser_ = new TileChooser(guard_, pictures, readPaletteTileList(programDir_), true, this);

    const OkCancelRow buttons = okCancelRow(this, QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"));
    okButton_ = buttons.ok;
    cancelButton_ = buttons.cancel;

    auto* names = new QGridLayout;
    names->addWidget(nameLabel, 0, 0);
    names->addWidget(nameEdit_, 0, 1);
    names->addWidget(namesLabel, 1, 0);
    names->addWidget(brushNames_, 1, 1);
    auto* size = new QHBoxLayout;
    size->addWidget(rowsLabel);
    size->addWidget(rowsEdit_);
    size->addWidget(rowsUpDown_);
    size->addSpacing(16);
    size->addWidget(colsLabel);
    size->addWidget(colsEdit_);
    size->addWidget(colsUpDown_);
    size->addStretch();
    auto* left = new QVBoxLayout;
    left->addLayout(names);
    left->addWidget(grid_, 1);
    left->addLayout(size);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addWidget(chooser_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons.row);
    chainTabOrder({nameEdit_, brushNames_, grid_, rowsEdit_, colsEdit_, chooser_, okButton_, cancelButton_});
}

std::filesystem::path TSRCustomBrush::brushesDir() const { return programDir_ / kBrushFolderName; }

void TSRCustomBrush::BrushGridSelectCell(int col, int row) {
    brush_.setCell(col, row, currentTile_ < 0 ? BrushCell() : BrushCell(static_cast<std::uint16_t>(currentTile_)));
    grid_->redrawCell(col, row);
}

void TSRCustomBrush::udRowsClick(int position) {
    brush_.setRows(position);
    showBrushSize();
}

void TSRCustomBrush::udColsClick(int position) {
    brush_.setColumns(position);
    showBrushSize();
}

void TSRCustomBrush::showBrushSize() {
    // A hand-written brush may be larger than the up-downs reach; the edits
    // show its real size.
    rowsUpDown_->setPosition(brush_.rows());
    colsUpDown_->setPosition(brush_.columns());
    rowsEdit_->setText(QString::number(brush_.rows()));
    colsEdit_->setText(QString::number(brush_.columns()));
    grid_->showBrushSize();
}

void TSRCustomBrush::cbCustomBrushesChange(const QString& name) {
    nameEdit_->setText(name);
    const std::string brushName = toFileText(name);
    BrushLoadReport report;
    try {
        report = brush_.load(brushFilePath(brushesDir(), brushName));
    } catch (const Error&) {
        showBrushSize();
        throw;
    }
    showBrushSize();
    if (!report.clean())
        guard_.dialogs().showMessage(this, fromFileText(brushLoadMessage(brushName, report)));
}

QString TSRCustomBrush::nameProblem(const QString& name) {
    const std::optional<std::string> problem = brushNameProblem(toFileText(name));
    return problem ? fromFileText(*problem) : QString();
}

void TSRCustomBrush::edBrushNameChange() {
    // Green only for a name OK will save under; the tooltip says what is
    // wrong with any other.
    const QString problem = nameProblem(nameEdit_->text());
    showValidity(*nameEdit_, problem.isEmpty());
    nameEdit_->setToolTip(nameEdit_->text().isEmpty() ? QString() : problem);
}

void TSRCustomBrush::BitBtn1Click() {
    QString name = nameEdit_->text();
    if (name.isEmpty()) {
        // The drawing is kept whatever way the prompt is left, unless the
        // user throws it away there.
        const NamePromptAnswer answer =
            guard_.dialogs().askNameOrDiscard(this, QStringLiteral("Brush name"), QStringLiteral("Select a brush name"),
                                              QStringLiteral("Discard brush"), &TSRCustomBrush::nameProblem);
        if (answer.choice == NamePromptAnswer::Choice::Discard) {
            reject();
            return;
        }
        if (answer.choice == NamePromptAnswer::Choice::Back || answer.name.isEmpty()) {
            nameEdit_->setFocus(Qt::OtherFocusReason);
            return;
        }
        name = answer.name;
    }
    // A name that cannot be a file name is refused and the dialog stays open
    // with the brush as drawn.
    if (!runRefusable(guard_.dialogs(), this, [&] { saveBrush(brushesDir(), toFileText(name), brush_); }))
        return;
    accept();
}

} // namespace stonereach
