#pragma once

#include <QImage>
#include <vector>

namespace loglezer {

// Encodes `picture` as a baseline JFIF file in memory: JFIF 1.01, no density
// unit, density 1 x 1, YCbCr 4:2:0, quality 90, standard Huffman tables,
// floating-point DCT, no restart markers, no comment. An encoder error throws
// Failure with libjpeg's message.
std::vector<unsigned char> encode_jpeg(const QImage& picture);

}  // namespace loglezer
