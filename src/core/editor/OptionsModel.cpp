#include "editor/OptionsModel.h"

#include <algorithm>

#include "editor/TypedFileName.h"
#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

namespace fs = std::filesystem;

namespace {

void checkTileListName(std::string_view name) {
    if (const auto problem = typedFileNameProblem(name))
        throw Refusal("\"" + std::string(name) + "\" cannot be used as a texture list name: " + *problem + ".");
}

std::vector<std::string> entryTexts(const std::vector<TileListRow>& rows) {
    std::vector<std::string> entries;
    entries.reserve(rows.size());
    for (const TileListRow& row : rows)
        entries.push_back("$" + row.text);
    return entries;
}

std::string notFoundNote(const fs::path& path) { return "'" + path.string() + "' was not found."; }

} // namespace

OptionsModel OptionsModel::open(const fs::path& programDir) {
    OptionsModel model;
    model.programDir_ = programDir;

    const fs::path groupFile = programDir / kSelectionGroupFileName;
    try {
        if (!fileExists(groupFile))
            model.groupsNote_ = notFoundNote(groupFile);
        SelectionGroupsRead read = readSelectionGroups(groupFile);
        std::vector<SelectionGroupRow> rows;
        for (const TTileNamed& group : read.groups)
            rows.push_back(groupRowOf(group));
        if (read.problem) {
            model.groupsNote_ = *read.problem;
            model.unreadGroups_ = rows;
        }
        model.groups_.assign(std::move(rows));
    } catch (const Error& e) {
        model.groupsNote_ = e.what();
        model.unreadGroups_.emplace();
    }

    const fs::path textures = programDir / kTileListFolderName;
    model.listNames_ = listTileListFiles(textures);
    const fs::path startList = textures / kStartupTileListName;
    try {
        if (const auto rows = readTileListIfPresent(startList))
            model.entries_.assign(entryTexts(*rows));
        else
            model.texturesNote_ = notFoundNote(startList);
    } catch (const Error& e) {
        model.texturesNote_ = e.what();
        model.unreadListName_ = model.listName_;
    }
    return model;
}

void OptionsModel::chooseTextureList(std::string_view name) {
    checkTileListName(name);
    entries_.assign({});
    listName_ = trimTypedName(name);
    unreadListName_.reset();
    try {
        entries_.assign(entryTexts(readTileList(programDir_ / kTileListFolderName / listName_)));
    } catch (const Error&) {
        unreadListName_ = listName_;
        throw;
    }
}

void OptionsModel::addTextureList(std::string_view name) {
    checkTileListName(name);
    entries_.assign({});
    listName_ = trimTypedName(name);
    unreadListName_.reset();
    const std::string lower = asciiLower(listName_);
    const bool known = std::any_of(listNames_.begin(), listNames_.end(),
                                   [&](const std::string& n) { return asciiLower(n) == lower; });
    if (!known)
        listNames_.push_back(listName_);
}

void OptionsModel::write() const {
    checkTileListName(listName_);
    if (!unreadGroups_ || *unreadGroups_ != groups_.items()) {
        std::vector<TTileNamed> groups;
        groups.reserve(groups_.size());
        for (const SelectionGroupRow& row : groups_.items())
            groups.push_back(groupOfRow(row));
        writeSelectionGroups(programDir_ / kSelectionGroupFileName, groups);
    }
    if (unreadListName_ != listName_ || entries_.size() != 0)
        writeTileList(programDir_ / kTileListFolderName / listName_, entries_.items());
}

} // namespace stonereach
