// Decoding received bytes at piece boundaries.
#include "link/wire_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::link {
namespace {

TEST(WireDecoderTest, Utf8CharactersSplitAnywhereComeOutWhole) {
  const std::string text =
      "a\xC3\xB1"
      "b\xE2\x82\xAC"
      "c\xF0\x9F\x8D\x95";  // añb€c🍕
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    WireDecoder decoder(WireEncoding::kUtf8);
    std::u16string joined = decoder.Decode(text.substr(0, cut));
    joined += decoder.Decode(text.substr(cut));
    EXPECT_EQ(joined, u"añb€c🍕") << "corte en " << cut;
  }
}

TEST(WireDecoderTest, InvalidUtf8BecomesReplacementWithoutHoldingTextBack) {
  WireDecoder decoder(WireEncoding::kUtf8);
  EXPECT_EQ(decoder.Decode("x\x80\x80\x80"), u"x\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(decoder.Decode("\xFF"), u"\uFFFD");
  EXPECT_EQ(decoder.Decode("\xE2\x82"), u"");        // waits for its last byte
  const std::u16string after = decoder.Decode("z");  // which never came
  EXPECT_EQ(after.front(), u'\uFFFD');
  EXPECT_EQ(after.back(), u'z');
}

TEST(WireDecoderTest, InvalidUtf8ReadsTheSameWhereverItIsCut) {
  // Overlong and out-of-range leads with their continuation bytes, then a stray continuation.
  const std::string text =
      "a\xC1\x93"
      "b\xF5\x80\x80\x80"
      "c\x80";
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    WireDecoder decoder(WireEncoding::kUtf8);
    std::u16string joined = decoder.Decode(text.substr(0, cut));
    joined += decoder.Decode(text.substr(cut));
    EXPECT_EQ(joined, DecodeWire(text, WireEncoding::kUtf8)) << "corte en " << cut;
  }
}

TEST(WireDecoderTest, WindowsBytesAreDecodedPieceByPiece) {
  WireDecoder decoder(WireEncoding::kWindows1252);
  EXPECT_EQ(decoder.Decode("\xC3"), u"Ã");
  EXPECT_EQ(decoder.Decode("\xB1\x80"), u"±€");
  EXPECT_EQ(EncodeWire(u"Peña €", WireEncoding::kWindows1252),
            "Pe\xF1"
            "a \x80");
  EXPECT_EQ(EncodeWire(u"Peña", WireEncoding::kUtf8),
            "Pe\xC3\xB1"
            "a");
  EXPECT_EQ(WireEncodingNamed("utf-8"), WireEncoding::kUtf8);
  EXPECT_EQ(WireEncodingNamed("windows-1252"), WireEncoding::kWindows1252);
}

}  // namespace
}  // namespace quillon::link
