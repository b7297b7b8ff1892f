#include "chart/export.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "chart/chart_panel.h"
#include "chart/jpeg.h"
#include "log/failure.h"
#include "log/log_file.h"

namespace loglezer {

SaveDialog real_save_dialog() {
    return [](QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent);
        dialog.setWindowTitle(QStringLiteral("Opslaan"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDirectory(QDir::currentPath());
        // One filter: its description names every JPEG extension, but only
        // *.jpg is listed. The pattern part is not shown after it.
        dialog.setNameFilter(QStringLiteral("JPEG (*.JPG;*.JPEG;*.JPE;*.JFIF) (*.jpg)"));
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(QStringLiteral("jpg"));
        // Qt's own dialog under every platform theme: a GTK or portal dialog
        // would speak the desktop's language, not the window's Dutch.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setWindowModality(Qt::WindowModal);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty()) return std::nullopt;
        return files.first();
    };
}

namespace {

// The full path of a file as its failures name it.
std::string full_name(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdString();
}

[[noreturn]] void fail(const char* doing, const QString& path, const std::string& reason) {
    throw Failure(std::string("Cannot ") + doing + " file \"" + full_name(path) + "\". " + reason);
}

}  // namespace

void refuse_log_file(const QString& path, const std::filesystem::path& log_file) {
    // The save file follows symbolic links and replaces their target, as
    // stat() does: the file compared is the file that would be replaced.
    const QString full = QFileInfo(path).absoluteFilePath();
    if (!log_file.empty() && same_file(QFile::encodeName(full).toStdString(), log_file)) {
        fail("create", full, "This is the log file");
    }
}

std::vector<unsigned char> encode_png(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) throw Failure("Cannot encode the picture as PNG");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

namespace {

// Replaces the file (or a symbolic link's target) whole: through a temporary
// file in the same folder, renamed over it only when complete.
void replace_whole(const QString& path, const std::vector<unsigned char>& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail("create", path, file.errorString().toStdString());
    }
    // A short write is followed by another, so that a failing one reports
    // the system's reason.
    const char* data = reinterpret_cast<const char*>(bytes.data());
    qint64 left = static_cast<qint64>(bytes.size());
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            const std::string reason = file.errorString().toStdString();
            file.cancelWriting();
            fail("write", path, reason);
        }
        data += written;
        left -= written;
    }
    if (!file.commit()) fail("write", path, file.errorString().toStdString());
}

// While it lives, a write into a pipe whose reader has gone fails with
// EPIPE instead of ending the program with SIGPIPE.
class PipeSignalHeld {
public:
    PipeSignalHeld() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
    }
    ~PipeSignalHeld() {
        // Taken here, the signal a failed write raised is never delivered.
        const timespec none{};
        while (sigtimedwait(&pipe_, nullptr, &none) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;

private:
    sigset_t pipe_{};
    sigset_t saved_{};
};

bool is_stream(mode_t mode) { return S_ISFIFO(mode) || S_ISCHR(mode); }

// Writes all of `bytes`; returns 0, or the errno of the write that failed.
int write_all(int fd, const std::vector<unsigned char>& bytes) {
    const PipeSignalHeld held;
    const char* data = reinterpret_cast<const char*>(bytes.data());
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Writes into a named pipe or a character device as a shell redirection
// does: opened for writing, never created, truncated or renamed over.
void write_in_place(const QString& path, const std::vector<unsigned char>& bytes) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) fail("create", path, std::strerror(errno));
    struct stat st {};
    // What was opened is what was looked at, not a file put there since.
    if (::fstat(fd, &st) != 0 || !is_stream(st.st_mode)) {
        ::close(fd);
        fail("create", path, "The file changed while it was opened");
    }
    const int error = write_all(fd, bytes);
    ::close(fd);
    if (error != 0) fail("write", path, std::strerror(error));
}

// The first folder on the way to `path` that does not exist, or nothing.
std::optional<QString> first_missing_folder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    for (qsizetype end = name.indexOf('/', 1); end > 0; end = name.indexOf('/', end + 1)) {
        struct stat st {};
        if (::stat(name.left(end).constData(), &st) == 0) continue;
        if (errno == ENOENT) return QFile::decodeName(name.left(end));
        break;
    }
    return std::nullopt;
}

}  // namespace

void write_file_whole(const QString& path, const std::vector<unsigned char>& bytes) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        const int error = errno;
        if (error != ENOENT) fail("create", path, std::strerror(error));
        if (const auto folder = first_missing_folder(path)) {
            fail("create", path,
                 "The directory \"" + QDir::toNativeSeparators(*folder).toStdString() + "\" does not exist");
        }
        replace_whole(path, bytes);
    } else if (S_ISREG(st.st_mode)) {
        replace_whole(path, bytes);
    } else if (is_stream(st.st_mode)) {
        write_in_place(path, bytes);
    } else {
        // Nothing is renamed over a folder, a socket or a block device.
        fail("create", path,
             S_ISDIR(st.st_mode) ? "Is a directory" : "Not a regular file, a FIFO or a character device");
    }
}

void save_chart(const ChartPanel& panel, QWidget* parent, const SaveDialog& dialog,
                const std::filesystem::path& log_file) {
    // The picture shows the panel as it is at the click.
    const QImage picture = panel.render(kPictureWidth, kPictureHeight);
    const std::optional<QString> chosen = dialog(parent);
    if (!chosen) return;
    const QFileInfo target(*chosen);
    QDir::setCurrent(target.absolutePath());
    refuse_log_file(target.absoluteFilePath(), log_file);
    // Encode in memory first, so a failing encoder leaves no file behind.
    write_file_whole(target.absoluteFilePath(), encode_jpeg(picture));
}

}  // namespace loglezer
