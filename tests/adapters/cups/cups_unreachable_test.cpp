// A CUPS server that does not answer: no printers, no default, and a probe that fails with a
// description instead of hanging or printing.
#include <gtest/gtest.h>
#include <cups/cups.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "adapters/cups/cups_printers.h"

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

TEST(CupsUnreachable, NoPrintersNoDefaultAndFailingProbes) {
  cupsSetServer(ClosedServer().c_str());
  CupsPrinterSystem system;
  EXPECT_TRUE(system.InstalledPrinters().empty());
  EXPECT_EQ(system.DefaultPrinterName(), u"");

  CupsPrinterQueue queue("Cocina");
  EXPECT_EQ(queue.DeviceName(), u"Cocina");
  for (auto operation : {+[](CupsPrinterQueue& q) { q.CheckReady(); },
                         +[](CupsPrinterQueue& q) { q.SendRaw(std::string("\x1bp\x00\x3c\xf0", 5)); },
                         +[](CupsPrinterQueue& q) { q.PrintTicket({}); }}) {
    try {
      operation(queue);
      ADD_FAILURE() << "no failure without a server";
    } catch (const platform::Failure& error) {
      EXPECT_EQ(error.Number(), 482);
      EXPECT_EQ(error.Description().rfind(u"No se pudo consultar el servidor de impresión CUPS", 0), 0u) << error.what();
    }
  }
  cupsSetServer(nullptr);
}

}  // namespace
}  // namespace quillon::adapters::cups
