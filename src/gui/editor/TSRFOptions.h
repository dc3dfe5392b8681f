#pragma once

#include <filesystem>
#include <memory>

#include <QDialog>

#include "editor/OptionsModel.h"
#include "gui/app/HandlerGuard.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace stonereach {

class MapDrawSource;
class TilePictures;
class WindowDialogs;

// The options dialog: edits the selection groups of tilelist.xml and one
// texture list of textures/ in memory, opened on the files as they are. OK
// writes both files (a write that fails keeps the dialog open with every
// change); Cancel discards everything. The caller reloads its lists after OK.
class TSRFOptions : public QDialog {
    Q_OBJECT
public:
    TSRFOptions(WindowDialogs& dialogs, std::filesystem::path programDir, MapDrawSource& pictures,
                QWidget* parent = nullptr);
    ~TSRFOptions() override;

    const OptionsModel& model() const { return model_; }

private:
    QWidget* buildGroupsTab();
    QWidget* buildTexturesTab();
    void connectControls();

    void lvSelectModesSelectItem();
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnUpClick();
    void btnDownClick();
    void lbTextureClick();
    void btnAddTextureClick();
    void btnEditTextureClick();
    void btnDeleteTextureClick();
    void btnTextureUpClick();
    void btnTextureDownClick();
    void cbTextureListsChange(const QString& name);
    void btnAddListClick();
    void btnOKClick();

    // Show the model in the controls, the selection and the buttons with it.
    void showGroups();
    void showEntries();
    void showListNames();
    void showGroupButtons();
    void showTextureButtons();
    // Image1: the tile of the selected entry. An entry whose text is not an
    // integer shows no picture, and when the user chose it the conversion
    // error is told.
    void showEntryPicture(bool userChoice);

    HandlerGuard guard_;
    std::filesystem::path programDir_;
    MapDrawSource& pictureSource_;
    std::unique_ptr<TilePictures> pictures_;
    OptionsModel model_;

    QTabWidget* pages_;
    QTreeWidget* groups_;
    QPushButton* addGroup_;
    QPushButton* editGroup_;
    QPushButton* deleteGroup_;
    QToolButton* groupUp_;
    QToolButton* groupDown_;
    QLabel* groupsNote_;
    QListWidget* entries_;
    QPushButton* addEntry_;
    QPushButton* editEntry_;
    QPushButton* deleteEntry_;
    QToolButton* entryUp_;
    QToolButton* entryDown_;
    QLabel* picture_;
    QComboBox* listNames_;
    QPushButton* addList_;
    QLabel* texturesNote_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace stonereach
