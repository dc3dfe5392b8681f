#pragma once

#include <filesystem>

#include <QObject>

#include "editor/Bookmarks.h"
#include "gui/app/HandlerGuard.h"
#include "mapdata/ViewSettings.h"
#include "render/CellDrawOptions.h"

class QAction;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace stonereach {

class RadioGroup;
struct WindowRegions;

// Where the map view looks and how it draws: the jump to typed coordinates,
// to bookmarks and to the places of the coordinates index, the zoom, and the
// display switches (altitude labels, their colours, the grid). It holds the
// controls and their state; the view follows through its signals.
class NavigationPart : public QObject {
    Q_OBJECT
public:
    NavigationPart(const HandlerGuard& guard, const BookmarkTable& bookmarks, std::filesystem::path programDir,
                   WindowRegions& regions);

    // The Go action with the cell typed in the jump edits.
    void CoordGoBtnClick();
    // Puts x and y into the jump edits and performs Go.
    void goToCell(int x, int y);
    // Jumps to bookmark `slot` when it is set.
    void jumpToBookmark(int slot);
    // Ctrl+digit in the window or a jump edit jumps to that bookmark;
    // returns whether the key was one.
    bool FormKeyDown(const QKeyEvent& event);

    void applySettings(const StoredViewSettings& stored);
    void collectSettings(ViewSettingsToSave& values) const;

signals:
    // Go begins: the paths are stored and the data files reopened, also when
    // the coordinates then turn out not to be numbers.
    void goStarted();
    // Go: the map view moves to cell (x, y), brought to the map's edge,
    // without painting.
    void jumpRequested(int x, int y);
    // The user pressed Go: the map view takes the keyboard, so the arrow
    // keys scroll at once.
    void jumpedByUser();
    // The cell size in pixels.
    void zoomChanged(int cellSize);
    void gridLinesChanged(bool on);
    // The display switches of the altitude group and the menu.
    void displaySwitched(const CellDrawOptions& switches);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ZoomInClick();
    void ZoomOutClick();
    void TLZoomLevelClick();
    void setZoom(int cellSize);
    void GridBoxClick();
    void displaySwitchClick();
    // Opens the coordinates index; its OK puts the place into the jump edits
    // without moving the view.
    void ListClick();
    void goByUser();

    HandlerGuard guard_;
    const BookmarkTable& bookmarks_;
    std::filesystem::path programDir_;
    // The cell size the view shows and the settings keep.
    int zoom_;

    QToolButton* zoomOutButton_;
    QToolButton* zoomInButton_;
    QPushButton* zoomDefaultButton_;
    QLineEdit* xJumpEdit_;
    QLineEdit* yJumpEdit_;
    QToolButton* goButton_;
    QPushButton* listButton_;
    RadioGroup* showAltitude_;
    RadioGroup* grid_;
    QAction* coloredAltitude_;
    QAction* showOnlyColor_;
    QAction* showNumber_;
};

} // namespace stonereach
