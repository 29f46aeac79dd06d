// What a complete job does: the settings hand-off, the document chosen by "tipo", the log lines,
// and how a job ends when it is malformed, prints nothing or its printer fails.
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/link_fixture.h"
#include "platform/failure.h"
#include "platform/printer_system.h"

namespace quillon::test {
namespace {

using platform::Utf8ToUtf16;

class DispatchTest : public LinkTest {
 protected:
  DispatchTest() { ConnectAndForget(); }

  void Deliver(const std::string& job) { socket_.Arrives(job + kTerminator); }
};

TEST_F(DispatchTest, ExactTipoChoosesTheDocumentAndItsArgument) {
  Deliver(Job("comanda", R"([{"area":"Cocina"},{"area":"Bar"}])"));
  Deliver(Job("factura", R"({"mesa":"7"})"));
  Deliver(Job("anulacion", R"([{"area":"Bar"}])"));
  Deliver(Job("cajon", "0"));
  EXPECT_EQ(handlers_.Printed(),
            (std::vector<std::string>{"comanda", "factura", "anulacion", "cajon"}));
  ASSERT_EQ(handlers_.calls.size(), 8u);
  const json::Value& comanda = handlers_.calls[1].argument;
  ASSERT_EQ(comanda.AsCollection().Count(), 2);
  EXPECT_EQ(comanda[2][u"area"].ToText(), u"Bar");
  EXPECT_EQ(handlers_.calls[3].argument[u"mesa"].ToText(), u"7");
  EXPECT_EQ(handlers_.calls[5].argument[1][u"area"].ToText(), u"Bar");
  EXPECT_EQ(socket_.sent.size(), 4u);
  EXPECT_EQ(log_.Lines(), LinesOfJob(Job("cajon", "0")));
}

TEST_F(DispatchTest, SettingsOfEveryParsedJobReplaceThePreviousOnes) {
  Deliver(Job("comanda", "[]", R"([{"Nombre":"A"}])"));
  Deliver(Job("cajon", "[]", R"([{"Nombre":"B"}])"));
  EXPECT_EQ(handlers_.configuracion[1][u"Nombre"].ToText(), u"B");
  Deliver(Job("ninguno", "[]", R"([{"Nombre":"C"}])"));
  EXPECT_EQ(handlers_.configuracion[1][u"Nombre"].ToText(), u"C");

  // A job that does not parse leaves them as they were.
  const std::string broken = R"({"config":[{"Nombre":"D"}],"dato":[],"tipo":"cajon")";
  Deliver(broken);
  EXPECT_EQ(handlers_.configuracion[1][u"Nombre"].ToText(), u"C");
  EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"comanda", "cajon"}));
  const std::vector<std::u16string> lines = log_.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], u"Respuesta: " + Utf8ToUtf16(broken));
  EXPECT_EQ(lines[1], u"--");
  EXPECT_FALSE(lines[2].empty());
  EXPECT_EQ(lines[4], Utf8ToUtf16(kStatus0));
  EXPECT_EQ(lines[5], kFin);
}

