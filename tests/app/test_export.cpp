#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include <QLocale>
#include <QProcess>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/export_mode.h"
#include "child_process.h"
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
    EXPECT_EQ(suggested_names_,
              (std::vector<std::string>{"download-per-jaar-sinds-01-maart-2005.jpg", "upload-per-maand-2005.jpg"}));

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
    ASSERT_EQ(export_chart(line, {dir_, std::nullopt, separators_, out, err}), 0) << err.str();

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

// --scale draws the layout of --size larger: each side is multiplied and
// rounded, halves up. 105 x 2.3 is 241.5 exactly, though 2.3 as a double is
// a little less.
struct Scaled {
    const char* name;
    const char* size;
    const char* scale;
    QSize pixels;
};

void PrintTo(const Scaled& s, std::ostream* os) { *os << s.name; }

class ExportScaled : public Export, public ::testing::WithParamInterface<Scaled> {};

QImage png_picture(const std::string& png) {
    return QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG");
}

// The picture --export writes for the arguments after the program's name,
// the log of 60 days in the working directory.
std::string exported(const fs::path& dir, const Separators& seps, std::vector<std::string> args) {
    std::ofstream(dir / "log.csv", std::ios::binary) << log_of(days_from(2005, 3, 1, 60));
    args.insert(args.begin(), "loglezer");
    std::ostringstream out, err;
    EXPECT_EQ(export_chart(parse_command_line(args), {dir, std::nullopt, seps, out, err}), 0) << err.str();
    return out.str();
}

