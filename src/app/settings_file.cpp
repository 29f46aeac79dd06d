#include "app/settings_file.h"

#include <system_error>

#include "platform/ini_text.h"
#include "platform/whole_file.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

// The keys of [impresoras], as the INI reading names them.
constexpr char kPrintersSection[] = "impresoras/";

// Checks one value and puts it into `line` unless the command line gave that option; returns
// the complaint about a bad value, or the empty text.
std::string TakeValue(const std::string& key, const std::string& value, CommandLine* line) {
  if (key.starts_with(kPrintersSection)) {
    const std::string name = key.substr(sizeof kPrintersSection - 1);
    std::string complaint = PrinterTargetComplaint(value);
    if (complaint.empty()) MapPrinter(line, name, value);
    return complaint;
  }
  if (value.empty()) return "no puede quedar vacío";
  if (key == "server") {
    std::string host;
    int port = CommandLine().server_port;
    if (!ParseServer(value, &host, &port) || host.empty()) {
      return "no es un servidor válido (SERVIDOR o SERVIDOR:PUERTO, con un puerto de 1 a 65535)";
    }
    if (line->server_host.empty()) {
      line->server_host = host;
      line->server_port = port;
    }
  } else if (key == "spool") {
    std::error_code error;
    if (!fs::path(value).is_absolute() || !fs::is_directory(value, error)) {
      return "debe ser la ruta completa de una carpeta que exista";
    }
    if (line->spool_dir.empty()) line->spool_dir = value;
  } else if (key == "default-printer") {
    if (line->default_printer.empty()) line->default_printer = value;
  } else if (key == "encoding") {
    if (!IsEncodingName(value)) return "no es una codificación válida (windows-1252 o utf-8)";
    if (line->encoding.empty()) line->encoding = value;
  } else if (key == "fallback-after") {
    const int seconds = ParseSeconds(value);
    if (seconds < 0) return "no es un número de segundos válido (de 0 a 86400)";
    if (line->fallback_after < 0) line->fallback_after = seconds;
  } else if (key == "log-days") {
    const int days = ParseDays(value);
    if (days < 0) return "no es un número de días válido (de 1 a 3650)";
    line->log_days = days;
  } else {
    return "no es una clave conocida (server, spool, default-printer, encoding, "
           "fallback-after, log-days o, en [impresoras], el nombre de una impresora)";
  }
  return {};
}

}  // namespace

bool ApplySettingsFile(const fs::path& file, CommandLine* line, std::string* error) {
  std::error_code missing;
  if (!fs::exists(file, missing)) return true;
  // The message is UTF-8 on both systems; so is the path's own text (Windows' is UTF-16).
  const std::u8string path = file.u8string();
  const std::string where =
      "Error en el archivo de configuración " + std::string(path.begin(), path.end()) + ": ";
  const std::optional<std::string> text = platform::ReadWholeFile(file);
  if (!text) {
    *error = where + "no se puede leer.";
    return false;
  }
  const platform::IniText ini = platform::ParseIni(*text);
  switch (ini.fault) {
    case platform::IniText::Fault::kNone:
      break;
    case platform::IniText::Fault::kLineWithoutValue:
      *error =
          where + "la línea " + std::to_string(ini.fault_line) + " no tiene la forma clave=valor.";
      return false;
    case platform::IniText::Fault::kBadSyntax:
      *error = where + "no tiene el formato INI (clave=valor).";
      return false;
  }
  CommandLine merged = *line;
  for (const platform::IniSetting& setting : ini.settings) {
    const std::string complaint = setting.is_list ? "un valor con comas va entre comillas"
                                                  : TakeValue(setting.key, setting.value, &merged);
    if (!complaint.empty()) {
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once, on the way out
      *error = where + setting.key + "=" + setting.value + ": " + complaint + ".";
      return false;
    }
  }
  *line = merged;
  return true;
}

}  // namespace quillon::app
