#include "shell/printing_options.h"

#include <gtest/gtest.h>

namespace quillon::shell {
namespace {

using documents::kPrintOptions;
using documents::PrintOption;

class PrintingOptionsTest : public ::testing::Test {
 protected:
  std::vector<std::u16string> stored_;
  PrintingOptions options_{[this](const std::u16string& list) { stored_.push_back(list); }};

  std::vector<bool> Checked() const {
    std::vector<bool> result;
    result.reserve(kPrintOptions.size());
    for (const PrintOption option : kPrintOptions) result.push_back(options_.IsChecked(option));
    return result;
  }
};

TEST_F(PrintingOptionsTest, CaptionsInBoxOrder) {
  EXPECT_EQ(PrintingOptions::Caption(PrintOption::kInvoices), u"Facturas y PreFactruas");
  EXPECT_EQ(PrintingOptions::Caption(PrintOption::kTable), u"Mesa");
  EXPECT_EQ(PrintingOptions::Caption(PrintOption::kCounter), u"Mostrador");
  EXPECT_EQ(PrintingOptions::Caption(PrintOption::kDelivery), u"Domicilio");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(PrintingOptionsTest, RestoreStoresTheWholeListOnceInBoxOrder) {
  options_.Restore(u"Domicilio,Mesa");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(stored_, (std::vector<std::u16string>{u"Mesa,Domicilio"}));
}

TEST_F(PrintingOptionsTest, RestoreMatchesCaptionsExactly) {
  options_.Restore(u"mesa, Mesa,Mostrador ,FACTURAS Y PREFACTRUAS");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false, false}));
  EXPECT_TRUE(stored_.empty());
}

TEST_F(PrintingOptionsTest, TecnicaChecksNothing) {
  options_.Restore(u"TECNICA");
  EXPECT_EQ(Checked(), (std::vector<bool>{false, false, false, false}));
  EXPECT_TRUE(stored_.empty());
  options_.Click(PrintOption::kCounter, true);  // the first click replaces the keyword
  EXPECT_EQ(stored_, (std::vector<std::u16string>{u"Mostrador"}));
}

TEST_F(PrintingOptionsTest, EmptyListChecksAllFourStoringOnce) {
  options_.Restore(u"");
  EXPECT_EQ(Checked(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(stored_,
            (std::vector<std::u16string>{u"Facturas y PreFactruas,Mesa,Mostrador,Domicilio"}));
}

TEST_F(PrintingOptionsTest, RepeatedItemsCheckOnce) {
  options_.Restore(u"Mesa,Mesa,Facturas y PreFactruas");
  EXPECT_EQ(stored_, (std::vector<std::u16string>{u"Facturas y PreFactruas,Mesa"}));
}

TEST_F(PrintingOptionsTest, UncheckingEverythingStoresAnEmptyLine) {
  options_.Restore(u"Mesa,Mostrador");
  stored_.clear();
  options_.Click(PrintOption::kTable, false);
  options_.Click(PrintOption::kCounter, false);
  EXPECT_EQ(stored_, (std::vector<std::u16string>{u"Mostrador", u""}));
  EXPECT_EQ(options_.CheckedList(), u"");
}

}  // namespace
}  // namespace quillon::shell
