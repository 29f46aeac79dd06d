// A job's whole road, from the bytes on the wire to the bytes a receipt printer receives:
// framing, parsing, dispatch, the documents, the print service with its outbox and the ESC/POS
// encoder, over recording printers, for both wire encodings. Beyond running clean under the
// sanitizers, no byte of a job may reach a printer as a command: every control byte of a ticket's
// ESC/POS belongs to a command of the encoder, blanking the control characters of the ticket's
// texts changes none of its bytes, and the only raw job is the cash-drawer kick.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/document_job_handlers.h"
#include "escpos_commands.h"
#include "link/job_intake.h"
#include "link/wire_text.h"
#include "platform/text.h"
#include "print/escpos_encoder.h"
#include "support/fake_activity_log.h"
#include "support/fake_print_options.h"
#include "support/fake_printers.h"
#include "support/fake_rejected_jobs.h"
#include "support/fake_status_reply.h"
#include "support/service_parts.h"

namespace quillon::fuzz {
namespace {

// ESC p 0 60 240, the drawer kick: the only bytes a job may send raw.
const std::string kDrawerKick{'\x1b', 'p', '\x00', '\x3c', '\xf0'};

[[noreturn]] void Fail(const std::u16string& printer, const std::string& what) {
  std::fprintf(stderr, "printer %s: %s\n", platform::Utf16ToUtf8(printer).c_str(), what.c_str());
  std::abort();
}

platform::Ticket WithControlsBlanked(platform::Ticket ticket) {
  for (auto& line : ticket.lines) {
    for (auto& run : line.runs) {
      for (char16_t& c : run.text) {
        if (c < 0x20 || c == 0x7F) c = u' ';
      }
    }
  }
  return ticket;
}

void CheckPrinter(const test::FakePrinterQueue& queue) {
  for (const platform::Ticket& ticket : queue.tickets) {
    const std::string bytes = print::EncodeEscPos(ticket);
    const std::string problem = FindStrayCommand(bytes);
    if (!problem.empty()) Fail(queue.DeviceName(), problem);
    if (print::EncodeEscPos(WithControlsBlanked(ticket)) != bytes) {
      Fail(queue.DeviceName(), "a control character of the job changed the printer bytes");
    }
  }
  for (const std::string& raw : queue.raw_jobs) {
    if (raw != kDrawerKick) Fail(queue.DeviceName(), "a raw job other than the drawer kick");
  }
}

void RunJob(std::string_view bytes, link::WireEncoding encoding) {
  test::FakePrinterSystem printers;
  for (const char16_t* name : {u"Cocina", u"Bar", u"Facturas"}) printers.AddPrinter(name);
  printers.SetDefaultName(u"Facturas");
  test::ServiceParts parts(printers);
  print::PrintEngine engine;
  test::FakePrintOptions options;
  documents::DocumentContext context{engine,
                                     parts.service,
                                     parts.notifier,
                                     options,
                                     parts.clock,
                                     QUILLON_SOURCE_DIR "/examples/jobs/data",
                                     {},
                                     {}};
  app::DocumentJobHandlers handlers(context, parts.service);
  test::FakeActivityLog log;
  test::FakeStatusReply status;
  test::FakeRejectedJobs rejected;
  link::JobIntake intake(log, parts.notifier, handlers, status, encoding, &rejected);

  intake.ReceiveBytes(bytes);
  intake.ReceiveBytes("_endMessage_");
  intake.EndStream();
  for (const char16_t* name : {u"Cocina", u"Bar", u"Facturas"}) CheckPrinter(*printers.Queue(name));
}

}  // namespace
}  // namespace quillon::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  quillon::fuzz::RunJob(bytes, quillon::link::WireEncoding::kWindows1252);
  quillon::fuzz::RunJob(bytes, quillon::link::WireEncoding::kUtf8);
  return 0;
}
