#pragma once
// A client socket driven by the test: it records what the agent asks of it and raises the
// events the test chooses.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/socket.h"

namespace quillon::test {

class FakeSocket : public platform::ClientSocket {
 public:
  struct Attempt {
    std::string host;
    int port = 0;
  };

  void SetListener(platform::SocketListener* l) override { listener = l; }
  void Connect(const std::string& host, int port) override {
    attempts.push_back({host, port});
    state = platform::kSocketConnecting;
  }
  void Close() override {
    ++closes;
    state = platform::kSocketClosed;
  }
  int State() const override { return state; }
  void Send(std::string_view bytes) override {
    sent.emplace_back(bytes);
    if (on_send) on_send();
  }
  std::string ReadAvailable() override { return std::exchange(unread, {}); }

  // --- events, as the network would raise them ---
  void Connected() {
    state = platform::kSocketConnected;
    listener->OnConnected();
  }
  void PeerCloses() {
    state = platform::kSocketClosing;
    listener->OnClosed();
  }
  void Fails(int number, const std::u16string& description) {
    state = platform::kSocketError;
    listener->OnError(number, description);
  }
  void Arrives(std::string_view bytes) {
    unread.append(bytes);
    listener->OnDataArrival(unread.size());
  }

  platform::SocketListener* listener = nullptr;
  int state = platform::kSocketClosed;
  int closes = 0;
  std::vector<Attempt> attempts;
  std::vector<std::string> sent;
  std::string unread;
  std::function<void()> on_send;  // runs after each send is recorded
};

}  // namespace quillon::test
