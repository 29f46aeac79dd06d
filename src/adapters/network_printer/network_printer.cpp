#include "adapters/network_printer/network_printer.h"

#include <algorithm>
#include <chrono>

#include "platform/failure.h"

namespace quillon::adapters::network_printer {
namespace {

constexpr std::size_t kFinishedKept = 1000;
constexpr int kBalloonTimeoutMs = 30000;
constexpr char16_t kBalloonTitle[] = u"Impresoras";

// Job numbers of one run never meet those of another: they start at the run's start in
// milliseconds, a thousand numbers a millisecond.
std::int64_t FirstJobNumber() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count() * 1000;
}

}  // namespace

NetworkPrinter::NetworkPrinter(std::u16string name, PrinterAddress address,
                               std::unique_ptr<platform::ClientSocket> socket,
                               std::unique_ptr<platform::Timer> timer, PrinterEvents events)
    : name_(std::move(name)),
      address_(std::move(address)),
      socket_(std::move(socket)),
      timer_(std::move(timer)),
      events_(std::move(events)),
      next_job_(FirstJobNumber()) {
  socket_->SetListener(this);
}

NetworkPrinter::~NetworkPrinter() {
  timer_->Stop();
  socket_->SetListener(nullptr);
  socket_->Close();
}

std::int64_t NetworkPrinter::Submit(std::string bytes) {
  Enqueue(std::move(bytes), JobKind::kTicket);
  return next_job_;
}

void NetworkPrinter::SubmitNowOrNever(std::string bytes) {
  if (const std::u16string fault = Fault(); !fault.empty()) {
    throw platform::Failure(platform::kPrinterError, u"La impresora " + name_ + u" está " + fault);
  }
  Enqueue(std::move(bytes), JobKind::kNowOrNever);
}

void NetworkPrinter::Enqueue(std::string bytes, JobKind kind) {
  // A status request of its own gives way to real work.
  if (!jobs_.empty() && jobs_.back().kind == JobKind::kProbe) jobs_.pop_back();
  jobs_.push_back({++next_job_, std::move(bytes), kind});
  if (jobs_.size() == 1 && phase_ == Phase::kIdle) Start();
  if (phase_ == Phase::kClosing) Start();
}

platform::JobState NetworkPrinter::StateOf(std::int64_t job) {
  for (const Job& queued : jobs_) {
    if (queued.id != job) continue;
    return held_ && queued.id == jobs_.front().id ? platform::JobState::kHeld
                                                  : platform::JobState::kQueued;
  }
  if (const auto found = finished_.find(job); found != finished_.end()) return found->second;
  // A job of an earlier run: it may be in the printer's buffer or nowhere. Given back, it prints
  // again after the buffer is cleared; a duplicate beats a lost order where it cannot be.
  clear_first_ = true;
  return platform::JobState::kAborted;
}

void NetworkPrinter::Cancel(std::int64_t job) {
  const auto queued =
      std::find_if(jobs_.begin(), jobs_.end(), [&](const Job& j) { return j.id == job; });
  if (queued == jobs_.end()) return;
  if (queued != jobs_.begin()) {
    finished_[job] = platform::JobState::kCanceled;
    jobs_.erase(queued);
    return;
  }
  if (phase_ == Phase::kPrinting && socket_->State() == platform::kSocketConnected) {
    socket_->Send(kClearBuffers);
  }
  timer_->Stop();
  socket_->Close();
  phase_ = Phase::kIdle;
  Finish(platform::JobState::kCanceled);
  Start();
}

std::u16string NetworkPrinter::Fault() const {
  if (!condition_ || Prints(*condition_)) return {};
  return ConditionText(*condition_);
}

std::u16string NetworkPrinter::StateText() const {
  if (blind_ || !condition_) return u"sin estado";
  return ConditionText(*condition_);
}

