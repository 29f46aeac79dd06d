#include "shell/log_text.h"

#include <gtest/gtest.h>

namespace quillon::shell {
namespace {

TEST(EscapeControls, ControlCharactersAreWrittenOutAndTextStays) {
  EXPECT_EQ(EscapeControls(std::u16string(u"a\x1B[2Jb\0c\x07\x7F", 10)),
            u"a\\x1B[2Jb\\x00c\\x07\\x7F");
  EXPECT_EQ(EscapeControls(u"\u0080\u009B31m\u009F"), u"\\x80\\x9B31m\\x9F");
  EXPECT_EQ(EscapeControls(u"ab\u202Ecd\u2028\u2066"), u"ab\\u202Ecd\\u2028\\u2066");
  // Tab, line breaks and every printable character are left to the view.
  EXPECT_EQ(EscapeControls(u"Piña €\t\r\n«ñ» \u00A0\u20AC\\x1B"),
            u"Piña €\t\r\n«ñ» \u00A0\u20AC\\x1B");
}

}  // namespace
}  // namespace quillon::shell
