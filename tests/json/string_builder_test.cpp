// The string builder's byte accounting, growth in chunks and range failures.
#include "json/string_builder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/failure.h"
#include "support/error_number.h"

namespace quillon::json {
namespace {

using test::ErrorNumberOf;

TEST(StringBuilder, StartsEmptyWithTheDefaultChunk) {
  const StringBuilder builder;
  EXPECT_EQ(builder.Length(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
  EXPECT_EQ(builder.ChunkSize(), 8192);
  EXPECT_EQ(builder.ToString(), u"");
}

TEST(StringBuilder, GrowsByWholeChunks) {
  StringBuilder builder;
  builder.Append(u"abc");
  EXPECT_EQ(builder.Length(), 3);
  EXPECT_EQ(builder.Capacity(), 8192);
  builder.Append(u"");
  EXPECT_EQ(builder.Length(), 3);

  StringBuilder big;
  big.Append(std::u16string(8193, u'x'));
  EXPECT_EQ(big.Capacity(), 16384);
  EXPECT_EQ(big.Length(), 8193);

  StringBuilder small;
  small.ChunkSize(4);
  EXPECT_EQ(small.ChunkSize(), 4);
  for (char16_t c = u'a'; c <= u'j'; ++c) small.AppendCopy(std::u16string(1, c));
  EXPECT_EQ(small.ToString(), u"abcdefghij");
  EXPECT_EQ(small.Capacity(), 12);
}

TEST(StringBuilder, LengthCountsUtf16Units) {
  StringBuilder builder;
  builder.AppendNL(u"ñ😀");
  EXPECT_EQ(builder.Length(), 5);  // ñ, two surrogates, CR, LF
  EXPECT_EQ(builder.ToString(), u"ñ😀\r\n");
}

TEST(StringBuilder, TheStringReplacesAndNeverShrinks) {
  StringBuilder builder;
  builder.Append(std::u16string(9000, u'x'));
  builder.TheString(u"nuevo");
  EXPECT_EQ(builder.ToString(), u"nuevo");
  EXPECT_EQ(builder.Capacity(), 16384);
  builder.TheString(u"");
  EXPECT_EQ(builder.Length(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
}

TEST(StringBuilder, InsertWithinTheTextOrFailsWithNine) {
  StringBuilder builder;
  builder.Append(u"ace");
  builder.Insert(1, u"b");
  builder.InsertCopy(3, u"d");
  builder.Insert(0, u">");
  builder.Insert(builder.Length(), u"<");  // at Length appends
  EXPECT_EQ(builder.ToString(), u">abcde<");
  EXPECT_EQ(ErrorNumberOf([&] { builder.Insert(builder.Length() + 1, u"x"); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Insert(-1, u"x"); }), 9);
  EXPECT_EQ(builder.ToString(), u">abcde<");
}

TEST(StringBuilder, IndexesWhoseByteOffsetLeaves32BitsAreOverflows) {
  StringBuilder builder;
  builder.Append(u"abc");
  EXPECT_EQ(ErrorNumberOf([&] { builder.Insert(0x40000000, u"x"); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Insert(0x3FFFFFFF, u"x"); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(0x40000000, 0); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(1, 0x7FFFFFFF); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(1, 0x3FFFFFFE); }), 9);
  EXPECT_EQ(builder.ToString(), u"abc");
}

TEST(StringBuilder, InsertGrowsWhenNeeded) {
  StringBuilder builder;
  builder.ChunkSize(2);
  builder.Append(u"ab");
  builder.Insert(1, u"XYZ");
  EXPECT_EQ(builder.ToString(), u"aXYZb");
  EXPECT_EQ(builder.Capacity(), 6);
}

TEST(StringBuilder, RemoveWithinTheTextOrFailsWithNine) {
  StringBuilder builder;
  builder.Append(u"0123456789");
  builder.Remove(2, 3);
  EXPECT_EQ(builder.ToString(), u"0156789");
  builder.Remove(4, 3);  // index + length == Length removes the tail
  EXPECT_EQ(builder.ToString(), u"0156");
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(2, 3); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(5, 0); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(-1, 1); }), 9);
  EXPECT_EQ(ErrorNumberOf([&] { builder.Remove(1, -1); }), 9);
  EXPECT_EQ(builder.ToString(), u"0156");
  EXPECT_EQ(builder.Capacity(), 8192);
}

TEST(StringBuilder, FindReportsOnlyMatchesStartingBeforeLength) {
  StringBuilder builder;
  builder.Append(u"Arroz con Pollo");
  EXPECT_EQ(builder.Find(u"con"), 7);
  EXPECT_EQ(builder.Find(u"o", 6), 8);
  EXPECT_EQ(builder.Find(u"pollo"), 0);
  EXPECT_EQ(builder.Find(u"pollo", 0, 1), 11);
  EXPECT_EQ(builder.Find(u"o", -5), 4);
  EXPECT_EQ(builder.Find(u"o", 15), 0);  // the last character sits at position Length
  EXPECT_EQ(builder.Find(u"lo "), 14);   // the spare spaces after the text are searched too
  EXPECT_EQ(builder.Find(u"falta"), 0);
}

TEST(StringBuilder, FindNeverSeesTextThatWasRemovedOrReplaced) {
  StringBuilder removed;
  removed.Append(u"abcdef");
  removed.Remove(3, 3);
  EXPECT_EQ(removed.Find(u"bcd"), 0);  // "def" is gone, the room it left is spare
  EXPECT_EQ(removed.Find(u"bc "), 2);

  StringBuilder replaced;
  replaced.Append(u"abcdef");
  replaced.TheString(u"ab");
  EXPECT_EQ(replaced.Find(u"abc"), 0);
  EXPECT_EQ(replaced.Find(u"AB  ", 1, 1), 1);
}

TEST(StringBuilder, HeapMinimizeKeepsAtMostOneSpareChunk) {
  StringBuilder builder;
  builder.Clear();
  builder.HeapMinimize();
  EXPECT_EQ(builder.Capacity(), 0);

  builder.Append(std::u16string(32768, u'x'));
  EXPECT_EQ(builder.Capacity(), 32768);
  builder.Remove(3, 32765);
  builder.HeapMinimize();
  EXPECT_EQ(builder.Capacity(), 8192);
  EXPECT_EQ(builder.ToString(), u"xxx");
  builder.Append(u"y");
  EXPECT_EQ(builder.ToString(), u"xxxy");

  StringBuilder exact;
  exact.Append(std::u16string(8192, u'x'));
  exact.HeapMinimize();  // no spare room at all: nothing to give back
  EXPECT_EQ(exact.Capacity(), 8192);
}

TEST(StringBuilder, ChunkSizeOutsideTheByteRangeFailsWithSix) {
  StringBuilder builder;
  EXPECT_EQ(ErrorNumberOf([&] { builder.ChunkSize(0x40000000); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { builder.ChunkSize(-0x40000001); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { builder.ChunkSize(0); }), 5);
  EXPECT_EQ(builder.ChunkSize(), 8192);
  builder.ChunkSize(0x3FFFFFFF);
  EXPECT_EQ(builder.ChunkSize(), 0x3FFFFFFF);
}

TEST(StringBuilder, ClearDropsTextAndCapacity) {
  StringBuilder builder;
  builder.Append(u"texto");
  builder.Clear();
  EXPECT_EQ(builder.Length(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
  builder.Append(u"otro");
  EXPECT_EQ(builder.ToString(), u"otro");
}

}  // namespace
}  // namespace quillon::json
