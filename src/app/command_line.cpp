#include "app/command_line.h"

#include <charconv>
#include <string_view>
#include <system_error>

#include "adapters/network_printer/printer_address.h"
#include "platform/printer_system.h"
#include "platform/text.h"

namespace quillon::app {

const char* UsageText() {
  return "Uso: quillon-agent [--server HOST[:PUERTO]] [--data-dir CARPETA] [--spool CARPETA]\n"
         "                   [--default-printer NOMBRE] [--headless]\n"
         "                   [--encoding windows-1252|utf-8] [--print-job ARCHIVO]\n"
         "                   [--check-job ARCHIVO|-] [--render-escpos ARCHIVO SALIDA.png]\n"
         "                   [--list-tickets] [--reprint NUMERO [--printer NOMBRE]]\n"
         "                   [--discard NUMERO] [--fallback-after SEGUNDOS]\n"
         "                   [--printer NOMBRE=tcp://HOST[:PUERTO]|NOMBRE=IMPRESORA]...\n"
         "                   [--test-print NOMBRE]\n"
         "                   [--diagnostico ARCHIVO.zip [--con-tickets]]\n"
         "                   [--help] [--version]\n"
         "\n"
         "Agente de impresion: recibe trabajos del servidor de impresion y los imprime.\n"
         "  --server           servidor de impresion (por omision la direccion integrada, puerto "
         "3000)\n"
         "  --data-dir         carpeta de Acceso y logo.bmp (por omision la del programa si se\n"
         "                     puede escribir en ella; si no, $XDG_DATA_HOME/quillon-agent)\n"
         "  --spool            imprime en carpetas: cada subcarpeta es una impresora\n"
         "  --default-printer  nombre de la impresora predeterminada entre las de --spool\n"
         "  --headless         sin ventana ni bandeja: avisos y registro por la salida estandar\n"
         "  --encoding         codificacion del servidor y de los archivos de trabajo "
         "(windows-1252\n"
         "                     por omision en el servidor; en archivos se reconoce utf-8)\n"
         "  --print-job        imprime un trabajo desde un archivo y termina\n"
         "  --check-job        analiza un trabajo y muestra su arbol de valores\n"
         "  --render-escpos    dibuja en un PNG el papel que imprime un archivo ESC/POS\n"
         "  --list-tickets     muestra los tickets en espera y los ultimos impresos\n"
         "  --reprint          imprime de nuevo un ticket impreso (en --printer, o donde se\n"
         "                     imprimio); lo hace el agente en ejecucion si lo hay\n"
         "  --discard          aparta un ticket en espera en outbox/descartados sin imprimirlo;\n"
         "                     lo hace el agente en ejecucion si lo hay\n"
         "  --diagnostico      guarda en un zip lo que necesita soporte tecnico: version, "
         "sistema,\n"
         "                     configuracion (con el codigo de sucursal), impresoras, tickets,\n"
         "                     los ultimos 7 dias del registro y los nombres de rechazados/\n"
         "  --con-tickets      con --diagnostico, incluye tambien los archivos de los tickets\n"
         "  --fallback-after   segundos que una impresora puede no responder antes de que sus\n"
         "                     tickets pasen a la predeterminada (60 por omision; 0 nunca)\n"
         "  --printer          NOMBRE=tcp://HOST[:PUERTO] imprime en esa impresora de red\n"
         "                     directamente (puerto 9100 por omision); NOMBRE=IMPRESORA usa esa\n"
         "                     impresora del sistema con otro nombre; se repite por impresora\n"
         "  --test-print       imprime un ticket de prueba en la impresora NOMBRE y termina\n"
         "\n"
         "--server, --spool, --default-printer, --encoding y --fallback-after se leen tambien del\n"
#ifdef _WIN32
         "archivo agent.conf de la carpeta de datos (junto a Acceso), con sus impresoras en\n"
         "[impresoras]; "
#else
         "archivo $XDG_CONFIG_HOME/quillon-agent/agent.conf\n"
         "(~/.config/quillon-agent/agent.conf), con sus impresoras en [impresoras];\n"
#endif
         "lo que diga la linea de comandos tiene prioridad.\n"
         "Cada linea del registro y cada aviso quedan tambien en registro/AAAA-MM-DD.log de la\n"
         "carpeta de datos, 30 dias (log-days = DIAS en agent.conf).\n";
}

bool ParseServer(std::string server, std::string* host, int* port) {
  const auto colon = server.rfind(':');
  if (colon != std::string::npos) {
    const std::string digits = server.substr(colon + 1);
    int number = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9' || number > 65535) {
        number = -1;
        break;
      }
      number = number * 10 + (c - '0');
    }
    if (digits.empty() || number < 1 || number > 65535) return false;
    *port = number;
    server = server.substr(0, colon);
  }
  *host = server;
  return true;
}

std::optional<std::uint64_t> ParseTicketNumber(const std::string& text, std::string_view option,
                                               std::string* error) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
    *error = "Numero de ticket no valido en " + std::string(option) + ": " + text;
    return std::nullopt;
  }
  std::uint64_t number = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), number).ec != std::errc()) {
    *error = "Numero de ticket demasiado grande en " + std::string(option) + ": " + text +
             " (ningun ticket lleva un numero tan alto)";
    return std::nullopt;
  }
  return number;
}

