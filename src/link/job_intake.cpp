#include "link/job_intake.h"

#include <exception>
#include <string>

#include "json/parser.h"
#include "platform/failure.h"
#include "platform/printer_system.h"
#include "platform/text.h"

namespace quillon::link {

namespace {

constexpr std::u16string_view kNothingPrinted = u"; no se imprime nada";

}  // namespace

void JobIntake::ReceivePiece(std::u16string_view piece) {
  log_.WriteLog(std::u16string(piece));
  MessageFramer::Result framed = framer_.Append(piece);
  for (std::u16string& message : framed.messages) waiting_.push_back(std::move(message));
  if (framed.dropped) {
    log_.WriteLog(u"Se descartó el texto recibido: pasó de 16 MiB sin \"_endMessage_\"");
  }
  if (!dispatching_) DispatchWaitingJobs();
}

void JobIntake::DispatchWaitingJobs() {
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(dispatching_);
  while (!waiting_.empty()) {
    const std::u16string text = std::move(waiting_.front());
    waiting_.pop_front();
    RunJob(text);
  }
}

void JobIntake::RunJob(const std::u16string& text) {
  log_.Clear();
  busy_ = 1;
  try {
    ProcessMessage(text);
  } catch (const std::exception& failure) {
    // The agent must go on receiving: the job ends like any other, with the failure logged.
    log_.WriteLog(u"Error al procesar el trabajo: " + platform::FailureLogText(failure));
  } catch (...) {
    log_.WriteLog(u"Error al procesar el trabajo: falla desconocida");
  }
  busy_ = 0;
  status_.SendStatus();
  log_.WriteLog(std::u16string(kFinLine));
}

void JobIntake::ProcessMessage(const std::u16string& text) {
  log_.WriteLog(u"Respuesta: " + text);
  log_.WriteLog(u"--");
  const json::Value root = json::ParseJson(text);
  const std::u16string& errors = json::ParseErrorText();
  if (!errors.empty()) {
    log_.WriteLog(errors);
    return;
  }
  if (!root.IsDictionary()) {
    log_.WriteLog(u"El trabajo no es un objeto JSON" + std::u16string(kNothingPrinted));
    return;
  }
  json::Dictionary& envelope = root.AsDictionary();
  const json::Value* config = envelope.Find(u"config");
  if (config == nullptr || !config->IsCollection()) {
    log_.WriteLog(u"El trabajo no trae \"config\" como arreglo" +
                     std::u16string(kNothingPrinted));
    return;
  }
  handlers_.SetSettingsRows(*config);

  const json::Value* dato = envelope.Find(u"dato");
  if (dato == nullptr) {
    log_.WriteLog(u"El trabajo no trae \"dato\"" + std::u16string(kNothingPrinted));
    return;
  }
  const json::Value* kind_value = envelope.Find(u"tipo");
  if (kind_value == nullptr || kind_value->IsEmpty()) return;  // no kind: nothing to print
  if (!kind_value->IsText()) {
    log_.WriteLog(u"El \"tipo\" del trabajo no es un texto" + std::u16string(kNothingPrinted));
    return;
  }
  const std::u16string kind = kind_value->ToText();
  const bool takes_array = kind == u"comanda" || kind == u"anulacion";
  if (takes_array && !dato->IsCollection()) {
    log_.WriteLog(u"El \"dato\" de \"" + kind + u"\" no es un arreglo" +
                     std::u16string(kNothingPrinted));
    return;
  }
  if (kind == u"comanda") {
    handlers_.PrintKitchenOrder(dato->AsCollection());
  } else if (kind == u"factura") {
    handlers_.PrintInvoice(*dato);
  } else if (kind == u"anulacion") {
    handlers_.PrintCancellation(dato->AsCollection());
  } else if (kind == u"cajon") {
    handlers_.OpenCashDrawer();
  }
}

}  // namespace quillon::link
