// Receiving job text in pieces: where a job ends, what is logged, what waits in the buffer.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "link/link_fixture.h"

namespace quillon::test {
namespace {

using platform::Utf8ToUtf16;

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
  return u"Se descartaron " + Utf8ToUtf16(std::to_string(characters)) +
         u" caracteres recibidos sin \"_endMessage_\": la conexión terminó antes del final del "
         u"trabajo";
}

class FramingTest : public LinkTest {
 protected:
  FramingTest() { ConnectAndForget(); }

  void ArrivesInPieces(const std::string& stream, std::mt19937& random, std::size_t max_piece) {
    std::uniform_int_distribution<std::size_t> size(1, max_piece);
    for (std::size_t at = 0; at < stream.size();) {
      const std::size_t length = std::min(size(random), stream.size() - at);
      socket_.Arrives(stream.substr(at, length));
      at += length;
    }
  }

  // Job 1 and the first `at` bytes of `cut` arrive, then the connection fails (`error`) or is
  // closed; after it comes back, `cut` again (`resend`) or not, and job 3.
  void CutThenReconnect(const std::string& cut, std::size_t at, bool resend, bool error) {
    handlers_.calls.clear();
    socket_.sent.clear();
    log_.history.clear();
    // A whole job and the cut one in the same arrival: the whole one is never dropped.
    socket_.Arrives(Order(1) + kTerminator + cut.substr(0, at));
    if (error) {
      socket_.Fails(10054, u"Conexión restablecida");
    } else {
      socket_.PeerCloses();
    }
    EXPECT_NE(std::find(log_.history.begin(), log_.history.end(), DroppedLine(at)),
              log_.history.end());
    EXPECT_EQ(connection_.Intake().ReceiveBuffer(), "");
    connection_.OnWatchTick();
    socket_.Connected();
    socket_.Arrives((resend ? cut : std::string()) + Order(3) + kTerminator);
    EXPECT_EQ(PrintedOrders(handlers_), (resend ? std::vector<std::string>{"1", "2", "3"}
                                                : std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(socket_.sent.size(), resend ? 4u : 3u);  // one identification, one status a job
    EXPECT_TRUE(rejected_.jobs.empty());
  }
};

TEST_F(FramingTest, JobInPiecesIsDispatchedOnceTheTerminatorCompletes) {
  const std::string job = Job("cajon");
  socket_.Arrives(job.substr(0, 20));
  socket_.Arrives(job.substr(20) + "_endMes");
  EXPECT_TRUE(handlers_.calls.empty());
  EXPECT_TRUE(socket_.sent.empty());
  EXPECT_EQ(log_.Lines(), (std::vector<std::u16string>{Utf8ToUtf16(job.substr(0, 20)),
                                                       Utf8ToUtf16(job.substr(20) + "_endMes")}));

  socket_.Arrives("sage_");
  EXPECT_EQ(handlers_.Printed(), std::vector<std::string>{"cajon"});
  EXPECT_EQ(socket_.sent, std::vector<std::string>{kStatus0});
  // Each piece was logged as its own line, then wiped when the job completed.
  ASSERT_EQ(log_.history.size(), 8u);
  EXPECT_EQ(log_.history[2], u"sage_");
  EXPECT_EQ(log_.history[3], FakeActivityLog::kClearMark);
  EXPECT_EQ(log_.Lines(), LinesOfJob(job));
  EXPECT_EQ(connection_.Intake().ReceiveBuffer(), "");
  EXPECT_EQ(connection_.Intake().IsPrinting(), 0);
}

TEST_F(FramingTest, EveryJobOfAPieceIsDispatchedInOrderWithItsOwnStatus) {
  const std::string rest = R"({"config":[],"dato":)";
  socket_.Arrives(Job("comanda", R"([{"area":"Cocina"}])") + kTerminator + Job("cajon") +
                  kTerminator + rest);
  EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"comanda", "cajon"}));
  EXPECT_EQ(socket_.sent, (std::vector<std::string>{kStatus0, kStatus0}));
  EXPECT_EQ(connection_.Intake().ReceiveBuffer(), rest);

  socket_.Arrives(R"({},"tipo":"factura"})" + std::string(kTerminator));
  EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"comanda", "cajon", "factura"}));
  EXPECT_EQ(socket_.sent.size(), 3u);
  EXPECT_EQ(log_.Lines(), LinesOfJob(rest + R"({},"tipo":"factura"})"));
}

TEST_F(FramingTest, TerminatorInOtherLetterCaseIsOrdinaryText) {
  const std::string text = Job("cajon") + "_ENDMESSAGE_" + Job("cajon") + "_endmessage_";
  socket_.Arrives(text);
  EXPECT_TRUE(handlers_.calls.empty());
  EXPECT_TRUE(socket_.sent.empty());
  EXPECT_EQ(connection_.Intake().ReceiveBuffer(), text);
  EXPECT_EQ(log_.Lines(), std::vector<std::u16string>{Utf8ToUtf16(text)});
}

TEST_F(FramingTest, TerminatorAloneDispatchesTheEmptyTextAndLogsTheParseError) {
  socket_.Arrives(kTerminator);
  EXPECT_TRUE(handlers_.calls.empty());
  const std::vector<std::u16string> lines = log_.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], u"Respuesta: ");
  EXPECT_EQ(lines[1], u"--");
  EXPECT_EQ(lines[2].rfind(u"Invalid JSON", 0), 0u) << platform::Utf16ToUtf8(lines[2]);
  EXPECT_EQ(lines[3].rfind(u"Trabajo sin imprimir: el texto no es un JSON válido", 0), 0u);
  EXPECT_EQ(lines[4], Utf8ToUtf16(kStatus0));
  EXPECT_EQ(lines[5], kFin);
  ASSERT_EQ(rejected_.jobs.size(), 1u);
  EXPECT_EQ(rejected_.jobs[0].bytes, "");
}

