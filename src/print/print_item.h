#pragma once
// One item of a print statement in the ticket line model: a text, a tab to a column, a number.
#include <string>

#include "json/decimal.h"

namespace quillon::print {

struct PrintItem {
  enum class Kind { kText, kTab, kNumber };
  Kind kind = Kind::kText;
  std::u16string text;   // Text
  int column = 1;        // Tab(n)
  json::Decimal number;  // Number: written as " 12,5 " (a "-" in place of the blank when negative)

  static PrintItem Text(std::u16string t) { return {Kind::kText, std::move(t), 1, {}}; }
  static PrintItem Tab(int n) { return {Kind::kTab, {}, n, {}}; }
  static PrintItem Number(json::Decimal d) { return {Kind::kNumber, {}, 1, d}; }
};

}  // namespace quillon::print
