#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

#include <QDialog>
#include <QPointer>

#include "patches/DiffPatchGenerator.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace stonereach {

class EditorLink;
class SettingsStore;
class TPrForm;
class WindowDialogs;

// The diff dialog: the paths of an original and a modified set of
// staidx0.mul, statics0.mul and map0.mul, from which it writes a diff patch
// (.bsr) or rebuilds the modified set from the original set and a patch. It
// lives for the whole run and keeps its fields between showings; the paths
// are remembered in the settings once all six name usable files.
class TSRDiffForm : public QDialog {
    Q_OBJECT
public:
    TSRDiffForm(EditorLink& link, WindowDialogs& dialogs, SettingsStore& store, QWidget* parent = nullptr);
    ~TSRDiffForm() override;

    // True while the field names an existing file of its column's name.
    bool fieldValid(int field) const { return fields_[static_cast<std::size_t>(field)].valid; }

    void GenerateButtonClick();
    void ApplyButtonClick();
    void StaticsCheckBoxClick();
    void MapCheckBoxClick();

    // The setting that remembers the folder of the players' set.
    static constexpr std::string_view PlayersSetSetting = "Players-set";

    // The six fields in the order original staidx, statics, map, then
    // modified staidx, statics, map.
    static constexpr int FieldCount = 6;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Field {
        QLineEdit* edit = nullptr;
        const char* fileName = nullptr;     // the name the file must have, lower case
        const char* settingName = nullptr;  // where its path is remembered
        bool valid = false;
    };

    void FormShow();
    void fieldChange(Field& field);
    // "...": a file dialog for the field's file.
    void browseField(Field& field, const QString& title);
    void browsePlayersSet();
    // The folder for the players' set when it is to be written; nothing
    // when the box is not checked. Refuses an empty folder.
    std::optional<std::filesystem::path> playersSetFolder() const;
    void updateState();
    DiffFileSet fileSet(int first) const;
    std::optional<QString> chooseOutputPatch();

    template <typename Handler>
    void guarded(Handler&& handler);

    EditorLink& link_;
    WindowDialogs& dialogs_;
    SettingsStore& store_;
    std::array<Field, FieldCount> fields_;
    QCheckBox* statics_;
    QCheckBox* map_;
    QCheckBox* playersSet_;
    QLineEdit* playersSetEdit_;
    QPushButton* generate_;
    QPushButton* apply_;
    // A child of the main window, released with this dialog.
    QPointer<TPrForm> progress_;
};

} // namespace stonereach
