#include "print/print_engine.h"

namespace quillon::print {
namespace {

// The first row whose "Nombre" is exactly `name`; nullptr when none. A row that is not an
// object raises, as reading a member of it would.
const json::Dictionary* FindRow(const json::Value& rows, std::u16string_view name) {
  if (!rows.IsCollection()) return nullptr;
  const json::Value wanted{std::u16string(name)};
  for (const json::Value& row : rows.AsCollection()) {
    const json::Dictionary& fields = row.AsDictionary();
    const json::Value* row_name = fields.Find(u"Nombre");
    const json::Value nombre = row_name ? *row_name : json::Value();
    if (nombre.LooseEquals(wanted)) return &fields;
  }
  return nullptr;
}

json::Value Member(const json::Dictionary& row, std::u16string_view key) {
  const json::Value* value = row.Find(key);
  return value ? *value : json::Value();
}

}  // namespace

std::u16string PrintEngine::ConfigValue(std::u16string_view name) const {
  const json::Dictionary* row = FindRow(rows_, name);
  return row ? Member(*row, u"Descripcion").ToText() : std::u16string();
}

bool PrintEngine::ConfigVisible(std::u16string_view name) const {
  const json::Dictionary* row = FindRow(rows_, name);
  return row && Member(*row, u"Visible").LooseEquals(json::Value(u"1"));
}

}  // namespace quillon::print
