#pragma once
// The four printing options of the main window, as the documents read them, and their storage
// as line 2 of the branch code file: the captions of the checked boxes joined by "," in box order.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "documents/print_options.h"

namespace quillon::shell {

class PrintingOptions final : public documents::PrintOptions {
 public:
  // Receives the list to store after every change.
  using StoreFunction = std::function<void(const std::u16string& list)>;

  explicit PrintingOptions(StoreFunction store);

  static const std::u16string& Caption(documents::PrintOption option);

  bool IsChecked(documents::PrintOption option) const override;

  // A click on the option's box that leaves it `checked`: stores the list.
  void Click(documents::PrintOption option, bool checked);

  // Start-up: every item of the stored list checks the box with exactly that caption; an empty
  // list checks all. The list is stored once, when a box was checked: a kill in the middle of a
  // start never leaves half the options in the file.
  void Restore(std::u16string_view stored_list);

  // Captions of the checked boxes in box order, joined by ",".
  std::u16string CheckedList() const;

 private:
  std::array<bool, documents::kPrintOptions.size()> checked_{};
  StoreFunction store_;
};

}  // namespace quillon::shell
