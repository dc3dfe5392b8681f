#pragma once

#include <QObject>
#include <QString>

#include "mapdata/MapLayout.h"

class QMenu;
class QToolButton;
class QWidget;

namespace stonereach {

class EditorLink;
struct MenuSection;
class SettingsStore;
class TPatchEditForm;
class TSRDiffForm;
class WindowDialogs;

// The windows of the whole-file tools, as one part of the main window: the
// patch editor and the diff dialog, made here and kept for the whole run, the
// entries of the "&Extra" menu that open the tools, the overview button, and
// what the main window's Insert key needs to capture cells into the patch
// editor. The tools reach the main window only through the link.
class ToolWindows : public QObject {
    Q_OBJECT
public:
    // `store` keeps the diff dialog's six paths.
    ToolWindows(EditorLink& link, WindowDialogs& dialogs, SettingsStore& store);
    ~ToolWindows() override;

    // Puts into the "&Extra" menu's tool section "Patch Map from file",
    // "Patch Editor", "Create Diff patch", "Enlarge map to ML" and "Map Copy".
    void addMenuEntries(const MenuSection& section);
    // The overview tool button `TlMap` (hint "Overview"), a child of parent.
    QToolButton* createOverviewButton(QWidget* parent);

    // Insert-key capture: cells are captured while the patch editor is
    // visible; the main window refuses a cell whose X and Y texts are already
    // on the list ("This coords are on list!") and appends the others.
    bool patchEditorVisible() const;
    bool IsOnPatchList(const QString& x, const QString& y) const;
    void addCapturedCell(int x, int y, const MapCell& cell);

    TPatchEditForm& patchEditor() { return *patchEditor_; }
    TSRDiffForm& diffForm() { return *diffForm_; }

    void PatchMapClick();
    void PatchEditorClick();
    void DiffPatchClick();
    void EnlargeMapClick();
    void MapCopyClick();
    void TlMapClick();

private:
    template <typename Handler>
    void guarded(Handler&& handler);

    EditorLink& link_;
    WindowDialogs& dialogs_;
    TPatchEditForm* patchEditor_;
    TSRDiffForm* diffForm_;
    // Where the "Patch Map from file" dialog starts: the folder of the last
    // patch applied.
    QString patchMapFolder_;
};

} // namespace stonereach
