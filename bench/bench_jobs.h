#pragma once
// The jobs the print benchmarks send: the example kitchen order, and the example bill grown to a
// given number of items.
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon::bench {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("no se pudo leer " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ExampleJob(const std::string& name) {
  return ReadFile(std::string(QUILLON_SOURCE_DIR) + "/examples/jobs/" + name);
}

// The end of the JSON value that starts at `at` (an object or an array), strings skipped.
inline std::size_t ValueEnd(std::string_view text, std::size_t at) {
  int depth = 0;
  for (std::size_t i = at; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\') ++i;
      }
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if ((c == '}' || c == ']') && --depth == 0) {
      return i + 1;
    }
  }
  throw std::runtime_error("JSON sin cerrar");
}

// The example bill of the common tax regime with its first item repeated `items` times.
inline std::string InvoiceJob(int items) {
  std::string text = ExampleJob("factura_comun.json");
  const std::size_t list = text.find('[', text.find("\"pedido\""));
  const std::size_t first = text.find('{', list);
  const std::string item = text.substr(first, ValueEnd(text, first) - first);
  std::string grown = "[";
  for (int i = 0; i < items; ++i) grown += (i == 0 ? "" : ",") + item;
  return text.replace(list, ValueEnd(text, list) - list, grown + "]");
}

inline std::string KitchenOrderJob() { return ExampleJob("comanda_mostrador.json"); }

}  // namespace quillon::bench