int ParseSeconds(const std::string& text) {
  if (text.empty() || text.size() > 5 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return -1;
  }
  const int seconds = std::stoi(text);
  return seconds <= 86400 ? seconds : -1;
}

int ParseDays(const std::string& text) {
  const int days = ParseSeconds(text);  // the same whole numbers, a smaller range
  return days >= 1 && days <= 3650 ? days : -1;
}

bool IsEncodingName(const std::string& name) { return name == "windows-1252" || name == "utf-8"; }

namespace {

// The option's flag, when it is one of the options that take no value.
bool* FlagOption(std::string_view arg, CommandLine* line) {
  if (arg == "--help" || arg == "-h") return &line->help;
  if (arg == "--version") return &line->version;
  if (arg == "--headless") return &line->headless;
  if (arg == "--list-tickets") return &line->list_tickets;
  if (arg == "--con-tickets") return &line->with_tickets;
  return nullptr;
}

// Where the option's value goes, when it is one of those whose value is kept as it comes.
std::string* TextOption(std::string_view arg, CommandLine* line) {
  if (arg == "--data-dir") return &line->data_dir;
  if (arg == "--spool") return &line->spool_dir;
  if (arg == "--default-printer") return &line->default_printer;
  if (arg == "--print-job") return &line->print_job;
  if (arg == "--check-job") return &line->check_job;
  if (arg == "--diagnostico") return &line->diagnostics;
  if (arg == "--test-print") return &line->test_print;
  return nullptr;
}

// The options whose value is read before it is kept.
bool IsCheckedOption(std::string_view arg) {
  for (const std::string_view name :
       {"--server", "--encoding", "--reprint", "--discard", "--fallback-after", "--printer"}) {
    if (arg == name) return true;
  }
  return false;
}

// --printer NAME=VALUE maps a printer; --printer NAME alone is where --reprint prints.
bool ApplyPrinterOption(const std::string& text, CommandLine* line, std::string* error) {
  const auto equals = text.find('=');
  if (equals == std::string::npos) {
    line->printer = text;
    return true;
  }
  const std::string name = text.substr(0, equals);
  const std::string target = text.substr(equals + 1);
  const std::string complaint =
      name.empty() ? "falta el nombre de la impresora" : PrinterTargetComplaint(target);
  if (!complaint.empty()) {
    *error = "Impresora no válida en --printer: " + text;
    *error += " (" + complaint + ")";
    return false;
  }
  MapPrinter(line, name, target);
  return true;
}

// The value of a checked option into `line`; false, with the reason in `error`, when it is not
// valid.
bool ApplyCheckedOption(std::string_view arg, const std::string& value, CommandLine* line,
                        std::string* error) {
  if (arg == "--server") {
    if (ParseServer(value, &line->server_host, &line->server_port)) return true;
    *error = "Puerto no valido en --server: " + value;
    return false;
  }
  if (arg == "--encoding") {
    line->encoding = value;
    if (IsEncodingName(value)) return true;
    *error = "Codificacion no valida: " + value + " (windows-1252 o utf-8)";
    return false;
  }
  if (arg == "--reprint" || arg == "--discard") {
    std::optional<std::uint64_t>& number = arg == "--reprint" ? line->reprint : line->discard;
    number = ParseTicketNumber(value, arg, error);
    return number.has_value();
  }
  if (arg == "--fallback-after") {
    line->fallback_after = ParseSeconds(value);
    if (line->fallback_after >= 0) return true;
    *error = "Segundos no validos en --fallback-after: " + value + " (de 0 a 86400)";
    return false;
  }
  return ApplyPrinterOption(value, line, error);
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(int argc, char** argv, std::string* error) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) {
        *error = "Falta el valor de la opcion " + std::string(arg);
        return false;
      }
      *out = argv[++i];
      return true;
    };
    if (bool* flag = FlagOption(arg, &line)) {
      *flag = true;
    } else if (std::string* kept = TextOption(arg, &line)) {
      if (!value(kept)) return std::nullopt;
    } else if (arg == "--render-escpos") {
      if (!value(&line.render_escpos) || !value(&line.render_output)) return std::nullopt;
    } else if (IsCheckedOption(arg)) {
      std::string text;
      if (!value(&text) || !ApplyCheckedOption(arg, text, &line, error)) return std::nullopt;
    } else {
      *error = "Opcion desconocida: " + std::string(arg);
      return std::nullopt;
    }
  }
  if (line.with_tickets && line.diagnostics.empty()) {
    *error = "--con-tickets va con --diagnostico ARCHIVO.zip";
    return std::nullopt;
  }
  return line;
}

std::string PrinterTargetComplaint(const std::string& value) {
  constexpr char kAccepted[] =
      "tcp://HOST[:PUERTO] con un puerto de 1 a 65535, 9100 por omisión, o el nombre de una "
      "impresora del sistema";
  if (value.empty()) return std::string("no puede quedar vacío: ") + kAccepted;
  if (!adapters::network_printer::LooksLikeAddress(value)) return {};
  if (adapters::network_printer::ParsePrinterAddress(value)) return {};
  return std::string("no es una dirección válida: ") + kAccepted;
}

void MapPrinter(CommandLine* line, const std::string& name, const std::string& value) {
  for (const auto& [mapped, target] : line->printer_map) {
    if (platform::SamePrinterName(platform::Utf8ToUtf16(mapped), platform::Utf8ToUtf16(name)))
      return;
  }
  line->printer_map.emplace_back(name, value);
}

}  // namespace quillon::app
