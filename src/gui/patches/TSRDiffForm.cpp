#include "gui/patches/TSRDiffForm.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/app/EditorLink.h"
#include "gui/app/ProgressPump.h"
#include "gui/app/TPrForm.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowDialogs.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/SettingsStore.h"
#include "mapdata/Errors.h"
#include "patches/DiffPatchApplier.h"
#include "patches/PlayersSet.h"

namespace stonereach {

namespace {

const QStringList kPatchFilters{QStringLiteral("Brannock SR (Version 3) (*.bsr)")};
const QString kPatchSuffix = QStringLiteral(".bsr");

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    return result;
}

QPushButton* actionButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setEnabled(false);
    button->setAutoDefault(false);
    return button;
}

// Hides the small progress dialog when the operation ends, also by an error.
class ShownWhileRunning {
public:
    explicit ShownWhileRunning(TPrForm& form) : form_(form) {
        form_.show();
        pumpEvents();
    }
    ShownWhileRunning(const ShownWhileRunning&) = delete;
    ShownWhileRunning& operator=(const ShownWhileRunning&) = delete;
    ~ShownWhileRunning() { form_.hide(); }

private:
    TPrForm& form_;
};

// What applying wrote, said when it is done.
QString appliedText(const DiffApplyResult& result) {
    QStringList files;
    if (result.staticsRebuilt)
        files << QStringLiteral("staidx0.mul") << QStringLiteral("statics0.mul");
    if (result.mapRebuilt)
        files << QStringLiteral("map0.mul");
    return qText(DiffPatchTexts::DoneMessage) + QStringLiteral("\nThe modified %1 %2 written.")
                                                    .arg(files.join(QStringLiteral(", ")),
                                                         files.size() == 1 ? QStringLiteral("was")
                                                                           : QStringLiteral("were"));
}

} // namespace

