#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "chart/chart_panel.h"
#include "chart/export.h"
#include "chart/jpeg.h"
#include "jpeg_reader.h"
#include "log/failure.h"

namespace loglezer {
namespace {

using testing::decode_jpeg;
using testing::read_bytes;

// Keeps the current directory of the process as it was.
class KeepCurrentDir {
public:
    KeepCurrentDir() : saved_(QDir::currentPath()) {}
    ~KeepCurrentDir() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};

SaveDialog answer(std::optional<QString> path, int* calls = nullptr) {
    return [path, calls](QWidget*, const QString&) {
        if (calls) ++*calls;
        return path;
    };
}

void write_text(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray read_text(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

class Save : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        panel.resize(1049, 250);
        for (int i = 0; i < 12; ++i) panel.model().add_point(i * 3.25, "m" + std::to_string(i));
    }
    KeepCurrentDir keep;
    QTemporaryDir dir;
    ChartPanel panel{"Upload"};
};

TEST_F(Save, WritesA1049x249JpegOfThePanel) {
    const QString path = dir.filePath("grafiek.jpg");
    save_chart(panel, nullptr, answer(path));
    const std::vector<unsigned char> bytes = read_bytes(path);
    EXPECT_TRUE(bytes == encode_jpeg(panel.render(1049, 249)));
    const QImage back = decode_jpeg(bytes);
    EXPECT_EQ(back.size(), QSize(1049, 249));
    // no temporary file left beside it
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"grafiek.jpg"});
}

// Under -reverse the application lays out right to left; the chart on
// screen still reads "3.25 GB", not "GB 3.25", as its saved picture does.
TEST_F(Save, TheChartReadsLeftToRightInAMirroredApplication) {
    const QImage left_to_right = panel.grab().toImage();
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    const QImage mirrored = panel.grab().toImage();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    EXPECT_TRUE(mirrored == left_to_right);
}

TEST_F(Save, TwoSavesOfAnUnchangedPanelAreIdentical) {
    save_chart(panel, nullptr, answer(dir.filePath("a.jpg")));
    save_chart(panel, nullptr, answer(dir.filePath("b.jpg")));
    EXPECT_FALSE(read_bytes(dir.filePath("a.jpg")).empty());
    EXPECT_TRUE(read_bytes(dir.filePath("a.jpg")) == read_bytes(dir.filePath("b.jpg")));
}

TEST_F(Save, CancelWritesNothingAndKeepsTheCurrentDirectory) {
    const QString before = QDir::currentPath();
    int calls = 0;
    save_chart(panel, nullptr, answer(std::nullopt, &calls));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(Save, TheNameIsUsedAsTheDialogReturnsIt) {
    // The dialog adds ".jpg" to a bare name; whatever it returns is the file.
    for (const char* name : {"zonder", "plaatje.png", "x.JPEG"}) {
        const QString path = dir.filePath(name);
        save_chart(panel, nullptr, answer(path));
        EXPECT_EQ(decode_jpeg(read_bytes(path)).size(), QSize(1049, 249)) << name;
    }
}

TEST_F(Save, ReplacesAnExistingFile) {
    const QString path = dir.filePath("oud.jpg");
    write_text(path, "oude inhoud");
    save_chart(panel, nullptr, answer(path));
    EXPECT_EQ(decode_jpeg(read_bytes(path)).size(), QSize(1049, 249));
}

TEST_F(Save, ConfirmingMakesTheFilesFolderCurrent) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    const QString folder = QDir(dir.filePath("sub")).canonicalPath();
    save_chart(panel, nullptr, answer(folder + "/c.jpg"));
    EXPECT_EQ(QDir(QDir::currentPath()).canonicalPath(), folder);
    // A relative name is taken in the current directory.
    save_chart(panel, nullptr, answer("d.jpg"));
    EXPECT_TRUE(QFile::exists(folder + "/d.jpg"));
}

struct Unwritable {
    const char* name;
    const char* relative;  // under the temporary folder
    const char* reason;    // "{dir}" stands for the temporary folder
};

void PrintTo(const Unwritable& u, std::ostream* os) { *os << u.name; }

class CannotCreate : public Save, public ::testing::WithParamInterface<Unwritable> {};

