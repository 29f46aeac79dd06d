#include "platform/failure.h"

#include <string>

#include "platform/text.h"

namespace quillon::platform {

Failure::Failure(int number, std::u16string description)
    : std::runtime_error(Utf16ToUtf8(description)),
      number_(number),
      description_(std::move(description)) {}

Failure Failure::InvalidArgument() { return {5, u"Argumento o llamada a procedimiento no válida"}; }
Failure Failure::Overflow() { return {6, u"Desbordamiento"}; }
Failure Failure::SubscriptOutOfRange() { return {9, u"Subíndice fuera del intervalo"}; }
Failure Failure::DivisionByZero() { return {11, u"División por cero"}; }
Failure Failure::TypeMismatch() { return {13, u"No coinciden los tipos"}; }
Failure Failure::InvalidUseOfNull() { return {94, u"Uso no válido de Null"}; }
Failure Failure::ObjectRequired() { return {424, u"Se requiere un objeto"}; }
Failure Failure::DuplicateKey() {
  return {457, u"Esta clave ya está asociada a un elemento de esta colección"};
}

std::u16string FailureDescription(const std::exception& failure) {
  if (const auto* ours = dynamic_cast<const Failure*>(&failure)) return ours->Description();
  return Utf8ToUtf16(failure.what());
}

std::u16string FailureLogText(const std::exception& failure) {
  if (const auto* ours = dynamic_cast<const Failure*>(&failure)) {
    const std::string digits = std::to_string(ours->Number());
    return std::u16string(digits.begin(), digits.end()) + u"-" + ours->Description();
  }
  return Utf8ToUtf16(failure.what());
}

}  // namespace quillon::platform
