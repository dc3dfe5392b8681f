#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/SelectableList.h"
#include "editor/SelectionGroupRows.h"
#include "editor/TileLists.h"

namespace stonereach {

// Everything the options dialog edits, without windows: the selection groups
// of tilelist.xml as rows, the texture list being edited with its entries,
// and the names of the texture lists. Nothing is written until write().
class OptionsModel {
public:
    // The dialog as it opens on the program directory: the groups of
    // tilelist.xml, the entries of textures/tileids.lst (each "$" and the
    // palette's row text: 282 gives "$011A"), the names of the
    // .lst files in textures, the list name "tileids.lst". A file that is
    // missing or cannot be read leaves its list empty (of a damaged
    // tilelist.xml the groups before the damage are kept) and sets its note;
    // opening never throws for the files' content. A file that is there but
    // could not be read whole is not written by write() unless its list was
    // changed, so OK never replaces a file with less than it held unseen.
    static OptionsModel open(const std::filesystem::path& programDir);

    SelectableList<SelectionGroupRow>& groups() { return groups_; }
    const SelectableList<SelectionGroupRow>& groups() const { return groups_; }
    SelectableList<std::string>& textureEntries() { return entries_; }
    const SelectableList<std::string>& textureEntries() const { return entries_; }

    // The file name of the list being edited, inside textures.
    const std::string& textureListName() const { return listName_; }
    // The names offered for it: the .lst files found at opening, sorted
    // without regard to case, then the names added with addTextureList.
    const std::vector<std::string>& textureListNames() const { return listNames_; }

    // One line naming the file that could not be read, for the group tab and
    // for the texture tab; empty when it was read.
    const std::string& groupsNote() const { return groupsNote_; }
    const std::string& texturesNote() const { return texturesNote_; }

    // Switches to the list called name: the entries are emptied, then filled
    // from textures/name. A name that would leave the folder is refused
    // (Refusal); a file that cannot be read or holds a bad line throws, the
    // entries staying empty.
    void chooseTextureList(std::string_view name);

    // Starts a new, empty list called name, offered among the names from now
    // on (once); no file is made until write().
    void addTextureList(std::string_view name);

    // What OK writes, in this order: tilelist.xml from the group rows (as
    // groupOfRow makes them), then textures/<list name> from the entries,
    // creating the textures folder when missing. A list name that would
    // leave the folder is refused (Refusal) before anything is written.
    void write() const;

private:
    std::filesystem::path programDir_;
    SelectableList<SelectionGroupRow> groups_;
    SelectableList<std::string> entries_;
    std::string listName_{kStartupTileListName};
    std::vector<std::string> listNames_;
    std::string groupsNote_;
    std::string texturesNote_;
    // The rows shown for a group file that could not be read whole, and the
    // name and entries of a list that could not be read: left unwritten
    // while they stay as they are.
    std::optional<std::vector<SelectionGroupRow>> unreadGroups_;
    std::optional<std::string> unreadListName_;
};

} // namespace stonereach
