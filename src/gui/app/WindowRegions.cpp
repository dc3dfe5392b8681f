#include "gui/app/WindowRegions.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "gui/widgets/ControlNames.h"

namespace stonereach {

namespace {

QFrame* regionFrame(const QString& name) {
    auto* frame = new QFrame;
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

QBoxLayout* addRow(QBoxLayout& parent) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    parent.addLayout(row);
    return row;
}

QBoxLayout* addColumn(QBoxLayout& parent) {
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    parent.addLayout(column);
    return column;
}

QMenu* addMenu(QMainWindow& window, const QString& name, const QString& caption) {
    QMenu* menu = window.menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* addAction(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void buildMenus(QMainWindow& window, MainWindowFrame& frame) {
    WindowRegions& regions = frame.regions;
    QMenu* file = addMenu(window, QStringLiteral("File1"), QStringLiteral("&File"));
    frame.exitAction = addAction(file, QStringLiteral("eXit1"), QStringLiteral("E&xit"));
    // "E&dit": the E belongs to "&Extra".
    regions.editMenu = addMenu(window, QStringLiteral("Edit1"), QStringLiteral("E&dit"));

    QMenu* extra = addMenu(window, QStringLiteral("Spezial1"), QStringLiteral("&Extra"));
    QAction* afterPalette = extra->addSeparator();
    QAction* afterDisplay = extra->addSeparator();
    QAction* afterTools = extra->addSeparator();
    regions.paletteItems = {extra, afterPalette};
    regions.displayItems = {extra, afterDisplay};
    regions.toolItems = {extra, afterTools};
    frame.optionsAction = addAction(extra, QStringLiteral("Options1"), QStringLiteral("&Options..."));

    QMenu* info = addMenu(window, QStringLiteral("Info1"), QStringLiteral("&Info"));
    frame.aboutAction = addAction(info, QStringLiteral("About1"), QStringLiteral("About"));
}

} // namespace

MainWindowFrame buildMainWindowFrame(QMainWindow& window) {
    MainWindowFrame frame;
    WindowRegions& regions = frame.regions;
    auto* central = new QWidget(&window);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    QFrame* top = regionFrame(QStringLiteral("TopPanel"));
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(2, 2, 2, 2);
    topRow->setSpacing(2);
    frame.exitButton = glyphButton(QStringLiteral("SpeedButton1"), QStringLiteral("\u2715"), QStringLiteral("Exit"));
    topRow->addWidget(frame.exitButton);
    topRow->addSpacing(8);
    regions.toolButtons = addRow(*topRow);
    regions.overviewButton = addRow(*topRow);
    regions.brushChooser = addRow(*topRow);
    topRow->addStretch();
    column->addWidget(top);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    QFrame* left = regionFrame(QStringLiteral("LeftPanel"));
    left->setFixedWidth(176);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(4, 4, 4, 4);
    leftColumn->setSpacing(4);
    regions.brushSize = addColumn(*leftColumn);
    regions.navigation = addColumn(*leftColumn);
    leftColumn->addStretch();
    middle->addWidget(left);
    frame.mapView = addRow(*middle);
    QFrame* right = regionFrame(QStringLiteral("RightPanel"));
    right->setFixedWidth(186);
    regions.palette = new QVBoxLayout(right);
    regions.palette->setContentsMargins(2, 2, 2, 2);
    middle->addWidget(right);
    column->addLayout(middle, 1);

    QFrame* bottom = regionFrame(QStringLiteral("BottomPanel"));
    regions.drawingModes = new QHBoxLayout(bottom);
    regions.drawingModes->setContentsMargins(4, 2, 4, 2);
    column->addWidget(bottom);

    QFrame* files = regionFrame(QStringLiteral("FileNamePanel"));
    regions.files = new QGridLayout(files);
    regions.files->setContentsMargins(4, 2, 4, 2);
    regions.files->setVerticalSpacing(2);
    column->addWidget(files);

    frame.statusLine = addColumn(*column);
    frame.statusLine->setSpacing(0);
    window.setCentralWidget(central);
    buildMenus(window, frame);
    return frame;
}

void MenuSection::add(QAction* action) const {
    if (before)
        menu->insertAction(before, action);
    else
        menu->addAction(action);
}

QAction* MenuSection::addCheckItem(const QString& name, const QString& caption, bool checked) const {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(checked);
    add(action);
    return action;
}

} // namespace stonereach