TEST_P(ExportScaled, HasTheLayoutsSizeTimesTheScale) {
    const Scaled& s = GetParam();
    const std::string png =
        exported(dir_, separators_, {"--export", "-", "--format", "png", "--size", s.size, "--scale", s.scale});
    EXPECT_EQ(png_picture(png).size(), s.pixels);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ExportScaled,
                         ::testing::Values(Scaled{"twice", "1049x249", "2", {2098, 498}},
                                           Scaled{"one_and_a_half", "1049x249", "1.5", {1574, 374}},
                                           Scaled{"an_exact_half_rounded_up", "105x249", "2.3", {242, 573}}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// The rows of the title line (above the legend, `rows` high) that hold
// some of its blue.
int title_rows(const QImage& picture, int rows) {
    int found = 0;
    for (int y = 0; y < rows; ++y) {
        bool blue = false;
        for (int x = 0; x < picture.width() && !blue; ++x) {
            const QColor c = picture.pixelColor(x, y);
            blue = c.blue() == 255 && c.red() < 160 && c.red() == c.green();
        }
        found += blue;
    }
    return found;
}

// Drawn at twice the scale, the title is twice as high (not the same
// 11-pixel text on a larger canvas) and its letters are drawn at that size:
// blown up from the 1049 x 249 picture, every 2 x 2 block of pixels would
// be one colour, while the edges of letters drawn larger run through
// blocks.
TEST_F(Export, AtTwiceTheScaleTheTextIsDrawnTwiceAsLargeNotBlownUp) {
    const QImage once = png_picture(exported(dir_, separators_, {"--export", "-", "--format", "png"}));
    const QImage twice = png_picture(exported(dir_, separators_, {"--export", "-", "--format", "png", "--scale", "2"}));
    ASSERT_EQ(twice.size(), QSize(2098, 498));
    EXPECT_NEAR(title_rows(twice, 40), 2 * title_rows(once, 20), 2);
    int mixed = 0;
    for (int y = 0; y < 40; y += 2) {
        for (int x = 0; x < twice.width(); x += 2) {
            const QRgb c = twice.pixel(x, y);
            mixed += twice.pixel(x + 1, y) != c || twice.pixel(x, y + 1) != c || twice.pixel(x + 1, y + 1) != c;
        }
    }
    EXPECT_GT(mixed, 100);
}

TEST_F(Export, AtScale1TheBytesAreThoseWithoutScale) {
    const std::string plain = exported(dir_, separators_, {"--export", "-", "--format", "jpeg", "--year", "2005"});
    EXPECT_FALSE(plain.empty());
    EXPECT_TRUE(plain == exported(dir_, separators_,
                                  {"--export", "-", "--format", "jpeg", "--year", "2005", "--scale", "1.000"}));
}

TEST_F(Export, NamesTheLineAFailureIsOn) {
    std::ofstream(dir_ / "log.csv", std::ios::binary) << "01-Jan-2005,1,2,\r\n02-Jan-2005,12x,2,\r\n";
    std::ostringstream out, err;
    EXPECT_EQ(export_chart(parse_command_line({"loglezer", "log.csv", "--export", "a.png"}),
                           {dir_, std::nullopt, separators_, out, err}),
              1);
    EXPECT_EQ(err.str(), "loglezer: log.csv:2: '12x' is not a valid floating point value\n");
}

// The picture of the current billing period, made without a display: a
// JPEG of the asked size with the limit's red line across the plot.
TEST_F(Export, TheAllowancePictureIsAJpegOfTheAskedSizeWithTheLimitAcrossIt) {
    std::ofstream(dir_ / "log.ini", std::ios::app) << "[allowance]\nlimit=20 GB\nstart_day=14\n";
    std::ofstream(dir_ / "log.csv", std::ios::binary) << log_of(days_from(2005, 3, 1, 20));
    ASSERT_EQ(run_loglezer({"--export", "bundel.jpg", "--allowance", "--size", "800x300"}), 0);
    const std::string jpeg = bytes_of(dir_ / "bundel.jpg");
    ASSERT_GT(jpeg.size(), 3u);
    EXPECT_EQ(jpeg.substr(0, 3), "\xFF\xD8\xFF");
    const QImage picture =
        QImage::fromData(reinterpret_cast<const uchar*>(jpeg.data()), static_cast<int>(jpeg.size()), "JPEG");
    ASSERT_EQ(picture.size(), QSize(800, 300));
    int reddest_row = 0;
    for (int y = 0; y < picture.height(); ++y) {
        int red = 0;
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            // Well redder than grey, whichever rows of the JPEG's 2 x 2 colour blocks the line falls on.
            red += c.red() - c.green() > 80 && c.red() - c.blue() > 80 ? 1 : 0;
        }
        reddest_row = std::max(reddest_row, red);
    }
    EXPECT_GT(reddest_row, picture.width() * 3 / 4);
}

TEST_F(Export, TheAllowancePictureWithoutALimitSaysHowToSetOne) {
    std::ofstream(dir_ / "log.csv", std::ios::binary) << log_of(days_from(2005, 3, 1, 20));
    std::ostringstream out, err;
    EXPECT_EQ(export_chart(parse_command_line({"loglezer", "--export", "a.png", "--allowance"}),
                           {dir_, std::nullopt, separators_, out, err}),
              1);
    EXPECT_EQ(err.str(),
              "loglezer: --allowance needs a limit: set limit= in the section [allowance] of log.ini (looked in "
              "log.ini)\n");
    EXPECT_FALSE(fs::exists(dir_ / "a.png"));
}

// What --export finds at the picture's name: it writes into a named pipe or
// a character device, replaces a regular file (also through a link), and
// refuses anything else; nothing but a regular file is ever replaced.
struct Target {
    const char* name;
    const char* file;  // given to --export, in the working directory
    // Makes what is at "picture.png", and sets `fd` to a descriptor the
    // test keeps open until the end (and reads the picture from).
    void (*make)(const fs::path& dir, int& fd);
    int status;
    const char* err;        // "{dir}" stands for the working directory
    bool read = false;      // the picture arrives at the descriptor
    bool replaced = false;  // a link's regular target is replaced whole
};

void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }

// A reader on a named pipe, with room for the whole picture, so that the
// export never waits for it.
int reader_of(const fs::path& fifo) {
    if (::mkfifo(fifo.c_str(), 0600) != 0) return -1;
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ::fcntl(fd, F_SETPIPE_SZ, 1 << 20);
    return fd;
}

void make_fifo(const fs::path& dir, int& fd) { fd = reader_of(dir / "picture.png"); }

void make_link_to_fifo(const fs::path& dir, int& fd) {
    fs::create_symlink("pipe", dir / "picture.png");
    fd = reader_of(dir / "pipe");
}

