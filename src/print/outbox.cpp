#include "print/outbox.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <system_error>

#include "platform/text.h"

namespace quillon::print {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExtension = ".ticket";

// The number a ticket file's name holds ("000000000012.ticket" holds 12); 0 for other names.
std::uint64_t IdOf(const fs::path& file) {
  const std::string name = file.filename().string();
  if (name.size() <= kExtension.size() || !name.ends_with(kExtension)) return 0;
  std::uint64_t id = 0;
  const char* end = name.data() + name.size() - kExtension.size();
  const auto read = std::from_chars(name.data(), end, id);
  return read.ec == std::errc() && read.ptr == end ? id : 0;
}

std::uint64_t HighestId(const platform::FileSystem& files, const fs::path& folder) {
  std::uint64_t highest = 0;
  std::error_code error;
  for (const platform::FolderEntry& entry : files.ListFolder(folder, error)) {
    highest = std::max(highest, IdOf(entry.path));
  }
  return highest;
}

std::optional<TicketRecord> ReadTicket(const platform::FileSystem& files, const fs::path& file) {
  const std::optional<std::string> text = files.ReadFile(file);
  return text ? ReadTicketFile(*text) : std::nullopt;
}

std::string IndexLine(const PrintedTicket& ticket) {
  return std::to_string(ticket.id) + '\t' + platform::DateTimeText(ticket.printed) + '\t' +
         platform::Utf16ToUtf8(ticket.printer) + '\t' + platform::Utf16ToUtf8(ticket.kind) + '\n';
}

std::optional<PrintedTicket> ParseIndexLine(std::string_view line) {
  PrintedTicket ticket;
  std::string_view fields[4];
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t tab = i < 3 ? line.find('\t') : line.size();
    if (tab == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(std::min(line.size(), tab + 1));
  }
  const auto read =
      std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), ticket.id);
  const auto printed = platform::ParseDateTime(fields[1]);
  if (read.ec != std::errc() || ticket.id == 0 || !printed) return std::nullopt;
  ticket.printed = *printed;
  ticket.printer = platform::Utf8ToUtf16(fields[2]);
  ticket.kind = platform::Utf8ToUtf16(fields[3]);
  return ticket;
}

std::string FileName(std::uint64_t id) {
  char name[32];
  std::snprintf(name, sizeof name, "%012llu", static_cast<unsigned long long>(id));
  return name + std::string(kExtension);
}

// The printed tickets listed in the index whose files are there, newest first; `damaged` counts
// the lines that are not an index line, a last line cut short among them.
std::deque<PrintedTicket> ReadPrintedIndex(const platform::FileSystem& files,
                                           const fs::path& folder, std::size_t* damaged = nullptr) {
  std::deque<PrintedTicket> printed;
  std::string text = files.ReadFile(folder / "indice").value_or(std::string());
  if (!text.empty() && text.back() != '\n') text += '\n';
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const auto ticket = ParseIndexLine(std::string_view(text).substr(start, end - start));
    if (!ticket && damaged != nullptr) ++*damaged;
    if (!ticket || !files.Exists(folder / FileName(ticket->id))) continue;
    std::erase_if(printed, [&](const PrintedTicket& t) { return t.id == ticket->id; });
    printed.push_front(*ticket);
  }
  if (printed.size() > Outbox::kPrintedKept) printed.resize(Outbox::kPrintedKept);
  return printed;
}

}  // namespace

std::vector<TicketRecord> ReadWaitingTickets(const platform::FileSystem& files,
                                             const fs::path& data_dir) {
  std::vector<TicketRecord> waiting;
  std::error_code error;
  for (const platform::FolderEntry& entry : files.ListFolder(data_dir / "outbox", error)) {
    if (IdOf(entry.path) == 0) continue;
    if (auto record = ReadTicket(files, entry.path)) waiting.push_back(std::move(*record));
  }
  std::sort(waiting.begin(), waiting.end(),
            [](const TicketRecord& a, const TicketRecord& b) { return a.id < b.id; });
  return waiting;
}

