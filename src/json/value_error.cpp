#include "json/value_error.h"

#include "platform/text.h"

namespace quillon::json {

ValueError::ValueError(int number, std::u16string description)
    : std::runtime_error(platform::Utf16ToUtf8(description)),
      number_(number),
      description_(std::move(description)) {}

ValueError ValueError::InvalidArgument() {
  return {5, u"Argumento o llamada a procedimiento no válida"};
}
ValueError ValueError::Overflow() { return {6, u"Desbordamiento"}; }
ValueError ValueError::DivisionByZero() { return {11, u"División por cero"}; }
ValueError ValueError::SubscriptOutOfRange() { return {9, u"Subíndice fuera del intervalo"}; }
ValueError ValueError::TypeMismatch() { return {13, u"No coinciden los tipos"}; }
ValueError ValueError::InvalidUseOfNull() { return {94, u"Uso no válido de Null"}; }
ValueError ValueError::ObjectRequired() { return {424, u"Se requiere un objeto"}; }
ValueError ValueError::DuplicateKey() {
  return {457, u"Esta clave ya está asociada a un elemento de esta colección"};
}

}  // namespace quillon::json
