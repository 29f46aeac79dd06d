#include "simulated_printer.h"

namespace quillon::tools {
namespace {

constexpr char kDle = 0x10, kEot = 0x04, kDc4 = 0x14, kEsc = 0x1b, kGs = 0x1d;
constexpr std::uint8_t kStatusBase = 0x12;

std::uint8_t At(std::string_view bytes, std::size_t i) {
  return static_cast<std::uint8_t>(bytes[i]);
}

}  // namespace

bool ParseSimMode(std::string_view word, SimMode* mode) {
  static const std::pair<std::string_view, SimMode> kModes[] = {
      {"ready", SimMode::kReady},
      {"near-end", SimMode::kNearEnd},
      {"paper-end", SimMode::kPaperEnd},
      {"cover-open", SimMode::kCoverOpen},
      {"off", SimMode::kOff},
      {"silent", SimMode::kSilent},
      {"slow", SimMode::kSlow},
      {"runs-out", SimMode::kRunsOut},
  };
  for (const auto& [name, value] : kModes) {
    if (word == name) {
      *mode = value;
      return true;
    }
  }
  return false;
}

std::size_t CommandLength(std::string_view bytes) {
  if (bytes.empty()) return 0;
  const auto need = [&](std::size_t length) { return bytes.size() >= length ? length : 0; };
  switch (bytes[0]) {
    case kDle:
      if (bytes.size() < 3) return 0;
      if (bytes[1] == kEot) return 3;
      if (bytes[1] == kDc4) return bytes[2] == 8 ? need(10) : bytes[2] == 1 ? need(5) : 3;
      return 1;
    case kEsc:
      if (bytes.size() < 2) return 0;
      if (bytes[1] == 'p') return need(5);
      if (std::string_view("tE!adJ3-MG").find(bytes[1]) != std::string_view::npos) return need(3);
      return 2;
    case kGs: {
      if (bytes.size() < 3) return 0;
      if (bytes[1] == 'V') return At(bytes, 2) < 65 ? 3 : need(4);
      if (bytes[1] == 'v' && bytes[2] == '0') {
        if (bytes.size() < 8) return 0;
        const std::size_t width = At(bytes, 4) + 256U * At(bytes, 5);
        const std::size_t height = At(bytes, 6) + 256U * At(bytes, 7);
        return need(8 + width * height);
      }
      if (std::string_view("r!B").find(bytes[1]) != std::string_view::npos) return 3;
      return 2;
    }
    default:
      return 1;
  }
}

void SimulatedPrinter::SetMode(SimMode mode) {
  if (mode != mode_) out_of_paper_ = false;
  mode_ = mode;
}

bool SimulatedPrinter::Printing() const {
  return mode_ != SimMode::kPaperEnd && mode_ != SimMode::kCoverOpen && mode_ != SimMode::kOff &&
         !out_of_paper_;
}

std::string SimulatedPrinter::Status(int request) const {
  const bool paper_end = mode_ == SimMode::kPaperEnd || out_of_paper_;
  const bool cover_open = mode_ == SimMode::kCoverOpen;
  std::uint8_t answer = kStatusBase;
  switch (request) {
    case 1:
      if (paper_end || cover_open) answer |= 0x08;
      break;
    case 2:
      if (cover_open) answer |= 0x04;
      if (paper_end) answer |= 0x20;
      break;
    case 3:
      break;
    case 4:
      if (mode_ == SimMode::kNearEnd) answer |= 0x0c;
      if (paper_end) answer |= 0x6c;
      break;
    default:
      return {};
  }
  return std::string(1, static_cast<char>(answer));
}

std::string SimulatedPrinter::Receive(int client, std::string_view bytes) {
  std::string& pending = partial_[client];
  pending.append(bytes);
  std::string answers;
  std::size_t at = 0;
  while (at < pending.size()) {
    const std::size_t length = CommandLength(std::string_view(pending).substr(at));
    if (length == 0) break;
    std::string command = pending.substr(at, length);
    at += length;
    if (command.size() == 3 && command[0] == kDle && command[1] == kEot) {
      if (mode_ != SimMode::kSilent) answers += Status(command[2]);
    } else if (command.size() == 10 && command[0] == kDle && command[1] == kDc4) {
      buffer_.clear();
      ticket_.clear();
    } else {
      if (mode_ == SimMode::kRunsOut) out_of_paper_ = true;
      buffer_.push_back({client, std::move(command)});
    }
  }
  pending.erase(0, at);
  return answers;
}

std::deque<std::pair<int, std::string>> SimulatedPrinter::Work(std::int64_t now_ms) {
  std::deque<std::pair<int, std::string>> owed;
  while (!buffer_.empty() && Printing() && now_ms >= paused_until_ms_) {
    Command command = std::move(buffer_.front());
    buffer_.pop_front();
    const std::string& bytes = command.bytes;
    if (bytes.size() == 3 && bytes[0] == kGs && bytes[1] == 'r') {
      // Paper sensor bits 0-1 near end, 2-3 end; bit 4 clear tells it from a DLE EOT answer.
      const char answer = mode_ == SimMode::kNearEnd ? 0x03 : 0x00;
      if (mode_ != SimMode::kSilent) owed.emplace_back(command.client, std::string(1, answer));
      continue;
    }
    if (bytes.size() == 5 && bytes[0] == kEsc && bytes[1] == 'p') {
      drawer_();
      continue;
    }
    ticket_ += bytes;
    if (bytes.size() >= 3 && bytes[0] == kGs && bytes[1] == 'V') {
      paper_(ticket_);
      ticket_.clear();
      if (mode_ == SimMode::kSlow) paused_until_ms_ = now_ms + kSlowPauseMs;
    }
  }
  return owed;
}

void SimulatedPrinter::Disconnected(int client) {
  partial_.erase(client);
  for (Command& command : buffer_) {
    if (command.client == client) command.client = -1;
  }
}

}  // namespace quillon::tools