std::deque<PrintedTicket> ReadPrintedTickets(const platform::FileSystem& files,
                                             const fs::path& data_dir) {
  return ReadPrintedIndex(files, data_dir / "impresos");
}

Outbox::Outbox(platform::FileSystem& files, const fs::path& data_dir, const platform::Clock& clock)
    : files_(files),
      folder_(data_dir / "outbox"),
      discarded_(folder_ / "descartados"),
      printed_folder_(data_dir / "impresos"),
      clock_(clock) {}

fs::path Outbox::FileOf(std::uint64_t id) const { return folder_ / FileName(id); }

std::vector<TicketRecord> Outbox::Load(std::vector<std::u16string>& set_aside) {
  files_.CreateFolders(folder_);
  files_.CreateFolders(printed_folder_);
  std::vector<TicketRecord> waiting;
  std::error_code error;
  for (const platform::FolderEntry& entry : files_.ListFolder(folder_, error)) {
    fs::path file = entry.path;
    const bool partial = file.extension() == ".part";
    if (!entry.is_file || (IdOf(file) == 0 && !partial)) continue;
    const std::optional<TicketRecord> record = ReadTicket(files_, file);
    if (record && partial) {
      // Written whole but not yet renamed when the program stopped: never sent, so it waits.
      if (!files_.Rename(file, FileOf(record->id))) file = FileOf(record->id);
    }
    if (record && IdOf(file) == record->id) {
      // Printed, but its move out of the outbox was refused: it must not print again.
      const auto printed = ReadTicket(files_, printed_folder_ / FileName(record->id));
      if (printed && printed->id == record->id) {
        files_.Remove(file);
        continue;
      }
      waiting.push_back(*record);
      continue;
    }
    files_.CreateFolders(discarded_);
    files_.Rename(file, discarded_ / file.filename());
    set_aside.push_back(platform::Utf8ToUtf16(file.filename().string()));
  }
  std::sort(waiting.begin(), waiting.end(),
            [](const TicketRecord& a, const TicketRecord& b) { return a.id < b.id; });
  next_id_ = 1 + std::max({HighestId(files_, folder_), HighestId(files_, discarded_),
                           HighestId(files_, printed_folder_)});
  LoadIndex();
  return waiting;
}

void Outbox::LoadIndex() {
  std::size_t damaged = 0;
  printed_ = ReadPrintedIndex(files_, printed_folder_, &damaged);
  std::set<std::uint64_t> listed;
  for (const PrintedTicket& ticket : printed_) listed.insert(ticket.id);
  // A printed ticket whose line is missing or damaged is listed again from its own file.
  std::error_code error;
  std::size_t recovered = 0;
  for (const platform::FolderEntry& entry : files_.ListFolder(printed_folder_, error)) {
    const std::uint64_t id = IdOf(entry.path);
    if (id == 0 || listed.contains(id)) continue;
    const std::optional<TicketRecord> record = ReadTicket(files_, entry.path);
    if (!record || record->id != id) continue;
    const std::u16string& printer =
        record->sent_to.empty() ? record->ticket.printer : record->sent_to;
    printed_.push_back({id, printer, record->ticket.kind, record->created});
    ++recovered;
  }
  std::sort(printed_.begin(), printed_.end(),
            [](const PrintedTicket& a, const PrintedTicket& b) { return a.id > b.id; });
  if (printed_.size() > kPrintedKept) printed_.resize(kPrintedKept);
  if (damaged > 0) {
    rebuilt_index_ = recovered;
    rebuilt_index_damaged_ = damaged;
  }
  // Files beyond the newest kept are leftovers of a run that stopped while pruning.
  std::set<std::uint64_t> kept;
  for (const PrintedTicket& ticket : printed_) kept.insert(ticket.id);
  for (const platform::FolderEntry& entry : files_.ListFolder(printed_folder_, error)) {
    const std::uint64_t id = IdOf(entry.path);
    if (id != 0 && !kept.contains(id)) files_.Remove(entry.path);
  }
  RewriteIndex();
}