void NetworkPrinter::Start() {
  timer_->Stop();
  if (jobs_.empty()) {
    Rest();
    return;
  }
  if (socket_->State() == platform::kSocketConnected && phase_ == Phase::kIdle) {
    AskStatus();
  } else {
    Connect();
  }
}

void NetworkPrinter::Connect() {
  socket_->Close();
  phase_ = Phase::kConnecting;
  timer_->StartOnce(kConnectWaitMs, [this] { OnTimer(); });
  socket_->Connect(address_.host, address_.port);
}

void NetworkPrinter::OnConnected() {
  if (phase_ != Phase::kConnecting) return;
  if (clear_first_) {
    socket_->Send(kClearBuffers);
    clear_first_ = false;
  }
  AskStatus();
}

void NetworkPrinter::AskStatus() {
  answers_ = {};
  answers_received_ = 0;
  answers_expected_ = 3;
  if (blind_ && phase_ != Phase::kPrinting) {
    SendFront();
    return;
  }
  if (phase_ != Phase::kPrinting) phase_ = Phase::kAsking;
  socket_->Send(std::string(kAskPrinter) + std::string(kAskOfflineCause) +
                std::string(kAskPaperSensor));
  timer_->StartOnce(kStatusWaitMs, [this] { OnTimer(); });
}

void NetworkPrinter::OnDataArrival(std::size_t) {
  const std::string bytes = socket_->ReadAvailable();
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (IsStatusAnswer(byte)) {
      if (answers_received_ >= answers_expected_) continue;
      std::optional<std::uint8_t>* slots[] = {&answers_.printer, &answers_.offline_cause,
                                              &answers_.paper_sensor};
      *slots[answers_received_++] = byte;
      if (answers_received_ == answers_expected_) StatusAnswered();
    } else if (phase_ == Phase::kPrinting) {
      // GS r answered: the printer reached the end of the job, so it prints; bits 0-1 are the
      // roll near its end.
      timer_->Stop();
      asked_again_ = false;
      ReportCondition((byte & 0x03U) != 0 ? PrinterCondition::kPaperLow : PrinterCondition::kReady);
      Finish(platform::JobState::kCompleted);
      phase_ = Phase::kIdle;
      Start();
    }
  }
}

void NetworkPrinter::StatusAnswered() {
  timer_->Stop();
  const PrinterCondition condition = DecodeStatus(answers_);
  ReportCondition(condition);
  if (phase_ == Phase::kPrinting) {
    // Asked again while the job is in the printer: what it says is the job's fault until GS r
    // is answered.
    timer_->StartOnce(kRecheckMs, [this] { AskStatus(); });
    return;
  }
  if (phase_ != Phase::kAsking) return;
  if (Prints(condition)) {
    SendFront();
    return;
  }
  if (jobs_.front().kind != JobKind::kTicket) {
    if (jobs_.front().kind == JobKind::kNowOrNever)
      Log(u"No se envió a la impresora " + name_ + u": está " + ConditionText(condition));
    Finish(platform::JobState::kAborted);
    Start();
    return;
  }
  held_ = true;
  socket_->Close();
  phase_ = Phase::kIdle;
  timer_->StartOnce(kRecheckMs, [this] { Start(); });
}

void NetworkPrinter::SendFront() {
  held_ = false;
  const Job& job = jobs_.front();
  if (job.kind == JobKind::kProbe) {
    Finish(platform::JobState::kCompleted);
    Start();
    return;
  }
  if (blind_) {
    socket_->Send(job.bytes);
    Finish(platform::JobState::kCompleted);
    if (!jobs_.empty()) {
      SendFront();
      return;
    }
    phase_ = Phase::kClosing;
    timer_->StartOnce(kBlindCloseMs, [this] { OnTimer(); });
    return;
  }
  phase_ = Phase::kPrinting;
  asked_again_ = false;
  socket_->Send(job.bytes + std::string(kAskProcessed));
  const int wait =
      kPrintWaitMs + static_cast<int>(job.bytes.size() / kChunkBytes) * kPrintWaitPerChunkMs;
  timer_->StartOnce(wait, [this] { OnTimer(); });
}