// The null device, made where the test may write, or a skip.
void make_link_to_device(const fs::path& dir, int&) {
    const fs::path device = dir / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0600, ::makedev(1, 3)) != 0) {
        GTEST_SKIP() << "mknod: " << std::strerror(errno);
    }
    const int fd = ::open(device.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) GTEST_SKIP() << "the temporary folder allows no devices: " << std::strerror(errno);
    ::close(fd);
    fs::create_symlink("null", dir / "picture.png");
}

void make_folder(const fs::path& dir, int&) { fs::create_directory(dir / "picture.png"); }

void make_socket(const fs::path& dir, int& fd) {
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (dir / "picture.png").c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
}

void make_link_to_file(const fs::path& dir, int&) {
    std::ofstream(dir / "real.png") << "oud";
    fs::create_symlink("real.png", dir / "picture.png");
}

void make_nothing(const fs::path&, int&) {}

const Target kTargets[] = {
    {"fifo_with_a_reader", "picture.png", make_fifo, 0, "", true},
    {"link_to_a_fifo", "picture.png", make_link_to_fifo, 0, "", true},
    {"link_to_a_character_device", "picture.png", make_link_to_device, 0, ""},
    {"folder", "picture.png", make_folder, 1, "loglezer: Cannot create file \"{dir}/picture.png\". Is a directory\n"},
    {"socket", "picture.png", make_socket, 1,
     "loglezer: Cannot create file \"{dir}/picture.png\". Not a regular file, a FIFO or a character device\n"},
    {"link_to_a_regular_file", "picture.png", make_link_to_file, 0, "", false, true},
    {"through_a_missing_folder", "nodir/../picture.png", make_nothing, 1,
     "loglezer: Cannot create file \"{dir}/picture.png\". The directory \"{dir}/nodir\" does not exist\n"},
};

// The kind and the inode of a file, and of what a link names; zero where
// there is nothing.
std::pair<std::pair<mode_t, ino_t>, std::pair<mode_t, ino_t>> identity(const fs::path& path) {
    struct stat own {};
    struct stat target {};
    const bool has_own = ::lstat(path.c_str(), &own) == 0;
    const bool has_target = ::stat(path.c_str(), &target) == 0;
    return {{has_own ? own.st_mode & S_IFMT : 0, has_own ? own.st_ino : 0},
            {has_target ? target.st_mode & S_IFMT : 0, has_target ? target.st_ino : 0}};
}

std::string all_of(int fd) {
    std::string out;
    char buffer[65536];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(got));
    return out;
}

class ExportTo : public Export, public ::testing::WithParamInterface<Target> {};

TEST_P(ExportTo, WritesInPlaceReplacesOrRefusesAndKeepsTheFile) {
    const Target& t = GetParam();
    std::ofstream(dir_ / "log.csv", std::ios::binary) << log_of(days_from(2005, 3, 1, 40));
    int fd = -1;
    t.make(dir_, fd);
    if (IsSkipped()) return;
    const auto before = identity(dir_ / "picture.png");

    const ChildResult result =
        run_child({{LOGLEZER_EXE, "--export", t.file}, dir_, false, {{"LC_ALL", "C"}}, std::nullopt}, dir_);
    const std::string picture = t.read ? all_of(fd) : "";
    if (fd >= 0) ::close(fd);

    EXPECT_EQ(result.status, t.status);
    EXPECT_EQ(result.err, with_dir(t.err, dir_));
    const auto after = identity(dir_ / "picture.png");
    EXPECT_EQ(after.first, before.first) << "the name itself";
    if (t.replaced) {
        EXPECT_EQ(after.second.first, S_IFREG);
        EXPECT_EQ(text_of_file(dir_ / "real.png").substr(0, 4), "\x89PNG");
    } else {
        EXPECT_EQ(after.second, before.second) << "what the name leads to";
    }
    if (t.read) {
        EXPECT_EQ(picture.substr(0, 4), "\x89PNG");
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, ExportTo, ::testing::ValuesIn(kTargets),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

}  // namespace
