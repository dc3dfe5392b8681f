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

// What became of the open map's file on disk since the editor last looked.
enum class MapFileChange {
    None,     // as last seen, or changed only by the editor itself
    Written,  // written in place by another program
    Replaced, // another file now has its name: it is to be opened again
    Deleted,  // its name is gone
    CutShort, // written, and now shorter than when it was opened
};

// Why the open map is not to be written: nothing is written to a file that
// lost its name (the cells would go nowhere) or that is shorter than when it
// was opened (writing would lengthen it into a file of no known size).
enum class MapFileTrouble { None, Deleted, CutShort };

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

    // Changes whenever the map becomes another file: another path, a new
    // file at the same path, or none. Opening the same file again (as every
    // reopen of the data files does) keeps it. What belongs to one map file
    // (the stroke history) is dropped when it changes.
    std::uint64_t generation() const { return generation_; }

    // True when cells may be written now: a recognised map whose file still
    // has its name, is still the file at the path, and is not shorter than
    // when it was opened.
    bool writable() const;

    // Compares the file on disk with what the editor last knew of it and
    // reports what changed; the editor's own writes (OwnWrite) are not
    // changes. A deletion or a cut is reported once, until the file is
    // written again or replaced. A map whose file could not be opened is
    // Replaced when a file appears or changes at its path. The file system's clock decides: a write by
    // another program in the same tick as the editor's own, leaving the same
    // size, is not seen until the next change.
    MapFileChange lookAtDisk();
    // The trouble the latest look found; None after opening another file.
    MapFileTrouble trouble() const { return trouble_; }
    // A tool of the editor wrote the file with a handle of its own: the file
    // as it is now is what the editor knows.
    void noteWrittenByEditor();

    // Marks the editor's own writes for as long as it lives: the file as they
    // leave it becomes what the editor knows, unless it had changed before
    // they began (that change is then still reported by the next look).
    class OwnWrite {
    public:
        explicit OwnWrite(OpenMap& map);
        OwnWrite(const OwnWrite&) = delete;
        OwnWrite& operator=(const OwnWrite&) = delete;
        ~OwnWrite();

    private:
        OpenMap& map_;
    };

private:
    std::optional<FileStatus> handleStatus() const;

    std::function<bool()> ready_;
    MapFile file_;
    const MapVariant* variant_ = nullptr;
    bool readFailing_ = false;
    // The file's size when it was opened as a recognised map.
    std::uint64_t wholeSize_ = 0;
    std::uint64_t generation_ = 0;
    // The file as the editor last knew it (after opening it, its own writes
    // and each look).
    std::optional<FileStatus> known_;
    MapFileTrouble trouble_ = MapFileTrouble::None;
    int ownWrites_ = 0;
    bool ownWritesFromKnown_ = false;
    bool failureTold_ = false;
};

} // namespace stonereach
