#include "editor/FolderListing.h"

#include <algorithm>

#include "mapdata/MapVariant.h"

namespace stonereach {

bool lessWithoutCase(std::string_view a, std::string_view b) {
    const std::string la = asciiLower(a);
    const std::string lb = asciiLower(b);
    return la != lb ? la < lb : a < b;
}

std::vector<std::string> filesWithExtension(const std::filesystem::path& folder, std::string_view extension) {
    const std::string wanted = asciiLower(extension);
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.size() > wanted.size() && asciiLower(name.substr(name.size() - wanted.size())) == wanted &&
            it->is_regular_file(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), lessWithoutCase);
    return names;
}

} // namespace stonereach
