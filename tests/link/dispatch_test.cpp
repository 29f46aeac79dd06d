// What a complete job does: the settings hand-off, the document chosen by "tipo", the log lines,
// and how a job ends when it is malformed or its printer fails.
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "link/link_fixture.h"
#include "platform/printer_system.h"

namespace quillon::test {
namespace {

using platform::u16;

class DispatchTest : public LinkTest {
 protected:
  DispatchTest() { ConnectAndForget(); }

  void Deliver(const std::string& job) { socket.Arrives(job + kTerminator); }
  // The job's lines with `extra` logged between "--" and the status line.
  std::vector<std::u16string> LinesWith(const std::string& job, const std::u16string& extra) {
    std::vector<std::u16string> lines = LinesOfJob(job);
    lines.insert(lines.begin() + 2, extra);
    return lines;
  }
};

TEST_F(DispatchTest, ExactTipoChoosesTheDocumentAndItsArgument) {
  Deliver(Job("comanda", R"([{"area":"Cocina"},{"area":"Bar"}])"));
  Deliver(Job("factura", R"({"mesa":"7"})"));
  Deliver(Job("anulacion", R"([{"area":"Bar"}])"));
  Deliver(Job("cajon", "0"));
  EXPECT_EQ(handlers.Printed(),
            (std::vector<std::string>{"comanda", "factura", "anulacion", "cajon"}));
  ASSERT_EQ(handlers.calls.size(), 8u);
  const json::Value& comanda = handlers.calls[1].argument;
  ASSERT_EQ(comanda.AsCollection().Count(), 2);
  EXPECT_EQ(comanda[2][u"area"].ToText(), u"Bar");
  EXPECT_EQ(handlers.calls[3].argument[u"mesa"].ToText(), u"7");
  EXPECT_EQ(handlers.calls[5].argument[1][u"area"].ToText(), u"Bar");
  EXPECT_EQ(socket.sent.size(), 4u);
  EXPECT_EQ(log.Lines(), LinesOfJob(Job("cajon", "0")));
}

TEST_F(DispatchTest, OtherKindsPrintNothingAndLogNothingExtra) {
  for (const std::string& job : {Job("Comanda"), Job("FACTURA"), Job("cajon "), Job("otro"),
                                 std::string(R"({"config":[],"dato":[]})")}) {
    Deliver(job);
    EXPECT_TRUE(handlers.Printed().empty()) << job;
    EXPECT_EQ(log.Lines(), LinesOfJob(job)) << job;
  }
  EXPECT_EQ(socket.sent.size(), 5u);
}

TEST_F(DispatchTest, SettingsOfEveryParsedJobReplaceThePreviousOnes) {
  Deliver(Job("comanda", "[]", R"([{"Nombre":"A"}])"));
  Deliver(Job("cajon", "[]", R"([{"Nombre":"B"}])"));
  EXPECT_EQ(handlers.configuracion[1][u"Nombre"].ToText(), u"B");
  Deliver(Job("ninguno", "[]", R"([{"Nombre":"C"}])"));
  EXPECT_EQ(handlers.configuracion[1][u"Nombre"].ToText(), u"C");

  // A job that does not parse leaves them as they were.
  const std::string broken = R"({"config":[{"Nombre":"D"}],"dato":[],"tipo":"cajon")";
  Deliver(broken);
  EXPECT_EQ(handlers.configuracion[1][u"Nombre"].ToText(), u"C");
  EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"comanda", "cajon"}));
  const std::vector<std::u16string> lines = log.Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], u"Respuesta: " + u16(broken));
  EXPECT_EQ(lines[1], u"--");
  EXPECT_FALSE(lines[2].empty());
  EXPECT_EQ(lines[3], u16(kStatus0));
  EXPECT_EQ(lines[4], kFin);
}

