#include "editor/SelectableList.h"

namespace stonereach {

ListButtons listButtonsFor(std::optional<std::size_t> selected, std::size_t count) {
    if (!selected || *selected >= count)
        return {};
    return {true, true, *selected > 0, *selected + 1 < count};
}

} // namespace stonereach
