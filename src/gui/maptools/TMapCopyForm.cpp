#include "gui/maptools/TMapCopyForm.h"

#include <optional>

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/app/EditorLink.h"
#include "gui/app/ProgressPump.h"
#include "gui/app/ToolSupport.h"
#include "gui/app/WindowDialogs.h"
#include "gui/widgets/ControlNames.h"
#include "gui/widgets/ValidityColours.h"
#include "mapdata/Errors.h"
#include "mapdata/IntegerText.h"
#include "maptools/MapCopy.h"

namespace stonereach {

namespace {


// The edit's value, or nothing while its text is not an integer.
std::optional<std::int64_t> valueOf(const QLineEdit* edit) {
    try {
        return parseInteger(stdText(edit->text()));
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

QLineEdit* coordinateEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(QStringLiteral("0"), parent);
    edit->setObjectName(name);
    edit->setFixedWidth(64);
    return edit;
}

QToolButton* browseButton(const QString& name, const QString& hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(QStringLiteral("..."));
    setGlyphHint(button, hint);
    return button;
}

QLabel* infoLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(qText(MapCopyUnknown), parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TMapCopyForm::TMapCopyForm(EditorLink& link, WindowDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      link_(link), dialogs_(dialogs) {
    setObjectName(QStringLiteral("MapCopyForm"));
    setWindowTitle(QStringLiteral("Brannock Stonereach - Map Copy"));

    const auto makeSide = [this](Side& side, const char* pathName, const char* groupName, const QString& groupTitle,
                                 const char* infoName, const char* sizeName) {
        side.path = new QLineEdit(this);
        side.path->setObjectName(QString::fromLatin1(pathName));
        side.path->setMinimumWidth(320);
        auto* group = new QGroupBox(groupTitle, this);
        group->setObjectName(QString::fromLatin1(groupName));
        side.info = infoLabel(QString::fromLatin1(infoName), group);
        side.size = infoLabel(QString::fromLatin1(sizeName), group);
        auto* groupLayout = new QVBoxLayout(group);
        groupLayout->addWidget(side.info);
        groupLayout->addWidget(side.size);
        return group;
    };
    QGroupBox* grp1 = makeSide(source_, "EditSourceMap", "grp1", QStringLiteral("Source Map file information : "),
                               "TextSMapInfo", "TextSMapSize");
    QGroupBox* grp2 = makeSide(destination_, "EditDestinationMap", "grp2",
                               QStringLiteral("Destination Map file information : "), "TextDMapInfo", "TextDMapSize");
    QToolButton* sourceButton = browseButton(QStringLiteral("btnSourceFile"), QStringLiteral("Choose the source map file"), this);
    QToolButton* destinationButton =
        browseButton(QStringLiteral("btnDestinationFile"), QStringLiteral("Choose the destination map file"), this);

    const char* editNames[CoordinateCount] = {"EditSX1", "EditSX2", "EditSY1", "EditSY2", "EditDX", "EditDY"};
    for (int c = 0; c < CoordinateCount; ++c)
        edits_[static_cast<std::size_t>(c)] = coordinateEdit(QString::fromLatin1(editNames[c]), this);
    const auto labelled = [this](QGridLayout* grid, int row, int column, const char* name, const QString& text,
                                 QWidget* control) {
        grid->addWidget(buddyLabel(QString::fromLatin1(name), text, control, this), row, column);
        grid->addWidget(control, row, column + 1);
    };

    auto* grid = new QGridLayout;
    labelled(grid, 0, 0, "SourceMapLabel", QStringLiteral("Source map:"), source_.path);
    grid->addWidget(sourceButton, 0, 2);
    grid->addWidget(grp1, 0, 3, 2, 1);
    auto* sourceCorners = new QGridLayout;
    labelled(sourceCorners, 0, 0, "SX1Label", QStringLiteral("X1:"), edits_[X1]);
    labelled(sourceCorners, 0, 2, "SY1Label", QStringLiteral("Y1:"), edits_[Y1]);
    labelled(sourceCorners, 1, 0, "SX2Label", QStringLiteral("X2:"), edits_[X2]);
    labelled(sourceCorners, 1, 2, "SY2Label", QStringLiteral("Y2:"), edits_[Y2]);
    sourceCorners->setColumnStretch(4, 1);
    grid->addLayout(sourceCorners, 1, 1, 1, 2);

    labelled(grid, 2, 0, "DestinationMapLabel", QStringLiteral("Destination map:"), destination_.path);
    grid->addWidget(destinationButton, 2, 2);
    grid->addWidget(grp2, 2, 3, 2, 1);
    auto* destinationCorner = new QGridLayout;
    labelled(destinationCorner, 0, 0, "DXLabel", QStringLiteral("X:"), edits_[DX]);
    labelled(destinationCorner, 0, 2, "DYLabel", QStringLiteral("Y:"), edits_[DY]);
    destinationCorner->setColumnStretch(4, 1);
    grid->addLayout(destinationCorner, 3, 1, 1, 2);

    copy_ = new QPushButton(QStringLiteral("Copy"), this);
    copy_->setObjectName(QStringLiteral("btnCopy"));
    copy_->setEnabled(false);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar"));
    progress_->setAccessibleName(QStringLiteral("Copy progress"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copy_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The keyboard goes through the source, then the destination, then Copy.
    QWidget* const chain[] = {source_.path,      sourceButton, edits_[X1], edits_[Y1], edits_[X2], edits_[Y2],
                              destination_.path, destinationButton, edits_[DX], edits_[DY], copy_};
    for (std::size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    const auto on = [this](auto* sender, auto signal, void (TMapCopyForm::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    on(sourceButton, &QToolButton::clicked, &TMapCopyForm::btnSourceFileClick);
    on(destinationButton, &QToolButton::clicked, &TMapCopyForm::btnDestinationFileClick);
    on(source_.path, &QLineEdit::textChanged, &TMapCopyForm::EditSourceMapChange);
    on(destination_.path, &QLineEdit::textChanged, &TMapCopyForm::EditDestinationMapChange);
    on(edits_[X1], &QLineEdit::textChanged, &TMapCopyForm::EditSX1Change);
    on(edits_[X2], &QLineEdit::textChanged, &TMapCopyForm::EditSX2Change);
    on(edits_[Y1], &QLineEdit::textChanged, &TMapCopyForm::EditSY1Change);
    on(edits_[Y2], &QLineEdit::textChanged, &TMapCopyForm::EditSY2Change);
    on(edits_[DX], &QLineEdit::textChanged, &TMapCopyForm::EditDXChange);
    on(edits_[DY], &QLineEdit::textChanged, &TMapCopyForm::EditDYChange);
    on(copy_, &QPushButton::clicked, &TMapCopyForm::btnCopyClick);
}

template <typename Handler>
void TMapCopyForm::guarded(Handler&& handler) {
    runToolHandler(dialogs_, this, std::forward<Handler>(handler));
}

void TMapCopyForm::reject() {
    // The copy runs inside this dialog's event handling; closing it then
    // would hide a run that is still writing.
    if (!running_)
        QDialog::reject();
}

void TMapCopyForm::browse(Side& side, const QString& title) {
    const QStringList filters =
        mapFileFilters(QStringLiteral("Ultima Online MAP (*.mul)"), QStringLiteral("*"), side.path->text());
    if (const auto chosen = dialogs_.chooseOpenFile(this, FileDialogRequest{title, filters, QString(), QString()}))
        side.path->setText(*chosen);
    // Chosen or not, the side is checked again (the file may have changed).
    if (&side == &source_)
        EditSourceMapChange();
    else
        EditDestinationMapChange();
}

void TMapCopyForm::btnSourceFileClick() { browse(source_, QString()); }

void TMapCopyForm::btnDestinationFileClick() { browse(destination_, QString()); }

void TMapCopyForm::pathChange(Side& side, bool& valid) {
    const QString path = side.path->text();
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        side.map = recogniseForMapCopy(pathOf(path));
        side.info->setText(qText(side.map.mapName));
        side.size->setText(qText(side.map.sizeText));
        valid = side.map.recognised();
    } else {
        // A path that names no file only turns red; the labels and limits
        // keep what the last file gave them.
        valid = false;
    }
    showValidity(*side.path, valid);
    copy_->setEnabled(sourceValid_ && destinationValid_);
    EditSX1Change();
    EditSX2Change();
    EditSY1Change();
    EditSY2Change();
    EditDXChange();
    EditDYChange();
}

void TMapCopyForm::EditSourceMapChange() { pathChange(source_, sourceValid_); }

void TMapCopyForm::EditDestinationMapChange() { pathChange(destination_, destinationValid_); }

void TMapCopyForm::showCoordinate(Coordinate c) {
    showInvalidOnly(*edits_[static_cast<std::size_t>(c)], valid_[static_cast<std::size_t>(c)]);
}

void TMapCopyForm::sourceCheck(Coordinate c, int max) {
    const QLineEdit* edit = edits_[static_cast<std::size_t>(c)];
    // An emptied edit keeps its state until something is typed; text that is
    // not a number (a lone "-" on the way to a negative one) is shown as
    // unusable rather than interrupting the typing with a message.
    if (edit->text().isEmpty())
        return;
    const auto value = valueOf(edit);
    valid_[static_cast<std::size_t>(c)] = value && mapCopySourceValid(*value, max);
    showCoordinate(c);
}

void TMapCopyForm::destinationCheck(Coordinate d, Coordinate first, Coordinate second, int max) {
    const auto text = [&](Coordinate c) { return !edits_[static_cast<std::size_t>(c)]->text().isEmpty(); };
    if (!text(d) || !text(first) || !text(second))
        return;
    const auto value = valueOf(edits_[static_cast<std::size_t>(d)]);
    const auto a = valueOf(edits_[static_cast<std::size_t>(first)]);
    const auto b = valueOf(edits_[static_cast<std::size_t>(second)]);
    if (value && (!a || !b))
        return;  // the corner edit at fault shows red itself
    valid_[static_cast<std::size_t>(d)] = value && mapCopyDestinationValid(*value, *a, *b, max);
    showCoordinate(d);
}

void TMapCopyForm::EditSX1Change() {
    sourceCheck(X1, source_.map.maxX);
    EditDXChange();
}

void TMapCopyForm::EditSX2Change() {
    sourceCheck(X2, source_.map.maxX);
    EditDXChange();
}

void TMapCopyForm::EditSY1Change() {
    sourceCheck(Y1, source_.map.maxY);
    EditDYChange();
}

void TMapCopyForm::EditSY2Change() {
    sourceCheck(Y2, source_.map.maxY);
    EditDYChange();
}

void TMapCopyForm::EditDXChange() { destinationCheck(DX, X1, X2, destination_.map.maxX); }

void TMapCopyForm::EditDYChange() { destinationCheck(DY, Y1, Y2, destination_.map.maxY); }

void TMapCopyForm::btnCopyClick() {
    for (const bool valid : valid_) {
        if (!valid) {
            dialogs_.showMessage(this, qText(MapCopyTexts::WrongCoordinates));
            return;
        }
    }
    const auto value = [&](Coordinate c) { return parseInteger(stdText(edits_[static_cast<std::size_t>(c)]->text())); };
    MapCopyRequest request;
    request.source = pathOf(source_.path->text());
    request.destination = pathOf(destination_.path->text());
    request.x1 = value(X1);
    request.y1 = value(Y1);
    request.x2 = value(X2);
    request.y2 = value(Y2);
    request.dx = value(DX);
    request.dy = value(DY);

    const RunningFlag running(running_);
    const DisabledWhileRunning disabled(copy_);
    progress_->setValue(0);
    // Once the copy has started, the destination is shown again however it
    // ends: cells written before a failure stay written.
    std::optional<MapWrittenWhenDone> repaint;
    copyMapRectangle(request, [&](const ProgressReport& report) {
        if (!repaint)
            repaint.emplace(link_, request.destination);
        progress_->setValue(scaledPosition(report, 100));
        pumpEvents();
    });
}

} // namespace stonereach
