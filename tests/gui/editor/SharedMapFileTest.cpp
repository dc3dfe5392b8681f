// The open map and the client files changed by other programs while the
// window runs: the command-line companion in a second process, a process
// writing in a burst, files deleted, cut short and replaced. What the user
// sees is read from the screen and the status line, what lands on disk from
// the files.
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "editor/StatusLineText.h"
#include "gui/app/EditorWindowFixture.h"
#include "gui/app/QtConversions.h"
#include "gui/widgets/RadioGroup.h"
#include "sample/SampleClientFiles.h"

namespace stonereach {
namespace {

namespace fs = std::filesystem;

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

class SharedMapFile : public test::EditorWindowTest {
protected:
    void startOn(const char* name, std::uint64_t size) {
        map = mapFile(name, size).toStdString();
        storePaths(QString::fromStdString(map), clientDir());
        start();
    }
    void startOnTokuno() { startOn("map4.mul", test::kTokunoSize); }

    // What the screen shows of a cell of the map view.
    QImage shownCell(int x, int y) {
        const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
        const QPoint origin = view().viewport()->mapTo(window.get(), QPoint(0, 0));
        return screen.copy(view().cellRect(x, y).translated(origin).adjusted(1, 1, -1, -1));
    }
    // Each cell is filled with the colour of its altitude.
    void showAltitudeColours() {
        child<RadioGroup>("ShowAltitudeRadioGroup").selectAsIfClicked(0);
        child<QAction>("coloredAltitude").trigger();
        child<QAction>("ShowonlyColor1").trigger();
    }
    // Paints with "Set to Z" and "Altitude only".
    void paintAltitude(int x, int y, int z) {
        child<RadioGroup>("AltitudeRadioGroup").selectAsIfClicked(2);
        child<QComboBox>("SelectDrawingModeComboBox").setCurrentIndex(2);
        edit("ZValueEdit").setText(QString::number(z));
        go(QString::number(x), QString::number(y));
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(x, y).center());
    }
    static void runCli(const QStringList& arguments) {
        QProcess cli;
        cli.start(QStringLiteral(STONEREACH_CLI), arguments);
        ASSERT_TRUE(cli.waitForFinished(30000));
        ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    }
    QString notice() { return child<StatusBar>("StatusBar").notice(); }
    static QString noticeOf(MapFileTrouble trouble) { return QString::fromUtf8(mapTroubleText(trouble).data()); }

    std::string map;
};

TEST_F(SharedMapFile, ACellSetByTheCommandLineToolShowsWithinASecond) {
    startOnTokuno();
    showAltitudeColours();
    go("100", "100");
    hover(100, 100);
    QCoreApplication::processEvents();
    ASSERT_TRUE(panel(0).contains("Altitude=0"));
    ASSERT_EQ(shownCell(100, 100).pixelColor(35, 35), QColor(0, 127, 0));

    runCli({"cell", QString::fromStdString(map), "100", "100", "--set", "3", "51"});
    QElapsedTimer since;
    since.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel(0).endsWith("Altitude=51 - Tile=00 03"); }, 1000))
        << panel(0).toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownCell(100, 100).pixelColor(35, 35) == QColor(178, 178, 178); }, 100));
    EXPECT_LT(since.elapsed(), 1000);
}

TEST_F(SharedMapFile, AnEnlargedMapRenamedOverTheOpenMapIsOpenedAgainAndPaintedInto) {
    startOn("map0.mul", 77070336); // 6144 x 4096
    ASSERT_EQ(label("MapSize"), "6144x4096");
    const QString source = mapFile("map4.mul", test::kTokunoSize);
    runCli({"enlarge", source, QString::fromStdString(map), "--quiet"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return label("MapSize") == "7168x4096"; }, 1000));
    EXPECT_EQ(view().colCount(), 7168);

    paintAltitude(7000, 50, 42);
    EXPECT_EQ(MapFile(map, File::Mode::Read).readCell(7000, 50, MapGeometry{7168, 4096, 512}).z, 42)
        << "the cell that only the larger map has is written into the new file";
}

