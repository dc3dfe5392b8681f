#include "gui/widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QGridLayout>

#include <algorithm>

namespace stonereach {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent, int columns)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setVerticalSpacing(0);
    columns = std::max(1, columns);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        layout->addWidget(button, i / columns, i % columns);
    }
    connect(buttons_, &QButtonGroup::idClicked, this, [this](int id) { emit clicked(id); });
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

int RadioGroup::itemCount() const { return static_cast<int>(buttons_->buttons().size()); }

void RadioGroup::setItemIndex(int index) {
    if (index >= 0 && index < itemCount()) {
        buttons_->button(index)->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    if (QAbstractButton* checked = buttons_->checkedButton()) {
        buttons_->setExclusive(false);
        checked->setChecked(false);
        buttons_->setExclusive(true);
    }
}

bool RadioGroup::selectAsIfClicked(int index) {
    const int before = itemIndex();
    setItemIndex(index);
    if (itemIndex() == before)
        return false;
    emit clicked(itemIndex());
    return true;
}

} // namespace stonereach
