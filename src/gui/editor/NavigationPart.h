#pragma once

#include <filesystem>

#include <QObject>

#include "editor/Bookmarks.h"
#include "gui/app/HandlerGuard.h"
#include "mapdata/ViewSettings.h"

class QAction;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace stonereach {

class MapFilesPart;
class MapView;
class RadioGroup;
struct WindowRegions;

// Where the map view looks and how it draws: the jump to typed coordinates,
// to bookmarks and to the places of the coordinates index, the zoom, and the
// display switches (altitude labels, their colours, the grid).
class NavigationPart : public QObject {
    Q_OBJECT
public:
    NavigationPart(const HandlerGuard& guard, MapView& view, MapFilesPart& files, const BookmarkTable& bookmarks,
                   std::filesystem::path programDir, WindowRegions& regions);

    // The Go action with the cell typed in the jump edits: coordinates
    // outside the map are brought to its edge; the jump paints nothing.
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

    QLineEdit* xJumpEdit() const { return xJumpEdit_; }
    QLineEdit* yJumpEdit() const { return yJumpEdit_; }

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
    // Go pressed by the user: jumps, then gives the map view the keyboard so
    // the arrow keys scroll at once.
    void goByUser();

    HandlerGuard guard_;
    MapView& view_;
    MapFilesPart& files_;
    const BookmarkTable& bookmarks_;
    std::filesystem::path programDir_;

    QToolButton* zoomOutButton_;
    QToolButton* zoomInButton_;
    QLineEdit* zoomLevel_;
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
