#include "mapdata/DataFileSet.h"

#include <algorithm>

#include "mapdata/Errors.h"
#include "mapdata/FileSystem.h"
#include "mapdata/MapIdentity.h"
#include "mapdata/ClientFiles.h"
#include "mapdata/LandArtFiles.h"
#include "mapdata/LandArtImage.h"
#include "mapdata/TextureImage.h"

namespace stonereach {

namespace {

constexpr std::string_view kArtIdx = ClientFile::ArtIndex;
constexpr std::string_view kArt = ClientFile::Art;
constexpr std::string_view kTexIdx = ClientFile::TextureIndex;
constexpr std::string_view kTexMaps = ClientFile::Textures;
constexpr std::string_view kRadarCol = ClientFile::RadarColours;

std::string fileDetail(const std::filesystem::path& path) { return "File : " + path.string(); }

// The line after the detail that says why the file could not be opened.
std::string failureCause(const std::filesystem::path& path, const Error& error) {
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored))
        return path.filename().string() + " is missing";
    if (const auto* io = dynamic_cast<const IoError*>(&error))
        return io->cause();
    return error.what();
}

} // namespace

DataFileSet::DataFileSet(SettingsStore& store, DataFileDialogs& dialogs) : store_(store), dialogs_(dialogs) {}

void DataFileSet::reportError(const std::string& title, const std::string& detail) {
    if (closingAfterError_)
        return;
    if (dialogs_.showErrorDetected(title, detail) == ErrorChoice::Cancel)
        closingAfterError_ = true;
}

void DataFileSet::openInto(File& slot, const std::filesystem::path& path, const char* title, std::string detail) {
    if (closingAfterError_)
        return;
    try {
        // The client files are only ever read; opening them read-only lets
        // the editor work on a client installed where the user cannot write.
        slot = File(path, File::Mode::Read);
    } catch (const IoError& e) {
        slot = File::unopened(path);
        reportError(title, detail + "\r\n" + failureCause(path, e));
    }
}

void DataFileSet::openMapFile(const std::filesystem::path& path, const char* title) {
    if (closingAfterError_)
        return;
    try {
        map_.open(path);
    } catch (const Error& e) {
        // A file that cannot be opened, or a container that cannot be used.
        reportError(title, fileDetail(path) + "\r\n" + failureCause(path, e));
    }
}

void DataFileSet::openArtContainer(const std::filesystem::path& path) {
    if (closingAfterError_)
        return;
    try {
        artContainer_ = std::make_unique<ArtContainer>(File(path, File::Mode::Read));
    } catch (const Error& e) {
        artContainer_.reset();
        reportError("Load Art", fileDetail(path) + "\r\n" + failureCause(path, e));
    }
}

void DataFileSet::openClientFiles(const std::filesystem::path& clientDir) {
    const auto artIdx = clientFilePath(clientDir, kArtIdx);
    const auto art = clientFilePath(clientDir, kArt);
    const auto texIdx = clientFilePath(clientDir, kTexIdx);
    const auto texMaps = clientFilePath(clientDir, kTexMaps);
    artContainer_.reset();
    if (landArtKindIn(clientDir) == LandArtKind::Container) {
        artIdx_ = File::unopened(artIdx);
        art_ = File::unopened(art);
        openArtContainer(artContainerPath(clientDir));
    } else {
        openInto(artIdx_, artIdx, "Load ArtIdx", fileDetail(artIdx));
        openInto(art_, art, "Load Art", fileDetail(art));
    }
    openInto(texIdx_, texIdx, "Load TextureIdx", fileDetail(texIdx));
    openInto(texMaps_, texMaps, "Load Texture", fileDetail(texMaps));
    ++clientGeneration_;
    clientFilesSeen_ = pictureFileStatuses(clientDir);
}

bool DataFileSet::lookAtClientFiles() {
    if (!clientValid_ || closingAfterError_)
        return false;
    std::vector<ClientFileStatus> now = pictureFileStatuses(clientDir_);
    if (now == clientFilesSeen_)
        return false;
    const auto statusOf = [](const std::vector<ClientFileStatus>& files, std::string_view name) {
        const auto found = std::find_if(files.begin(), files.end(),
                                        [&](const ClientFileStatus& f) { return asciiLower(f.name) == name; });
        return found == files.end() ? std::nullopt : std::optional<FileStatus>(found->status);
    };
    const bool radarChanged = statusOf(now, kRadarCol) != statusOf(clientFilesSeen_, kRadarCol);
    clientFilesSeen_ = std::move(now);

    // An open file that another took the name of still reads the old one.
    const auto reopenReplaced = [this](File& slot, std::string_view name, const char* title) {
        const auto path = clientFilePath(clientDir_, name);
        const std::optional<FileStatus> named = fileStatus(path);
        if (!named)
            return; // gone: the open file is still read
        if (slot.isOpen()) {
            try {
                if (slot.status().sameFileAs(*named))
                    return;
            } catch (const IoError&) {
            }
        }
        openInto(slot, path, title, fileDetail(path));
    };
    reopenReplaced(artIdx_, kArtIdx, "Load ArtIdx");
    reopenReplaced(art_, kArt, "Load Art");
    reopenReplaced(texIdx_, kTexIdx, "Load TextureIdx");
    reopenReplaced(texMaps_, kTexMaps, "Load Texture");
    ++clientGeneration_;
    if (radarChanged && fileExists(clientFilePath(clientDir_, kRadarCol)))
        radar_.load(clientFilePath(clientDir_, kRadarCol), map_.variantName());
    return true;
}

