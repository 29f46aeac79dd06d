#include "link/job_intake.h"

#include <exception>
#include <string>
#include <utility>

#include "json/parser.h"
#include "platform/failure.h"
#include "platform/heap.h"
#include "platform/text.h"

namespace quillon::link {

namespace {

constexpr int kBalloonTimeoutMs = 30000;
// Enough of the parser's first error line to tell what went wrong.
constexpr std::size_t kParseErrorInBalloon = 80;
// Jobs from this size on are followed by giving the free memory back to the system.
constexpr std::size_t kLargeJobBytes = 256u << 10;

std::u16string NumberText(std::size_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string FirstLine(const std::u16string& text, std::size_t limit) {
  const std::u16string line = text.substr(0, text.find_first_of(u"\r\n"));
  return line.size() > limit ? line.substr(0, limit) + u"…" : line;
}

std::u16string Joined(const NotPrinted& reasons) {
  std::u16string joined;
  for (const std::u16string& reason : reasons) {
    if (!joined.empty()) joined += u"; ";
    joined += reason;
  }
  return joined;
}

}  // namespace

void JobIntake::ReceiveBytes(std::string_view bytes) {
  const std::u16string piece = decoder_.Decode(bytes);
  if (!piece.empty()) log_.WriteLog(piece);  // else only the start of a character so far
  MessageFramer::Result framed = framer_.Append(bytes);
  for (std::string& message : framed.messages) {
    waiting_.push_back({std::move(message), std::exchange(next_is_first_, false)});
  }
  if (framed.dropped > 0) {
    // Too long to keep, and maybe a job: the user hears of it, not only the log.
    const std::u16string text =
        u"Se descartaron " + NumberText(framed.dropped) +
        u" caracteres recibidos: el texto pasó de 16 MiB sin \"_endMessage_\"";
    log_.WriteLog(text);
    notifier_.ShowBalloonTip(text, platform::BalloonIcon::kWarning, std::u16string(kRejectedTitle),
                             kBalloonTimeoutMs);
  }
  if (!dispatching_) DispatchWaitingJobs();
}

void JobIntake::EndStream() {
  decoder_.Reset();
  next_is_first_ = true;
  if (recent_ != nullptr) recent_->ConnectionEnded();
  const std::string dropped = framer_.EndStream();
  if (dropped.empty()) return;
  log_.WriteLog(u"Se descartaron " + NumberText(CountWireCharacters(dropped, encoding_)) +
                u" caracteres recibidos sin \"_endMessage_\": la conexión terminó antes del "
                u"final del trabajo");
}

void JobIntake::ConnectionUp() {
  if (recent_ != nullptr) recent_->ConnectionUp();
}

void JobIntake::DispatchWaitingJobs() {
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(dispatching_);
  while (!waiting_.empty()) {
    WaitingJob job = std::move(waiting_.front());
    waiting_.pop_front();
    const std::string& bytes = job.bytes;
    RunJob(bytes, json::ParseJson(bytes, ParserEncoding(encoding_)), job.first_on_connection);
    // What a large job used is free again now, its tree included; the C library would keep it.
    if (bytes.size() >= kLargeJobBytes) platform::GiveBackFreeMemory();
  }
}

void JobIntake::RunWholeJob(std::string_view bytes, const json::ParseResult& read) {
  log_.WriteLog(DecodeWire(std::string(bytes).append(MessageFramer::kTerminator), encoding_));
  RunJob(bytes, read, true);
}

void JobIntake::RunJob(std::string_view bytes, const json::ParseResult& read,
                       bool first_on_connection) {
  log_.Clear();
  busy_ = 1;
  if (recent_ != nullptr) recent_->BeginJob(bytes, first_on_connection);
  Rejection rejection;
  try {
    ProcessMessage(DecodeWire(bytes, encoding_), read, rejection);
  } catch (const std::exception& failure) {
    // The agent must go on receiving: the job ends like any other, with the failure logged.
    log_.WriteLog(u"Error al procesar el trabajo: " + platform::FailureLogText(failure));
    rejection.reasons.push_back(platform::FailureLogText(failure));
  } catch (...) {
    log_.WriteLog(u"Error al procesar el trabajo: falla desconocida");
    rejection.reasons.push_back(u"falla desconocida");
  }
  busy_ = 0;
  if (recent_ != nullptr && recent_->SkippedTickets() > 0) ReportResent(recent_->SkippedTickets());
  if (!rejection.reasons.empty()) Reject(bytes, rejection);
  const bool replied = status_.SendStatus();
  if (recent_ != nullptr) recent_->EndJob(replied);
  log_.WriteLog(std::u16string(kFinLine));
}

// A job is known only by its bytes: the same order sent again on purpose right after a drop
// looks like a re-send. The staff hears of every skipped ticket so that they can reprint it.
void JobIntake::ReportResent(int skipped) {
  log_.WriteLog(std::u16string(kResentLine));
  const std::u16string text =
      (skipped == 1 ? u"1 ticket ya impreso no se imprimió"
                    : NumberText(static_cast<std::size_t>(skipped)) +
                          u" tickets ya impresos no se imprimieron") +
      u" de nuevo. Si era un pedido nuevo, reimprímalo en Tickets impresos.";
  notifier_.ShowBalloonTip(text, platform::BalloonIcon::kInformation, std::u16string(kResentTitle),
                           kBalloonTimeoutMs);
}

void JobIntake::ProcessMessage(const std::u16string& text, const json::ParseResult& read,
                               Rejection& rejection) {
  log_.WriteLog(u"Respuesta: " + text);
  log_.WriteLog(u"--");
  const std::u16string& errors = read.errors;
  if (!errors.empty()) {
    log_.WriteLog(errors);
    rejection.reasons.push_back(u"el texto no es un JSON válido (" +
                                FirstLine(errors, kParseErrorInBalloon) + u")");
    return;
  }
  const json::Value& root = read.root;
  if (!root.IsDictionary()) {
    rejection.reasons.push_back(u"el trabajo no es un objeto JSON");
    return;
  }
  const json::Dictionary& envelope = root.AsDictionary();
  const json::Value* kind_value = envelope.Find(u"tipo");
  const std::u16string kind =
      kind_value != nullptr && kind_value->IsText() ? kind_value->ToText() : std::u16string();
  NameKind(kind, rejection);

  const json::Value* config = envelope.Find(u"config");
  if (config == nullptr || !config->IsCollection()) {
    rejection.reasons.push_back(u"no trae \"config\" como arreglo");
    return;
  }
  // The settings outlive the job: copied apart, so that they do not keep the whole job's tree.
  handlers_.SetSettingsRows(json::CopyTree(*config));

  const json::Value* dato = envelope.Find(u"dato");
  if (dato == nullptr) {
    rejection.reasons.push_back(u"no trae \"dato\"");
    return;
  }
  if (kind_value == nullptr || kind_value->IsEmpty()) {
    rejection.reasons.push_back(u"no trae \"tipo\"");
    return;
  }
  if (!kind_value->IsText()) {
    rejection.reasons.push_back(u"el \"tipo\" no es un texto");
    return;
  }
  PrintJob(kind, *dato, rejection);
}

void JobIntake::NameKind(const std::u16string& kind, Rejection& rejection) {
  struct Known {
    std::u16string_view tipo, label;
  };
  for (const Known known : {Known{u"comanda", u"Comanda"}, Known{u"factura", u"Factura"},
                            Known{u"anulacion", u"Anulación"}, Known{u"cajon", u"Cajón"}}) {
    if (kind == known.tipo) {
      rejection.kind = known.label;
      rejection.file_kind = known.tipo;
    }
  }
}

void JobIntake::PrintJob(const std::u16string& kind, const json::Value& dato,
                         Rejection& rejection) {
  const bool takes_array = kind == u"comanda" || kind == u"anulacion";
  if (takes_array && !dato.IsCollection()) {
    rejection.reasons.push_back(u"el \"dato\" no es un arreglo");
    return;
  }
  if (kind == u"factura" && !dato.IsDictionary()) {
    rejection.reasons.push_back(u"el \"dato\" no es un objeto");
    return;
  }
  if (kind == u"comanda") {
    rejection.reasons = handlers_.PrintKitchenOrder(dato.AsCollection());
  } else if (kind == u"factura") {
    rejection.reasons = handlers_.PrintInvoice(dato);
  } else if (kind == u"anulacion") {
    rejection.reasons = handlers_.PrintCancellation(dato.AsCollection());
  } else if (kind == u"cajon") {
    rejection.reasons = handlers_.OpenCashDrawer();
  } else {
    rejection.reasons.push_back(u"el \"tipo\" " + platform::QuotedJsonString(kind) +
                                u" no es ninguno de los que se imprimen");
  }
}

void JobIntake::Reject(std::string_view bytes, const Rejection& rejection) {
  ++rejected_count_;
  std::u16string text = rejection.kind + u" sin imprimir: " + Joined(rejection.reasons) + u".";
  if (rejected_ != nullptr) {
    const RejectedJobStore::Kept kept = rejected_->Keep(bytes, rejection.file_kind);
    text += kept.file.empty() ? u" No se pudo guardar el texto recibido: " + kept.error
                              : u" Texto recibido guardado en " + kept.file;
  }
  log_.WriteLog(text);
  notifier_.ShowBalloonTip(text, platform::BalloonIcon::kWarning, std::u16string(kRejectedTitle),
                           kBalloonTimeoutMs);
}

}  // namespace quillon::link
