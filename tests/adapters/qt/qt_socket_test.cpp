// The server link over the Qt socket, against the demo print server on loopback.
#include "adapters/qt/qt_socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "link/print_server_process.h"
#include "link/server_connection.h"
#include "platform/text.h"
#include "support/fake_activity_log.h"
#include "support/fake_job_handlers.h"
#include "support/fake_notifier.h"
#include "support/fake_rejected_jobs.h"
#include "support/fake_tray_status.h"

namespace quillon::test {
namespace {

class QtLinkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "tests_link_qt";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
  }

  void Start(int port) {
    connection_ = std::make_unique<link::ServerConnection>(
        socket_, tray_, notifier_, log_, handlers_, link::ServerEndpoint{"127.0.0.1", port},
        link::WireEncoding::kWindows1252, rejected_);
    connection_->SetBranchCode(u"SUCÑ00000000042");
    connection_->SetReconnect(true);
    // A quicker watch than the agent's second keeps the test short; the logic is the same.
    QObject::connect(&watch_, &QTimer::timeout, [this] { connection_->OnWatchTick(); });
    watch_.start(100);
  }

  // Runs the event loop until `done` or `seconds` pass.
  bool RunUntil(const std::function<bool()>& done, int seconds = 15) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  adapters::qt::QtSocket socket_;
  FakeTrayStatus tray_;
  FakeNotifier notifier_;
  FakeActivityLog log_;
  FakeJobHandlers handlers_;
  FakeRejectedJobs rejected_;
  QTimer watch_;
  std::unique_ptr<link::ServerConnection> connection_;
};

TEST_F(QtLinkTest, JobsCutAndInterruptedArriveWholeAndEachIsAnswered) {
  const std::string folder = std::string(QUILLON_BINARY_DIR) + "/tests/adapters/qt/qt-jobs";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/1.json", std::ios::binary)
      << "{\"config\":[],\"dato\":[{\"producto\":\"Pi\xF1"
         "a\"}],\"tipo\":\"comanda\"}";
  std::ofstream(folder + "/2.json", std::ios::binary)
      << R"({"config":[],"dato":{"mesa":"5"},"tipo":"factura"})";
  PrintServerProcess server({"--job", folder, "--pieces", "--seed", "3", "--wait-id",
                             "--drop-after", "30", "--resend", "--exit-after-statuses", "2",
                             "--timeout", "30"});
  ASSERT_GT(server.port(), 0);
  // The kitchen order lets events run long enough for the invoice to arrive meanwhile.
  std::vector<std::string> printed_inside;
  handlers_.during_call = [&](const std::string& name) {
    if (name != "comanda") return;
    RunUntil([] { return false; }, 1);
    printed_inside = handlers_.Printed();
  };
  Start(server.port());

  ASSERT_TRUE(RunUntil([&] { return server.ExitStatus() >= 0; }));
  EXPECT_EQ(printed_inside, std::vector<std::string>{"comanda"});
  EXPECT_EQ(server.ExitStatus(), 0);
  EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"comanda", "factura"}));
  EXPECT_EQ(handlers_.calls[1].argument[1][u"producto"].ToText(), u"Piña");
  const std::string id =
      "{\"idSyA\":\"SUC\xD1"
      "00000000042\",\"type\":\"id\"}";
  const std::string status =
      "{\"idSyA\":\"SUC\xD1"
      "00000000042\",\"status\":\"0\"}";
  EXPECT_EQ(server.NextLine(1000), id);
  EXPECT_EQ(server.NextLine(1000), id);  // identified again after the drop
  EXPECT_EQ(server.NextLine(1000), status);
  EXPECT_EQ(server.NextLine(1000), status);
  ASSERT_GE(notifier_.balloons.size(), 3u);
  EXPECT_EQ(notifier_.balloons[1].text, u"Servidor de impresoras desconectado");
}

TEST_F(QtLinkTest, RefusedConnectionIsLoggedAndRetried) {
  int free_port = 0;
  {
    PrintServerProcess probe({"--timeout", "1"});
    free_port = probe.port();
  }  // stopped: nothing listens there now
  ASSERT_GT(free_port, 0);
  Start(free_port);
  ASSERT_TRUE(RunUntil([&] { return log_.history.size() >= 2; }));
  EXPECT_EQ(log_.history[0], u"Error: 10061-Conexión rechazada por el servidor");
  EXPECT_EQ(log_.history[1], log_.history[0]);
  EXPECT_EQ(notifier_.balloons[0].text, u"10061-Conexión rechazada por el servidor");
  EXPECT_EQ(tray_.states[0].tooltip, u"DesConectando");
}

// The descriptor of this process's socket connected to loopback `port`; -1 when there is none.
int ClientDescriptorTo(int port) {
  for (int fd = 0; fd < 1024; ++fd) {
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) == 0 &&
        peer.sin_family == AF_INET && ntohs(peer.sin_port) == port) {
      return fd;
    }
  }
  return -1;
}

int TcpOption(int fd, int level, int name) {
  int value = -1;
  socklen_t size = sizeof value;
  return getsockopt(fd, level, name, &value, &size) == 0 ? value : -1;
}

// A link a router dropped without a word is found by the probes within about a minute.
TEST_F(QtLinkTest, ConnectedSocketSendsKeepAliveProbesOnTheLinkTiming) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  const int port = ntohs(address.sin_port);

  socket_.Connect("127.0.0.1", port);
  ASSERT_TRUE(RunUntil([&] { return socket_.State() == platform::kSocketConnected; }));
  const int fd = ClientDescriptorTo(port);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(TcpOption(fd, SOL_SOCKET, SO_KEEPALIVE), 1);
  EXPECT_EQ(TcpOption(fd, IPPROTO_TCP, TCP_KEEPIDLE), 30);
  EXPECT_EQ(TcpOption(fd, IPPROTO_TCP, TCP_KEEPINTVL), 10);
  EXPECT_EQ(TcpOption(fd, IPPROTO_TCP, TCP_KEEPCNT), 3);
  socket_.Close();
  close(listener);
}

}  // namespace
}  // namespace quillon::test