TSRDiffForm::TSRDiffForm(EditorLink& link, WindowDialogs& dialogs, SettingsStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      link_(link), dialogs_(dialogs), store_(store) {
    setObjectName(QStringLiteral("SRDiffForm"));
    setWindowTitle(QStringLiteral("Brannock Stonereach - Create Diff patch"));

    auto* sections = new QGroupBox(QStringLiteral(" Generate diff for "), this);
    sections->setObjectName(QStringLiteral("GenerateSelectGroupBox"));
    statics_ = new QCheckBox(QStringLiteral("StaIdx0.mul + Statics0.mul"), sections);
    statics_->setObjectName(QStringLiteral("StaticsCheckBox"));
    map_ = new QCheckBox(QStringLiteral("Map0.mul"), sections);
    map_->setObjectName(QStringLiteral("MapCheckBox"));
    for (QCheckBox* box : {statics_, map_}) {
        box->setChecked(true);
        box->setEnabled(false);
    }
    auto* sectionsLayout = new QVBoxLayout(sections);
    sectionsLayout->addWidget(statics_);
    sectionsLayout->addWidget(map_);

    auto* actions = new QGroupBox(QStringLiteral(" Select an action "), this);
    actions->setObjectName(QStringLiteral("ButtonGroupBox"));
    generate_ = actionButton(QStringLiteral("GenerateButton"), QStringLiteral("Generate Diff"), actions);
    apply_ = actionButton(QStringLiteral("ApplyButton"), QStringLiteral("Apply Diff"), actions);
    auto* actionsLayout = new QHBoxLayout(actions);
    actionsLayout->addWidget(generate_);
    actionsLayout->addWidget(apply_);

    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setAutoDefault(false);
    setGlyphHint(close, QStringLiteral("Close"));

    // The grid of paths: a row per set, a column per file, each field with
    // its "..." and growing with the dialog.
    const QString rowNames[2] = {QStringLiteral("Original files"), QStringLiteral("Modified files")};
    const QString columnNames[3] = {QStringLiteral("Staidx0.mul"), QStringLiteral("Statics0.mul"),
                                    QStringLiteral("Map0.mul")};
    const char* editNames[FieldCount] = {"OStaIdxEdit", "OStaticsEdit", "OMapEdit",
                                         "MStaIdxEdit", "MStaticsEdit", "MMapEdit"};
    const char* fileNames[3] = {"staidx0.mul", "statics0.mul", "map0.mul"};
    const char* settingNames[FieldCount] = {"Orig-staidx0.mul", "Orig-statics0.mul", "Orig-map0.mul",
                                            "Mod-staidx0.mul",  "Mod-statics0.mul",  "Mod-map0.mul"};
    QList<QWidget*> pathStops;
    auto* paths = new QGridLayout;
    paths->addWidget(label(QStringLiteral("StaIdxLabel"), columnNames[0], this), 0, 1);
    paths->addWidget(label(QStringLiteral("StaticsLabel"), columnNames[1], this), 0, 3);
    paths->addWidget(label(QStringLiteral("MapLabel"), columnNames[2], this), 0, 5);
    for (int row = 0; row < 2; ++row) {
        QLabel* rowLabel = label(row == 0 ? QStringLiteral("OriginalLabel") : QStringLiteral("ModifiedLabel"),
                                 rowNames[row], this);
        paths->addWidget(rowLabel, row + 1, 0);
        for (int column = 0; column < 3; ++column) {
            const int i = row * 3 + column;
            Field& field = fields_[static_cast<std::size_t>(i)];
            field.edit = new QLineEdit(this);
            field.edit->setObjectName(QString::fromLatin1(editNames[i]));
            field.edit->setMinimumWidth(160);
            // The row label leads to the row's first field; each field is
            // named by its row and column.
            if (column == 0)
                rowLabel->setBuddy(field.edit);
            const QString fieldName = rowNames[row] + QStringLiteral(": ") + columnNames[column];
            field.edit->setAccessibleName(fieldName);
            field.fileName = fileNames[column];
            field.settingName = settingNames[i];
            QToolButton* browse = glyphButton(QString::fromLatin1(editNames[i]) + QStringLiteral("Browse"),
                                              QStringLiteral("..."), QStringLiteral("Browse for ") + fieldName);
            browse->setParent(this);
            paths->addWidget(field.edit, row + 1, 2 * column + 1);
            paths->addWidget(browse, row + 1, 2 * column + 2);
            pathStops << field.edit << browse;
            connect(field.edit, &QLineEdit::textChanged, this, [this, &field] { guarded([&] { fieldChange(field); }); });
            connect(browse, &QToolButton::clicked, this,
                    [this, &field, fieldName] { guarded([&] { browseField(field, fieldName); }); });
        }
    }
    for (int column = 0; column < 3; ++column)
        paths->setColumnStretch(2 * column + 1, 1);

    // The set players will have after applying the patch: the original set
    // of the next patch.
    playersSet_ = new QCheckBox(QStringLiteral("Also write the players' set to:"), this);
    playersSet_->setObjectName(QStringLiteral("PlayersSetCheckBox"));
    playersSet_->setToolTip(QStringLiteral("The staidx0.mul, statics0.mul and map0.mul that players have after "
                                           "applying the patch: make the next patch from them"));
    playersSetEdit_ = new QLineEdit(this);
    playersSetEdit_->setObjectName(QStringLiteral("PlayersSetEdit"));
    playersSetEdit_->setAccessibleName(QStringLiteral("Folder of the players' set"));
    QToolButton* playersBrowse = glyphButton(QStringLiteral("PlayersSetBrowse"), QStringLiteral("..."),
                                             QStringLiteral("Browse for the folder of the players' set"));
    playersBrowse->setParent(this);
    auto* players = new QHBoxLayout;
    players->addWidget(playersSet_);
    players->addWidget(playersSetEdit_, 1);
    players->addWidget(playersBrowse);

    auto* top = new QHBoxLayout;
    top->addWidget(sections);
    top->addWidget(actions);
    top->addStretch(1);
    top->addWidget(close, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(paths);
    layout->addLayout(players);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // The progress dialog belongs to the main window: this dialog is
    // disabled while a run goes on, and would grey it out.
    progress_ = new TPrForm(link.mainWindow());

    // The keyboard goes through the paths first, then the players' set, the
    // switches and actions.
    QWidget* previous = nullptr;
    for (QWidget* control : pathStops + QList<QWidget*>{playersSet_, playersSetEdit_, playersBrowse, statics_, map_,
                                                        generate_, apply_, close}) {
        if (previous != nullptr)
            setTabOrder(previous, control);
        previous = control;
    }

    connect(playersBrowse, &QToolButton::clicked, this, [this] { guarded([this] { browsePlayersSet(); }); });
    connect(statics_, &QCheckBox::clicked, this, [this] { guarded([this] { StaticsCheckBoxClick(); }); });
    connect(map_, &QCheckBox::clicked, this, [this] { guarded([this] { MapCheckBoxClick(); }); });
    connect(generate_, &QPushButton::clicked, this, [this] { guarded([this] { GenerateButtonClick(); }); });
    connect(apply_, &QPushButton::clicked, this, [this] { guarded([this] { ApplyButtonClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

TSRDiffForm::~TSRDiffForm() { delete progress_; }

template <typename Handler>
void TSRDiffForm::guarded(Handler&& handler) {
    runToolHandler(dialogs_, this, std::forward<Handler>(handler));
}

void TSRDiffForm::reject() {
    // The dialog is disabled while a run goes on inside its event handling;
    // it closes once the run has ended.
    if (isEnabled())
        QDialog::reject();
}

void TSRDiffForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
    guarded([this] { FormShow(); });
}

void TSRDiffForm::FormShow() {
    // A field whose text changes is checked by its change handler.
    for (Field& field : fields_)
        field.edit->setText(qText(store_.value(field.settingName).value_or(std::string())));
    playersSetEdit_->setText(qText(store_.value(PlayersSetSetting).value_or(std::string())));
}

void TSRDiffForm::browseField(Field& field, const QString& title) {
    const QString name = QString::fromLatin1(field.fileName);
    FileDialogRequest request{title, {name + QStringLiteral(" (") + name + QStringLiteral(")")},
                              QFileInfo(field.edit->text()).absolutePath(), name};
    if (field.edit->text().isEmpty())
        request.directory.clear();
    if (const auto chosen = dialogs_.chooseOpenFile(this, request))
        field.edit->setText(*chosen);
}

void TSRDiffForm::browsePlayersSet() {
    if (const auto chosen = dialogs_.chooseDirectory(this, QStringLiteral("Folder of the players' set"),
                                                     playersSetEdit_->text())) {
        playersSetEdit_->setText(*chosen);
        playersSet_->setChecked(true);
    }
}

std::optional<std::filesystem::path> TSRDiffForm::playersSetFolder() const {
    if (!playersSet_->isChecked())
        return std::nullopt;
    if (playersSetEdit_->text().trimmed().isEmpty())
        throw Refusal("Choose the folder for the players' set, or uncheck \"Also write the players' set to:\".");
    return pathOf(playersSetEdit_->text().trimmed());
}

void TSRDiffForm::fieldChange(Field& field) {
    const QFileInfo file(field.edit->text());
    field.valid = !field.edit->text().isEmpty() && file.isFile() &&
                  file.fileName().toLower() == QLatin1String(field.fileName);
    showValidity(*field.edit, field.valid);
    updateState();
}

void TSRDiffForm::updateState() {
    // Once all six fields have been usable the actions stay enabled, even
    // when a field turns red later: the engines report a file they cannot use.
    for (const Field& field : fields_) {
        if (!field.valid)
            return;
    }
    for (const Field& field : fields_)
        store_.setValue(field.settingName, stdText(field.edit->text()));
    for (QWidget* control : std::initializer_list<QWidget*>{statics_, map_, generate_, apply_})
        control->setEnabled(true);
}

void TSRDiffForm::StaticsCheckBoxClick() {
    if (!statics_->isChecked() && !map_->isChecked())
        map_->setChecked(true);
}

void TSRDiffForm::MapCheckBoxClick() {
    if (!statics_->isChecked() && !map_->isChecked())
        statics_->setChecked(true);
}

DiffFileSet TSRDiffForm::fileSet(int first) const {
    const auto path = [&](int i) { return pathOf(fields_[static_cast<std::size_t>(first + i)].edit->text()); };
    return DiffFileSet{path(0), path(1), path(2)};
}

std::optional<QString> TSRDiffForm::chooseOutputPatch() {
    auto chosen = dialogs_.chooseSaveFile(
        this, FileDialogRequest{QString(), kPatchFilters, QString(), QStringLiteral("bnpatch") + kPatchSuffix});
    if (!chosen || !QFileInfo(*chosen).suffix().isEmpty())
        return chosen;
    // A name typed without an extension gets the patch extension; the dialog
    // asked about the name as typed, so a file of the full name is asked
    // about here.
    *chosen += kPatchSuffix;
    if (QFileInfo::exists(*chosen) &&
        !dialogs_.askYesNo(this, QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(*chosen)))
        return std::nullopt;
    return chosen;
}

void TSRDiffForm::GenerateButtonClick() {
    {
        const DisabledWhileRunning disabled(this);
        const std::optional<std::filesystem::path> playersFolder = playersSetFolder();
        const auto chosen = chooseOutputPatch();
        if (chosen) {
            DiffPatchRequest request;
            request.original = fileSet(0);
            request.modified = fileSet(3);
            request.patch = pathOf(*chosen);
            request.statics = statics_->isChecked();
            request.map = map_->isChecked();
            {
                const ShownWhileRunning shown(*progress_);
                generateDiffPatch(request, progress_->progressCallback());
            }
            link_.mapFileReplaced(request.patch);
            QStringList done{qText(DiffPatchTexts::DoneMessage)};
            if (playersFolder) {
                store_.setValue(PlayersSetSetting, stdText(playersSetEdit_->text().trimmed()));
                DiffFileSet players;
                {
                    const ShownWhileRunning shown(*progress_);
                    players = writePlayersSet(request, *playersFolder, progress_->progressCallback());
                }
                for (const std::filesystem::path& written : {players.staIdx, players.statics})
                    link_.mapFileReplaced(written);
                link_.mapFileReplaced(players.map);
                done << QStringLiteral("The players' set was written to %1.").arg(qPath(*playersFolder));
            }
            // Applying rebuilds the statics in a layout of its own: the next
            // patch must start from what the players have.
            if (playersStaticsIndexDiffers(request))
                done << qText(PlayersSetTexts::IndexDiffers) +
                            (playersFolder ? QStringLiteral(" (%1) as the original set.").arg(qPath(*playersFolder))
                                           : QStringLiteral(" (check \"Also write the players' set to:\") as the "
                                                            "original set."));
            dialogs_.showTitledMessage(this, qText(DiffPatchTexts::DoneCaption), done.join(QLatin1Char('\n')));
        }
    }
    updateState();
}

void TSRDiffForm::ApplyButtonClick() {
    {
        const DisabledWhileRunning disabled(this);
        const auto chosen = dialogs_.chooseOpenFile(
            this, FileDialogRequest{QString(), kPatchFilters, QString(), QStringLiteral("bnpatch") + kPatchSuffix});
        if (chosen) {
            if (!chosen->toLower().endsWith(kPatchSuffix)) {
                dialogs_.showError(this, QStringLiteral("You can't apply this file! If you want to apply a .bsr file, "
                                                        "please use Brannock Stonereach."));
            } else {
                DiffApplyRequest request;
                request.original = fileSet(0);
                request.modified = fileSet(3);
                request.patch = pathOf(*chosen);
                DiffApplyResult result;
                {
                    const ShownWhileRunning shown(*progress_);
                    result = applyDiffPatch(request, progress_->progressCallback());
                }
                if (!result.applied) {
                    dialogs_.showTitledMessage(this, qText(DiffApplyTexts::CrcCaption),
                                               qText(result.mismatchMessage));
                } else {
                    // The statics pair is published by rename, the map is
                    // written where it stands.
                    if (result.staticsRebuilt) {
                        link_.mapFileReplaced(request.modified.staIdx);
                        link_.mapFileReplaced(request.modified.statics);
                    }
                    if (result.mapRebuilt)
                        link_.mapFileWritten(request.modified.map);
                    dialogs_.showTitledMessage(this, qText(DiffPatchTexts::DoneCaption), appliedText(result));
                }
            }
        }
    }
    updateState();
}

} // namespace stonereach