// Every job that prints nothing, or leaves a part out, for what it holds: one log line and a
// balloon naming its kind and the reason, and its bytes kept exactly as they came.
TEST_F(DispatchTest, JobsThatPrintNothingAreShownAndKeptAsReceived) {
  struct Case {
    std::string job;
    link::NotPrinted from_documents;  // what the document answers, when it is reached
    std::u16string kind;              // of the kept file
    std::u16string text;              // of the log line and the balloon, before the file
  };
  const std::vector<Case> cases = {
      {"{\"config\":[],\"dato\":[{\"producto\":\"Pi\xF1"
       "a\"}],\"tipo\":\"comanda\"",
       {},
       u"trabajo",
       u"Trabajo sin imprimir: el texto no es un JSON válido ("},
      {R"([{"config":[],"dato":[],"tipo":"cajon"}])",
       {},
       u"trabajo",
       u"Trabajo sin imprimir: el trabajo no es un objeto JSON."},
      {R"({"dato":[],"tipo":"cajon"})",
       {},
       u"cajon",
       u"Cajón sin imprimir: no trae \"config\" como arreglo."},
      {R"({"config":{"Nombre":"A"},"dato":[],"tipo":"cajon"})",
       {},
       u"cajon",
       u"Cajón sin imprimir: no trae \"config\" como arreglo."},
      {R"({"config":[],"tipo":"anulacion"})",
       {},
       u"anulacion",
       u"Anulación sin imprimir: no trae \"dato\"."},
      {R"({"config":[],"dato":[]})", {}, u"trabajo", u"Trabajo sin imprimir: no trae \"tipo\"."},
      {R"({"config":[],"dato":[],"tipo":5})",
       {},
       u"trabajo",
       u"Trabajo sin imprimir: el \"tipo\" no es un texto."},
      {Job("Comanda"),
       {},
       u"trabajo",
       u"Trabajo sin imprimir: el \"tipo\" \"Comanda\" no es ninguno de los que se imprimen."},
      {Job("cajon "),
       {},
       u"trabajo",
       u"Trabajo sin imprimir: el \"tipo\" \"cajon \" no es ninguno de los que se imprimen."},
      {R"({"config":[],"dato":{"area":"Bar"},"tipo":"comanda"})",
       {},
       u"comanda",
       u"Comanda sin imprimir: el \"dato\" no es un arreglo."},
      {R"({"config":[],"dato":[{"mesa":"4"}],"tipo":"factura"})",
       {},
       u"factura",
       u"Factura sin imprimir: el \"dato\" no es un objeto."},
      {Job("comanda", R"([{"area":null},{"area":"Bar"}])"),
       {u"un pedido trae \"area\" nulo"},
       u"comanda",
       u"Comanda sin imprimir: un pedido trae \"area\" nulo."},
      {Job("factura", R"({"mesa":null})"),
       {u"trae \"mesa\" nulo", u"Desbordamiento"},
       u"factura",
       u"Factura sin imprimir: trae \"mesa\" nulo; Desbordamiento."},
      {Job("cajon"),
       {u"no se pudo abrir el cajón (sin impresora)"},
       u"cajon",
       u"Cajón sin imprimir: no se pudo abrir el cajón (sin impresora)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.job);
    handlers_.not_printed = c.from_documents;
    notifier_.balloons.clear();
    rejected_.jobs.clear();
    Deliver(c.job);
    ASSERT_EQ(rejected_.jobs.size(), 1u);
    EXPECT_EQ(rejected_.jobs[0].bytes, c.job);
    EXPECT_EQ(rejected_.jobs[0].kind, c.kind);
    ASSERT_EQ(notifier_.balloons.size(), 1u);
    const Balloon& balloon = notifier_.balloons[0];
    EXPECT_EQ(balloon.title, u"Trabajo sin imprimir");
    EXPECT_EQ(balloon.icon, platform::BalloonIcon::kWarning);
    EXPECT_EQ(balloon.text.rfind(c.text, 0), 0u) << platform::Utf16ToUtf8(balloon.text);
    EXPECT_TRUE(balloon.text.ends_with(u" Texto recibido guardado en /datos/rechazados/" + c.kind +
                                       u".json"))
        << platform::Utf16ToUtf8(balloon.text);
    // The same text is the job's one extra log line, before its status.
    const std::vector<std::u16string> lines = log_.Lines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[lines.size() - 3], balloon.text);
    EXPECT_EQ(lines[lines.size() - 2], Utf8ToUtf16(kStatus0));
  }
  EXPECT_EQ(socket_.sent.size(), cases.size());
  EXPECT_EQ(connection_.Intake().IsPrinting(), 0);
  EXPECT_EQ(connection_.Intake().RejectedCount(), static_cast<int>(cases.size()));

  // Printed whole, or left out by the branch's options: nothing to show or keep.
  handlers_.not_printed.clear();
  notifier_.balloons.clear();
  rejected_.jobs.clear();
  Deliver(Job("comanda", R"([{"area":"Cocina"}])"));
  EXPECT_TRUE(notifier_.balloons.empty());
  EXPECT_TRUE(rejected_.jobs.empty());
  EXPECT_EQ(log_.Lines(), LinesOfJob(Job("comanda", R"([{"area":"Cocina"}])")));
}

