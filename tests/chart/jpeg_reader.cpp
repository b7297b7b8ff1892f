#include "jpeg_reader.h"

#include <jpeglib.h>

#include <QFile>
#include <csetjmp>
#include <cstdio>

namespace loglezer::testing {

namespace {

struct ReaderError {
    jpeg_error_mgr pub;
    std::jmp_buf back;
};

extern "C" void reader_error_exit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ReaderError*>(cinfo->err)->back, 1);
}

extern "C" void quiet(j_common_ptr) {}

bool decode_raw(const std::vector<unsigned char>& bytes, QImage* out) {
    jpeg_decompress_struct d;
    ReaderError err;
    d.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = reader_error_exit;
    err.pub.output_message = quiet;
    if (setjmp(err.back)) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    *out = QImage(static_cast<int>(d.output_width), static_cast<int>(d.output_height), QImage::Format_RGB888);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(d.output_scanline));
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return true;
}

}  // namespace

QImage decode_jpeg(const std::vector<unsigned char>& bytes) {
    QImage image;
    if (bytes.empty() || !decode_raw(bytes, &image)) return QImage();
    return image;
}

std::vector<Segment> read_segments(const std::vector<unsigned char>& bytes) {
    std::vector<Segment> segments;
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) return {};
    segments.push_back({0xD8, {}});
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF) return {};
        const unsigned char marker = bytes[at + 1];
        const std::size_t length = (std::size_t{bytes[at + 2]} << 8) | bytes[at + 3];
        if (length < 2 || at + 2 + length > bytes.size()) return {};
        segments.push_back({marker, std::vector<unsigned char>(bytes.begin() + static_cast<long>(at + 4),
                                                               bytes.begin() + static_cast<long>(at + 2 + length))});
        if (marker == 0xDA) return segments;
        at += 2 + length;
    }
    return {};
}

std::vector<unsigned char> read_bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = file.readAll();
    return std::vector<unsigned char>(data.begin(), data.end());
}

}  // namespace loglezer::testing
