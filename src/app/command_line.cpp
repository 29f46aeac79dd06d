#include "app/command_line.h"

#include <charconv>
#include <string_view>
#include <system_error>

namespace quillon::app {

const char* UsageText() {
  return "Uso: quillon-agent [--server HOST[:PUERTO]] [--data-dir CARPETA] [--spool CARPETA]\n"
         "                   [--default-printer NOMBRE] [--headless]\n"
         "                   [--encoding windows-1252|utf-8] [--print-job ARCHIVO]\n"
         "                   [--check-job ARCHIVO|-] [--render-escpos ARCHIVO SALIDA.png]\n"
         "                   [--list-tickets] [--reprint NUMERO [--printer NOMBRE]]\n"
         "                   [--discard NUMERO] [--fallback-after SEGUNDOS]\n"
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
         "  --fallback-after   segundos que una impresora puede no responder antes de que sus\n"
         "                     tickets pasen a la predeterminada (60 por omision; 0 nunca)\n"
         "\n"
         "--server, --spool, --default-printer, --encoding y --fallback-after se leen tambien del\n"
         "archivo "
         "$XDG_CONFIG_HOME/quillon-agent/agent.conf\n(~/.config/quillon-agent/agent.conf); "
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
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--headless") {
      line.headless = true;
    } else if (arg == "--server") {
      std::string server;
      if (!value(&server)) return std::nullopt;
      if (!ParseServer(server, &line.server_host, &line.server_port)) {
        *error = "Puerto no valido en --server: " + server;
        return std::nullopt;
      }
    } else if (arg == "--data-dir") {
      if (!value(&line.data_dir)) return std::nullopt;
    } else if (arg == "--spool") {
      if (!value(&line.spool_dir)) return std::nullopt;
    } else if (arg == "--default-printer") {
      if (!value(&line.default_printer)) return std::nullopt;
    } else if (arg == "--encoding") {
      if (!value(&line.encoding)) return std::nullopt;
      if (!IsEncodingName(line.encoding)) {
        *error = "Codificacion no valida: " + line.encoding + " (windows-1252 o utf-8)";
        return std::nullopt;
      }
    } else if (arg == "--print-job") {
      if (!value(&line.print_job)) return std::nullopt;
    } else if (arg == "--check-job") {
      if (!value(&line.check_job)) return std::nullopt;
    } else if (arg == "--render-escpos") {
      if (!value(&line.render_escpos) || !value(&line.render_output)) return std::nullopt;
    } else if (arg == "--list-tickets") {
      line.list_tickets = true;
    } else if (arg == "--reprint") {
      std::string number;
      if (!value(&number)) return std::nullopt;
      line.reprint = ParseTicketNumber(number, arg, error);
      if (!line.reprint) return std::nullopt;
    } else if (arg == "--discard") {
      std::string number;
      if (!value(&number)) return std::nullopt;
      line.discard = ParseTicketNumber(number, arg, error);
      if (!line.discard) return std::nullopt;
    } else if (arg == "--fallback-after") {
      std::string seconds;
      if (!value(&seconds)) return std::nullopt;
      line.fallback_after = ParseSeconds(seconds);
      if (line.fallback_after < 0) {
        *error = "Segundos no validos en --fallback-after: " + seconds + " (de 0 a 86400)";
        return std::nullopt;
      }
    } else if (arg == "--printer") {
      if (!value(&line.printer)) return std::nullopt;
    } else {
      *error = "Opcion desconocida: " + std::string(arg);
      return std::nullopt;
    }
  }
  return line;
}

}  // namespace quillon::app
