// Receiving job text in pieces: where a job ends, what is logged, what waits in the buffer.
#include <random>
#include <string>
#include <vector>

#include "link/link_fixture.h"

namespace quillon::test {
namespace {

using platform::u16;

class FramingTest : public LinkTest {
 protected:
  FramingTest() { ConnectAndForget(); }

  void ArrivesInPieces(const std::string& stream, std::mt19937& random, std::size_t max_piece) {
    std::uniform_int_distribution<std::size_t> size(1, max_piece);
    for (std::size_t at = 0; at < stream.size();) {
      const std::size_t length = std::min(size(random), stream.size() - at);
      socket.Arrives(stream.substr(at, length));
      at += length;
    }
  }
};

TEST_F(FramingTest, JobInPiecesIsDispatchedOnceTheTerminatorCompletes) {
  const std::string job = Job("cajon");
  socket.Arrives(job.substr(0, 20));
  socket.Arrives(job.substr(20) + "_endMes");
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_EQ(log.Lines(),
            (std::vector<std::u16string>{u16(job.substr(0, 20)), u16(job.substr(20) + "_endMes")}));

  socket.Arrives("sage_");
  EXPECT_EQ(handlers.Printed(), std::vector<std::string>{"cajon"});
  EXPECT_EQ(socket.sent, std::vector<std::string>{kStatus0});
  // Each piece was logged as its own line, then wiped when the job completed.
  ASSERT_EQ(log.history.size(), 8u);
  EXPECT_EQ(log.history[2], u"sage_");
  EXPECT_EQ(log.history[3], FakeActivityLog::kClearMark);
  EXPECT_EQ(log.Lines(), LinesOfJob(job));
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), u"");
  EXPECT_EQ(connection.Intake().IsPrinting(), 0);
}

TEST_F(FramingTest, EveryJobOfAPieceIsDispatchedInOrderWithItsOwnStatus) {
  const std::string rest = R"({"config":[],"dato":)";
  socket.Arrives(Job("comanda", R"([{"area":"Cocina"}])") + kTerminator + Job("cajon") +
                 kTerminator + rest);
  EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"comanda", "cajon"}));
  EXPECT_EQ(socket.sent, (std::vector<std::string>{kStatus0, kStatus0}));
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), u16(rest));

  socket.Arrives(R"({},"tipo":"factura"})" + std::string(kTerminator));
  EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"comanda", "cajon", "factura"}));
  EXPECT_EQ(socket.sent.size(), 3u);
  EXPECT_EQ(log.Lines(), LinesOfJob(rest + R"({},"tipo":"factura"})"));
}

TEST_F(FramingTest, TerminatorInOtherLetterCaseIsOrdinaryText) {
  const std::string text = Job("cajon") + "_ENDMESSAGE_" + Job("cajon") + "_endmessage_";
  socket.Arrives(text);
  EXPECT_TRUE(handlers.calls.empty());
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), u16(text));
  EXPECT_EQ(log.Lines(), std::vector<std::u16string>{u16(text)});
}

TEST_F(FramingTest, TerminatorAloneDispatchesTheEmptyTextAndLogsTheParseError) {
  socket.Arrives(kTerminator);
  EXPECT_TRUE(handlers.calls.empty());
  const std::vector<std::u16string> lines = log.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], u"Respuesta: ");
  EXPECT_EQ(lines[1], u"--");
  EXPECT_EQ(lines[2].rfind(u"Invalid JSON", 0), 0u) << platform::Utf16ToUtf8(lines[2]);
  EXPECT_EQ(lines[3], u16(kStatus0));
  EXPECT_EQ(lines[4], kFin);
}

