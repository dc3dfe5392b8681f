#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace stonereach {

// A captioned group of radio buttons with one selected item index (-1 when
// none is selected). clicked() reports a choice made by the user or by
// selectAsIfClicked(); setItemIndex() alone reports nothing.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // The items stand in `columns` columns, filled row by row.
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr, int columns = 1);

    int itemIndex() const;
    int itemCount() const;
    // Selects the item (or none for -1) without reporting it.
    void setItemIndex(int index);
    // Selects the item and, when that changes the selection, reports it as a
    // click. Returns whether it changed.
    bool selectAsIfClicked(int index);

signals:
    void clicked(int index);

private:
    QButtonGroup* buttons_;
};

} // namespace stonereach
