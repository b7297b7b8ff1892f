#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QImage;
class QWidget;

namespace loglezer {

class ChartPanel;

// Asks the user for the file to save a chart picture in, offering
// `suggested_name` (a file name without a folder): the chosen path, or
// nothing when the user cancels.
using SaveDialog = std::function<std::optional<QString>(QWidget* parent, const QString& suggested_name)>;

// The save dialog: Qt's own (in Dutch once its translation is installed,
// whatever the platform theme), "Opslaan", opening in the current
// directory with the suggested name filled in, one filter listing *.jpg,
// ".jpg" added to a name typed without an extension, and a question before
// an existing file is replaced.
SaveDialog real_save_dialog();

// The size of a saved chart picture.
constexpr int kPictureWidth = 1049;
constexpr int kPictureHeight = 249;

// Saves `panel` as a JPEG file the user chooses in `dialog`: renders the
// panel at 1049 x 249 on white, asks for the file, offering a name after
// the chart's title (picture_file_name), and writes it. A cancel
// writes nothing. The chosen file's folder becomes the current directory.
// A file that cannot be written throws Failure and leaves any file of that
// name as it was. A chosen file that is `log_file` (the same file, also
// through a symbolic or hard link) is refused with
// Failure("Cannot create file \"<full path>\". This is the log file") before
// anything is written; an empty `log_file` protects no file.
void save_chart(const ChartPanel& panel, QWidget* parent, const SaveDialog& dialog,
                const std::filesystem::path& log_file = {});

// Refuses a picture file that is the log: throws
// Failure("Cannot create file \"<full path>\". This is the log file") when
// `path` and `log_file` name one file (also through a symbolic or hard link).
// The metering program keeps appending to the log, and no question about
// replacing a file knows it. An empty `log_file` protects no file.
void refuse_log_file(const QString& path, const std::filesystem::path& log_file);

// Encodes `picture` as a PNG file in memory.
std::vector<unsigned char> encode_png(const QImage& picture);

// Writes `bytes` to `path` as write_file (log/files.h) does: a new or
// regular file replaced whole or not at all, a named pipe or a character
// device written into, anything else refused, each failure a Failure
// naming the full path ("Cannot create file ..." or "Cannot write file ...").
void write_file_whole(const QString& path, const std::vector<unsigned char>& bytes);

}  // namespace loglezer
