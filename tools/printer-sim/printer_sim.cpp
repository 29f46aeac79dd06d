// printer-sim: a network receipt printer on a loopback port, for the tests and the demo. Every
// ticket it prints is kept as NNNN.escpos with its NNNN.png; every drawer kick adds a line to
// cajon.log. The word in the control file (ready, near-end, paper-end, cover-open, off, silent,
// slow, runs-out) switches it while it runs.
//
//   printer-sim --port PORT --dir FOLDER [--control FILE] [--port-file FILE]
//
// PORT 0 picks a free port, written into --port-file once listening.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "loopback_listener.h"
#include "print/receipt_renderer.h"
#include "simulated_printer.h"

namespace {

namespace fs = std::filesystem;
using quillon::tools::SimMode;
using quillon::tools::SimulatedPrinter;

struct Options {
  int port = -1;
  fs::path dir;
  fs::path control;
  fs::path port_file;
};

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The mode the control file names, or `current` when it names none or cannot be read.
SimMode ReadMode(const fs::path& control, SimMode current) {
  if (control.empty()) return current;
  std::ifstream in(control);
  std::string word;
  in >> word;
  SimMode mode = current;
  if (!word.empty() && !quillon::tools::ParseSimMode(word, &mode)) {
    std::fprintf(stderr, "printer-sim: modo desconocido en %s: %s\n", control.c_str(),
                 word.c_str());
  }
  return mode;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--port") {
      options->port = std::stoi(value);
    } else if (name == "--dir") {
      options->dir = value;
    } else if (name == "--control") {
      options->control = value;
    } else if (name == "--port-file") {
      options->port_file = value;
    } else {
      return false;
    }
  }
  return options->port >= 0 && !options->dir.empty() && argc % 2 == 1;
}

int NextTicketNumber(const fs::path& dir) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".escpos") ++count;
  }
  return count + 1;
}

// Ticket `number` as it came (NNNN.escpos) and as the receipt renderer draws it (NNNN.png).
void SaveTicket(const fs::path& dir, int number, const std::string& ticket) {
  char name[16];
  std::snprintf(name, sizeof name, "%04d", number);
  WriteFile(dir / (std::string(name) + ".escpos"), ticket);
  try {
    WriteFile(dir / (std::string(name) + ".png"), quillon::print::RenderEscPosPng(ticket));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "printer-sim: sin PNG para %s: %s\n", name, error.what());
  }
  std::fprintf(stderr, "printer-sim: ticket %s impreso (%zu bytes)\n", name, ticket.size());
}

// Waits up to 20 ms for a connection or bytes: new clients are taken, bytes go to the printer
// and its answers back, a client that went away is dropped.
template <typename Drop>
void Poll(int listener, std::vector<int>& clients, SimulatedPrinter& printer, Drop drop) {
  std::vector<pollfd> watched;
  if (listener >= 0) watched.push_back({listener, POLLIN, 0});
  for (const int fd : clients) watched.push_back({fd, POLLIN, 0});
  poll(watched.data(), watched.size(), 20);
  for (const pollfd& entry : watched) {
    if ((entry.revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
    if (entry.fd == listener) {
      const int fd = accept(listener, nullptr, nullptr);
      if (fd >= 0) clients.push_back(fd);
      continue;
    }
    char bytes[65536];
    const ssize_t count = read(entry.fd, bytes, sizeof bytes);
    if (count <= 0) {
      drop(entry.fd);
      continue;
    }
    const std::string answer =
        printer.Receive(entry.fd, std::string_view(bytes, static_cast<std::size_t>(count)));
    if (!answer.empty()) send(entry.fd, answer.data(), answer.size(), MSG_NOSIGNAL);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(
        "Uso: printer-sim --port PUERTO --dir CARPETA [--control ARCHIVO] [--port-file ARCHIVO]\n",
        stderr);
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  fs::create_directories(options.dir);
  int number = NextTicketNumber(options.dir);
  SimulatedPrinter printer(
      [&](const std::string& ticket) { SaveTicket(options.dir, number++, ticket); },
      [&] {
        std::ofstream(options.dir / "cajon.log", std::ios::app) << "cajon\n";
        std::fputs("printer-sim: cajon abierto\n", stderr);
      });
  printer.SetMode(ReadMode(options.control, SimMode::kReady));

  int listener = -1;
  int port = options.port;
  std::vector<int> clients;
  bool holding = false;
  auto drop = [&](int fd) {
    printer.Disconnected(fd);
    close(fd);
    std::erase(clients, fd);
  };
  for (;;) {
    const SimMode mode = ReadMode(options.control, printer.Mode());
    if (mode != printer.Mode()) std::fprintf(stderr, "printer-sim: modo %d\n", int(mode));
    printer.SetMode(mode);
    if (mode == SimMode::kOff) {
      if (listener >= 0) close(listener);
      listener = -1;
      while (!clients.empty()) drop(clients.front());
    } else if (listener < 0) {
      listener = loopback::Listen(port);
      if (listener < 0) {
        std::fprintf(stderr, "printer-sim: no se puede escuchar en el puerto %d\n", port);
        return 1;
      }
      if (port == 0) {
        port = loopback::BoundPort(listener);
        if (!options.port_file.empty()) WriteFile(options.port_file, std::to_string(port) + "\n");
      }
    }
    Poll(listener, clients, printer, drop);
    for (const auto& [fd, answer] : printer.Work(NowMs())) {
      if (fd >= 0) send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    }
    // Told once each time work stays in the buffer, so a test knows the printer holds it.
    if (printer.Buffered() > 0 && !holding) {
      std::fprintf(stderr, "printer-sim: trabajo en el búfer sin imprimir\n");
    }
    holding = printer.Buffered() > 0;
  }
}