void NetworkPrinter::OnTimer() {
  switch (phase_) {
    case Phase::kConnecting:
      Unreachable();
      return;
    case Phase::kAsking:
      if (answers_received_ > 0) {
        // Part of the answers: what they say is all there is.
        answers_expected_ = answers_received_;
        StatusAnswered();
        return;
      }
      blind_ = true;
      Log(u"La impresora " + name_ + u" no informa su estado");
      StateChanged();
      SendFront();
      return;
    case Phase::kPrinting:
      if (asked_again_ && answers_received_ == 0) {
        // Neither the job nor the status request is answered.
        ReportCondition(PrinterCondition::kOffline);
        timer_->StartOnce(kRecheckMs, [this] { AskStatus(); });
        return;
      }
      asked_again_ = true;
      AskStatus();
      return;
    case Phase::kClosing:
      socket_->Close();
      phase_ = Phase::kIdle;
      Start();
      return;
    case Phase::kIdle:
      return;
  }
}

void NetworkPrinter::OnClosed() { Unreachable(); }

void NetworkPrinter::OnError(int, const std::u16string&) { Unreachable(); }

void NetworkPrinter::Unreachable() {
  timer_->Stop();
  socket_->Close();
  const Phase was = phase_;
  phase_ = Phase::kIdle;
  if (was == Phase::kClosing || was == Phase::kIdle) {
    Start();
    return;
  }
  ReportCondition(PrinterCondition::kOffline);
  if (jobs_.empty()) {
    Rest();
    return;
  }
  if (was == Phase::kPrinting) {
    clear_first_ = true;
    Finish(platform::JobState::kAborted);
  } else if (jobs_.front().kind != JobKind::kTicket) {
    if (jobs_.front().kind == JobKind::kNowOrNever)
      Log(u"No se envió a la impresora " + name_ + u": está apagada o desconectada");
    Finish(platform::JobState::kAborted);
    Start();
    return;
  } else {
    held_ = true;
  }
  timer_->StartOnce(kRecheckMs, [this] { Start(); });
}

void NetworkPrinter::Finish(platform::JobState state) {
  finished_[jobs_.front().id] = state;
  jobs_.pop_front();
  held_ = false;
  while (finished_.size() > kFinishedKept) finished_.erase(finished_.begin());
}

void NetworkPrinter::Rest() {
  socket_->Close();
  phase_ = Phase::kIdle;
  held_ = false;
  // A printer last seen with a fault is asked once a minute, so its state stays true.
  if (condition_ && !Prints(*condition_)) {
    timer_->StartOnce(kIdleRecheckMs, [this] {
      if (jobs_.empty()) Enqueue({}, JobKind::kProbe);
    });
  }
}

void NetworkPrinter::ReportCondition(PrinterCondition condition) {
  const bool changed = condition_ != condition;
  condition_ = condition;
  if (changed && !blind_) StateChanged();
  if (condition != PrinterCondition::kPaperLow) return;
  const std::int64_t now = events_.now_ms ? events_.now_ms()
                                          : std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now().time_since_epoch())
                                                .count();
  if (paper_low_told_ms_ && now - *paper_low_told_ms_ < kPaperLowBalloonMs) return;
  paper_low_told_ms_ = now;
  const std::u16string text = u"La impresora " + name_ + u" se está quedando sin papel";
  Log(text);
  if (events_.notifier != nullptr) {
    events_.notifier->ShowBalloonTip(text, platform::BalloonIcon::kWarning, kBalloonTitle,
                                     kBalloonTimeoutMs);
  }
}

void NetworkPrinter::StateChanged() const {
  if (events_.state_changed) events_.state_changed();
}

void NetworkPrinter::Log(const std::u16string& line) const {
  if (events_.log) events_.log(line);
}

}  // namespace quillon::adapters::network_printer
