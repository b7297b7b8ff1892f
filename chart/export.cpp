#include "chart/export.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

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

void write_file_whole(const QString& path, const std::vector<unsigned char>& bytes) {
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

void save_chart(const ChartPanel& panel, QWidget* parent, const SaveDialog& dialog,
                const std::filesystem::path& log_file) {
    // The picture shows the panel as it is at the click.
    const QImage picture = panel.render(kPictureWidth, kPictureHeight, Qt::white);
    const std::optional<QString> chosen = dialog(parent);
    if (!chosen) return;
    const QFileInfo target(*chosen);
    QDir::setCurrent(target.absolutePath());
    refuse_log_file(target.absoluteFilePath(), log_file);
    // Encode in memory first, so a failing encoder leaves no file behind.
    write_file_whole(target.absoluteFilePath(), encode_jpeg(picture));
}

}  // namespace loglezer
