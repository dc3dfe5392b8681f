#include "gui/editor/DialogSupport.h"

#include <QBoxLayout>
#include <QPushButton>

#include "editor/SelectableList.h"

namespace stonereach {

OkCancelRow okCancelRow(QWidget* dialog, const QString& okName, const QString& cancelName,
                        const QString& cancelCaption) {
    OkCancelRow buttons;
    buttons.ok = new QPushButton(QStringLiteral("&OK"), dialog);
    buttons.ok->setObjectName(okName);
    buttons.ok->setDefault(true);
    buttons.cancel = new QPushButton(cancelCaption, dialog);
    buttons.cancel->setObjectName(cancelName);
    buttons.row = new QHBoxLayout;
    buttons.row->addStretch();
    buttons.row->addWidget(buttons.ok);
    buttons.row->addWidget(buttons.cancel);
    return buttons;
}

void enableListButtons(const ListButtons& allowed, QAbstractButton* edit, QAbstractButton* remove,
                       QAbstractButton* up, QAbstractButton* down) {
    edit->setEnabled(allowed.edit);
    remove->setEnabled(allowed.remove);
    up->setEnabled(allowed.up);
    down->setEnabled(allowed.down);
}

} // namespace stonereach
