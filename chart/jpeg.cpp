#include "chart/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

// jpeglib.h wants size_t and FILE declared before it.
#include <jpeglib.h>

#include "log/failure.h"

namespace loglezer {

namespace {

// libjpeg's error manager with a way back: error_exit jumps to the encoder
// instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void error_exit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->back, 1);
}

// The whole libjpeg conversation. Nothing in this frame has a destructor, so
// the jump from error_exit skips none. Returns false with `err->message`
// set on failure; on success *out holds malloc'd bytes the caller frees.
bool encode_raw(const QImage& rgb, ErrorManager* err, unsigned char** out, unsigned long* size) {
    jpeg_compress_struct c;
    c.err = jpeg_std_error(&err->pub);
    err->pub.error_exit = error_exit;
    err->message[0] = '\0';
    if (setjmp(err->back)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, out, size);

    c.image_width = static_cast<JDIMENSION>(rgb.width());
    c.image_height = static_cast<JDIMENSION>(rgb.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    c.dct_method = JDCT_FLOAT;
    c.optimize_coding = FALSE;
    c.arith_code = FALSE;
    c.restart_interval = 0;
    c.restart_in_rows = 0;
    c.write_JFIF_header = TRUE;
    c.JFIF_major_version = 1;
    c.JFIF_minor_version = 1;
    c.density_unit = 0;
    c.X_density = 1;
    c.Y_density = 1;
    c.comp_info[0].h_samp_factor = 2;
    c.comp_info[0].v_samp_factor = 2;
    c.comp_info[1].h_samp_factor = 1;
    c.comp_info[1].v_samp_factor = 1;
    c.comp_info[2].h_samp_factor = 1;
    c.comp_info[2].v_samp_factor = 1;

    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        // Each scanline from its own start: QImage pads lines to 4 bytes.
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}

}  // namespace

std::vector<unsigned char> encode_jpeg(const QImage& picture) {
    const QImage rgb =
        picture.format() == QImage::Format_RGB888 ? picture : picture.convertToFormat(QImage::Format_RGB888);
    ErrorManager err;
    unsigned char* data = nullptr;
    unsigned long size = 0;
    const bool ok = encode_raw(rgb, &err, &data, &size);
    std::vector<unsigned char> bytes;
    if (ok && data) bytes.assign(data, data + size);
    std::free(data);
    if (!ok) throw Failure(err.message);
    return bytes;
}

}  // namespace loglezer
