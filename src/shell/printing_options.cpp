#include "shell/printing_options.h"

#include <vector>

namespace quillon::shell {
namespace {

using documents::BoxIndex;
using documents::kPrintOptions;
using documents::PrintOption;

const std::array<std::u16string, kPrintOptions.size()> kCaptions = {
    u"Facturas y PreFactruas", u"Mesa", u"Mostrador", u"Domicilio"};

std::vector<std::u16string_view> SplitAtCommas(std::u16string_view text) {
  std::vector<std::u16string_view> items;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(u',', start)) != std::u16string_view::npos;
       start = comma + 1) {
    items.push_back(text.substr(start, comma - start));
  }
  items.push_back(text.substr(start));
  return items;
}

}  // namespace

PrintingOptions::PrintingOptions(StoreFunction store) : store_(std::move(store)) {}

const std::u16string& PrintingOptions::Caption(PrintOption option) {
  return kCaptions.at(BoxIndex(option));
}

bool PrintingOptions::IsChecked(PrintOption option) const { return checked_.at(BoxIndex(option)); }

void PrintingOptions::Click(PrintOption option, bool checked) {
  checked_.at(BoxIndex(option)) = checked;
  store_(CheckedList());
}

void PrintingOptions::Restore(std::u16string_view stored_list) {
  bool changed = false;
  for (std::size_t i = 0; i < checked_.size(); ++i) {
    if (checked_[i]) continue;
    if (stored_list.empty()) {
      checked_[i] = true;
    } else {
      for (const std::u16string_view item : SplitAtCommas(stored_list)) {
        if (kCaptions[i] == item) checked_[i] = true;
      }
    }
    changed = changed || checked_[i];
  }
  if (changed) store_(CheckedList());
}

std::u16string PrintingOptions::CheckedList() const {
  std::u16string list;
  for (std::size_t i = 0; i < checked_.size(); ++i) {
    if (!checked_[i]) continue;
    if (!list.empty()) list += u',';
    list += kCaptions[i];
  }
  return list;
}

}  // namespace quillon::shell
