#include "shell/window_form.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/printing_options.h"

namespace quillon::shell {
namespace {

using documents::kPrintOptions;
using documents::PrintOption;

// What a page offers below the tab row, on either toolkit.
constexpr FormRect kPageArea = {0, 0, 400, 352};

bool Inside(const FormRect& inner, const FormRect& outer) {
  return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= outer.width &&
         inner.y + inner.height <= outer.height;
}

bool Overlap(const FormRect& a, const FormRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(WindowForm, EveryControlOnceEachHolderBeforeWhatItHoldsAndAllWithinTheirPlace) {
  std::set<ControlId> seen;
  for (const FormControl& control : WindowForm()) {
    const std::string name = std::to_string(static_cast<int>(control.id));
    EXPECT_TRUE(seen.insert(control.id).second) << name;
    EXPECT_EQ(&FormControlOf(control.id), &control) << name;
    if (control.inside != ControlId::kNone) {
      EXPECT_TRUE(seen.contains(control.inside)) << name;
      const FormControl& holder = FormControlOf(control.inside);
      EXPECT_EQ(holder.page, control.page) << name;
      EXPECT_TRUE(Inside(control.place, holder.place)) << name;
    } else if (control.page != kOnWindow) {
      EXPECT_TRUE(Inside(control.place, kPageArea)) << name;
    }
  }
  EXPECT_EQ(seen.size(), kControlCount - 1);  // all but kNone
}

// Two controls side by side on one page or frame never cover each other; a frame and what it
// holds are on different levels.
TEST(WindowForm, NoTwoControlsOfOneLevelOverlap) {
  const auto& form = WindowForm();
  for (std::size_t i = 0; i < form.size(); ++i) {
    for (std::size_t j = i + 1; j < form.size(); ++j) {
      if (form[i].page != form[j].page || form[i].inside != form[j].inside) continue;
      EXPECT_FALSE(Overlap(form[i].place, form[j].place))
          << static_cast<int>(form[i].id) << " and " << static_cast<int>(form[j].id);
    }
  }
}

TEST(WindowForm, OptionBoxesCarryTheOptionsCaptionsTopToBottom) {
  int previous_y = -1;
  for (std::size_t i = 0; i < kPrintOptions.size(); ++i) {
    const FormControl& box = FormControlOf(OptionBoxId(kPrintOptions[i]));
    EXPECT_EQ(box.kind, ControlKind::kCheckBox);
    EXPECT_EQ(box.caption, PrintingOptions::Caption(kPrintOptions[i]));
    EXPECT_EQ(OptionOf(box.id), kPrintOptions[i]);
    EXPECT_EQ(box.inside, i == 0 ? ControlId::kNone : ControlId::kOrdersFrame);
    const int page_y = box.place.y + (i == 0 ? 0 : FormControlOf(ControlId::kOrdersFrame).place.y);
    EXPECT_GT(page_y, previous_y);
    previous_y = page_y;
  }
  EXPECT_EQ(FormControlOf(OptionBoxId(PrintOption::kInvoices)).caption, u"Facturas y PreFactruas");
  EXPECT_FALSE(OptionOf(ControlId::kOrdersFrame).has_value());
  EXPECT_FALSE(OptionOf(ControlId::kSendStatusButton).has_value());
}

}  // namespace
}  // namespace quillon::shell