TEST_F(DispatchTest, AJobThatCannotBeKeptStillSaysWhy) {
  rejected_.failure = u"/datos/rechazados: Permiso denegado";
  Deliver(Job("otro"));
  ASSERT_EQ(notifier_.balloons.size(), 1u);
  EXPECT_EQ(notifier_.balloons[0].text,
            u"Trabajo sin imprimir: el \"tipo\" \"otro\" no es ninguno de los que se imprimen. "
            u"No se pudo guardar el texto recibido: /datos/rechazados: Permiso denegado");
  EXPECT_EQ(socket_.sent, std::vector<std::string>{kStatus0});
}

TEST_F(DispatchTest, WithoutConnectionTheJobPrintsAndNoStatusIsSentOrLogged) {
  socket_.PeerCloses();
  socket_.sent.clear();
  Deliver(Job("cajon"));
  EXPECT_EQ(handlers_.Printed(), std::vector<std::string>{"cajon"});
  EXPECT_TRUE(socket_.sent.empty());
  EXPECT_EQ(log_.Lines(), LinesOfJob(Job("cajon"), /*connected=*/false));
}

// --- jobs that meet a running job, and printers that fail ---

TEST_F(DispatchTest, JobCompletedDuringAnInvoiceWaitsForItsTurn) {
  std::vector<std::string> printed_inside;
  handlers_.during_call = [&](const std::string& name) {
    if (name != "factura") return;
    // The invoice lets events run: the next job arrives and the status timer fires.
    socket_.Arrives(Job("comanda", R"([{"area":"Cocina"}])") + kTerminator + "{\"config\"");
    connection_.OnPingTick();
    printed_inside = handlers_.Printed();
  };
  Deliver(Job("factura", "{}"));
  EXPECT_EQ(printed_inside, std::vector<std::string>{"factura"});
  EXPECT_EQ(handlers_.Printed(), (std::vector<std::string>{"factura", "comanda"}));
  EXPECT_EQ(socket_.sent, (std::vector<std::string>{kStatus1, kStatus0, kStatus0}));
  EXPECT_EQ(connection_.Intake().ReceiveBuffer(), "{\"config\"");
  EXPECT_EQ(log_.Lines(), LinesOfJob(Job("comanda", R"([{"area":"Cocina"}])")));
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
    handlers_.during_call = [&](const std::string& name) {
      if (name == "anulacion") c.failure();
    };
    socket_.sent.clear();
    const std::string job = Job("anulacion", "[{}]");
    Deliver(job + kTerminator + Job("cajon"));
    EXPECT_EQ(handlers_.Printed().back(), "cajon");
    EXPECT_EQ(socket_.sent, (std::vector<std::string>{kStatus0, kStatus0}));
    EXPECT_EQ(connection_.Intake().IsPrinting(), 0);
    // The failed job's own lines, wiped by the next job: find them in the history.
    const auto fin = std::find(log_.history.rbegin(), log_.history.rend(), kFin) + 1;
    const auto failed_fin = std::find(fin, log_.history.rend(), kFin);
    ASSERT_NE(failed_fin, log_.history.rend());
    EXPECT_EQ(*(failed_fin + 1), Utf8ToUtf16(kStatus0));
    EXPECT_EQ((failed_fin + 2)->rfind(u"Anulación sin imprimir: ", 0), 0u);
    EXPECT_EQ(*(failed_fin + 3), c.line);
    EXPECT_EQ(rejected_.jobs.back().bytes, job);
  }
}

}  // namespace
}  // namespace quillon::test