TEST_P(CannotCreate, FailsWithTheFullPathAndTheReason) {
    write_text(dir.filePath("gewoon-bestand"), "x");
    const QString path = dir.filePath(GetParam().relative);
    try {
        save_chart(panel, nullptr, answer(path));
        FAIL() << "no failure";
    } catch (const Failure& f) {
        QString reason = QString::fromUtf8(GetParam().reason).replace("{dir}", dir.path());
        EXPECT_EQ(std::string(f.what()), "Cannot create file \"" + path.toStdString() + "\". " + reason.toStdString());
    }
    if (*GetParam().relative) {
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"gewoon-bestand"});
}

INSTANTIATE_TEST_SUITE_P(Targets, CannotCreate,
                         ::testing::Values(Unwritable{"MissingFolder", "bestaat-niet/grafiek.jpg",
                                                      "The directory \"{dir}/bestaat-niet\" does not exist"},
                                           Unwritable{"ParentIsAFile", "gewoon-bestand/grafiek.jpg", "Not a directory"},
                                           Unwritable{"NameIsAFolder", "", "Is a directory"}),
                         [](const auto& case_info) { return std::string(case_info.param.name); });

// Waits until `condition` holds, looking every millisecond, for at most
// `limit`: whether it came to hold. For a state no signal announces.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A file-size limit makes the writing fail part-way, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit saved_{};
    void (*old_handler_)(int) = nullptr;
};

TEST_F(Save, AFailedWriteLeavesTheExistingFileAsItWas) {
    const QString path = dir.filePath("bewaard.jpg");
    write_text(path, "oude inhoud");
    {
        const FileSizeLimit limit(1000);
        EXPECT_THROW(save_chart(panel, nullptr, answer(path)), Failure);
    }
    EXPECT_EQ(read_text(path), "oude inhoud");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"bewaard.jpg"});
}

TEST_F(Save, AFailedWriteOfANewFileLeavesNoFile) {
    const QString path = dir.filePath("nieuw.jpg");
    {
        const FileSizeLimit limit(1000);
        try {
            save_chart(panel, nullptr, answer(path));
            FAIL() << "no failure";
        } catch (const Failure& f) {
            // the file and the system's reason for the failed write
            EXPECT_EQ(std::string(f.what()), "Cannot write file \"" + path.toStdString() + "\". File too large");
        }
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// A named pipe is written into, as a shell redirection would, and stays.
TEST_F(Save, WritesIntoANamedPipeAndKeepsIt) {
    const QString path = dir.filePath("pijp.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    // A reader with room for the whole picture, so that the save never waits.
    const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETPIPE_SZ, 1 << 20);
    save_chart(panel, nullptr, answer(path));
    std::vector<unsigned char> got(1 << 20);
    const ssize_t size = ::read(reader, got.data(), got.size());
    ::close(reader);
    got.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    EXPECT_TRUE(got == encode_jpeg(panel.render(1049, 249)));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_TRUE(S_ISFIFO(after.st_mode));
    EXPECT_EQ(after.st_ino, before.st_ino);
}

// A reader that goes away part-way fails the save; the program goes on.
TEST_F(Save, AReaderThatGoesAwayFailsTheSave) {
    const QString path = dir.filePath("pijp.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    // One page of room: the save fills it and waits, then the reader closes.
    const int reader = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    const int room = ::fcntl(reader, F_SETPIPE_SZ, 4096);
    bool filled = false;
    std::thread closer([reader, room, &filled] {
        filled = wait_until([&] {
            int queued = 0;
            return ::ioctl(reader, FIONREAD, &queued) == 0 && queued >= room;
        });
        ::close(reader);
    });
    try {
        save_chart(panel, nullptr, answer(path));
        ADD_FAILURE() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "Cannot write file \"" + path.toStdString() + "\". Broken pipe");
    }
    closer.join();
    EXPECT_TRUE(filled) << "the save never filled the pipe";
}

TEST_F(Save, ThePictureIsTakenBeforeTheDialogOpens) {
    const QString path = dir.filePath("toen.jpg");
    const std::vector<unsigned char> before = encode_jpeg(panel.render(1049, 249));
    save_chart(panel, nullptr, [&](QWidget*, const QString&) -> std::optional<QString> {
        panel.model().clear_points();  // the panel changes while the dialog is open
        return path;
    });
    EXPECT_TRUE(read_bytes(path) == before);
}

// Answers the modal windows a test opens, each once it is shown, as a user
// would, from timers that look for it while it runs. A window that never
// comes or is never closed fails the test instead of hanging it: at the
// deadline every modal window is closed, and an answer never given is
// reported when the answers go.
class Answers {
public:
    Answers() {
        deadline_.setSingleShot(true);
        QObject::connect(&deadline_, &QTimer::timeout, [] {
            ADD_FAILURE() << "a dialog was still open at the deadline";
            for (int i = 0; i < 10 && QApplication::activeModalWidget(); ++i) {
                QWidget* modal = QApplication::activeModalWidget();
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->reject();
                } else {
                    modal->close();
                }
            }
        });
        deadline_.start(std::chrono::seconds(20));
    }
    ~Answers() {
        for (const auto& look : looks_) EXPECT_FALSE(look->isActive()) << "a dialog the test answers never came";
    }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;

    // Calls act(window) once a visible Window is the active modal window.
    template <class Window>
    void when_shown(std::function<void(Window*)> act) {
        looks_.push_back(std::make_unique<QTimer>());
        QTimer* look = looks_.back().get();
        QObject::connect(look, &QTimer::timeout, [look, act] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible()) return;
            look->stop();
            act(window);
        });
        look->start(10);
    }

