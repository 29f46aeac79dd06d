#pragma once
// The failure that the value tree, the conversions and the printer raise towards a document.
// Numbers follow the classic runtime error numbers (5 invalid argument, 6 overflow, 9 subscript, 13 type mismatch,
// 94 invalid use of Null, 424 object required, 457 duplicate key) so log lines stay familiar.
#include <stdexcept>
#include <string>

namespace quillon::json {

class ValueError : public std::runtime_error {
 public:
  ValueError(int number, std::u16string description);
  int Number() const { return number_; }
  const std::u16string& Description() const { return description_; }

  static ValueError InvalidArgument();   // 5 "Argumento o llamada a procedimiento no válida"
  static ValueError Overflow();          // 6 "Desbordamiento"
  static ValueError DivisionByZero();    // 11 "División por cero"
  static ValueError SubscriptOutOfRange();  // 9 "Subíndice fuera del intervalo"
  static ValueError TypeMismatch();      // 13 "No coinciden los tipos"
  static ValueError InvalidUseOfNull();  // 94 "Uso no válido de Null"
  static ValueError ObjectRequired();    // 424 "Se requiere un objeto"
  static ValueError DuplicateKey();      // 457 "Esta clave ya está asociada a un elemento de esta colección"

 private:
  int number_;
  std::u16string description_;
};

}  // namespace quillon::json
