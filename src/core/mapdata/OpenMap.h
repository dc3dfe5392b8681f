#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "mapdata/MapFile.h"
#include "mapdata/MapVariant.h"

namespace stonereach {

// What the map's variant and size texts read while no variant is recognised.
inline constexpr std::string_view kNoVariantText = "None";

// The map file the editor has open: the file at the map path, held open for
// reading and writing until it is opened again or let go, with the variant
// its name and exact size tell and the geometry that follows from it.
// Whatever reads or paints the open map's cells, draws it or works on it asks
// this object, so the file, its variant and its geometry always belong
// together. A file that matches no variant is open, but none of its cells is
// read or written: its block layout is unknown.
class OpenMap {
public:
    // `ready` is the test every cell read passes first (the editor's data
    // file set answers it: both paths usable, the files reopened after a path
    // changed); without one, cells may always be read.
    explicit OpenMap(std::function<bool()> ready = {});

    // Tells the variant of the file at `path` (a .mul or a UOP container) and
    // opens it for reading and writing. Throws IoError when it cannot be
    // opened, ContainerError for a container that cannot be used: the map
    // then keeps the path and the variant but holds no open file, so each
    // read fails naming the file it was meant to be.
    void open(const std::filesystem::path& path);
    // Lets go of the file without a word: no map is open or named afterwards.
    void forget();

    // The path the map was opened by; empty while none is named.
    const std::filesystem::path& path() const { return file_.path(); }
    bool isOpen() const { return file_.isOpen(); }
    // True when `other` names the map's file, under whatever spelling.
    bool isFileAt(const std::filesystem::path& other) const;

    // The recognised variant and its geometry; nothing for a file no variant
    // matches.
    const MapVariant* variant() const { return variant_; }
    std::optional<MapGeometry> geometry() const;
    // The variant name and the size text a window shows, "None" while no
    // variant is recognised.
    std::string_view variantName() const { return variant_ ? variant_->name : kNoVariantText; }
    std::string_view sizeText() const { return variant_ ? variant_->sizeText : kNoVariantText; }

    // True when cells may be read now: the readiness test passes (which may
    // reopen the map) and the map's layout is known.
    bool readable();
    // Cell (x, y) when it can be read: the map is readable and the cell lies
    // in it; nothing otherwise. A read that fails throws IoError, and the map
    // remembers that its reads fail until one succeeds or it is opened again.
    std::optional<MapCell> readCell(int x, int y);
    bool readFailing() const { return readFailing_; }

    // One failure, one message: whoever meets a failure to read or write the
    // map (drawing it, the status line, painting) asks this first, and only
    // the first since the map was opened, or last drawn whole without one,
    // gets true and tells the user.
    bool failureToTell() { return !std::exchange(failureTold_, true); }
    // The map was read whole again (all the view shows): the next failure is
    // a new one.
    void forgetFailure() { failureTold_ = false; }

    // The open file, for painting through it and drawing it block by block
    // with geometry(); both need a recognised variant.
    MapFile& file() { return file_; }
    const MapFile& file() const { return file_; }

private:
    std::function<bool()> ready_;
    MapFile file_;
    const MapVariant* variant_ = nullptr;
    bool readFailing_ = false;
    bool failureTold_ = false;
};

} // namespace stonereach
