// A CUPS server that does not answer: finding a printer or the default printer says the server
// cannot be asked (not that a printer is missing), instead of hanging or printing.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "adapters/cups/cups_printers.h"
#include "support/temp_folder.h"

namespace quillon::adapters::cups {
namespace {

// A loopback port that nothing listens on.
std::string ClosedServer() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), size), 0);
  EXPECT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size), 0);
  close(fd);
  return "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

void ExpectUnreachable(const std::function<void()>& operation) {
  try {
    operation();
    ADD_FAILURE() << "no failure without a server";
  } catch (const platform::Failure& error) {
    EXPECT_EQ(error.Number(), 482);
    EXPECT_EQ(error.Description().rfind(u"No se pudo consultar el servidor de impresión CUPS", 0),
              0u)
        << error.what();
  }
}

TEST(CupsUnreachable, FindingAPrinterOrTheDefaultSaysTheServerCannotBeAsked) {
  // No default printer from the environment or from lpoptions files of this machine.
  test::TempFolder empty;
  setenv("CUPS_SERVERROOT", empty.Path().c_str(), 1);
  setenv("HOME", empty.Path().c_str(), 1);
  unsetenv("LPDEST");
  unsetenv("PRINTER");
  cupsSetServer(ClosedServer().c_str());
  CupsPrinterSystem system;
  ExpectUnreachable([&] { system.FindPrinter(u"Cocina"); });
  ExpectUnreachable([&] { system.DefaultPrinterName(); });

  QueueDescription raw;
  raw.name = "Cocina";
  raw.make_and_model = "Local Raw Printer";
  CupsPrinterQueue queue(raw);
  EXPECT_EQ(queue.DeviceName(), u"Cocina");
  ExpectUnreachable([&] { queue.SendRaw(std::string("\x1bp\x00\x3c\xf0", 5)); });
  cupsSetServer(nullptr);
}

}  // namespace
}  // namespace quillon::adapters::cups
