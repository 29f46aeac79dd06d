#include "app/settings_file.h"

#include <unistd.h>

#include <QSettings>
#include <QStringList>
#include <fstream>
#include <system_error>

#include "app/xdg_folders.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

// Checks one value and puts it into `line` unless the command line gave that option; returns
// the complaint about a bad value, or the empty text.
std::string TakeValue(const std::string& key, const std::string& value, CommandLine* line) {
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
           "fallback-after o log-days)";
  }
  return {};
}

// QSettings passes over a line that is neither a comment, a [section] nor key=value; such a line
// is a setting lost to a typo ("spool /srv/cola"), so it is looked for here. 0 when none is.
int LineWithoutValue(const fs::path& file) {
  std::ifstream in(file);
  int number = 0;
  for (std::string text; std::getline(in, text);) {
    ++number;
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos || text[first] == ';' || text[first] == '#' ||
        text[first] == '[' || text.find('=') != std::string::npos) {
      continue;
    }
    return number;
  }
  return 0;
}

}  // namespace

fs::path SettingsFilePath() { return UserConfigHome() / "quillon-agent" / "agent.conf"; }

bool ApplySettingsFile(const fs::path& file, CommandLine* line, std::string* error) {
  std::error_code missing;
  if (!fs::exists(file, missing)) return true;
  const std::string where = "Error en el archivo de configuración " + file.string() + ": ";
  QSettings settings(QString::fromStdString(file.string()), QSettings::IniFormat);
  if (!fs::is_regular_file(file, missing) || access(file.c_str(), R_OK) != 0 ||
      settings.status() == QSettings::AccessError) {
    *error = where + "no se puede leer.";
    return false;
  }
  if (const int number = LineWithoutValue(file); number > 0) {
    *error = where + "la línea " + std::to_string(number) + " no tiene la forma clave=valor.";
    return false;
  }
  if (settings.status() == QSettings::FormatError) {
    *error = where + "no tiene el formato INI (clave=valor).";
    return false;
  }
  CommandLine merged = *line;
  for (const QString& name : settings.allKeys()) {
    const QVariant value = settings.value(name);
    const std::string key = name.toStdString();
    std::string complaint;
    if (value.typeId() == QMetaType::QStringList) {
      complaint = "un valor con comas va entre comillas";
    } else {
      complaint = TakeValue(key, value.toString().toStdString(), &merged);
    }
    if (!complaint.empty()) {
      // NOLINTNEXTLINE(performance-inefficient-string-concatenation): once, on the way out
      *error = where + key + "=" + value.toStringList().join(u',').toStdString() + ": " +
               complaint + ".";
      return false;
    }
  }
  *line = merged;
  return true;
}

}  // namespace quillon::app
