#include "print/reprint_requests.h"

#include <algorithm>
#include <charconv>
#include <system_error>
#include <thread>

#include "platform/text.h"

namespace quillon::print {
namespace {

namespace fs = std::filesystem;

constexpr char kReprintRequest[] = ".reimprimir";
constexpr char kDiscardRequest[] = ".descartar";
constexpr char kAnswer[] = ".respuesta";

fs::path Folder(const fs::path& data_dir) { return data_dir / "peticiones"; }

std::u16string Number(std::uint64_t id) { return platform::Utf8ToUtf16(std::to_string(id)); }

// "ID\tPRINTER\n" -> the request; nullopt for anything else.
std::optional<std::pair<std::uint64_t, std::u16string>> ParseRequest(std::string_view text) {
  const std::size_t tab = text.find('\t');
  if (tab == std::string_view::npos || text.empty() || text.back() != '\n') return std::nullopt;
  std::uint64_t id = 0;
  const auto read = std::from_chars(text.data(), text.data() + tab, id);
  if (read.ec != std::errc() || read.ptr != text.data() + tab) return std::nullopt;
  return std::make_pair(id, platform::Utf8ToUtf16(text.substr(tab + 1, text.size() - tab - 2)));
}

}  // namespace

std::u16string NoPrintedTicketText(std::uint64_t id) {
  return u"No hay un ticket impreso con el número " + Number(id);
}

std::u16string NoWaitingTicketText(std::uint64_t id) {
  return u"No hay un ticket en espera con el número " + Number(id);
}

RequestAnswer Discard(PrintService& service, std::uint64_t id) {
  const auto waiting = service.Waiting();
  if (std::none_of(waiting.begin(), waiting.end(),
                   [id](const WaitingTicket& ticket) { return ticket.id == id; })) {
    return {false, NoWaitingTicketText(id)};
  }
  if (!service.Discard(id)) return {false, u"El ticket " + Number(id) + u" no se pudo descartar"};
  return {true, u"Ticket " + Number(id) + u" descartado: queda en outbox/descartados"};
}

RequestAnswer Reprint(PrintService& service, std::uint64_t id, const std::u16string& printer) {
  const std::optional<Delivery> delivery = service.Reprint(id, printer);
  if (!delivery) return {false, NoPrintedTicketText(id)};
  if (delivery->sent)
    return {true, u"Ticket " + Number(id) + u" reimpreso en " + delivery->printer};
  return {false, u"La reimpresión del ticket " + Number(id) +
                     u" espera su impresora en la bandeja de salida"};
}

void ServeRequests(platform::FileSystem& files, const fs::path& data_dir, PrintService& service) {
  std::error_code error;
  for (const platform::FolderEntry& entry : files.ListFolder(Folder(data_dir), error)) {
    const fs::path& request = entry.path;
    const bool reprint = request.extension() == kReprintRequest;
    if (!reprint && request.extension() != kDiscardRequest) continue;
    const auto asked = ParseRequest(files.ReadFile(request).value_or(std::string()));
    files.Remove(request);
    RequestAnswer answer{false, u"La petición no se pudo leer"};
    if (asked) {
      answer =
          reprint ? Reprint(service, asked->first, asked->second) : Discard(service, asked->first);
    }
    fs::path answer_file = request;
    answer_file.replace_extension(kAnswer);
    files.WriteFile(
        answer_file,
        std::string(answer.done ? "1\n" : "0\n") + platform::Utf16ToUtf8(answer.text) + "\n",
        platform::FileSync::kFileAndFolder);
  }
}

std::optional<RequestAnswer> AskRunningAgent(platform::FileSystem& files, const fs::path& data_dir,
                                             RequestKind kind, std::uint64_t id,
                                             const std::u16string& printer,
                                             std::chrono::milliseconds patience) {
  const fs::path folder = Folder(data_dir);
  files.CreateFolders(folder);
  const std::string name =
      std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  const fs::path request =
      folder / (name + (kind == RequestKind::kReprint ? kReprintRequest : kDiscardRequest));
  const fs::path answer = folder / (name + kAnswer);
  if (!files.WriteFile(request, std::to_string(id) + '\t' + platform::Utf16ToUtf8(printer) + '\n',
                       platform::FileSync::kFileAndFolder)) {
    return std::nullopt;
  }
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!files.Exists(answer)) continue;
    const std::string text = files.ReadFile(answer).value_or(std::string());
    files.Remove(answer);
    if (text.size() < 3 || text.back() != '\n') return std::nullopt;
    return RequestAnswer{text[0] == '1', platform::Utf8ToUtf16(text.substr(2, text.size() - 3))};
  }
  // Not answered in time: taken back, so that it does not print long after the user gave up.
  files.Remove(request);
  return std::nullopt;
}

}  // namespace quillon::print