TEST_F(SharedMapFile, AThousandWritesInASecondFromAnotherProcessCauseAFewRepaints) {
    startOnTokuno();
    go("100", "100");
    hover(100, 100);
    QTest::qWait(300);
    PaintCounter paints(*view().viewport());

    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        // Only plain system calls in the child: one write of a cell's
        // altitude a millisecond, the last one 99.
        const int fd = ::open(map.c_str(), O_WRONLY);
        const timespec pause{0, 1000000};
        for (int i = 0; i < 1000; ++i) {
            const unsigned char z = i == 999 ? 99 : static_cast<unsigned char>(i % 90);
            if (fd < 0 || ::pwrite(fd, &z, 1, static_cast<off_t>(cellOffset(100, 100, 181) + 2)) != 1)
                ::_exit(1);
            ::nanosleep(&pause, nullptr);
        }
        ::_exit(0);
    }
    int status = -1;
    while (::waitpid(writer, &status, WNOHANG) == 0)
        QTest::qWait(5);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel(0).contains("Altitude=99"); }, 1000)) << panel(0).toStdString();
    QTest::qWait(600);
    EXPECT_GE(paints.count, 1);
    EXPECT_LE(paints.count, 5) << "one repaint a burst, not one a write";
}

TEST_F(SharedMapFile, TheEditorsOwnWritesCauseNoRepaintAndADeletedOrCutMapIsToldAndNotWritten) {
    startOnTokuno();
    paintAltitude(10, 10, 9);
    paintAltitude(11, 10, 9);
    QTest::qWait(50);
    PaintCounter paints(*view().viewport());
    QTest::qWait(600);
    EXPECT_EQ(paints.count, 0) << "the editor's own strokes are no change to repaint for";
    EXPECT_EQ(notice(), "");

    // Deleted: the file lives on under a second name, which shows whether
    // anything is written to it.
    fs::create_hard_link(map, temp / "kept.mul");
    fs::remove(map);
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice() == noticeOf(MapFileTrouble::Deleted); }, 1000));
    const auto kept = test::readBytes(temp / "kept.mul");
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(12, 10).center());
    EXPECT_FALSE(child<QAction>("TlUndoStroke").isEnabled()) << "nothing can be undone on a deleted map";
    child<QAction>("TlUndoStroke").trigger();
    EXPECT_TRUE(test::readBytes(temp / "kept.mul") == kept) << "nothing is written to a deleted map";
    EXPECT_FALSE(fs::exists(map));

    // A new file at the path is opened; cut short, it is told and left so.
    mapFile("map4.mul", test::kTokunoSize);
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice().isEmpty(); }, 1000));
    go("1400", "1400");
    QCoreApplication::processEvents();
    const auto errors = dialogs.errors.size();
    fs::resize_file(map, test::kTokunoSize / 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice() == noticeOf(MapFileTrouble::CutShort); }, 1000));
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, view().cellRect(1400, 1400).center());
    hover(1400, 1400);
    QCoreApplication::processEvents();
    EXPECT_EQ(fs::file_size(map), test::kTokunoSize / 2) << "nothing is written past the end";
    EXPECT_TRUE(panel(0).endsWith("Cell cannot be read"));
    EXPECT_EQ(dialogs.errors.size(), errors) << "the notice says it; no message box";
}

TEST_F(SharedMapFile, ChangedClientFilesDropThePicturesAndRepaint) {
    const QString mapPath = mapFile("map4.mul", test::kTokunoSize);
    MapFile(mapPath.toStdString(), File::Mode::ReadWrite).writeCell(5, 5, MapCell{3, 0}, test::kTokuno);
    storePaths(mapPath, clientDir());
    start();
    go("5", "5");
    QCoreApplication::processEvents();
    const QImage before = shownCell(5, 5);

    sample::writeSampleClientFiles(pathOf(clientDir()), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownCell(5, 5) != before; }, 1000))
        << "the grass of the new client files shows";
}

} // namespace
} // namespace stonereach
