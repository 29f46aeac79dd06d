#pragma once
// The one connection to the print server: the one-second watch that reopens it, the
// identification on every new connection, the status replies, the tray state and the received
// job text. Timers and the socket's events are connected to it by the shell.
#include <string>

#include "link/activity_log.h"
#include "link/job_handlers.h"
#include "link/job_intake.h"
#include "link/recent_jobs.h"
#include "link/rejected_job_store.h"
#include "link/tray_status.h"
#include "link/wire_text.h"
#include "platform/notifier.h"
#include "platform/socket.h"

namespace quillon::link {

struct ServerEndpoint {
  std::string host;
  int port = 3000;
};

// The endpoint of the command line; an empty host means the built-in address.
ServerEndpoint MakeServerEndpoint(const std::string& host, int port);

class ServerConnection final : public platform::SocketListener, private StatusReply {
 public:
  static constexpr int kWatchIntervalMs = 1000;  // the connection watch
  static constexpr int kPingIntervalMs = 60000;  // the status sent every minute

  ServerConnection(platform::ClientSocket& socket, TrayStatus& tray, platform::Notifier& notifier,
                   ActivityLog& log, JobHandlers& handlers, ServerEndpoint endpoint,
                   WireEncoding encoding, RejectedJobStore& rejected, RecentJobs* recent = nullptr);
  ~ServerConnection() override;

  // The branch code sent as idSyA.
  void SetBranchCode(std::u16string code) { code_ = std::move(code); }
  // Lets the watch reconnect; start-up turns it on once the single-instance check has passed.
  void SetReconnect(bool reconnect) { reconnect_ = reconnect; }

  // Start-up, once the single-instance check has passed: the tray shows the connection being
  // awaited, the watch may reconnect, and the first attempt starts now, not a tick later.
  void Start();
  // Tray state while the first connection is awaited.
  void ShowConnecting();
  // Closes the socket and starts a new connection, which starts a new stream of job text; the
  // outcome arrives as an event.
  void Connect();
  // Sends the status message when connected, then logs it; otherwise does nothing. True when it
  // was sent.
  bool SendStatus() override;

  void OnWatchTick();
  void OnPingTick();
  // "status N": the text of the state label, refreshed by every watch tick.
  const std::u16string& state_label() const { return lbl_state_; }

  void OnConnected() override;
  void OnClosed() override;
  void OnError(int number, const std::u16string& description) override;
  void OnDataArrival(std::size_t bytes_available) override;

  const JobIntake& Intake() const { return intake_; }

 private:
  // The connection is over: what it still held is read, then its unfinished job text dropped.
  void EndStream();
  void ShowDisconnected(const std::u16string& balloon);
  void Balloon(const std::u16string& text);

  platform::ClientSocket& socket_;
  TrayStatus& tray_;
  platform::Notifier& notifier_;
  ActivityLog& log_;
  ServerEndpoint endpoint_;
  WireEncoding encoding_;
  JobIntake intake_;
  std::u16string code_;
  bool reconnect_ = false;
  std::u16string lbl_state_;
};

}  // namespace quillon::link
