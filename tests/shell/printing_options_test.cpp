#include "shell/printing_options.h"

#include <gtest/gtest.h>

namespace quillon::shell {
namespace {

class PrintingOptionsTest : public ::testing::Test {
 protected:
  std::vector<std::u16string> stored;
  PrintingOptions options{[this](const std::u16string& list) { stored.push_back(list); }};

  std::vector<bool> Checked() const {
    std::vector<bool> result;
    result.reserve(PrintingOptions::kCount);
    for (int i = 0; i < PrintingOptions::kCount; ++i) result.push_back(options.IsChecked(i));
    return result;
  }
};

TEST_F(PrintingOptionsTest, CaptionsInBoxOrder) {
  EXPECT_EQ(PrintingOptions::Caption(0), u"Facturas y PreFactruas");
  EXPECT_EQ(PrintingOptions::Caption(1), u"Mesa");
  EXPECT_EQ(PrintingOptions::Caption(2), u"Mostrador");
  EXPECT_EQ(PrintingOptions::Caption(3), u"Domicilio");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(PrintingOptionsTest, RestoreStoresTheWholeListOnceInBoxOrder) {
  options.Restore(u"Domicilio,Mesa");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(stored, (std::vector<std::u16string>{u"Mesa,Domicilio"}));
}

TEST_F(PrintingOptionsTest, RestoreMatchesCaptionsExactly) {
  options.Restore(u"mesa, Mesa,Mostrador ,FACTURAS Y PREFACTRUAS");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false, false}));
  EXPECT_TRUE(stored.empty());
}

TEST_F(PrintingOptionsTest, TecnicaChecksNothing) {
  options.Restore(u"TECNICA");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false, false}));
  EXPECT_TRUE(stored.empty());
  options.Click(2, true);  // the first click replaces the keyword
  EXPECT_EQ(stored, (std::vector<std::u16string>{u"Mostrador"}));
}

TEST_F(PrintingOptionsTest, EmptyListChecksAllFourStoringOnce) {
  options.Restore(u"");
  EXPECT_EQ(Checked(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(stored,
            (std::vector<std::u16string>{u"Facturas y PreFactruas,Mesa,Mostrador,Domicilio"}));
}

TEST_F(PrintingOptionsTest, RepeatedItemsCheckOnce) {
  options.Restore(u"Mesa,Mesa,Facturas y PreFactruas");
  EXPECT_EQ(stored, (std::vector<std::u16string>{u"Facturas y PreFactruas,Mesa"}));
}

TEST_F(PrintingOptionsTest, UncheckingEverythingStoresAnEmptyLine) {
  options.Restore(u"Mesa,Mostrador");
  stored.clear();
  options.Click(1, false);
  options.Click(2, false);
  EXPECT_EQ(stored, (std::vector<std::u16string>{u"Mostrador", u""}));
  EXPECT_EQ(options.CheckedList(), u"");
}

}  // namespace
}  // namespace quillon::shell
