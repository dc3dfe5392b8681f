#pragma once

#include <filesystem>
#include <vector>

#include <QObject>

#include "editor/BrushLines.h"
#include "gui/app/HandlerGuard.h"

class QComboBox;

namespace stonereach {

struct WindowRegions;

// The custom brushes of the tool strip: the list of brushes in the brushes
// folder and the cells of the one chosen, which the Brush tool stamps.
class BrushesPart : public QObject {
    Q_OBJECT
public:
    BrushesPart(const HandlerGuard& guard, std::filesystem::path programDir, WindowRegions& regions);

    // Fills the list with the names of the brush files, sorted without
    // regard to case; the current brush stays as it was.
    void listBrushes();
    // The cells of the current brush, in file order; empty until a brush is
    // chosen.
    const std::vector<BrushEntry>& entries() const { return entries_; }

private:
    void cbCustomBrushesChange(const QString& name);

    HandlerGuard guard_;
    std::filesystem::path programDir_;
    std::vector<BrushEntry> entries_;
    QComboBox* chooser_;
};

} // namespace stonereach
