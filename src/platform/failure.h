#pragma once
// The one failure the agent raises: an error number and its Spanish description. The numbers
// follow the classic runtime error numbers (5 invalid argument, 6 overflow, 9 subscript,
// 11 division by zero, 13 type mismatch, 94 invalid use of Null, 424 object required, 457
// duplicate key) and the printer's own (482 printer error) so log lines stay familiar.
#include <exception>
#include <stdexcept>
#include <string>

namespace quillon::platform {

class Failure : public std::runtime_error {
 public:
  Failure(int number, std::u16string description);
  int Number() const { return number_; }
  const std::u16string& Description() const { return description_; }

  static Failure InvalidArgument();      // 5
  static Failure Overflow();             // 6
  static Failure SubscriptOutOfRange();  // 9
  static Failure DivisionByZero();       // 11
  static Failure TypeMismatch();         // 13
  static Failure InvalidUseOfNull();     // 94
  static Failure ObjectRequired();       // 424
  static Failure DuplicateKey();         // 457

 private:
  int number_;
  std::u16string description_;
};

// The printer's error number: a queue that is missing, stopped, offline or rejecting jobs.
inline constexpr int kPrinterError = 482;

// What a caught failure says to the user: its description, or the runtime's own message.
std::u16string FailureDescription(const std::exception& failure);
// What it says in the log: "number-description" for our failures.
std::u16string FailureLogText(const std::exception& failure);

}  // namespace quillon::platform
