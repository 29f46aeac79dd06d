#include "link/recent_jobs.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <string>
#include <utility>

namespace quillon::link {

namespace {

// FNV-1a: the bytes' length goes with it, and among the few dozen jobs kept a chance match of
// two different jobs is out of reach.
std::uint64_t Digest(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool ParseHex(std::string_view text, std::uint64_t& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out, 16);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

RecentJobs::RecentJobs(platform::FileSystem& files, std::filesystem::path file,
                       TicketKept ticket_kept)
    : files_(files), file_(std::move(file)), ticket_kept_(std::move(ticket_kept)) {
  Load();
}

std::string RecentJobs::OriginOf(const Record& record, int ticket) const {
  char digest[17];
  const auto end = std::to_chars(digest, digest + 16, record.digest, 16).ptr;
  return std::string(digest, end) + '-' + std::to_string(record.size) + '-' +
         std::to_string(ticket);
}

std::string RecentJobs::TicketOrigin() const {
  if (running_ == nullptr || handing_ < 0) return {};
  return OriginOf(*running_, handing_);
}

void RecentJobs::BeginJob(std::string_view bytes, bool first_on_connection) {
  const std::uint64_t digest = Digest(bytes);
  Record* job = nullptr;  // the earlier run's record when it is a re-send
  if (first_on_connection) {
    for (auto record = records_.rbegin(); record != records_.rend(); ++record) {
      if (!record->settled && record->digest == digest && record->size == bytes.size()) {
        job = &*record;
        break;
      }
    }
    for (Record& record : records_) record.settled = record.settled || &record != job;
  }
  if (job == nullptr) {
    records_.push_back({digest, bytes.size()});
    if (records_.size() > kKept) records_.pop_front();
    job = &records_.back();
  }
  // A stop caught a ticket between its hand-over and its record: the outbox says whether it went.
  if (job->pending >= job->taken) {
    if (ticket_kept_ && ticket_kept_(OriginOf(*job, job->pending))) job->taken = job->pending + 1;
  }
  job->pending = -1;
  job->settled = false;
  job->ticks = -1;
  running_ = job;
  handed_ = 0;
  skip_ = job->taken;
  skipped_ = 0;
  Save();
}

void RecentJobs::HandOverOnce(const std::function<void()>& hand_over) {
  if (running_ == nullptr) {
    hand_over();
    return;
  }
  const int ticket = handed_++;
  if (ticket < skip_) {
    ++skipped_;
    return;
  }
  handing_ = ticket;
  // Written before the ticket goes, so that after a stop the outbox can tell whether it went.
  running_->pending = ticket;
  Save();
  try {
    hand_over();
  } catch (...) {
    handing_ = -1;  // what was stored before the failure stays taken
    throw;
  }
  MarkTaken();
}

void RecentJobs::TicketStored() {
  if (running_ != nullptr) MarkTaken();
}

void RecentJobs::MarkTaken() {
  if (handing_ < 0) return;
  running_->taken = std::max(running_->taken, handing_ + 1);
  running_->pending = -1;
  handing_ = -1;
  Save();
}

void RecentJobs::EndJob(bool reply_written) {
  if (running_ == nullptr) return;
  if (reply_written) running_->ticks = 0;
  running_ = nullptr;
}

void RecentJobs::ConnectionUp() {
  bool changed = false;
  for (Record& record : records_) {
    if (record.ticks < 0 || ++record.ticks < kSettleTicks) continue;
    record.ticks = -1;
    record.settled = true;
    changed = true;
  }
  if (changed) Save();
}

void RecentJobs::ConnectionEnded() {
  for (Record& record : records_) record.ticks = -1;
}

// One line a job, oldest first: digest (hex), size, tickets taken, settled (1) or not (0), and
// the ticket being handed over (-1: none; absent in the files of earlier versions).
void RecentJobs::Load() {
  std::istringstream in(files_.ReadFile(file_).value_or(std::string()));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string digest;
    Record record;
    int settled = -1;
    std::string rest;
    fields >> digest >> record.size >> record.taken >> settled;
    if (fields && !(fields >> record.pending)) {
      record.pending = -1;
      fields.clear();
    }
    if (fields && !(fields >> rest) && ParseHex(digest, record.digest) && record.taken >= 0 &&
        record.pending >= -1 && (settled == 0 || settled == 1)) {
      record.settled = settled == 1;
      records_.push_back(record);
    }
  }
  while (records_.size() > kKept) records_.pop_front();
}

void RecentJobs::Save() const {
  std::string text;
  for (const Record& record : records_) {
    char digest[16];
    const auto end = std::to_chars(digest, digest + sizeof digest, record.digest, 16).ptr;
    text.append(digest + sizeof digest - end, '0').append(digest, end);
    text += ' ' + std::to_string(record.size) + ' ' + std::to_string(record.taken) +
            (record.settled ? " 1 " : " 0 ") + std::to_string(record.pending) + '\n';
  }
  // Without its memory the agent prints as it did before: a write that fails loses no ticket.
  if (files_.WriteFile(file_, text, platform::FileSync::kNone)) files_.SyncFile(file_);
}

}  // namespace quillon::link
