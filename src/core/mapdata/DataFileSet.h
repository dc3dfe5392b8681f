#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "mapdata/ArtContainer.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/DataFileDialogs.h"
#include "mapdata/File.h"
#include "mapdata/OpenMap.h"
#include "mapdata/RadarColours.h"
#include "mapdata/SettingsStore.h"
#include "mapdata/TileImage.h"

namespace stonereach {

// The texts the two path edits hold before anything is restored.
inline constexpr std::string_view kMapPathDesignText = "Path to MAPx file";
inline constexpr std::string_view kClientDirDesignText = "Path to Ultima Online directory";

// The files the editor holds open while it runs: the map file (a .mul or a
// UOP container) and the client files that tile images are read from (the
// two texture files, and artidx.mul with art.mul or, in their place,
// artLegacyMUL.uop), plus the radar colour table
// read when the client directory becomes valid. It tracks the two path texts
// of the window with their validity and reopen-pending flags, and opens and
// reopens the files as the paths change. Failures to open are reported
// through the window's error dialog; Cancel there marks the program as
// closing, and no further file is opened or reported after that.
//
// The map file is the set's open map: it is opened whenever the map half is
// reopened, let go when the map path stops naming a map file, and every
// cell it reads passes the readiness test first.
class DataFileSet {
public:
    DataFileSet(SettingsStore& store, DataFileDialogs& dialogs);
    // The open map's readiness test refers to the set.
    DataFileSet(const DataFileSet&) = delete;
    DataFileSet& operator=(const DataFileSet&) = delete;

    // The paths as the settings store keeps them (UTF-8).
    struct Paths {
        std::string mapPath;
        std::string clientDir;
    };

    // Start-up: reads the stored paths and opens the set. Asks for the client
    // directory when the stored one has no art index. Returns the paths the
    // window then puts into its edits.
    Paths restoreDataFiles();

    // Writes both paths to the store and reopens the halves whose path is
    // valid.
    void storePathsAndReopen(const std::filesystem::path& mapPath, const std::filesystem::path& clientDir);

    // The readiness test every cell and image access passes first: both paths
    // valid, and the set reopened if a path changed since the last test.
    bool dataFilesReady();

    // The map path edit changed: the path becomes valid when a file of one of
    // the six map names exists there, or a map container of one of the
    // container names that opens as one (and is then due to be reopened). A
    // path that is not valid lets go of the open map.
    void changeMapPath(const std::filesystem::path& path);
    // Why the map path is invalid when it names a container that cannot be
    // used (the file and the fault), else empty.
    const std::string& mapRefusal() const { return mapRefusal_; }
    // The client directory edit changed: valid when its two texture files and
    // its land art (the .mul pair or the art container) exist. A valid
    // directory loads the radar colours for the variant named;
    // that load may throw IoError after the validity has been set.
    void changeClientDirectory(const std::filesystem::path& dir, std::string_view variantName);

    const std::filesystem::path& mapPath() const { return mapPath_; }
    const std::filesystem::path& clientDir() const { return clientDir_; }
    bool mapPathValid() const { return mapValid_; }
    bool clientDirValid() const { return clientValid_; }
    bool mapReopenPending() const { return mapReopenPending_; }
    bool clientReopenPending() const { return clientReopenPending_; }
    bool closingAfterError() const { return closingAfterError_; }

    OpenMap& openMap() { return map_; }
    const OpenMap& openMap() const { return map_; }

    // Tile images from the open client files, after the readiness test; land
    // art ids 7 and 8 answer true without touching the image or the files.
    bool loadTextureImage(std::uint16_t id, TileImage& image);
    bool loadLandArtImage(std::uint16_t id, TileImage& image);
    // An art container entry that could not be read, told once for the user.
    std::optional<std::string> takeArtNotice();

    RadarColours& radarColours() { return radar_; }
    const RadarColours& radarColours() const { return radar_; }

    // Counts every reopen of the client files, so image caches can tell when
    // theirs went stale.
    std::uint64_t clientFilesGeneration() const { return clientGeneration_; }

    // Another program may change the client files while the editor runs:
    // compares the picture files (pictureFileStatuses) with how they were
    // when last opened or looked at. When any changed, the files that another
    // file replaced are opened again, the picture generation counts up (the
    // caches drop their pictures) and a changed radarcol.mul is read again
    // (which may throw IoError after the rest is done). True when anything
    // changed.
    bool lookAtClientFiles();

    // Closing: closes the map file and the four client files of the valid
    // halves, reporting each failure and going on with the next.
    void closeForExit();

private:
    void openMapFile(const std::filesystem::path& path, const char* title);
    void openClientFiles(const std::filesystem::path& clientDir);
    void openInto(File& slot, const std::filesystem::path& path, const char* title, std::string detail);
    void openArtContainer(const std::filesystem::path& path);
    // Reports through the dialog; Cancel marks the program as closing.
    void reportError(const std::string& title, const std::string& detail);

    SettingsStore& store_;
    DataFileDialogs& dialogs_;

    std::filesystem::path mapPath_{kMapPathDesignText};
    std::filesystem::path clientDir_{kClientDirDesignText};
    bool mapValid_ = false;
    bool clientValid_ = false;
    bool mapReopenPending_ = false;
    bool clientReopenPending_ = false;
    bool closingAfterError_ = false;
    std::string mapRefusal_;
    std::uint64_t clientGeneration_ = 0;
    std::vector<ClientFileStatus> clientFilesSeen_;

    OpenMap map_{[this] { return dataFilesReady(); }};
    File artIdx_;
    File art_;
    // In place of artIdx_ and art_ when the client keeps its art in a container.
    std::unique_ptr<ArtContainer> artContainer_;
    File texIdx_;
    File texMaps_;
    RadarColours radar_;
};

} // namespace stonereach
