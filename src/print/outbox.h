#pragma once
// The tickets on their way to a printer, kept in the data folder so that none is lost when a
// printer cannot take it or the program stops: outbox/ holds every ticket no printer has
// accepted yet, outbox/descartados/ the ones the user gave up on, and impresos/ the last
// printed ones, with impresos/indice saying where and when each printed.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "print/ticket_file.h"

namespace quillon::print {

struct PrintedTicket {
  std::uint64_t id = 0;
  std::u16string printer;  // the printer that accepted it
  std::u16string kind;
  platform::DateTime printed;
};

class Outbox {
 public:
  static constexpr std::size_t kPrintedKept = 200;

  Outbox(platform::FileSystem& files, const std::filesystem::path& data_dir,
         const platform::Clock& clock);
  Outbox(const Outbox&) = delete;
  Outbox& operator=(const Outbox&) = delete;

  // Reads what an earlier run left: the waiting tickets and those a spooler held, in the order
  // they were made. A file
  // that is not a whole ticket is moved to descartados/ and its name added to `set_aside`; one
  // that impresos/ holds too printed already and leaves the outbox.
  std::vector<TicketRecord> Load(std::vector<std::u16string>& set_aside);

  // The ticket with the next number and the time of now.
  TicketRecord Number(DrawnTicket ticket);
  // Writes the ticket whole into the outbox; false when the folder does not take it.
  bool Store(const TicketRecord& record);
  // The stored ticket's bytes and name reach the disk, to outlast a power cut.
  void MakeDurable(const TicketRecord& record);
  // Writes the ticket whole as it stands now and to the disk: once a spooler took it, with its
  // job, so that a restart follows that job instead of sending the ticket again. false when the
  // folder does not take it.
  bool StoreDurably(const TicketRecord& record);
  // The ticket printed: it leaves the outbox for impresos/ at once (copied and removed when the
  // move is refused).
  void MarkPrinted(const TicketRecord& record, bool stored, const std::u16string& printer);
  // The user gave the ticket up: it moves to descartados/, never deleted. false when it could
  // not be moved (it then stays where it is).
  bool Discard(const TicketRecord& record, bool stored);

  // Removes the files of printed tickets no longer kept. Removing a file can take milliseconds on
  // some disks, so it is left out of MarkPrinted for a quiet moment.
  void Prune();
  bool NeedsPruning() const { return !to_remove_.empty(); }

  // Newest first, at most kPrintedKept.
  const std::deque<PrintedTicket>& Printed() const { return printed_; }
  std::optional<TicketRecord> ReadPrinted(std::uint64_t id) const;
  // Whether a ticket with that origin is kept anywhere: waiting, in a printer, printed (among
  // the last kept) or discarded. Reads the files; for the rare question after a stop.
  bool HoldsTicketFrom(std::string_view origin) const;

  const std::filesystem::path& Folder() const { return folder_; }
  // After Load: how many lines of impresos/indice were damaged, and how many printed tickets
  // were listed again from their own files; 0 and 0 when the index was whole.
  std::size_t DamagedIndexLines() const { return rebuilt_index_damaged_; }
  std::size_t RecoveredFromFiles() const { return rebuilt_index_; }

 private:
  std::filesystem::path FileOf(std::uint64_t id) const;
  void LoadIndex();
  void AppendToIndex(const PrintedTicket& ticket);
  void RewriteIndex();

  platform::FileSystem& files_;
  std::filesystem::path folder_;          // outbox/
  std::filesystem::path discarded_;       // outbox/descartados/
  std::filesystem::path printed_folder_;  // impresos/
  const platform::Clock& clock_;
  std::uint64_t next_id_ = 1;
  std::deque<PrintedTicket> printed_;
  std::vector<std::uint64_t> to_remove_;  // printed tickets beyond kPrintedKept
  std::size_t index_lines_ = 0;
  std::size_t rebuilt_index_ = 0;
  std::size_t rebuilt_index_damaged_ = 0;
};

// What a data folder's outbox holds, read without changing anything, for the command line while
// an agent may be running: the waiting tickets in order, and the printed ones newest first.
std::vector<TicketRecord> ReadWaitingTickets(const platform::FileSystem& files,
                                             const std::filesystem::path& data_dir);
std::deque<PrintedTicket> ReadPrintedTickets(const platform::FileSystem& files,
                                             const std::filesystem::path& data_dir);

}  // namespace quillon::print
