#include "gui/editor/TSRFAddTile.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "editor/PaletteTileList.h"
#include "editor/SelectionGroups.h"
#include "gui/app/EnteredValues.h"
#include "gui/editor/DialogSupport.h"
#include "gui/editor/TileChooser.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/TilePalette.h"

namespace stonereach {

TSRFAddTile::TSRFAddTile(WindowDialogs& dialogs, const std::filesystem::path& programDir, MapDrawSource& pictures,
                         QWidget* parent)
    : QDialog(parent), guard_(dialogs, this) {
    setObjectName(QStringLiteral("SRFAddTile"));

    entryEdit_ = new QLineEdit(this);
    entryEdit_->setObjectName(QStringLiteral("edAddTile"));
    editLabel_ = buddyLabel(QStringLiteral("AddTileLabel"), QString(), entryEdit_, this);

    const PaletteTileList list = readPaletteTileList(programDir);
    note_ = makePaletteNote(list, this);
    palette_ = makeTileListPalette(pictures, list, Qt::Horizontal, false, this);
    addIdButton_ = glyphButton(QStringLiteral("btnAddID"), QStringLiteral("\u2191"), QStringLiteral("Take the selected tile"));
    addIdButton_->setParent(this);

    const OkCancelRow buttons = okCancelRow(this, QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"));
    okButton_ = buttons.ok;
    cancelButton_ = buttons.cancel;

    auto* entry = new QHBoxLayout;
    entry->addWidget(entryEdit_, 1);
    entry->addWidget(addIdButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editLabel_);
    layout->addLayout(entry);
    layout->addWidget(note_);
    layout->addWidget(palette_);
    layout->addLayout(buttons.row);
    chainTabOrder({entryEdit_, addIdButton_, palette_, okButton_, cancelButton_});
    resize(420, sizeHint().height());

    guard_.connect(addIdButton_, &QToolButton::clicked, this, [this] { btnAddIDClick(); });
    guard_.connect(palette_, &TilePalette::entryDoubleClicked, this, [this] { btnAddIDClick(); });
    guard_.connect(okButton_, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TSRFAddTile::BitBtn1Click() {
    // An entry the tile list could not be read back with is not kept.
    const QString text = entryEdit_->text();
    const QString problem =
        tileIdOfText(toFileText(text))
            ? QString()
            : QStringLiteral("%1: \"%2\" is not a tile id (0 to 65535)").arg(editLabel_->text(), text);
    if (acceptEntered(guard_.dialogs(), this, problem, entryEdit_))
        accept();
}

void TSRFAddTile::setEditLabel(const QString& label) {
    editLabel_->setText(label);
    entryEdit_->setAccessibleName(label);
}

QString TSRFAddTile::entryText() const { return entryEdit_->text(); }

void TSRFAddTile::setEntryText(const QString& text) { entryEdit_->setText(text); }

void TSRFAddTile::btnAddIDClick() {
    if (palette_->count() == 0)
        return;
    const int tile = palette_->tileAt(palette_->currentIndex());
    entryEdit_->setText(QLatin1Char('$') + fromFileText(tileListRowText(tile)));
}

} // namespace stonereach