TEST_F(DispatchTest, MalformedEnvelopesAreLoggedAndEndNormally) {
  struct Case {
    std::string job;
    std::u16string line;
  };
  const std::vector<Case> cases = {
      {R"([{"config":[],"dato":[],"tipo":"cajon"}])",
       u"El trabajo no es un objeto JSON; no se imprime nada"},
      {R"({"dato":[],"tipo":"cajon"})",
       u"El trabajo no trae \"config\" como arreglo; no se imprime nada"},
      {R"({"config":{"Nombre":"A"},"dato":[],"tipo":"cajon"})",
       u"El trabajo no trae \"config\" como arreglo; no se imprime nada"},
      {R"({"config":[],"tipo":"cajon"})", u"El trabajo no trae \"dato\"; no se imprime nada"},
      {R"({"config":[],"dato":[],"tipo":5})",
       u"El \"tipo\" del trabajo no es un texto; no se imprime nada"},
      {R"({"config":[],"dato":[],"tipo":["comanda"]})",
       u"El \"tipo\" del trabajo no es un texto; no se imprime nada"},
      {R"({"config":[],"dato":{"area":"Bar"},"tipo":"comanda"})",
       u"El \"dato\" de \"comanda\" no es un arreglo; no se imprime nada"},
      {R"({"config":[],"dato":"x","tipo":"anulacion"})",
       u"El \"dato\" de \"anulacion\" no es un arreglo; no se imprime nada"},
  };
  for (const Case& c : cases) {
    Deliver(c.job);
    EXPECT_EQ(log.Lines(), LinesWith(c.job, c.line)) << c.job;
  }
  EXPECT_TRUE(handlers.Printed().empty());
  EXPECT_EQ(socket.sent.size(), cases.size());
  EXPECT_EQ(connection.Intake().IsPrinting(), 0);
}

TEST_F(DispatchTest, WithoutConnectionTheJobPrintsAndNoStatusIsSentOrLogged) {
  socket.PeerCloses();
  socket.sent.clear();
  Deliver(Job("cajon"));
  EXPECT_EQ(handlers.Printed(), std::vector<std::string>{"cajon"});
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_EQ(log.Lines(), LinesOfJob(Job("cajon"), /*connected=*/false));
}

// --- jobs that meet a running job, and printers that fail ---

TEST_F(DispatchTest, JobCompletedDuringAnInvoiceWaitsForItsTurn) {
  std::vector<std::string> printed_inside;
  handlers.during_call = [&](const std::string& name) {
    if (name != "factura") return;
    // The invoice lets events run: the next job arrives and the status timer fires.
    socket.Arrives(Job("comanda", R"([{"area":"Cocina"}])") + kTerminator + "{\"config\"");
    connection.OnPingTick();
    printed_inside = handlers.Printed();
  };
  Deliver(Job("factura", "{}"));
  EXPECT_EQ(printed_inside, std::vector<std::string>{"factura"});
  EXPECT_EQ(handlers.Printed(), (std::vector<std::string>{"factura", "comanda"}));
  EXPECT_EQ(socket.sent, (std::vector<std::string>{kStatus1, kStatus0, kStatus0}));
  EXPECT_EQ(connection.Intake().ReceiveBuffer(), u"{\"config\"");
  EXPECT_EQ(log.Lines(), LinesOfJob(Job("comanda", R"([{"area":"Cocina"}])")));
}

TEST_F(DispatchTest, FailureOutsideThePrinterEndsTheJobAndTheNextOnePrints) {
  struct Case {
    std::function<void()> failure;
    std::u16string line;
  };
  const std::vector<Case> cases = {
      {[] { throw platform::Failure::TypeMismatch(); },
       u"Error al procesar el trabajo: 13-No coinciden los tipos"},
      {[] { throw platform::Failure(482, u"Error de impresora"); },
       u"Error al procesar el trabajo: 482-Error de impresora"},
      {[] { throw std::runtime_error("sin papel"); }, u"Error al procesar el trabajo: sin papel"},
      {[] { throw 7; }, u"Error al procesar el trabajo: falla desconocida"},
  };
  for (const Case& c : cases) {
    handlers.during_call = [&](const std::string& name) {
      if (name == "anulacion") c.failure();
    };
    socket.sent.clear();
    const std::string job = Job("anulacion", "[{}]");
    Deliver(job + kTerminator + Job("cajon"));
    EXPECT_EQ(handlers.Printed().back(), "cajon");
    EXPECT_EQ(socket.sent, (std::vector<std::string>{kStatus0, kStatus0}));
    EXPECT_EQ(connection.Intake().IsPrinting(), 0);
    // The failed job's own lines, wiped by the next job: find them in the history.
    const auto fin = std::find(log.history.rbegin(), log.history.rend(), kFin) + 1;
    const auto failed_fin = std::find(fin, log.history.rend(), kFin);
    ASSERT_NE(failed_fin, log.history.rend());
    EXPECT_EQ(*(failed_fin + 1), u16(kStatus0));
    EXPECT_EQ(*(failed_fin + 2), c.line);
  }
}

}  // namespace
}  // namespace quillon::test
