#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace stonereach {

// Which of a list's buttons can be used for its selection: Edit and Delete
// while an item is selected, Up unless it is the first, Down unless it is the
// last.
struct ListButtons {
    bool edit = false;
    bool remove = false;
    bool up = false;
    bool down = false;
    friend bool operator==(const ListButtons&, const ListButtons&) = default;
};

// The buttons for `selected` (nothing: no selection) in a list of count items.
ListButtons listButtonsFor(std::optional<std::size_t> selected, std::size_t count);

// An ordered list with at most one selected item, as the options dialog's
// group list and texture list behave. Every change keeps the selection on a
// valid item or clears it, so buttons() is always right for the list shown.
template <class Item>
class SelectableList {
public:
    const std::vector<Item>& items() const { return items_; }
    std::size_t size() const { return items_.size(); }
    std::optional<std::size_t> selected() const { return selected_; }
    const Item* selectedItem() const { return selected_ ? &items_[*selected_] : nullptr; }

    // Selects item index, or clears the selection for nothing or an index
    // past the end.
    void select(std::optional<std::size_t> index) {
        selected_ = index && *index < items_.size() ? index : std::nullopt;
    }

    // Replaces every item; nothing is selected afterwards.
    void assign(std::vector<Item> items) {
        items_ = std::move(items);
        selected_.reset();
    }

    // Adds item at the end; the selection stays where it was.
    void append(Item item) { items_.push_back(std::move(item)); }

    // Inserts item before the selected one, which stays selected one place
    // further down; appends when nothing is selected.
    void insertBeforeSelected(Item item) {
        if (!selected_) {
            append(std::move(item));
            return;
        }
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(*selected_), std::move(item));
        ++*selected_;
    }

    // Replaces the selected item (nothing happens without a selection).
    void replaceSelected(Item item) {
        if (selected_)
            items_[*selected_] = std::move(item);
    }

    // Deletes the selected item; nothing is selected afterwards.
    void removeSelected() {
        if (!selected_)
            return;
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*selected_));
        selected_.reset();
    }

    // Moves the selected item one place up / down; it stays selected. Does
    // nothing where the button would be unavailable.
    void moveSelectedUp() {
        if (buttons().up) {
            std::swap(items_[*selected_], items_[*selected_ - 1]);
            --*selected_;
        }
    }
    void moveSelectedDown() {
        if (buttons().down) {
            std::swap(items_[*selected_], items_[*selected_ + 1]);
            ++*selected_;
        }
    }

    // Which buttons the current selection allows.
    ListButtons buttons() const { return listButtonsFor(selected_, items_.size()); }

private:
    std::vector<Item> items_;
    std::optional<std::size_t> selected_;
};

} // namespace stonereach