DataFileSet::Paths DataFileSet::restoreDataFiles() {
    Paths stored;
    stored.mapPath = store_.value(SettingNames::MapPath).value_or("");
    stored.clientDir = store_.value(SettingNames::ClientDir).value_or("");

    if (!stored.mapPath.empty())
        openMapFile(pathFromUtf8(stored.mapPath), "Load File Names");

    if (!closingAfterError_ && !fileExists(clientFilePath(pathFromUtf8(stored.clientDir), kArtIdx)) &&
        landArtKindIn(pathFromUtf8(stored.clientDir)) != LandArtKind::Container) {
        dialogs_.browseClientDirectory();
        // The browser reports a chosen folder through changeClientDirectory;
        // when cancelled, the edit's text stays what it was.
        stored.clientDir = utf8Of(clientDir_);
    }
    openClientFiles(pathFromUtf8(stored.clientDir));
    return stored;
}

void DataFileSet::storePathsAndReopen(const std::filesystem::path& mapPath, const std::filesystem::path& clientDir) {
    store_.setValue(SettingNames::MapPath, utf8Of(mapPath));
    store_.setValue(SettingNames::ClientDir, utf8Of(clientDir));
    if (mapValid_)
        openMapFile(mapPath_, "Save File Names");
    if (clientValid_)
        openClientFiles(clientDir_);
}

bool DataFileSet::dataFilesReady() {
    if (!mapValid_ || !clientValid_)
        return false;
    if (mapReopenPending_ || clientReopenPending_) {
        storePathsAndReopen(mapPath_, clientDir_);
        mapReopenPending_ = false;
        clientReopenPending_ = false;
    }
    return true;
}

void DataFileSet::changeMapPath(const std::filesystem::path& path) {
    mapPath_ = path;
    mapReopenPending_ = false;
    mapValid_ = false;
    mapRefusal_.clear();
    if (isUsableMapPath(path, &mapRefusal_)) {
        mapValid_ = true;
        mapReopenPending_ = true;
    } else {
        // Nothing is read from a path that names no map file: the open map
        // goes until a valid path is opened.
        map_.forget();
    }
}

void DataFileSet::changeClientDirectory(const std::filesystem::path& dir, std::string_view variantName) {
    clientDir_ = dir;
    clientReopenPending_ = true;
    clientValid_ = fileExists(clientFilePath(dir, kTexIdx)) && fileExists(clientFilePath(dir, kTexMaps)) &&
                   landArtKindIn(dir) != LandArtKind::None;
    if (clientValid_)
        radar_.load(clientFilePath(dir, kRadarCol), variantName);
}

bool DataFileSet::loadTextureImage(std::uint16_t id, TileImage& image) {
    if (!dataFilesReady())
        return false;
    return stonereach::loadTextureImage(texIdx_, texMaps_, id, image);
}

bool DataFileSet::loadLandArtImage(std::uint16_t id, TileImage& image) {
    // These two ids answer true before the readiness test, like the loader
    // itself does.
    if (id == 7 || id == 8)
        return true;
    if (!dataFilesReady())
        return false;
    if (artContainer_)
        return stonereach::loadLandArtImage(*artContainer_, id, image);
    return stonereach::loadLandArtImage(artIdx_, art_, id, image);
}

std::optional<std::string> DataFileSet::takeArtNotice() {
    return artContainer_ ? artContainer_->takeNotice() : std::nullopt;
}

void DataFileSet::closeForExit() {
    const auto closeOne = [this](File& file, const std::string& what) {
        try {
            file.close();
        } catch (const IoError& e) {
            reportError("Close file before save coords", what + e.cause());
        }
    };
    if (mapValid_)
        closeOne(map_.file().file(), "Map file error: ");
    if (clientValid_) {
        closeOne(artIdx_, "Artidx file error: ");
        closeOne(art_, "Art file error: ");
        if (artContainer_)
            closeOne(artContainer_->file(), "Art file error: ");
        closeOne(texIdx_, "Texidx file error: ");
        closeOne(texMaps_, "Texmaps file error: ");
    }
}

} // namespace stonereach
