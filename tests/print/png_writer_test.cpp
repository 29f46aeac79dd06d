// The PNG files of the receipt pictures, read back chunk by chunk with zlib.
#include "print/png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <map>
#include <stdexcept>

namespace quillon::print {
namespace {

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Chunk type -> data, after checking each chunk's CRC.
std::map<std::string, std::string> Chunks(const std::string& png) {
  std::map<std::string, std::string> chunks;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    const std::uint32_t length = BigEndian(png, at);
    const std::string type = png.substr(at + 4, 4);
    const std::string data = png.substr(at + 8, length);
    const auto* checked = reinterpret_cast<const Bytef*>(png.data() + at + 4);
    EXPECT_EQ(BigEndian(png, at + 8 + length), crc32(0, checked, 4 + length)) << type;
    chunks[type] = data;
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

TEST(PngWriter, OneBitGreyRowsReadBackWithTheirResolution) {
  // 10 x 2: a diagonal pair of black dots and a black last column.
  std::vector<std::uint8_t> black(20, 0);
  black[0] = black[11] = black[9] = black[19] = 1;
  const std::string png = EncodePng(10, 2, black, 203);
  ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  auto chunks = Chunks(png);
  ASSERT_EQ(chunks.size(), 4u);
  EXPECT_EQ(chunks["IHDR"], std::string("\0\0\0\x0a\0\0\0\x02\x01\0\0\0\0", 13));
  EXPECT_EQ(BigEndian(chunks["pHYs"], 0), 7992u);  // 203 dots an inch in dots a metre
  EXPECT_EQ(chunks["pHYs"].back(), 1);
  EXPECT_TRUE(chunks["IEND"].empty());

  std::string rows(2 * 3, '\0');
  uLongf size = rows.size();
  ASSERT_EQ(
      uncompress(reinterpret_cast<Bytef*>(rows.data()), &size,
                 reinterpret_cast<const Bytef*>(chunks["IDAT"].data()), chunks["IDAT"].size()),
      Z_OK);
  ASSERT_EQ(size, rows.size());
  // Filter byte 0, then the dots with 1 for white, padded with white.
  EXPECT_EQ(rows, std::string("\x00\x7f\xbf\x00\xbf\xbf", 6));
}

TEST(PngWriter, APictureWithoutDotsIsRefused) {
  EXPECT_THROW(EncodePng(0, 5, {}, 203), std::runtime_error);
  EXPECT_THROW(EncodePng(4, 4, std::vector<std::uint8_t>(3), 203), std::runtime_error);
}

}  // namespace
}  // namespace quillon::print
