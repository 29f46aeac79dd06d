// Receiving job text in pieces: where a job ends, what is logged, what waits in the buffer.
#include <algorithm>
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
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), "");
  EXPECT_EQ(connection.Intake().IsPrinting(), 0);
}

TEST_F(FramingTest, EveryJobOfAPieceIsDispatchedInOrderWithItsOwnStatus) {
  const std::string rest = R"({"config":[],"dato":)";
  socket.Arrives(Job("comanda", R"([{"area":"Cocina"}])") + kTerminator + Job("cajon") +
                 kTerminator + rest);
  EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"comanda", "cajon"}));
  EXPECT_EQ(socket.sent, (std::vector<std::string>{kStatus0, kStatus0}));
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), rest);

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
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), text);
  EXPECT_EQ(log.Lines(), std::vector<std::u16string>{u16(text)});
}

TEST_F(FramingTest, TerminatorAloneDispatchesTheEmptyTextAndLogsTheParseError) {
  socket.Arrives(kTerminator);
  EXPECT_TRUE(handlers.calls.empty());
  const std::vector<std::u16string> lines = log.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], u"Respuesta: ");
  EXPECT_EQ(lines[1], u"--");
  EXPECT_EQ(lines[2].rfind(u"Invalid JSON", 0), 0u) << platform::Utf16ToUtf8(lines[2]);
  EXPECT_EQ(lines[3].rfind(u"Trabajo sin imprimir: el texto no es un JSON válido", 0), 0u);
  EXPECT_EQ(lines[4], u16(kStatus0));
  EXPECT_EQ(lines[5], kFin);
  ASSERT_EQ(rejected.jobs.size(), 1u);
  EXPECT_EQ(rejected.jobs[0].bytes, "");
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
      EXPECT_EQ(connection.Intake().ReceiveBuffer(), "");
      ASSERT_EQ(handlers.calls.size(), 6u);
      EXPECT_EQ(handlers.calls[5].argument[u"total"].ToText(), u"12500");
    }
  }
}

// --- a connection that ends in the middle of a job ---

// A kitchen order that names itself, so the test can tell which jobs were printed.
std::string Order(int number) {
  return Job("comanda", R"([{"area":"Cocina","nPedido":")" + std::to_string(number) + R"("}])");
}

std::vector<std::string> PrintedOrders(const FakeJobHandlers& handlers) {
  std::vector<std::string> numbers;
  for (const FakeJobHandlers::Call& call : handlers.calls) {
    if (call.name == "comanda") {
      numbers.push_back(platform::Utf16ToUtf8(call.argument[1][u"nPedido"].ToText()));
    }
  }
  return numbers;
}

std::u16string DroppedLine(std::size_t characters) {
  return u"Se descartaron " + u16(std::to_string(characters)) +
         u" caracteres recibidos sin \"_endMessage_\": la conexión terminó antes del final del "
         u"trabajo";
}

TEST_F(FramingTest, ConnectionEndingInsideAJobDropsItsTextAndTheNextStartsAfresh) {
  const std::string cut = Order(2) + kTerminator;
  const std::size_t text = cut.size() - std::string(kTerminator).size();
  struct Cut {
    const char* where;
    std::size_t at;
  };
  const Cut cuts[] = {{"en el JSON", text / 2},
                      {"justo antes del terminador", text},
                      {"dentro del terminador", text + 5},
                      {"al terminador le falta un byte", cut.size() - 1}};
  for (const Cut& c : cuts) {
    for (const bool resend : {true, false}) {
      for (const bool error : {true, false}) {
        SCOPED_TRACE(std::string(c.where) + (resend ? ", reenviado" : ", otro trabajo") +
                     (error ? ", error" : ", cierre"));
        handlers.calls.clear();
        socket.sent.clear();
        log.history.clear();
        // A whole job and the cut one in the same arrival: the whole one is never dropped.
        socket.Arrives(Order(1) + kTerminator + cut.substr(0, c.at));
        if (error) {
          socket.Fails(10054, u"Conexión restablecida");
        } else {
          socket.PeerCloses();
        }
        EXPECT_NE(std::find(log.history.begin(), log.history.end(), DroppedLine(c.at)),
                  log.history.end());
        EXPECT_EQ(connection.Intake().ReceiveBuffer(), "");
        connection.OnWatchTick();
        socket.Connected();
        socket.Arrives((resend ? cut : std::string()) + Order(3) + kTerminator);
        EXPECT_EQ(PrintedOrders(handlers), (resend ? std::vector<std::string>{"1", "2", "3"}
                                                   : std::vector<std::string>{"1", "3"}));
        EXPECT_EQ(socket.sent.size(), resend ? 4u : 3u);  // one identification, one status a job
        EXPECT_TRUE(rejected.jobs.empty());
      }
    }
  }
}

TEST_F(FramingTest, JobsCutAtRandomArePrintedOnlyWhenSentWholeAndThenOnce) {
  std::mt19937 random(20240517);
  std::vector<std::string> sent_whole;
  for (int number = 1; number <= 300; ++number) {
    const std::string job = Order(number) + kTerminator;
    const bool cut = std::uniform_int_distribution<int>(0, 99)(random) < 25;
    if (!cut) {
      ArrivesInPieces(job, random, 40);
      sent_whole.push_back(std::to_string(number));
      continue;
    }
    const std::size_t at = std::uniform_int_distribution<std::size_t>(1, job.size() - 1)(random);
    ArrivesInPieces(job.substr(0, at), random, 40);
    socket.PeerCloses();
    connection.OnWatchTick();
    socket.Connected();
    if (std::uniform_int_distribution<int>(0, 1)(random) == 1) {
      ArrivesInPieces(job, random, 40);
      sent_whole.push_back(std::to_string(number));
    }
  }
  EXPECT_EQ(PrintedOrders(handlers), sent_whole);
  EXPECT_TRUE(rejected.jobs.empty());
}

