#include "gui/editor/DialogSupport.h"

#include <QBoxLayout>
#include <QLayout>
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

namespace {

void collectTabStops(QLayout* layout, QList<QWidget*>& stops);

void collectTabStops(QWidget* widget, QList<QWidget*>& stops) {
    if (widget->focusPolicy() & Qt::TabFocus)
        stops << widget;
    if (widget->layout())
        collectTabStops(widget->layout(), stops);
}

void collectTabStops(QLayout* layout, QList<QWidget*>& stops) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QWidget* widget = item->widget())
            collectTabStops(widget, stops);
        else if (QLayout* inner = item->layout())
            collectTabStops(inner, stops);
    }
}

} // namespace

QList<QWidget*> tabStopsInLayoutOrder(QWidget* container) {
    QList<QWidget*> stops;
    if (container->layout())
        collectTabStops(container->layout(), stops);
    return stops;
}

void enableListButtons(const ListButtons& allowed, QAbstractButton* edit, QAbstractButton* remove,
                       QAbstractButton* up, QAbstractButton* down) {
    edit->setEnabled(allowed.edit);
    remove->setEnabled(allowed.remove);
    up->setEnabled(allowed.up);
    down->setEnabled(allowed.down);
}

} // namespace stonereach
