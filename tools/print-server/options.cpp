#include "options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <string_view>

namespace print_server {

namespace {

template <typename T>
bool ParseNumber(std::string_view text, T* out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *out);
  return error == std::errc() && end == text.data() + text.size() && *out >= 0;
}

// A folder stands for its *.json files in name order.
bool AddJobs(const std::string& path, std::vector<std::string>* jobs, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
      if (entry.is_regular_file() && entry.path().extension() == ".json") {
        found.push_back(entry.path().string());
      }
    }
    std::sort(found.begin(), found.end());
    jobs->insert(jobs->end(), found.begin(), found.end());
    return true;
  }
  if (!std::filesystem::is_regular_file(path, ec)) {
    *error = "No existe el trabajo " + path;
    return false;
  }
  jobs->push_back(path);
  return true;
}

}  // namespace

const char* UsageText() {
  return "Uso: print-server [--port N] [--job ARCHIVO|CARPETA]... [--pieces] [--seed N]\n"
         "                  [--pause MS] [--drop-after BYTES] [--cut-percent P] [--resend]\n"
         "                  [--wait-id] [--await-status] [--drop-after-each]\n"
         "                  [--exit-after-statuses N] [--timeout S] [--help]\n"
         "Servidor de impresion de prueba: escucha en 127.0.0.1 (primera linea: PORT N),\n"
         "escribe cada mensaje del agente en una linea y le envia los trabajos, cada uno\n"
         "seguido de _endMessage_. --pieces los corta en trozos al azar. --drop-after corta\n"
         "la primera conexion tras BYTES; --cut-percent corta la conexion dentro de ese\n"
         "porcentaje de los trabajos, en un byte al azar. Tras un corte, la conexion\n"
         "siguiente empieza por el trabajo siguiente, o con --resend por el trabajo cortado,\n"
         "entero. En la salida de error: \"entero ARCHIVO\" por cada trabajo enviado entero\n"
         "y \"cortado ARCHIVO tras N de M bytes\" por cada corte. --await-status espera la\n"
         "respuesta de estado de cada trabajo antes del siguiente (\"respondido ARCHIVO\") y\n"
         "vuelve a enviar, primero en la conexion siguiente, el que quedo sin respuesta.\n"
         "--drop-after-each (con --await-status) corta la conexion justo despues de cada\n"
         "trabajo, la primera vez que lo envia, sin leer su respuesta.\n";
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string* error) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    auto number = [&](auto* out) {
      if (!has_value || !ParseNumber(argv[++i], out)) {
        *error = "Valor no valido para " + std::string(arg);
        return false;
      }
      return true;
    };
    bool ok = true;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--port") {
      ok = number(&options.port) && options.port <= 65535;
      if (!ok) *error = "Puerto no valido";
    } else if (arg == "--job") {
      if (!has_value) {
        *error = "Falta el archivo de --job";
        return std::nullopt;
      }
      ok = AddJobs(argv[++i], &options.jobs, error);
    } else if (arg == "--pieces") {
      options.pieces = true;
    } else if (arg == "--seed") {
      ok = number(&options.seed);
    } else if (arg == "--pause") {
      ok = number(&options.pause_ms);
    } else if (arg == "--drop-after") {
      ok = number(&options.drop_after);
    } else if (arg == "--cut-percent") {
      ok = number(&options.cut_percent) && options.cut_percent <= 100;
      if (!ok) *error = "Porcentaje no valido para --cut-percent";
    } else if (arg == "--resend") {
      options.resend = true;
    } else if (arg == "--await-status") {
      options.await_status = true;
    } else if (arg == "--drop-after-each") {
      options.drop_after_each = true;
      options.await_status = true;
    } else if (arg == "--wait-id") {
      options.wait_id = true;
    } else if (arg == "--exit-after-statuses") {
      ok = number(&options.exit_after_statuses);
    } else if (arg == "--timeout") {
      ok = number(&options.timeout_s);
    } else {
      *error = "Opcion desconocida: " + std::string(arg);
      ok = false;
    }
    if (!ok) return std::nullopt;
  }
  return options;
}

}  // namespace print_server
