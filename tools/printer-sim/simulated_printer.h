#pragma once
// A network receipt printer as the agent meets it: commands arrive as bytes, real-time requests
// (DLE EOT, the buffer clear) are answered at once whatever the printer is doing, everything else
// waits in its buffer until the printer can print it. A cut ends a ticket on paper; GS r 1 is
// answered when the printer reaches it.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace quillon::tools {

enum class SimMode {
  kReady,
  kNearEnd,    // prints, and says the roll is near its end
  kPaperEnd,   // keeps what arrives in its buffer, prints nothing, answers no GS r
  kCoverOpen,  // as the paper end, with the cover open
  kOff,        // not listening (the program closes the port)
  kSilent,     // prints, answers nothing at all
  kSlow,       // pauses after each ticket it prints
  kRunsOut,    // ready until a ticket arrives, then out of paper in the middle of it
};

// "ready", "near-end", "paper-end", "cover-open", "off", "silent", "slow", "runs-out"; false for
// any other word.
bool ParseSimMode(std::string_view word, SimMode* mode);

class SimulatedPrinter {
 public:
  static constexpr int kSlowPauseMs = 3000;

  // `paper` receives each ticket's bytes as it comes off the cutter; `drawer` each kick.
  SimulatedPrinter(std::function<void(const std::string&)> paper, std::function<void()> drawer)
      : paper_(std::move(paper)), drawer_(std::move(drawer)) {}

  void SetMode(SimMode mode);
  SimMode Mode() const { return mode_; }
  // Bytes from the connection `client`; returns what the printer answers at once.
  std::string Receive(int client, std::string_view bytes);
  // Prints what the buffer holds as far as the printer can now; returns the answers it owes,
  // each with its client.
  std::deque<std::pair<int, std::string>> Work(std::int64_t now_ms);
  // The connection is gone: its half-received command is dropped, its answers too.
  void Disconnected(int client);
  std::size_t Buffered() const { return buffer_.size(); }

 private:
  struct Command {
    int client;
    std::string bytes;
  };
  std::string Status(int request) const;
  bool Printing() const;

  std::function<void(const std::string&)> paper_;
  std::function<void()> drawer_;
  SimMode mode_ = SimMode::kReady;
  bool out_of_paper_ = false;  // ran out in kRunsOut
  std::map<int, std::string> partial_;
  std::deque<Command> buffer_;
  std::string ticket_;
  std::int64_t paused_until_ms_ = 0;
};

// The length of the command at the start of `bytes`, 0 when it is not whole yet.
std::size_t CommandLength(std::string_view bytes);

}  // namespace quillon::tools
