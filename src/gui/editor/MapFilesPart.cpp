#include "gui/editor/MapFilesPart.h"

#include <filesystem>

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/app/QtConversions.h"
#include "gui/app/WindowRegions.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/ClientFileCheck.h"
#include "mapdata/FileSystem.h"

namespace stonereach {

namespace {

QToolButton* browseButton(const QString& name, const QString& hint) {
    QToolButton* button = glyphButton(name, QStringLiteral("..."), hint);
    button->setFixedSize(button->sizeHint());
    return button;
}

QLabel* label(const QString& name, const QString& text) {
    auto* result = new QLabel(text);
    result->setObjectName(name);
    return result;
}

// The folder a file dialog starts in: the one the path names or lies in,
// when it exists.
QString folderOf(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return info.absoluteFilePath();
    const QFileInfo parent(info.absolutePath());
    return parent.isDir() && !path.isEmpty() ? parent.absoluteFilePath() : QString();
}

} // namespace

MapFilesPart::MapFilesPart(SettingsStore& store, const HandlerGuard& guard, WindowRegions& regions)
    : guard_(guard),
      dataFiles_(std::make_unique<DataFileSet>(store, static_cast<DataFileDialogs&>(*this))) {
    mapEdit_ = new QLineEdit(qText(kMapPathDesignText));
    mapEdit_->setObjectName(QStringLiteral("MapEdit"));
    loadMapButton_ = browseButton(QStringLiteral("TlLoadMap"), QStringLiteral("Browse for the map file"));
    clientDirEdit_ = new QLineEdit(qText(kClientDirDesignText));
    clientDirEdit_->setObjectName(QStringLiteral("UOPathEdit"));
    selectDirButton_ =
        browseButton(QStringLiteral("TlSelectDir"), QStringLiteral("Browse for the Ultima Online directory"));

    auto* infoPanel = new QGroupBox(QStringLiteral(" Map file information "));
    infoPanel->setObjectName(QStringLiteral("MapInfoPanel"));
    mapInfo_ = label(QStringLiteral("MapInfo"), QStringLiteral("Map version"));
    mapSize_ = label(QStringLiteral("MapSize"), QStringLiteral("MapSize"));
    // Shown only while the open map lies in a UOP container.
    mapStorage_ = label(QStringLiteral("MapStorage"), QString());
    mapStorage_->setVisible(false);
    auto* infoLayout = new QVBoxLayout(infoPanel);
    infoLayout->setContentsMargins(6, 2, 6, 2);
    infoLayout->setSpacing(0);
    infoLayout->addWidget(mapInfo_);
    infoLayout->addWidget(mapSize_);
    infoLayout->addWidget(mapStorage_);
    infoPanel->setFixedWidth(190);

    QLabel* mapLabel = buddyLabel(QStringLiteral("MapLabel"), QStringLiteral("MAPx.mul :"), mapEdit_, nullptr);
    QLabel* dirLabel = buddyLabel(QStringLiteral("UOPathLabel"), QStringLiteral("Ultima Online directory :"),
                                  clientDirEdit_, nullptr);

    QGridLayout& layout = *regions.files;
    layout.addWidget(mapLabel, 0, 0);
    layout.addWidget(mapEdit_, 0, 1);
    layout.addWidget(loadMapButton_, 0, 2);
    layout.addWidget(dirLabel, 1, 0);
    layout.addWidget(clientDirEdit_, 1, 1);
    layout.addWidget(selectDirButton_, 1, 2);
    layout.addWidget(infoPanel, 0, 3, 2, 1);
    layout.setColumnStretch(1, 1);

    guard_.connect(mapEdit_, &QLineEdit::textChanged, this, [this](const QString& text) { MapEditChange(text); });
    guard_.connect(clientDirEdit_, &QLineEdit::textChanged, this,
                   [this](const QString& text) { UOPathEditChange(text); });
    guard_.connect(loadMapButton_, &QToolButton::clicked, this, [this] { TlLoadMapClick(); });
    guard_.connect(selectDirButton_, &QToolButton::clicked, this, [this] { TlSelectDirClick(); });
}

MapFilesPart::~MapFilesPart() = default;

void MapFilesPart::restoreDataFiles() {
    const DataFileSet::Paths paths = dataFiles_->restoreDataFiles();
    if (closingAfterError())
        return;
    mapEdit_->setText(qText(paths.mapPath));
    if (closingAfterError())
        return;
    clientDirEdit_->setText(qText(paths.clientDir));
}

void MapFilesPart::storePathsAndReopen() {
    dataFiles_->storePathsAndReopen(pathOf(mapEdit_->text()), pathOf(clientDirEdit_->text()));
}

void MapFilesPart::MapEditChange(const QString& value) {
    // Validity first, so the jump below stores the new path without opening
    // a path that is not a map file.
    dataFiles_->changeMapPath(pathOf(value));
    showPathValidity();
    if (!firstMapPathChange_)
        emit mapSwitched();
    firstMapPathChange_ = false;
    storePathsAndReopen();
    DetectMapVariant();
    emit filesChanged();
}

void MapFilesPart::reopenMap() {
    dataFiles_->changeMapPath(dataFiles_->mapPath());
    storePathsAndReopen();
    DetectMapVariant();
}

void MapFilesPart::DetectMapVariant() {
    const OpenMap& map = openMap();
    mapInfo_->setText(qText(map.variantName()));
    mapSize_->setText(qText(map.sizeText()));
    // A map file of unknown size is open, but no cell of it is read: its
    // block layout is unknown. The tooltip says what was found.
    QString unknown;
    if (!map.variant() && dataFiles_->mapPathValid()) {
        const std::filesystem::path& path = dataFiles_->mapPath();
        const auto size = fileSize(path);
        unknown = QStringLiteral("%1, %2 bytes: no known map has this name and size.")
                      .arg(qPath(storedFileName(path)))
                      .arg(size ? QString::number(*size) : QStringLiteral("unknown"));
    }
    describeUnknownMap(unknown);
    describeStorage(map.isOpen() ? map.file().container() : std::nullopt);
    emit mapDetected();
}

// A map file that is there but of no known variant: the path is green and the
// labels say "None"; the tooltip says what was found.
void MapFilesPart::describeUnknownMap(const QString& description) {
    mapEdit_->setToolTip(dataFiles_->mapPathValid() ? description : mapPathProblem());
    mapInfo_->setToolTip(description);
    mapSize_->setToolTip(description);
}

// A map in a UOP container says so on a third line; its tooltip has what
// the command-line tool's info tells of the container.
void MapFilesPart::describeStorage(const std::optional<MapContainerInfo>& container) {
    mapStorage_->setVisible(container.has_value());
    if (!container) {
        mapStorage_->clear();
        mapStorage_->setToolTip(QString());
        return;
    }
    mapStorage_->setText(QStringLiteral("UOP container, %1 entries").arg(container->entries));
    QString headers = QString::number(container->shortestEntryHeader);
    if (container->longestEntryHeader != container->shortestEntryHeader)
        headers += QStringLiteral("..") + QString::number(container->longestEntryHeader);
    mapStorage_->setToolTip(QStringLiteral("Version %1, %2-byte entry headers%3")
                                .arg(container->version)
                                .arg(headers)
                                .arg(container->trailingBlock ? QStringLiteral(", trailing block") : QString()));
}

void MapFilesPart::UOPathEditChange(const QString& value) {
    struct ShowValidityAtEnd {
        MapFilesPart* part;
        ~ShowValidityAtEnd() { part->showPathValidity(); }
    } showAtEnd{this};
    // The radar colour load may fail after the directory has been judged.
    dataFiles_->changeClientDirectory(pathOf(value), openMap().variantName());
    emit filesChanged();
}

void MapFilesPart::showPathValidity() {
    showValidity(*mapEdit_, dataFiles_->mapPathValid());
    showValidity(*clientDirEdit_, dataFiles_->clientDirValid());
    // A red path says what is wrong with it: a map container that cannot
    // be used names its fault, a client directory the files it lacks.
    if (!dataFiles_->mapPathValid())
        mapEdit_->setToolTip(mapPathProblem());
    clientDirEdit_->setToolTip(dataFiles_->clientDirValid() ? QString() : clientDirProblem());
}

QString MapFilesPart::clientDirProblem() const {
    const std::filesystem::path& dir = dataFiles_->clientDir();
    if (!std::filesystem::is_directory(dir))
        return QStringLiteral("There is no folder %1").arg(qPath(dir));
    return qText(missingFilesText(missingClientFiles(dir)));
}

QString MapFilesPart::mapPathProblem() const {
    const std::filesystem::path& map = dataFiles_->mapPath();
    if (map.filename().empty())
        return QStringLiteral("no map file is chosen");
    if (!fileExists(map))
        return QStringLiteral("%1 is missing").arg(qPath(map.filename()));
    if (!dataFiles_->mapRefusal().empty())
        return qText(dataFiles_->mapRefusal());
    return QStringLiteral("%1 is not a map file name").arg(qPath(map.filename()));
}

QString MapFilesPart::notReadyReason() const {
    if (!dataFiles_->mapPathValid())
        return mapPathProblem();
    if (!dataFiles_->clientDirValid())
        return clientDirProblem();
    if (!dataFiles_->openMap().variant())
        return QStringLiteral("no known map has the size of %1").arg(qPath(dataFiles_->mapPath().filename()));
    return {};
}

void MapFilesPart::TlLoadMapClick() {
    FileDialogRequest request;
    request.filters =
        mapFileFilters(QStringLiteral("Ultima Online MAP (map*.mul)"), QStringLiteral("map*"), mapEdit_->text());
    request.directory = folderOf(mapEdit_->text());
    if (const auto path = guard_.dialogs().chooseOpenFile(guard_.window(), request))
        mapEdit_->setText(*path);
}

void MapFilesPart::TlSelectDirClick() {
    if (const auto dir = guard_.dialogs().chooseDirectory(guard_.window(), QStringLiteral("Select Ultima Online directory:"),
                                                          folderOf(clientDirEdit_->text())))
        clientDirEdit_->setText(*dir);
}

ErrorChoice MapFilesPart::showErrorDetected(const std::string& title, const std::string& detail) {
    const QString message =
        QStringLiteral("Error detected :\r\n") + qText(title) + QStringLiteral("\r\n") + qText(detail);
    const ErrorChoice choice = guard_.dialogs().showErrorDetected(guard_.window(), message);
    if (choice == ErrorChoice::Cancel)
        emit quitRequested();
    return choice;
}

void MapFilesPart::browseClientDirectory() { TlSelectDirClick(); }

} // namespace stonereach