TEST_F(FramingTest, JobWaitingBehindAnInvoiceOutlivesTheConnection) {
  handlers.during_call = [&](const std::string& name) {
    if (name != "factura") return;
    socket.Arrives(Order(1) + kTerminator + "{\"config\"");
    socket.PeerCloses();
  };
  socket.Arrives(Job("factura", R"({"mesa":"4"})") + kTerminator);
  EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"factura", "comanda"}));
  EXPECT_NE(std::find(log.history.begin(), log.history.end(), DroppedLine(9)), log.history.end());
}

// --- over-long text ---

TEST_F(FramingTest, OverLongTextCostsOnlyItself) {
  const std::size_t limit = link::MessageFramer::kMessageLimit;
  const std::string chunk(1024 * 1024, 'x');
  struct Case {
    const char* what;
    std::string before;   // sent before the jobs, in 1 MiB arrivals
    std::size_t dropped;  // characters of it dropped
  };
  // Text that never ends, then jobs under the same terminator; a whole job too long to keep,
  // with its own terminator, then jobs.
  const std::string endless = std::string(limit + limit / 2, 'x') + "{\"a\":\"}";
  const std::string long_job = "{\"dato\":\"" + std::string(limit, 'x') + "\"}";
  const Case cases[] = {{"texto sin fin", endless, endless.size()},
                        {"trabajo demasiado largo", long_job + kTerminator, long_job.size()},
                        {"texto que pasa del doble", std::string(3 * limit, 'x'), 3 * limit}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    handlers.calls.clear();
    socket.sent.clear();
    log.history.clear();
    notifier.balloons.clear();
    for (std::size_t at = 0; at < c.before.size(); at += chunk.size()) {
      socket.Arrives(std::string_view(c.before).substr(at, chunk.size()));
      EXPECT_LE(connection.Intake().ReceiveBuffer().size(), 2 * limit);
    }
    socket.Arrives(Order(7) + kTerminator + Order(8));
    socket.Arrives(kTerminator);
    EXPECT_EQ(PrintedOrders(handlers), (std::vector<std::string>{"7", "8"}));
    EXPECT_EQ(socket.sent, (std::vector<std::string>{kStatus0, kStatus0}));
    EXPECT_EQ(log.Lines(), LinesOfJob(Order(8)));
    // What was dropped is said, all of it, and shown.
    std::size_t dropped = 0;
    std::vector<std::u16string> said;
    for (const std::u16string& line : log.history) {
      if (line.rfind(u"Se descartaron ", 0) != 0) continue;
      EXPECT_NE(line.find(u" caracteres recibidos: el texto pasó de 16 MiB sin \"_endMessage_\""),
                std::u16string::npos);
      dropped += std::stoul(platform::Utf16ToUtf8(line.substr(15)));
      said.push_back(line);
    }
    ASSERT_EQ(notifier.balloons.size(), said.size());
    for (std::size_t i = 0; i < said.size(); ++i) {
      EXPECT_EQ(notifier.balloons[i].text, said[i]);
      EXPECT_EQ(notifier.balloons[i].title, u"Trabajo sin imprimir");
    }
    EXPECT_EQ(dropped, c.dropped);
  }
}

TEST(TrailingJsonTest, FindsTheStartOfTheLastObjectWhateverCameBefore) {
  using link::StartOfTrailingJson;
  constexpr auto kNone = std::string_view::npos;
  EXPECT_EQ(StartOfTrailingJson("xxxx{\"a\":1}"), 4u);
  EXPECT_EQ(StartOfTrailingJson("}]{\"a\":[1,{\"b\":2}]} \r\n"), 2u);
  EXPECT_EQ(StartOfTrailingJson("{\"a\":\"}{\"}"), 0u);       // brackets inside texts
  EXPECT_EQ(StartOfTrailingJson("x{\"a\":\"\\\"{\"}"), 1u);   // an escaped quote
  EXPECT_EQ(StartOfTrailingJson("x{\"a\":\"\\\\\"}"), 1u);    // an escaped backslash
  EXPECT_EQ(StartOfTrailingJson("x{'a':'}{'}"), 1u);          // single quotes
  EXPECT_EQ(StartOfTrailingJson("x{\"a\":\"D'Leon\"}"), 1u);  // an apostrophe in a text
  EXPECT_EQ(StartOfTrailingJson("\"a\":1}"), kNone);          // its start was dropped
  EXPECT_EQ(StartOfTrailingJson("{\"a\":1} x"), kNone);
  EXPECT_EQ(StartOfTrailingJson(""), kNone);
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

TEST_F(Utf8FramingTest, DroppedTextIsCountedInCharacters) {
  // 21 bytes, 19 characters, the last of them cut short.
  socket.Arrives(
      "{\"producto\":\"Pi\xC3\xB1"
      "a \xE2\x82");
  socket.PeerCloses();
  EXPECT_EQ(log.history.back(), DroppedLine(19));
}

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
