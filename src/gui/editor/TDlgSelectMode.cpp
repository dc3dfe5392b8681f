#include "gui/editor/TDlgSelectMode.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>

#include "editor/PaletteTileList.h"
#include "editor/SelectionGroupRows.h"
#include "editor/TileLists.h"
#include "gui/app/EnteredValues.h"
#include "gui/editor/DialogSupport.h"
#include "gui/editor/TileChooser.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/TilePalette.h"

namespace stonereach {

TDlgSelectMode::TDlgSelectMode(WindowDialogs& dialogs, const std::filesystem::path& programDir,
                               MapDrawSource& pictures, QWidget* parent)
    : QDialog(parent), guard_(dialogs, this) {
    setObjectName(QStringLiteral("DlgSelectMode"));
    setWindowTitle(QStringLiteral("Edit"));

    captionEdit_ = new QLineEdit(this);
    captionEdit_->setObjectName(QStringLiteral("edCaption"));
    QLabel* captionLabel = buddyLabel(QStringLiteral("CaptionLabel"), QStringLiteral("&Caption"), captionEdit_, this);
    tileListEdit_ = new QPlainTextEdit(this);
    tileListEdit_->setObjectName(QStringLiteral("edTileList"));
    // Tab moves on and Enter presses OK, as in a one-line edit; the text
    // still wraps to show long lists.
    tileListEdit_->setTabChangesFocus(true);
    tileListEdit_->installEventFilter(this);
    QLabel* tileListLabel = buddyLabel(QStringLiteral("TileListLabel"), QStringLiteral("Tile List"), tileListEdit_, this);
    helpText_ = new QLabel(this);
    helpText_->setObjectName(QStringLiteral("lblHelpText"));
    helpText_->setWordWrap(true);

    chooser_ = new TileChooser(guard_, pictures, readPaletteTileList(programDir), false, this);
    addIdButton_ = glyphButton(QStringLiteral("btnAddID"), QStringLiteral("\u00AB"), QStringLiteral("Add the selected tile"));
    addIdButton_->setParent(this);

    const OkCancelRow buttons = okCancelRow(this, QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"));
    okButton_ = buttons.ok;
    cancelButton_ = buttons.cancel;

    auto* left = new QVBoxLayout;
    left->addWidget(captionLabel);
    left->addWidget(captionEdit_);
    left->addWidget(tileListLabel);
    left->addWidget(tileListEdit_, 1);
    left->addWidget(helpText_);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addWidget(addIdButton_, 0, Qt::AlignVCenter);
    middle->addWidget(chooser_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons.row);
    chainTabOrder({captionEdit_, tileListEdit_, addIdButton_, chooser_, okButton_, cancelButton_});
    resize(420, 380);

    guard_.connect(addIdButton_, &QToolButton::clicked, this, [this] { btnAddIDClick(); });
    guard_.connect(chooser_, &TileChooser::tileDoubleClicked, this, [this] { btnAddIDClick(); });
    guard_.connect(okButton_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgSelectMode::BitBtn1Click() {
    // A group painting could not pick from is not kept.
    const std::optional<std::string> problem = groupItemsProblem(toFileText(tileListEdit_->toPlainText()));
    if (!acceptEntered(guard_.dialogs(), this, problem ? QStringLiteral("Tile List: ") + qText(*problem) : QString(),
                       tileListEdit_))
        return;
    accept();
}

void TDlgSelectMode::setHelpText(const QString& text) { helpText_->setText(text); }

QString TDlgSelectMode::groupCaption() const { return captionEdit_->text(); }

void TDlgSelectMode::setGroupCaption(const QString& caption) { captionEdit_->setText(caption); }

QString TDlgSelectMode::tileList() const { return tileListEdit_->toPlainText(); }

void TDlgSelectMode::setTileList(const QString& text) { tileListEdit_->setPlainText(text); }

void TDlgSelectMode::btnAddIDClick() {
    const std::optional<int> tile = chooser_->selectedTile();
    if (!tile)
        return;
    // Each id is added at the end with its comma, ready for the next one.
    tileListEdit_->moveCursor(QTextCursor::End);
    tileListEdit_->insertPlainText(QLatin1Char('$') + fromFileText(tileListRowText(*tile)) + QLatin1Char(','));
}

bool TDlgSelectMode::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tileListEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            okButton_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace stonereach
