#pragma once

#include <QByteArray>
#include <QImage>
#include <string>
#include <vector>

namespace loglezer::testing {

// Decodes a JPEG file's bytes with libjpeg; a null image when they are not
// a JPEG file.
QImage decode_jpeg(const std::vector<unsigned char>& bytes);

// One marker segment of a JPEG file, up to the start of the scan.
struct Segment {
    unsigned char marker;             // the byte after 0xFF
    std::vector<unsigned char> data;  // the segment's payload, without its length
};
// The segments from SOI to SOS (both included); empty when the file does
// not start with SOI or a segment runs past the end.
std::vector<Segment> read_segments(const std::vector<unsigned char>& bytes);

std::vector<unsigned char> read_bytes(const QString& path);

}  // namespace loglezer::testing
