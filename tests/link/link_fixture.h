#pragma once
// A connection to the print server over fakes, connected and identified, with an empty log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/recent_jobs.h"
#include "link/server_connection.h"
#include "platform/disk_file_system.h"
#include "platform/text.h"
#include "support/fake_activity_log.h"
#include "support/fake_job_handlers.h"
#include "support/fake_notifier.h"
#include "support/fake_rejected_jobs.h"
#include "support/fake_socket.h"
#include "support/fake_tray_status.h"
#include "support/temp_folder.h"

namespace quillon::test {

inline constexpr char kCode[] = "SUC000000000042";
inline constexpr char kStatus0[] = R"({"idSyA":"SUC000000000042","status":"0"})";
inline constexpr char kStatus1[] = R"({"idSyA":"SUC000000000042","status":"1"})";
inline constexpr char kIdentification[] = R"({"idSyA":"SUC000000000042","type":"id"})";
inline constexpr char kTerminator[] = "_endMessage_";
inline constexpr char16_t kFin[] =
    u"------------------------------ fin ------------------------------";

// A job text with the given kind, settings rows and document, as the server writes them.
inline std::string Job(const std::string& kind, const std::string& dato = "[]",
                       const std::string& config = R"([{"Nombre":"Rollo","Valor":"55"}])") {
  return R"({"config":)" + config + R"(,"dato":)" + dato + R"(,"tipo":")" + kind + R"("})";
}

class LinkTest : public ::testing::Test {
 protected:
  // `remember_jobs`: the connection keeps its recent jobs in `recent_`, in a folder of its own.
  explicit LinkTest(link::WireEncoding encoding = link::WireEncoding::kWindows1252,
                    bool remember_jobs = false)
      : connection_(socket_, tray_, notifier_, log_, handlers_, {"192.0.2.7", 3000}, encoding,
                    rejected_, remember_jobs ? &recent_ : nullptr) {
    connection_.SetBranchCode(platform::Utf8ToUtf16(kCode));
    connection_.SetReconnect(true);
  }

  // Connects through the watch and forgets what the connection itself logged and sent.
  void ConnectAndForget() {
    connection_.OnWatchTick();
    socket_.Connected();
    socket_.sent.clear();
    log_.history.clear();
    notifier_.balloons.clear();
    tray_.states.clear();
  }

  std::vector<std::u16string> LinesOfJob(const std::string& text, bool connected = true) {
    std::vector<std::u16string> lines = {u"Respuesta: " + platform::Cp1252ToUtf16(text), u"--"};
    if (connected) lines.push_back(platform::Utf8ToUtf16(kStatus0));
    lines.push_back(kFin);
    return lines;
  }

  FakeSocket socket_;
  FakeTrayStatus tray_;
  FakeNotifier notifier_;
  FakeActivityLog log_;
  FakeJobHandlers handlers_;
  FakeRejectedJobs rejected_;
  TempFolder data_folder_;
  platform::DiskFileSystem disk_;
  link::RecentJobs recent_{disk_, data_folder_.Path() / "trabajos_recientes"};
  link::ServerConnection connection_;
};

}  // namespace quillon::test