private:
    QTimer deadline_;
    std::vector<std::unique_ptr<QTimer>> looks_;
};

// Saves through the real dialog, answered as a user would.
class RealDialog : public Save {
protected:
    Answers answers;
};

TEST_F(RealDialog, IsSetUpAndAddsTheExtension) {
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    bool checked = false;
    answers.when_shown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Opslaan");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(dialog->nameFilters(), QStringList{"JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF) (*.jpg)"});
        // What the user sees of the one filter: its description alone.
        EXPECT_EQ(dialog->selectedNameFilter(), "JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF)");
        EXPECT_EQ(dialog->defaultSuffix(), "jpg");
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
        // Qt's own, translated, whatever the platform theme.
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        EXPECT_NE(name, nullptr);
        checked = true;
        if (!name) return dialog->reject();
        EXPECT_EQ(name->text(), "upload.jpg") << "the name after the chart's title";
        // typed as a user would, then Return
        name->clear();
        QTest::keyClicks(name, "grafiek");
        QTest::keyClick(name, Qt::Key_Return);
    });
    save_chart(panel, nullptr, real_save_dialog());
    EXPECT_TRUE(checked);
    EXPECT_EQ(decode_jpeg(read_bytes(dir.filePath("grafiek.jpg"))).size(), QSize(1049, 249));
}

TEST_F(RealDialog, ListsOnlyJpgFiles) {
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    for (const char* name : {"a.jpg", "b.jpeg", "c.jpe", "d.jfif", "e.JPG", "f.txt"})
        write_text(dir.filePath(name), "x");
    const QStringList expected{"a.jpg", "e.JPG"};
    QStringList listed;
    answers.when_shown<QFileDialog>([&](QFileDialog* dialog) {
        auto* view = dialog->findChild<QAbstractItemView*>("listView");
        ASSERT_NE(view, nullptr);
        // The folder is read in the background, its few files in one go:
        // wait until the list holds as many as it should.
        const auto rows = [view] { return view->model()->rowCount(view->rootIndex()); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return rows() >= expected.size(); }, 10000)) << "the folder was not listed";
        for (int r = 0; r < rows(); ++r) {
            listed << view->model()->index(r, 0, view->rootIndex()).data().toString();
        }
        dialog->reject();
    });
    save_chart(panel, nullptr, real_save_dialog());
    // The pattern matches without regard to letter case, as file names do
    // where the log's program runs; the other JPEG extensions are not listed.
    listed.sort();
    EXPECT_EQ(listed, expected);
}

TEST_F(RealDialog, Cancelled) {
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    answers.when_shown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    save_chart(panel, nullptr, real_save_dialog());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(RealDialog, AsksBeforeReplacing) {
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    write_text(dir.filePath("oud.jpg"), "oude inhoud");
    bool asked = false;
    answers.when_shown<QFileDialog>([&](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText("oud.jpg");
        // The question comes up inside accept(); answer it No, then cancel.
        answers.when_shown<QMessageBox>([&asked](QMessageBox* box) {
            asked = true;
            ASSERT_NE(box->button(QMessageBox::No), nullptr);
            box->button(QMessageBox::No)->click();
        });
        QTest::keyClick(name, Qt::Key_Return);
        dialog->reject();
    });
    save_chart(panel, nullptr, real_save_dialog());
    EXPECT_TRUE(asked);
    EXPECT_EQ(read_text(dir.filePath("oud.jpg")), "oude inhoud");
}

}  // namespace
}  // namespace loglezer
