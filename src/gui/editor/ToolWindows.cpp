#include "gui/editor/ToolWindows.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include "gui/app/EditorLink.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowRegions.h"
#include "gui/maptools/TMapCopyForm.h"
#include "gui/maptools/TMapExtendForm.h"
#include "gui/maptools/TMapViewForm.h"
#include "gui/patches/PatchMapFromFile.h"
#include "gui/patches/TPatchEditForm.h"
#include "gui/patches/TSRDiffForm.h"
#include "gui/widgets/ControlNames.h"
#include "mapdata/OpenMap.h"

namespace stonereach {

ToolWindows::ToolWindows(EditorLink& link, WindowDialogs& dialogs, SettingsStore& store)
    : link_(link), dialogs_(dialogs),
      // Made in this order at start-up, both owned by the main window.
      patchEditor_(new TPatchEditForm(link, dialogs, link.mainWindow())),
      diffForm_(new TSRDiffForm(link, dialogs, store, link.mainWindow())) {}

ToolWindows::~ToolWindows() = default;

template <typename Handler>
void ToolWindows::guarded(Handler&& handler) {
    runToolHandler(dialogs_, link_.mainWindow(), std::forward<Handler>(handler));
}

void ToolWindows::addMenuEntries(const MenuSection& section) {
    const auto entry = [this, &section](const char* name, const QString& caption, void (ToolWindows::*handler)()) {
        auto* action = new QAction(caption, section.menu);
        section.add(action);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    // Each entry has a mnemonic of its own in the menu (the captions read as
    // ever); the other sections of "&Extra" use T, H, C, S, N and O.
    entry("PatchMap", QStringLiteral("&Patch Map from file"), &ToolWindows::PatchMapClick);
    entry("PatchEditor", QStringLiteral("Patch &Editor"), &ToolWindows::PatchEditorClick);
    entry("DiffPatch", QStringLiteral("Create &Diff patch"), &ToolWindows::DiffPatchClick);
    entry("EnlargeMap", QStringLiteral("Enlar&ge map to ML"), &ToolWindows::EnlargeMapClick);
    entry("MapCopy", QStringLiteral("&Map Copy"), &ToolWindows::MapCopyClick);
}

QToolButton* ToolWindows::createOverviewButton(QWidget* parent) {
    QToolButton* button = glyphButton(QStringLiteral("TlMap"), QStringLiteral("\u25A3"), QStringLiteral("Overview"));
    button->setParent(parent);
    connect(button, &QToolButton::clicked, this, [this] { guarded([this] { TlMapClick(); }); });
    return button;
}

bool ToolWindows::patchEditorVisible() const { return patchEditor_->isVisible(); }

bool ToolWindows::IsOnPatchList(const QString& x, const QString& y) const { return patchEditor_->IsOnPatchList(x, y); }

void ToolWindows::addCapturedCell(int x, int y, const MapCell& cell) { patchEditor_->addCapturedCell(x, y, cell); }

void ToolWindows::PatchMapClick() { patchMapFromFile(link_, dialogs_, patchMapFolder_); }

void ToolWindows::PatchEditorClick() {
    patchEditor_->show();
    patchEditor_->raise();
    patchEditor_->activateWindow();
}

void ToolWindows::DiffPatchClick() { diffForm_->exec(); }

void ToolWindows::EnlargeMapClick() {
    TMapExtendForm form(link_, dialogs_, link_.mainWindow());
    form.exec();
}

void ToolWindows::MapCopyClick() {
    {
        TMapCopyForm form(link_, dialogs_, link_.mainWindow());
        form.exec();
    }
    // Whatever was copied, the view starts again at the map's origin.
    link_.goToCell(0, 0);
}

void ToolWindows::TlMapClick() {
    const std::optional<MapGeometry> geometry = link_.openMap().geometry();
    if (!geometry) {
        dialogs_.showMessage(link_.mainWindow(), mapNotRecognisedText());
        return;
    }
    TMapViewForm form(link_, dialogs_, *geometry, link_.mainWindow());
    form.exec();
}

} // namespace stonereach
