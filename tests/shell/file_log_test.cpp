#include "shell/file_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fake_activity_log.h"
#include "support/fake_clock.h"
#include "support/fake_notifier.h"
#include "support/fake_timer.h"
#include "support/service_parts.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

namespace fs = std::filesystem;

class FileLogTest : public ::testing::Test {
 protected:
  fs::path Folder() const { return data_.Path() / "registro"; }
  std::string Day(const std::string& name) const { return data_.Read("registro/" + name); }

  test::TempFolder data_;
  test::FakeClock clock_{{2024, 5, 17, 21, 0, 5}};
  test::FakeTimer timer_;
  std::vector<std::u16string> stops_;
  FileLog file_{Folder(), clock_, timer_, FileLog::kDefaultKeptDays,
                [this](const std::u16string& line) { stops_.push_back(line); }};
};

TEST_F(FileLogTest, LinesAndBalloonsReachEachDaysFileWithinASecond) {
  test::FakeActivityLog window;
  test::RecordingMonitor monitor;
  test::FakeNotifier tray;
  FileLoggedActivity log(window, monitor, file_);
  FileLoggedNotifier notifier(tray, file_);

  log.WriteLog(u"Respuesta: {\"a\":\r\n\"\x1B]0;x\x07\"} Impresión");
  notifier.ShowBalloonTip(u"Impresora Cocina no disponible", platform::BalloonIcon::kError,
                          u"Error al imprimir", 30000);
  // The window and the tray still get everything, unchanged; the disk waits for the timer.
  EXPECT_EQ(window.history.size(), 1u);
  ASSERT_EQ(tray.balloons.size(), 1u);
  EXPECT_FALSE(fs::exists(Folder() / "2024-05-17.log"));
  ASSERT_TRUE(timer_.running);
  EXPECT_LE(timer_.delay, 1000);
  timer_.Fire();
  EXPECT_EQ(Day("2024-05-17.log"),
            "2024-05-17 21:00:05 Respuesta: {\"a\":\\r\\n\"\\x1B]0;x\\x07\"} Impresi\xC3\xB3n\n"
            "2024-05-17 21:00:05 [Error] Error al imprimir: Impresora Cocina no disponible\n");

  // Past midnight the lines go to the new day's file; the old day's waiting lines go first
  // into their own.
  clock_.now = {2024, 5, 17, 23, 59, 59};
  log.Log(u"antes de medianoche");
  clock_.now = {2024, 5, 18, 0, 0, 1};
  log.WriteLog(u"después de medianoche");
  timer_.Fire();
  EXPECT_NE(Day("2024-05-17.log").find("23:59:59 antes de medianoche\n"), std::string::npos);
  EXPECT_EQ(Day("2024-05-18.log"), "2024-05-18 00:00:01 despu\xC3\xA9s de medianoche\n");
  EXPECT_EQ(monitor.lines, std::vector<std::u16string>{u"antes de medianoche"});
  EXPECT_TRUE(stops_.empty());
}

TEST_F(FileLogTest, WaitingLinesReachTheFileWhenTheLogEnds) {
  {
    test::FakeTimer own_timer;
    FileLog ending(Folder(), clock_, own_timer, FileLog::kDefaultKeptDays, nullptr);
    ending.WriteLine(u"Apagando");
  }
  EXPECT_EQ(Day("2024-05-17.log"), "2024-05-17 21:00:05 Apagando\n");
}