TEST_F(FramingTest, AnyCutOfTheStreamGivesTheSameJobs) {
  const std::string stream = Job("comanda", R"([{"producto":"Arepa"}])") + kTerminator +
                             Job("anulacion", R"([{"producto":"Jugo"}])") + kTerminator +
                             Job("factura", R"({"total":12500})") + kTerminator;
  for (const std::size_t max_piece : {1u, 3u, 13u, 40u}) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
      handlers_.calls.clear();
      socket_.sent.clear();
      std::mt19937 random(seed);
      ArrivesInPieces(stream, random, max_piece);
      SCOPED_TRACE("piezas de hasta " + std::to_string(max_piece) + ", semilla " +
                   std::to_string(seed));
      EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"comanda", "anulacion", "factura"}));
      EXPECT_EQ(socket_.sent, (std::vector<std::string>{kStatus0, kStatus0, kStatus0}));
      EXPECT_EQ(connection_.Intake().ReceiveBuffer(), "");
      ASSERT_EQ(handlers_.calls.size(), 6u);
      EXPECT_EQ(handlers_.calls[5].argument[u"total"].ToText(), u"12500");
    }
  }
}

// --- a connection that ends in the middle of a job ---

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
        CutThenReconnect(cut, c.at, resend, error);
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
    socket_.PeerCloses();
    connection_.OnWatchTick();
    socket_.Connected();
    if (std::uniform_int_distribution<int>(0, 1)(random) == 1) {
      ArrivesInPieces(job, random, 40);
      sent_whole.push_back(std::to_string(number));
    }
  }
  EXPECT_EQ(PrintedOrders(handlers_), sent_whole);
  EXPECT_TRUE(rejected_.jobs.empty());
}

TEST_F(FramingTest, JobWaitingBehindAnInvoiceOutlivesTheConnection) {
  handlers_.during_call = [&](const std::string& name) {
    if (name != "factura") return;
    socket_.Arrives(Order(1) + kTerminator + "{\"config\"");
    socket_.PeerCloses();
  };
  socket_.Arrives(Job("factura", R"({"mesa":"4"})") + kTerminator);
  EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"factura", "comanda"}));
  EXPECT_NE(std::find(log_.history.begin(), log_.history.end(), DroppedLine(9)),
            log_.history.end());
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
    handlers_.calls.clear();
    socket_.sent.clear();
    log_.history.clear();
    notifier_.balloons.clear();
    for (std::size_t at = 0; at < c.before.size(); at += chunk.size()) {
      socket_.Arrives(std::string_view(c.before).substr(at, chunk.size()));
      EXPECT_LE(connection_.Intake().ReceiveBuffer().size(), 2 * limit);
    }
    socket_.Arrives(Order(7) + kTerminator + Order(8));
    socket_.Arrives(kTerminator);
    EXPECT_EQ(PrintedOrders(handlers_), (std::vector<std::string>{"7", "8"}));
    EXPECT_EQ(socket_.sent, (std::vector<std::string>{kStatus0, kStatus0}));
    EXPECT_EQ(log_.Lines(), LinesOfJob(Order(8)));
    // What was dropped is said, all of it, and shown.
    std::size_t dropped = 0;
    std::vector<std::u16string> said;
    for (const std::u16string& line : log_.history) {
      if (line.rfind(u"Se descartaron ", 0) != 0) continue;
      EXPECT_NE(line.find(u" caracteres recibidos: el texto pasó de 16 MiB sin \"_endMessage_\""),
                std::u16string::npos);
      dropped += std::stoul(platform::Utf16ToUtf8(line.substr(15)));
      said.push_back(line);
    }
    ASSERT_EQ(notifier_.balloons.size(), said.size());
    for (std::size_t i = 0; i < said.size(); ++i) {
      EXPECT_EQ(notifier_.balloons[i].text, said[i]);
      EXPECT_EQ(notifier_.balloons[i].title, u"Trabajo sin imprimir");
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
  socket_.Arrives(
      "{\"config\":[],\"dato\":{\"cliente\":\"Pe\xF1"
      "a \x80\"},\"tipo\":\"factura\"}" +
      std::string(kTerminator));
  ASSERT_EQ(handlers_.Printed(), std::vector<std::string>{"factura"});
  EXPECT_EQ(handlers_.calls.back().argument[u"cliente"].ToText(), u"Peña €");
}

class Utf8FramingTest : public LinkTest {
 protected:
  Utf8FramingTest() : LinkTest(link::WireEncoding::kUtf8) { ConnectAndForget(); }
};

TEST_F(Utf8FramingTest, DroppedTextIsCountedInCharacters) {
  // 21 bytes, 19 characters, the last of them cut short.
  socket_.Arrives(
      "{\"producto\":\"Pi\xC3\xB1"
      "a \xE2\x82");
  socket_.PeerCloses();
  EXPECT_EQ(log_.history.back(), DroppedLine(19));
}

TEST_F(Utf8FramingTest, CharacterCutBetweenPiecesIsKeptWhole) {
  const std::string job =
      "{\"config\":[],\"dato\":{\"cliente\":\"Pe\xC3\xB1"
      "a \xE2\x82\xAC\"},"
      "\"tipo\":\"factura\"}" +
      std::string(kTerminator);
  for (std::size_t at = 0; at < job.size(); ++at) socket_.Arrives(job.substr(at, 1));
  ASSERT_EQ(handlers_.Printed(), std::vector<std::string>{"factura"});
  EXPECT_EQ(handlers_.calls.back().argument[u"cliente"].ToText(), u"Peña €");
}

}  // namespace
}  // namespace quillon::test
