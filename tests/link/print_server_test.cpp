// The demo print server, driven by a tiny client over loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "link/print_server_process.h"

namespace quillon::test {
namespace {

class Client {
 public:
  explicit Client(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    timeval limit{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  }
  ~Client() { close(fd_); }
  bool connected() const { return connected_; }
  void Send(const std::string& bytes) {
    ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
  }
  // Everything received until `until` is in the text, or the server closes.
  std::string ReceiveUntil(std::string* all, const std::string& until = "") {
    char bytes[256];
    while (until.empty() || all->find(until) == std::string::npos) {
      const ssize_t count = recv(fd_, bytes, sizeof bytes, 0);
      if (count <= 0) break;
      all->append(bytes, static_cast<std::size_t>(count));
    }
    return *all;
  }

 private:
  int fd_;
  bool connected_ = false;
};

class PrintServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("print-server-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string WriteJob(const std::string& name, const std::string& text) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::filesystem::path folder_;
};

constexpr char kId[] = R"({"idSyA":"SUC\"1","type":"id"})";
constexpr char kStatus[] = R"({"idSyA":"SUC\"1","status":"0"})";

TEST_F(PrintServerTest, SendsEveryJobAcrossADroppedConnectionAndPrintsTheAgentsMessages) {
  const std::string first = R"({"config":[],"dato":[],"tipo":"comanda"})";
  const std::string second = R"({"config":[],"dato":{"mesa":"5"},"tipo":"factura"})";
  WriteJob("1.json", first);
  WriteJob("2.json", second);
  WriteJob("notas.txt", "no es un trabajo");
  PrintServerProcess server({"--job", folder_.string(), "--pieces", "--seed", "7", "--wait-id",
                             "--drop-after", "25", "--exit-after-statuses", "2", "--timeout",
                             "20"});
  ASSERT_GT(server.port(), 0);

  std::string received;
  {
    Client client(server.port());
    ASSERT_TRUE(client.connected());
    client.Send(kId);
    client.ReceiveUntil(&received);  // the server drops this connection
  }
  EXPECT_EQ(received, first.substr(0, 25));
  Client client(server.port());
  ASSERT_TRUE(client.connected());
  client.Send(std::string(kId) + kStatus);  // two messages in one write
  client.ReceiveUntil(&received, second + "_endMessage_");
  EXPECT_EQ(received, first + "_endMessage_" + second + "_endMessage_");
  client.Send(std::string(kStatus).substr(0, 10));
  client.Send(std::string(kStatus).substr(10));

  EXPECT_EQ(server.NextLine(5000), kId);
  EXPECT_EQ(server.NextLine(5000), kId);
  EXPECT_EQ(server.NextLine(5000), kStatus);
  EXPECT_EQ(server.NextLine(5000), kStatus);
  EXPECT_EQ(server.ExitStatus(5000), 0);
}

TEST_F(PrintServerTest, ReadsTheIdentificationOfAConnectionItCutsWithoutWaitingForIt) {
  const std::string job = R"({"config":[],"dato":[],"tipo":"cajon"})";
  WriteJob("1.json", job);
  PrintServerProcess server({"--job", folder_.string(), "--drop-after", "10",
                             "--exit-after-statuses", "1", "--timeout", "20"});
  ASSERT_GT(server.port(), 0);

  std::string received;
  {
    Client client(server.port());
    ASSERT_TRUE(client.connected());
    client.Send(kId);
    client.ReceiveUntil(&received);  // cut after 10 bytes
  }
  EXPECT_EQ(received, job.substr(0, 10));
  Client client(server.port());
  ASSERT_TRUE(client.connected());
  client.Send(kId);
  client.ReceiveUntil(&received, "_endMessage_");
  EXPECT_EQ(received, job + "_endMessage_");
  client.Send(kStatus);

  EXPECT_EQ(server.NextLine(5000), kId);
  EXPECT_EQ(server.NextLine(5000), kId);
  EXPECT_EQ(server.NextLine(5000), kStatus);
  EXPECT_EQ(server.ExitStatus(5000), 0);
}

TEST_F(PrintServerTest, EndsWithAFailureWhenItRunsPastItsTimeout) {
  PrintServerProcess server({"--timeout", "1"});
  ASSERT_GT(server.port(), 0);
  EXPECT_EQ(server.ExitStatus(5000), 2);
}

TEST_F(PrintServerTest, RefusesAMissingJob) {
  PrintServerProcess server({"--job", (folder_ / "falta.json").string()});
  EXPECT_EQ(server.port(), 0);
  EXPECT_EQ(server.ExitStatus(5000), 64);
}

}  // namespace
}  // namespace quillon::test