void Outbox::RewriteIndex() {
  std::string text;
  for (auto it = printed_.rbegin(); it != printed_.rend(); ++it) text += IndexLine(*it);
  files_.WriteFile(printed_folder_ / "indice", text, platform::FileSync::kFileAndFolder);
  index_lines_ = printed_.size();
}

void Outbox::AppendToIndex(const PrintedTicket& ticket) {
  if (index_lines_ >= 2 * kPrintedKept) {
    RewriteIndex();
    return;
  }
  const fs::path index = printed_folder_ / "indice";
  // A line cut short by a full disk is a damaged line for the next start, which rebuilds.
  if (files_.AppendToFile(index, IndexLine(ticket))) files_.SyncFile(index);
  ++index_lines_;
}

TicketRecord Outbox::Number(DrawnTicket ticket) {
  TicketRecord record;
  record.id = next_id_++;
  record.ticket = std::move(ticket);
  record.created = clock_.Now();
  return record;
}

bool Outbox::Store(const TicketRecord& record) {
  return files_.WriteFile(FileOf(record.id), TicketFileText(record), platform::FileSync::kNone);
}

bool Outbox::StoreDurably(const TicketRecord& record) {
  if (!Store(record)) return false;
  MakeDurable(record);
  return true;
}

void Outbox::MakeDurable(const TicketRecord& record) {
  files_.SyncFile(FileOf(record.id));
  files_.SyncFolder(folder_);
}

void Outbox::MarkPrinted(const TicketRecord& record, bool stored, const std::u16string& printer) {
  const fs::path kept = printed_folder_ / FileName(record.id);
  const bool moved = stored && !files_.Rename(FileOf(record.id), kept);
  if (!moved) {
    const bool copied =
        files_.WriteFile(kept, TicketFileText(record), platform::FileSync::kFileAndFolder);
    // Left in the outbox only when impresos/ holds no copy to tell the next start it printed.
    if (stored && copied) files_.Remove(FileOf(record.id));
  }
  // Printed for good only once the move is on the disk: a power cut must not bring it back.
  files_.SyncFolder(printed_folder_);
  if (stored) files_.SyncFolder(folder_);
  const PrintedTicket ticket{record.id, printer, record.ticket.kind, clock_.Now()};
  printed_.push_front(ticket);
  AppendToIndex(ticket);
  while (printed_.size() > kPrintedKept) {
    to_remove_.push_back(printed_.back().id);
    printed_.pop_back();
  }
}

void Outbox::Prune() {
  for (const std::uint64_t id : to_remove_) files_.Remove(printed_folder_ / FileName(id));
  to_remove_.clear();
}

bool Outbox::Discard(const TicketRecord& record, bool stored) {
  files_.CreateFolders(discarded_);
  const fs::path target = discarded_ / FileName(record.id);
  if (stored) return !files_.Rename(FileOf(record.id), target);
  return files_.WriteFile(target, TicketFileText(record), platform::FileSync::kNone);
}

bool Outbox::HoldsTicketFrom(std::string_view origin) const {
  const std::string line = "\norigen\t" + std::string(origin) + "\n";
  std::error_code error;
  for (const fs::path& folder : {folder_, discarded_, printed_folder_}) {
    for (const platform::FolderEntry& entry : files_.ListFolder(folder, error)) {
      const fs::path& file = entry.path;
      const bool partial = file.extension() == ".part";
      if (IdOf(file) == 0 && !partial) continue;
      const std::string text = files_.ReadFile(file).value_or(std::string());
      if (text.find(line) != std::string::npos && ReadTicketFile(text)) return true;
    }
  }
  return false;
}

std::optional<TicketRecord> Outbox::ReadPrinted(std::uint64_t id) const {
  return ReadTicket(files_, printed_folder_ / FileName(id));
}

}  // namespace quillon::print
