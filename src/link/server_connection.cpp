#include "link/server_connection.h"

#include <string>

#include "link/server_messages.h"

namespace quillon::link {

namespace {

constexpr char16_t kBalloonTitle[] = u"Sistema de impresora";
constexpr int kBalloonTimeoutMs = 30000;
constexpr char16_t kConnectedText[] = u"Servidor de impresoras conextado correctamente";
constexpr char16_t kDisconnectingTooltip[] = u"DesConectando";

std::u16string NumberText(int number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

ServerEndpoint MakeServerEndpoint(const std::string& host, int port) {
  return {host.empty() ? std::string(QUILLON_DEFAULT_SERVER) : host, port};
}

ServerConnection::ServerConnection(platform::ClientSocket& socket, TrayStatus& tray,
                                   platform::Notifier& notifier, ActivityLog& log,
                                   JobHandlers& handlers, ServerEndpoint endpoint,
                                   WireEncoding encoding, RejectedJobStore& rejected,
                                   RecentJobs* recent)
    : socket_(socket),
      tray_(tray),
      notifier_(notifier),
      log_(log),
      endpoint_(std::move(endpoint)),
      encoding_(encoding),
      intake_(log, notifier, handlers, *this, encoding, &rejected, recent),
      lbl_state_(u"status " + NumberText(socket.State())) {
  socket_.SetListener(this);
}

ServerConnection::~ServerConnection() { socket_.SetListener(nullptr); }

void ServerConnection::Start() {
  ShowConnecting();
  reconnect_ = true;
  OnWatchTick();
}

void ServerConnection::ShowConnecting() {
  tray_.SetIcon(TrayImage::kDisconnected, u"Conectando");
  Balloon(u"Conectando al servidor de impresion ");
}

void ServerConnection::Connect() {
  EndStream();
  socket_.Close();
  socket_.Connect(endpoint_.host, endpoint_.port);
}

bool ServerConnection::SendStatus() {
  if (socket_.State() != platform::kSocketConnected) return false;
  const std::u16string message = StatusMessage(code_, intake_.IsPrinting());
  socket_.Send(EncodeWire(message, encoding_));
  log_.WriteLog(message);
  return true;
}

void ServerConnection::OnWatchTick() {
  const int state = socket_.State();
  if (state == platform::kSocketConnected) intake_.ConnectionUp();
  if (state != platform::kSocketConnecting && state != platform::kSocketConnected && reconnect_) {
    Connect();
  }
  lbl_state_ = u"status " + NumberText(socket_.State());
}

void ServerConnection::OnPingTick() { SendStatus(); }

void ServerConnection::OnConnected() {
  const std::u16string message = IdentificationMessage(code_);
  log_.WriteLog(message);
  socket_.Send(EncodeWire(message, encoding_));
  tray_.SetIcon(TrayImage::kConnected, kConnectedText);
  Balloon(kConnectedText);
}

void ServerConnection::OnClosed() {
  EndStream();
  socket_.Close();
  ShowDisconnected(u"Servidor de impresoras desconectado");
}

void ServerConnection::OnError(int number, const std::u16string& description) {
  const std::u16string text = NumberText(number) + u"-" + description;
  log_.WriteLog(u"Error: " + text);
  EndStream();
  socket_.Close();
  ShowDisconnected(text);
}

void ServerConnection::OnDataArrival(std::size_t /*bytes_available*/) {
  const std::string bytes = socket_.ReadAvailable();
  if (!bytes.empty()) intake_.ReceiveBytes(bytes);
}

void ServerConnection::EndStream() {
  const std::string last = socket_.ReadAvailable();
  if (!last.empty()) intake_.ReceiveBytes(last);
  intake_.EndStream();
}

void ServerConnection::ShowDisconnected(const std::u16string& balloon) {
  tray_.SetIcon(TrayImage::kDisconnected, kDisconnectingTooltip);
  Balloon(balloon);
}

void ServerConnection::Balloon(const std::u16string& text) {
  notifier_.ShowBalloonTip(text, platform::BalloonIcon::kInformation, kBalloonTitle,
                           kBalloonTimeoutMs);
}

}  // namespace quillon::link
