#pragma once

#include <filesystem>
#include <vector>

#include <QObject>

#include "editor/BrushLines.h"
#include "gui/app/HandlerGuard.h"

class QComboBox;
class QToolButton;

namespace stonereach {

class MapDrawSource;
struct WindowRegions;

// The custom brushes of the tool strip: the list of brushes in the brushes
// folder, the choice of one, whose cells it hands to the Brush tool, and the
// button that opens the brush editor.
class BrushesPart : public QObject {
    Q_OBJECT
public:
    // `pictures` draws the brush editor's tiles.
    BrushesPart(const HandlerGuard& guard, std::filesystem::path programDir, MapDrawSource& pictures,
                WindowRegions& regions);

    // Fills the list with the names of the brush files, sorted without
    // regard to case; the current brush stays as it was.
    void listBrushes();
    // The brush in use: its name, empty while none is chosen; choosing a
    // listed brush by name loads it (a name not listed chooses nothing).
    QString brushName() const;
    void chooseBrush(const QString& name);

signals:
    // A brush was chosen: its cells in file order, or none when its file
    // could not be read.
    void brushChosen(const std::vector<BrushEntry>& entries);

private:
    void cbCustomBrushesChange(const QString& name);
    // Opens the brush editor on the brushes listed; after its OK the list is
    // made again. The brush in use is not reloaded until it is chosen again.
    void SpeedButton6Click();

    HandlerGuard guard_;
    std::filesystem::path programDir_;
    MapDrawSource& pictures_;
    QComboBox* chooser_;
    QToolButton* editButton_;
};

} // namespace stonereach
