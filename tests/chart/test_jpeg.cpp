#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "chart/chart_panel.h"
#include "chart/jpeg.h"
#include "jpeg_reader.h"
#include "log/failure.h"

namespace loglezer {
namespace {

using testing::decode_jpeg;
using testing::read_bytes;
using testing::read_segments;
using testing::Segment;

QImage chart_picture() {
    ChartPanel panel("Download per maand 2005");
    const char* months[] = {"Januari", "Februari", "Maart",     "April",   "Mei",      "Juni",
                            "Juli",    "Augustus", "September", "Oktober", "November", "December"};
    for (int i = 0; i < 12; ++i) panel.model().add_point(1.5 * i + 0.25, months[i]);
    return panel.render(1049, 249);
}

QImage noise_picture(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB888);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < width * 3; ++x) line[x] = static_cast<uchar>(random.bounded(256));
    }
    return image;
}

// What cjpeg makes of the same pixels, given as a binary PPM.
std::vector<unsigned char> cjpeg_of(const QImage& picture) {
    QTemporaryDir dir;
    const QString ppm = dir.filePath("in.ppm");
    const QString jpg = dir.filePath("out.jpg");
    QFile file(ppm);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(QStringLiteral("P6\n%1 %2\n255\n").arg(picture.width()).arg(picture.height()).toLatin1());
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        file.write(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    file.close();
    QProcess cjpeg;
    cjpeg.start(QStringLiteral(LOGLEZER_CJPEG), {"-quality", "90", "-dct", "float", "-outfile", jpg, ppm});
    if (!cjpeg.waitForFinished(30000) || cjpeg.exitCode() != 0) return {};
    return read_bytes(jpg);
}

struct Picture {
    const char* name;
    QImage (*make)();
};

void PrintTo(const Picture& c, std::ostream* os) { *os << c.name; }

class SameAsCjpeg : public ::testing::TestWithParam<Picture> {};

TEST_P(SameAsCjpeg, ByteForByte) {
    ASSERT_TRUE(QFile::exists(QStringLiteral(LOGLEZER_CJPEG)))
        << "cjpeg (package libjpeg-turbo-progs) is needed to check the encoder";
    const QImage picture = GetParam().make();
    const std::vector<unsigned char> expected = cjpeg_of(picture);
    ASSERT_FALSE(expected.empty()) << "cjpeg failed";
    const std::vector<unsigned char> ours = encode_jpeg(picture);
    EXPECT_EQ(ours.size(), expected.size());
    EXPECT_TRUE(ours == expected);
}

INSTANTIATE_TEST_SUITE_P(Pictures, SameAsCjpeg,
                         ::testing::Values(Picture{"Chart", chart_picture},
                                           Picture{"NoiseOddSize", [] { return noise_picture(17, 9, 7); }},
                                           Picture{"Noise1049x249", [] { return noise_picture(1049, 249, 11); }},
                                           Picture{"OnePixel", [] { return noise_picture(1, 1, 3); }}),
                         [](const ::testing::TestParamInfo<Picture>& case_info) {
                             return std::string(case_info.param.name);
                         });

TEST(Jpeg, Markers) {
    const std::vector<Segment> segments = read_segments(encode_jpeg(chart_picture()));
    ASSERT_GE(segments.size(), 3u);
    EXPECT_EQ(segments[0].marker, 0xD8);  // SOI
    // APP0 JFIF 1.01, no unit, density 1 x 1, no thumbnail.
    ASSERT_EQ(segments[1].marker, 0xE0);
    const std::vector<unsigned char> jfif = {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
    EXPECT_EQ(segments[1].data, jfif);
    bool seen_sof0 = false;
    for (const Segment& s : segments) {
        EXPECT_NE(s.marker, 0xDD) << "restart interval";
        EXPECT_NE(s.marker, 0xFE) << "comment";
        // Only baseline: no extended, progressive, lossless or arithmetic frames.
        if (s.marker >= 0xC1 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8 && s.marker != 0xCC) {
            ADD_FAILURE() << "frame marker " << std::hex << int{s.marker};
        }
        EXPECT_FALSE(s.marker == 0xE0 && &s != &segments[1]) << "second APP0";
        if (s.marker == 0xC0) {
            seen_sof0 = true;
            const std::vector<unsigned char> sof = {8, 0, 249, 0x04, 0x19, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
            EXPECT_EQ(s.data, sof);
        }
    }
    EXPECT_TRUE(seen_sof0);
    EXPECT_EQ(segments.back().marker, 0xDA);
}

TEST(Jpeg, DecodesToThePictureSize) {
    const QImage back = decode_jpeg(encode_jpeg(chart_picture()));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(1049, 249));
}

TEST(Jpeg, OtherPixelFormatsAreTakenAsTheirRgb) {
    const QImage rgb = noise_picture(33, 20, 5);
    EXPECT_TRUE(encode_jpeg(rgb.convertToFormat(QImage::Format_ARGB32)) == encode_jpeg(rgb));
    EXPECT_TRUE(encode_jpeg(rgb.convertToFormat(QImage::Format_RGB32)) == encode_jpeg(rgb));
}

TEST(Jpeg, EncoderErrorBecomesAFailure) {
    // libjpeg refuses an empty picture; the program must not end.
    try {
        encode_jpeg(QImage());
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "Empty JPEG image (DNL not supported)");
    }
    try {
        encode_jpeg(QImage(70000, 1, QImage::Format_RGB888));
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "Maximum supported image dimension is 65500 pixels");
    }
    // And the encoder still works afterwards.
    EXPECT_FALSE(encode_jpeg(noise_picture(8, 8, 1)).empty());
}

}  // namespace
}  // namespace loglezer