TEST_F(FramingTest, AnyCutOfTheStreamGivesTheSameJobs) {
  const std::string stream = Job("comanda", R"([{"producto":"Arepa"}])") + kTerminator +
                             Job("anulacion", R"([{"producto":"Jugo"}])") + kTerminator +
                             Job("factura", R"({"total":12500})") + kTerminator;
  for (const std::size_t max_piece : {1u, 3u, 13u, 40u}) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
      handlers.calls.clear();
      socket.sent.clear();
      std::mt19937 random(seed);
      ArrivesInPieces(stream, random, max_piece);
      SCOPED_TRACE("piezas de hasta " + std::to_string(max_piece) + ", semilla " +
                   std::to_string(seed));
      EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"comanda", "anulacion", "factura"}));
      EXPECT_EQ(socket.sent, (std::vector<std::string>{kStatus0, kStatus0, kStatus0}));
      EXPECT_EQ(connection.Intake().ReceiveBuffer(), u"");
      ASSERT_EQ(handlers.calls.size(), 6u);
      EXPECT_EQ(handlers.calls[5].argument[u"total"].ToText(), u"12500");
    }
  }
}

TEST_F(FramingTest, TextLeftByADroppedConnectionIsPrefixedToTheNextOne) {
  const std::string job = Job("cajon");
  socket.Arrives(job.substr(0, 15));
  socket.PeerCloses();
  connection.OnWatchTick();
  socket.Connected();
  socket.Arrives(job.substr(15) + kTerminator);
  EXPECT_EQ(handlers.Printed(), std::vector<std::string>{"cajon"});
  EXPECT_EQ(log.Lines(), LinesOfJob(job));
}

TEST_F(FramingTest, BufferWithoutTerminatorIsDroppedPastTheLimit) {
  const std::string chunk(1024 * 1024, 'x');
  for (int i = 0; i < 16; ++i) socket.Arrives(chunk);
  EXPECT_EQ(connection.Intake().ReceiveBuffer().size(), 16u * 1024 * 1024);
  socket.Arrives("xx");
  EXPECT_LE(connection.Intake().ReceiveBuffer().size(), 11u);
  EXPECT_EQ(log.history.back(),
            u"Se descartó el texto recibido: pasó de 16 MiB sin \"_endMessage_\"");

  // The rest of that message is skipped up to its terminator; the next job prints as usual.
  socket.Arrives(chunk + "_endMes");
  socket.Arrives(std::string("sage_") + Job("cajon") + kTerminator);
  EXPECT_EQ(handlers.Printed(), std::vector<std::string>{"cajon"});
  EXPECT_EQ(socket.sent, std::vector<std::string>{kStatus0});
  EXPECT_EQ(log.Lines(), LinesOfJob(Job("cajon")));
}

TEST_F(FramingTest, WindowsBytesAreOneCharacterEach) {
  socket.Arrives(
      "{\"config\":[],\"dato\":{\"cliente\":\"Pe\xF1"
      "a \x80\"},\"tipo\":\"factura\"}" +
      std::string(kTerminator));
  ASSERT_EQ(handlers.Printed(), std::vector<std::string>{"factura"});
  EXPECT_EQ(handlers.calls.back().argument[u"cliente"].ToText(), u"Peña €");
}

class Utf8FramingTest : public LinkTest {
 protected:
  Utf8FramingTest() : LinkTest(link::WireEncoding::Utf8) { ConnectAndForget(); }
};

TEST_F(Utf8FramingTest, CharacterCutBetweenPiecesIsKeptWhole) {
  const std::string job =
      "{\"config\":[],\"dato\":{\"cliente\":\"Pe\xC3\xB1"
      "a \xE2\x82\xAC\"},"
      "\"tipo\":\"factura\"}" +
      std::string(kTerminator);
  for (std::size_t at = 0; at < job.size(); ++at) socket.Arrives(job.substr(at, 1));
  ASSERT_EQ(handlers.Printed(), std::vector<std::string>{"factura"});
  EXPECT_EQ(handlers.calls.back().argument[u"cliente"].ToText(), u"Peña €");
}

}  // namespace
}  // namespace quillon::test
