#include "chart/export.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <string_view>

#include "chart/chart_panel.h"
#include "chart/jpeg.h"
#include "chart/latin1.h"
#include "log/failure.h"
#include "log/files.h"
#include "log/log_file.h"

namespace loglezer {

SaveDialog real_save_dialog() {
    return [](QWidget* parent, const QString& suggested_name) -> std::optional<QString> {
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
        dialog.selectFile(suggested_name);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty()) return std::nullopt;
        return files.first();
    };
}

namespace {

// The path as the system takes it.
std::filesystem::path system_path(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

void refuse_log_file(const QString& path, const std::filesystem::path& log_file) {
    // The save file follows symbolic links and replaces their target, as
    // stat() does: the file compared is the file that would be replaced.
    const QString full = QFileInfo(path).absoluteFilePath();
    if (!log_file.empty() && same_file(system_path(full), log_file))
        fail_create(system_path(full), "This is the log file");
}

std::vector<unsigned char> encode_png(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) throw Failure("Cannot encode the picture as PNG");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

void write_file_whole(const QString& path, const std::vector<unsigned char>& bytes) {
    write_file(system_path(path), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void save_chart(const ChartPanel& panel, QWidget* parent, const SaveDialog& dialog,
                const std::filesystem::path& log_file) {
    // The picture shows the panel as it is at the click.
    const QImage picture = panel.render(kPictureWidth, kPictureHeight);
    const std::optional<QString> chosen = dialog(parent, from_log_text(picture_file_name(panel.model())));
    if (!chosen) return;
    const QFileInfo target(*chosen);
    QDir::setCurrent(target.absolutePath());
    refuse_log_file(target.absoluteFilePath(), log_file);
    // Encode in memory first, so a failing encoder leaves no file behind.
    write_file_whole(target.absoluteFilePath(), encode_jpeg(picture));
}

}  // namespace loglezer
