// The connection watch, the identification and status messages, and the tray and log on
// connect, close and error.
#include <string>
#include <vector>

#include "link/link_fixture.h"
#include "link/server_messages.h"

namespace quillon::test {
namespace {

using platform::Utf8ToUtf16;

constexpr char16_t kTitle[] = u"Sistema de impresora";
constexpr char16_t kConnected[] = u"Servidor de impresoras conextado correctamente";

class ConnectionTest : public LinkTest {
 protected:
  void ExpectBalloon(std::size_t index, const std::u16string& text) {
    ASSERT_LT(index, notifier_.balloons.size());
    const Balloon& balloon = notifier_.balloons[index];
    EXPECT_EQ(balloon.text, text);
    EXPECT_EQ(balloon.icon, platform::BalloonIcon::kInformation);
    EXPECT_EQ(balloon.title, kTitle);
    EXPECT_EQ(balloon.timeout_ms, 30000);
  }
};

TEST_F(ConnectionTest, WatchOpensTheConnectionUnlessItIsConnectingOrConnected) {
  connection_.OnWatchTick();
  ASSERT_EQ(socket_.attempts.size(), 1u);
  EXPECT_EQ(socket_.attempts[0].host, "192.0.2.7");
  EXPECT_EQ(socket_.attempts[0].port, 3000);
  EXPECT_EQ(socket_.closes, 1);  // closed first, then opened
  EXPECT_EQ(connection_.state_label(), u"status 6");

  connection_.OnWatchTick();
  socket_.Connected();
  for (int i = 0; i < 3; ++i) connection_.OnWatchTick();
  EXPECT_EQ(socket_.attempts.size(), 1u);
  EXPECT_EQ(connection_.state_label(), u"status 7");

  for (const int state : {0, 1, 2, 3, 4, 5, 8, 9}) {
    socket_.state = state;
    connection_.OnWatchTick();
  }
  EXPECT_EQ(socket_.attempts.size(), 9u);
}

TEST_F(ConnectionTest, WatchWithoutReconectarOnlyRefreshesTheLabel) {
  connection_.SetReconnect(false);
  socket_.state = platform::kSocketError;
  connection_.OnWatchTick();
  EXPECT_TRUE(socket_.attempts.empty());
  EXPECT_EQ(connection_.state_label(), u"status 9");
  socket_.state = platform::kSocketClosed;
  connection_.OnWatchTick();
  EXPECT_EQ(connection_.state_label(), u"status 0");
}

TEST_F(ConnectionTest, EveryFailureLogsOneLineShowsOneBalloonAndIsRetriedNextTick) {
  for (int attempt = 1; attempt <= 3; ++attempt) {
    connection_.OnWatchTick();
    ASSERT_EQ(socket_.attempts.size(), static_cast<std::size_t>(attempt));
    socket_.Fails(10061, u"Conexión rechazada por el servidor");
    EXPECT_EQ(socket_.state, platform::kSocketClosed);
  }
  EXPECT_EQ(log_.history,
            std::vector<std::u16string>(3, u"Error: 10061-Conexión rechazada por el servidor"));
  ASSERT_EQ(notifier_.balloons.size(), 3u);
  ExpectBalloon(2, u"10061-Conexión rechazada por el servidor");
  ASSERT_EQ(tray_.states.size(), 3u);
  EXPECT_EQ(tray_.states[2].icon, link::TrayImage::kDisconnected);
  EXPECT_EQ(tray_.states[2].tooltip, u"DesConectando");
  EXPECT_TRUE(socket_.sent.empty());
}

TEST_F(ConnectionTest, EveryNewConnectionIsIdentified) {
  std::size_t logged_at_send = 0;
  socket_.on_send = [&] { logged_at_send = log_.history.size(); };
  connection_.OnWatchTick();
  socket_.Connected();
  EXPECT_EQ(socket_.sent, std::vector<std::string>{kIdentification});
  EXPECT_EQ(log_.history, std::vector<std::u16string>{Utf8ToUtf16(kIdentification)});
  EXPECT_EQ(logged_at_send, 1u);  // logged first, then sent
  ASSERT_EQ(tray_.states.size(), 1u);
  EXPECT_EQ(tray_.states[0].icon, link::TrayImage::kConnected);
  EXPECT_EQ(tray_.states[0].tooltip, kConnected);
  ExpectBalloon(0, kConnected);

  socket_.PeerCloses();
  EXPECT_EQ(socket_.state, platform::kSocketClosed);
  EXPECT_EQ(log_.history.size(), 1u);  // a close is not logged
  EXPECT_EQ(tray_.states.back().icon, link::TrayImage::kDisconnected);
  EXPECT_EQ(tray_.states.back().tooltip, u"DesConectando");
  ExpectBalloon(1, u"Servidor de impresoras desconectado");

  connection_.OnWatchTick();
  socket_.Connected();
  EXPECT_EQ(socket_.sent, (std::vector<std::string>{kIdentification, kIdentification}));
}

TEST_F(ConnectionTest, StatusGoesOnlyOverAnOpenConnectionAndIsLoggedAfterSending) {
  connection_.OnPingTick();
  connection_.OnWatchTick();  // connecting
  connection_.OnPingTick();
  connection_.SendStatus();
  EXPECT_TRUE(socket_.sent.empty());
  EXPECT_TRUE(log_.history.empty());

  socket_.Connected();
  std::size_t logged_at_send = 0;
  socket_.on_send = [&] { logged_at_send = log_.history.size(); };
  connection_.OnPingTick();
  connection_.SendStatus();  // "Send Status Free"
  EXPECT_EQ(socket_.sent, (std::vector<std::string>{kIdentification, kStatus0, kStatus0}));
  EXPECT_EQ(log_.history.back(), Utf8ToUtf16(kStatus0));
  EXPECT_EQ(logged_at_send, 2u);  // sent before it was logged
}

TEST_F(ConnectionTest, StartUpShowsTheAttemptAndMakesItAtOnce) {
  connection_.SetReconnect(false);  // as it is before the single-instance check
  connection_.Start();
  ASSERT_EQ(tray_.states.size(), 1u);
  EXPECT_EQ(tray_.states[0].icon, link::TrayImage::kDisconnected);
  EXPECT_EQ(tray_.states[0].tooltip, u"Conectando");
  ExpectBalloon(0, u"Conectando al servidor de impresion ");
  // The first attempt needs no tick of the watch.
  ASSERT_EQ(socket_.attempts.size(), 1u);
  EXPECT_EQ(connection_.state_label(), u"status 6");
  socket_.Connected();
  EXPECT_EQ(socket_.sent, std::vector<std::string>{kIdentification});
}

TEST(ServerEndpointTest, EmptyHostIsTheBuiltInAddress) {
  EXPECT_EQ(link::MakeServerEndpoint("", 3000).host, QUILLON_DEFAULT_SERVER);
  EXPECT_EQ(link::MakeServerEndpoint("impresion.local", 4100).host, "impresion.local");
  EXPECT_EQ(link::MakeServerEndpoint("impresion.local", 4100).port, 4100);
}

TEST(ServerMessagesTest, CodesAreSentAsTheyAreUnlessTheyWouldBreakTheString) {
  EXPECT_EQ(link::IdentificationMessage(u"SUC-001 Niño/1"),
            u"{\"idSyA\":\"SUC-001 Niño/1\",\"type\":\"id\"}");
  EXPECT_EQ(link::StatusMessage(u"SUC-001", 1), u"{\"idSyA\":\"SUC-001\",\"status\":\"1\"}");
  EXPECT_EQ(link::IdentificationMessage(u"A\"B\\C\nD\x01\x1F"),
            u"{\"idSyA\":\"A\\\"B\\\\C\\nD\\u0001\\u001f\",\"type\":\"id\"}");
  EXPECT_EQ(link::StatusMessage(u"\",\"status\":\"1", 0),
            u"{\"idSyA\":\"\\\",\\\"status\\\":\\\"1\",\"status\":\"0\"}");
  EXPECT_EQ(link::StatusMessage(u"\t\r\b\f", 0), u"{\"idSyA\":\"\\t\\r\\b\\f\",\"status\":\"0\"}");
}

class Utf8ConnectionTest : public LinkTest {
 protected:
  Utf8ConnectionTest() : LinkTest(link::WireEncoding::kUtf8) {}
};

TEST_F(ConnectionTest, MessagesAreWindowsBytesByDefault) {
  connection_.SetBranchCode(u"SUCÑ00000000042");
  connection_.OnWatchTick();
  socket_.Connected();
  EXPECT_EQ(socket_.sent, std::vector<std::string>{"{\"idSyA\":\"SUC\xD1"
                                                   "00000000042\",\"type\":\"id\"}"});
}

TEST_F(Utf8ConnectionTest, MessagesAreUtf8WhenTheServerSpeaksIt) {
  connection_.SetBranchCode(u"SUCÑ00000000042");
  connection_.OnWatchTick();
  socket_.Connected();
  EXPECT_EQ(socket_.sent, std::vector<std::string>{"{\"idSyA\":\"SUC\xC3\x91"
                                                   "00000000042\",\"type\":\"id\"}"});
}

}  // namespace
}  // namespace quillon::test