TEST_F(FileLogTest, OldDaysAndTheOldestPastTheSizeBoundAreRemoved) {
  fs::create_directories(Folder());
  data_.Write("registro/2024-04-17.log", "30 dias\n");
  data_.Write("registro/2024-04-18.log", "29 dias\n");
  data_.Write("registro/notas.txt", "no es del registro\n");
  file_.WriteLine(u"Conectado");
  file_.Flush();
  EXPECT_FALSE(fs::exists(Folder() / "2024-04-17.log"));
  EXPECT_TRUE(fs::exists(Folder() / "2024-04-18.log"));
  EXPECT_TRUE(fs::exists(Folder() / "notas.txt"));
  EXPECT_EQ(Day("2024-05-17.log"), "2024-05-17 21:00:05 Conectado\n");

  // Two days that together pass the bound, without writing their bytes; and 10 kept days from
  // the settings.
  data_.Write("registro/2024-05-10.log", "");
  data_.Write("registro/2024-05-12.log", "");
  fs::resize_file(Folder() / "2024-05-10.log", 40ull << 20);
  fs::resize_file(Folder() / "2024-05-12.log", 40ull << 20);
  test::FakeTimer own_timer;
  FileLog shorter(Folder(), clock_, own_timer, 10, nullptr);
  shorter.WriteLine(u"Otra vez");
  shorter.Flush();
  EXPECT_FALSE(fs::exists(Folder() / "2024-04-18.log"));
  EXPECT_FALSE(fs::exists(Folder() / "2024-05-10.log"));
  EXPECT_TRUE(fs::exists(Folder() / "2024-05-12.log"));
  EXPECT_EQ(Day("2024-05-17.log"), "2024-05-17 21:00:05 Conectado\n2024-05-17 21:00:05 Otra vez\n");
  EXPECT_TRUE(stops_.empty());
}

TEST_F(FileLogTest, AFolderThatCannotBeWrittenIsSaidOnceAndTheCallerGoesOn) {
  data_.Write("registro", "un archivo donde iria la carpeta");
  test::FakeActivityLog window;
  test::RecordingMonitor monitor;
  FileLoggedActivity log(window, monitor, file_);

  log.WriteLog(u"Trabajo recibido");
  timer_.Fire();
  log.WriteLog(u"Ticket impreso");
  file_.Flush();
  timer_.Fire();

  ASSERT_EQ(stops_.size(), 1u);
  EXPECT_NE(stops_[0].find(u"El registro en archivo se detuvo"), std::u16string::npos);
  EXPECT_NE(stops_[0].find(u"registro"), std::u16string::npos);
  EXPECT_EQ(window.history, (std::vector<std::u16string>{u"Trabajo recibido", u"Ticket impreso"}));
  EXPECT_FALSE(timer_.running);
}

TEST_F(FileLogTest, APausedLogTriesAgainAMinuteLaterAndSaysWhatItMissed) {
  data_.Write("registro", "un archivo donde iria la carpeta");
  file_.WriteLine(u"uno");
  file_.Flush();
  ASSERT_EQ(stops_.size(), 1u);
  clock_.now = {2024, 5, 17, 21, 0, 35};
  file_.WriteLine(u"dos");
  // A minute on, still not writable: one more try, nothing more said.
  clock_.now = {2024, 5, 17, 21, 1, 5};
  file_.WriteLine(u"tres");
  EXPECT_EQ(stops_.size(), 1u);

  fs::remove(Folder());
  clock_.now = {2024, 5, 17, 21, 1, 35};  // half a minute after the last try: not yet
  file_.WriteLine(u"cuatro");
  EXPECT_FALSE(fs::exists(Folder()));
  clock_.now = {2024, 5, 17, 21, 2, 6};
  file_.WriteLine(u"cinco");
  EXPECT_EQ(Day("2024-05-17.log"),
            "2024-05-17 21:02:06 El registro en archivo estuvo detenido desde 2024-05-17 21:00:05: "
            "4 l\xC3\xADneas sin escribir\n"
            "2024-05-17 21:02:06 cinco\n");
  ASSERT_EQ(stops_.size(), 2u);
  EXPECT_EQ(stops_[1], u"El registro en archivo sigue.");
  file_.WriteLine(u"seis");
  timer_.Fire();
  EXPECT_NE(Day("2024-05-17.log").find("21:02:06 seis\n"), std::string::npos);
}

}  // namespace
}  // namespace quillon::shell
