// The demo print server, driven by a tiny client over loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// After a drop the next connection starts from the next whole job, or with --resend from the
// cut job, whole; every message of the agent is printed, whichever connection it came on.
TEST_F(PrintServerTest, AfterADropTheNextConnectionStartsWithAWholeJob) {
  const std::string first = R"({"config":[],"dato":[],"tipo":"comanda"})";
  const std::string second = R"({"config":[],"dato":{"mesa":"5"},"tipo":"factura"})";
  WriteJob("1.json", first);
  WriteJob("2.json", second);
  WriteJob("notas.txt", "no es un trabajo");
  for (const bool resend : {false, true}) {
    SCOPED_TRACE(resend ? "--resend" : "sin --resend");
    std::vector<std::string> args = {
        "--job", folder_.string(),        "--pieces", "--seed",    "7", "--wait-id", "--drop-after",
        "25",    "--exit-after-statuses", "2",        "--timeout", "20"};
    if (resend) args.push_back("--resend");
    PrintServerProcess server(args);
    ASSERT_GT(server.port(), 0);

    std::string received;
    {
      Client client(server.port());
      ASSERT_TRUE(client.connected());
      client.Send(kId);
      client.ReceiveUntil(&received);  // the server drops this connection
    }
    EXPECT_EQ(received, first.substr(0, 25));
    received.clear();
    Client client(server.port());
    ASSERT_TRUE(client.connected());
    client.Send(std::string(kId) + kStatus);  // two messages in one write
    client.ReceiveUntil(&received, second + "_endMessage_");
    std::string expected = resend ? first + "_endMessage_" : "";
    expected += second + "_endMessage_";
    EXPECT_EQ(received, expected);
    client.Send(std::string(kStatus).substr(0, 10));
    client.Send(std::string(kStatus).substr(10));

    EXPECT_EQ(server.NextLine(5000), kId);
    EXPECT_EQ(server.NextLine(5000), kId);
    EXPECT_EQ(server.NextLine(5000), kStatus);
    EXPECT_EQ(server.NextLine(5000), kStatus);
    EXPECT_EQ(server.ExitStatus(5000), 0);
  }
}

TEST_F(PrintServerTest, ReadsTheIdentificationOfAConnectionItCutsWithoutWaitingForIt) {
  const std::string cut = R"({"config":[],"dato":[],"tipo":"cajon"})";
  const std::string next = R"({"config":[],"dato":[],"tipo":"comanda"})";
  WriteJob("1.json", cut);
  WriteJob("2.json", next);
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
  EXPECT_EQ(received, cut.substr(0, 10));
  received.clear();
  Client client(server.port());
  ASSERT_TRUE(client.connected());
  client.Send(kId);
  client.ReceiveUntil(&received, "_endMessage_");
  EXPECT_EQ(received, next + "_endMessage_");
  client.Send(kStatus);

  EXPECT_EQ(server.NextLine(5000), kId);
  EXPECT_EQ(server.NextLine(5000), kId);
  EXPECT_EQ(server.NextLine(5000), kStatus);
  EXPECT_EQ(server.ExitStatus(5000), 0);
}

// --cut-percent 100 --resend: every job comes first cut, somewhere in its text, right before
// its terminator or inside it, then whole on the next connection.
TEST_F(PrintServerTest, RandomCutsFallInTheTextBeforeAndInsideTheTerminator) {
  const std::string job = R"({"config":[],"dato":[],"tipo":"cajon"})";
  const std::string whole = job + "_endMessage_";
  for (int i = 1; i <= 12; ++i) WriteJob((i < 10 ? "0" : "") + std::to_string(i) + ".json", job);
  PrintServerProcess server({"--job", folder_.string(), "--cut-percent", "100", "--resend",
                             "--seed", "5", "--timeout", "60"});
  ASSERT_GT(server.port(), 0);
  // Each connection brings the job cut before it again whole, then the next job cut.
  std::vector<std::string> cuts;
  for (int connection = 1; connection <= 12; ++connection) {
    std::string received;
    Client client(server.port());
    ASSERT_TRUE(client.connected());
    client.ReceiveUntil(&received);
    if (connection > 1) {
      ASSERT_GE(received.size(), whole.size());
      EXPECT_EQ(received.substr(0, whole.size()), whole);
      received.erase(0, whole.size());
    }
    cuts.push_back(received);
  }
  std::string last;
  Client client(server.port());
  ASSERT_TRUE(client.connected());
  client.ReceiveUntil(&last, whole);
  EXPECT_EQ(last, whole);

  int in_text = 0, before_terminator = 0, in_terminator = 0;
  for (const std::string& cut : cuts) {
    ASSERT_GT(cut.size(), 0u);
    ASSERT_LT(cut.size(), whole.size());
    EXPECT_EQ(cut, whole.substr(0, cut.size()));
    in_text += cut.size() < job.size();
    before_terminator += cut.size() == job.size();
    in_terminator += cut.size() > job.size();
  }
  EXPECT_GT(in_text, 0);
  EXPECT_GT(before_terminator, 0);
  EXPECT_GT(in_terminator, 0);
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
