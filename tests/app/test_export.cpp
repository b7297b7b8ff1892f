#include <QProcess>
#include <fstream>
#include <sstream>

#include "app/export_mode.h"
#include "window_fixture.h"

namespace {

using namespace test_support;

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Export : public Window {
protected:
    // Runs the built program in the working directory with neither a display
    // nor the test's platform: the export must choose its own.
    int run_loglezer(const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(dir_.string()));
        process.start(QStringLiteral(LOGLEZER_EXE), args);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.readAllStandardError().toStdString(), "");
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString path(const char* name) const { return QString::fromStdString((dir_ / name).string()); }
};

TEST_F(Export, WritesTheBytesOfTheWindowsSaveOfTheSameView) {
    separators_ = Separators{'.', Separators::kNoGrouping};  // the program's, under LC_ALL=C
    start(log_of(days_from(2005, 3, 1, 400)));
    // The years, as the start-up shows them.
    save_answer_ = path("window_years.jpg");
    click(child<QPushButton>("sbtn_savedownload"));
    // The months of 2005, the year picked from the list.
    click(option(1));
    year()->setFocus();
    QTest::keyClick(year(), Qt::Key_Up);
    click(child<QPushButton>("sbtn_showstats"));
    save_answer_ = path("window_2005.jpg");
    click(child<QPushButton>("sbtn_saveupload"));
    ASSERT_TRUE(messages_.empty());

    EXPECT_EQ(run_loglezer({"--export", "years.jpg"}), 0);
    EXPECT_EQ(run_loglezer({"--export", "2005.JPEG", "--year", "2005", "--chart", "upload"}), 0);
    EXPECT_TRUE(bytes_of(dir_ / "years.jpg") == bytes_of(dir_ / "window_years.jpg"));
    EXPECT_TRUE(bytes_of(dir_ / "2005.JPEG") == bytes_of(dir_ / "window_2005.jpg"));
}

TEST_F(Export, WritesAPngOfTheDaysAtTheAskedSize) {
    std::ofstream(dir_ / "log.csv", std::ios::binary) << log_of(days_from(2005, 3, 1, 60));
    const CommandLine line = parse_command_line(
        {"loglezer", "--export", "-", "--format", "png", "--year", "2005", "--month", "maart", "--size", "640x480"});
    std::ostringstream out, err;
    ASSERT_EQ(export_chart(line, {dir_, separators_, out, err}), 0) << err.str();

    const std::string png = out.str();
    const QImage picture =
        QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG");
    ASSERT_EQ(picture.size(), QSize(640, 480));
    // The bars start in their colour at the base, below the titles and the
    // legend: the first day's is the palette's first.
    const Rgb first = auto_colour(0);
    bool found = false;
    for (int y = picture.height() / 2; y < picture.height() && !found; ++y) {
        for (int x = 0; x < picture.width() && !found; ++x) {
            const QColor c = picture.pixelColor(x, y);
            found = std::abs(c.red() - first.r) + std::abs(c.green() - first.g) + std::abs(c.blue() - first.b) < 12;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(Export, NamesTheLineAFailureIsOn) {
    std::ofstream(dir_ / "log.csv", std::ios::binary) << "01-Jan-2005,1,2,\r\n02-Jan-2005,12x,2,\r\n";
    std::ostringstream out, err;
    EXPECT_EQ(
        export_chart(parse_command_line({"loglezer", "log.csv", "--export", "a.png"}), {dir_, separators_, out, err}),
        1);
    EXPECT_EQ(err.str(), "loglezer: log.csv:2: '12x' is not a valid floating point value.\n");
}

}  // namespace
