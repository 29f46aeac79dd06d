#include "adapters/spool/spool_printers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/text.h"
#include "print/cash_drawer.h"
#include "print/print_engine.h"
#include "print/print_service.h"
#include "support/service_parts.h"

namespace quillon::test {
namespace {

namespace fs = std::filesystem;
using print::PrintItem;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class SpoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("quillon-spool-" + std::to_string(getpid()) + "-" + test->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path AddPrinter(const std::string& name) {
    fs::create_directories(dir_ / name);
    return dir_ / name;
  }
  // A ticket is drawn with Recorder() and handed to the print service with Send.
  void UsePrinters(const std::u16string& default_name) {
    printers_ = std::make_unique<adapters::spool::SpoolPrinterSystem>(dir_, default_name);
    parts_ = std::make_unique<ServiceParts>(*printers_);
    service_ = &parts_->service;
  }
  print::TicketRecorder& Recorder() { return engine_.Recorder(); }
  print::Delivery Send(const std::u16string& printer) {
    print::DrawnTicket ticket = engine_.EndTicket();
    ticket.printer = printer;
    return service_->Print(std::move(ticket));
  }
  static std::vector<std::string> Files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  std::unique_ptr<adapters::spool::SpoolPrinterSystem> printers_;
  std::unique_ptr<ServiceParts> parts_;
  print::PrintService* service_ = nullptr;
  print::PrintEngine engine_;
};

TEST_F(SpoolTest, EveryFolderIsAPrinterFoundByNameAtPrintTime) {
  AddPrinter("Cocina");
#ifdef _WIN32
  const std::u16string first = u"Cocina";  // Windows' folder names differ in more than case
#else
  AddPrinter("COCINA");
  const std::u16string first = u"COCINA";  // first in name order
#endif
  std::ofstream(dir_ / "nota.txt") << "no soy impresora";
  adapters::spool::SpoolPrinterSystem system(dir_, u"Caja");
  EXPECT_EQ(system.FindPrinter(u" cocina ")->DeviceName(), first);
  EXPECT_EQ(system.FindPrinter(u"nota.txt"), nullptr);
  EXPECT_EQ(system.FindPrinter(u"Barra"), nullptr);
  AddPrinter("Barra");  // a folder made after the start is a printer from then on
  EXPECT_EQ(system.FindPrinter(u"Barra")->DeviceName(), u"Barra");
  // The default printer is the one named, even while its folder is missing.
  EXPECT_EQ(system.DefaultPrinterName(), u"Caja");
  EXPECT_EQ(adapters::spool::SpoolPrinterSystem(dir_, u"").DefaultPrinterName(), u"");
  EXPECT_EQ(adapters::spool::SpoolPrinterSystem(dir_ / "falta", u"").FindPrinter(u"Cocina"),
            nullptr);
}

TEST_F(SpoolTest, TextAndJsonOfATicketAgree) {
  const fs::path caja = AddPrinter("Caja");
  UsePrinters(u"Caja");
  print::TicketRecorder& recorder = Recorder();
  recorder.SetFontName(u"Courier 14 CPI");
  recorder.SetFontSize(10);
  recorder.Print({PrintItem::Text(u"Mesa \"4\""), PrintItem::Tab(20), PrintItem::Text(u"Señor  ")});
  recorder.Print({});
  recorder.SetBold(true);
  recorder.SetFontSize(14);
  recorder.Print({PrintItem::Tab(3), PrintItem::Text(u"TOTAL")}, true);
  recorder.SetBold(false);
  recorder.Print({PrintItem::Tab(34), PrintItem::Number(json::Decimal(12500))});
  ASSERT_TRUE(Send(u"Caja").sent);

  EXPECT_EQ(Files(caja),
            (std::vector<std::string>{"000001.escpos", "000001.json", "000001.png", "000001.txt"}));
  const std::string text = ReadFile(caja / "000001.txt");
  EXPECT_EQ(text, "Mesa \"4\"" + std::string(11, ' ') + "Señor  \n\n  TOTAL" +
                      std::string(26, ' ') + " 12500 \n");

  // Rebuild the lines from the runs of the .json and compare them with the .txt.
  const std::vector<std::string> json_lines = SplitLines(ReadFile(caja / "000001.json"));
  const std::regex run_pattern(
      R"re(\{"column": (\d+), "text": "((?:[^"\\]|\\.)*)", "font": "([^"]*)", "size": ([0-9.]+), "bold": (true|false)\})re");
  std::vector<std::string> rebuilt;
  std::vector<std::string> styles;
  for (const std::string& line : json_lines) {
    if (line.rfind("  {\"runs\"", 0) != 0) continue;
    std::string out;
    for (std::sregex_iterator it(line.begin(), line.end(), run_pattern), end; it != end; ++it) {
      const auto column = static_cast<std::size_t>(std::stoi((*it)[1]));
      const std::string run_text = std::regex_replace((*it)[2].str(), std::regex(R"(\\")"), "\"");
      out.resize(std::max(out.size(), column - 1), ' ');
      out += run_text;
      styles.push_back((*it)[3].str() + "/" + (*it)[4].str() + "/" + (*it)[5].str());
    }
    rebuilt.push_back(out);
  }
  EXPECT_EQ(rebuilt, SplitLines(text));
  EXPECT_EQ(styles,
            (std::vector<std::string>{"Courier 14 CPI/10/false", "Courier 14 CPI/10/false",
                                      "Courier 14 CPI/14/true", "Courier 14 CPI/14/false"}));
  const std::string escpos = ReadFile(caja / "000001.escpos");
  ASSERT_GE(escpos.size(), 2u);
  EXPECT_EQ(escpos.substr(0, 2), "\x1b@");
}

TEST_F(SpoolTest, PicturesAreListedInTheJson) {
  const fs::path caja = AddPrinter("Caja");
  UsePrinters(u"Caja");
  Recorder().DrawPicture((dir_ / "logo.bmp").string(), 0, 20, 3960, 1980);
  Recorder().Print({PrintItem::Text(u"HOLA")});
  Send(u"Caja");
  const std::string json = ReadFile(caja / "000001.json");
  // The path as a JSON string: Windows' backslashes come escaped.
  const std::string file = platform::Utf16ToUtf8(
      platform::QuotedJsonString(platform::Utf8ToUtf16((dir_ / "logo.bmp").string())));
  EXPECT_NE(json.find("{\"file\": " + file +
                      ", \"x\": 0, \"y\": 20, \"width\": 3960, \"height\": 1980, \"line\": 0}"),
            std::string::npos)
      << json;
}

// Width and height of a PNG file, from its header.
std::pair<int, int> PngSize(const std::string& png) {
  auto at = [&](std::size_t i) {
    int value = 0;
    for (std::size_t k = 0; k < 4; ++k) value = value << 8 | static_cast<unsigned char>(png[i + k]);
    return value;
  };
  return png.size() < 24 ? std::pair{0, 0} : std::pair{at(16), at(20)};
}

TEST_F(SpoolTest, EveryTicketAlsoGetsThePictureOfItsPaper) {
  const fs::path caja = AddPrinter("Caja");
  UsePrinters(u"Caja");
  Recorder().Print({PrintItem::Text(u"CORTO")});
  Send(u"Caja");
  Recorder().Print({PrintItem::Text(std::u16string(40, u'='))});
  Send(u"Caja");
  const std::string narrow = ReadFile(caja / "000001.png");
  ASSERT_EQ(narrow.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // One line of 30 dots, the 3 dots fed past the cutter, the cut.
  EXPECT_EQ(PngSize(narrow), (std::pair{384, 34}));
  EXPECT_EQ(PngSize(ReadFile(caja / "000002.png")), (std::pair{576, 34}));
}

TEST_F(SpoolTest, APictureThatCannotBeWrittenLeavesTheTicketPrinted) {
  const fs::path caja = AddPrinter("Caja");
  fs::create_directories(caja / "000001.png.part" / "ocupado");
  UsePrinters(u"Caja");
  Recorder().Print({PrintItem::Text(u"COMANDA")});
  EXPECT_TRUE(Send(u"Caja").sent);
  EXPECT_EQ(ReadFile(caja / "000001.txt"), "COMANDA\n");
  EXPECT_FALSE(fs::exists(caja / "000001.png"));
  EXPECT_TRUE(parts_->notifier.balloons.empty());
}

TEST_F(SpoolTest, AnOfflineMarkerFailsTheProbe) {
  const fs::path caja = AddPrinter("Caja");
  const fs::path cocina = AddPrinter("Cocina");
  std::ofstream(cocina / "offline").close();
  UsePrinters(u"Caja");

  try {
    printers_->FindPrinter(u"Cocina")->CheckReady();
    FAIL() << "an offline printer must not be ready";
  } catch (const platform::Failure& error) {
    EXPECT_EQ(error.Description(), u"La impresora está fuera de línea");
  }

  Recorder().Print({PrintItem::Text(u"COMANDA")});
  EXPECT_EQ(Send(u"cocina").printer, u"Caja");
  EXPECT_EQ(Files(cocina), std::vector<std::string>{"offline"});
  EXPECT_EQ(ReadFile(caja / "000001.txt"), "COMANDA\n");
  const std::vector<Balloon>& balloons = parts_->notifier.balloons;
  EXPECT_TRUE(balloons.empty());

  std::ofstream(caja / "offline").close();
  Recorder().Print({PrintItem::Text(u"COMANDA")});
  EXPECT_FALSE(Send(u"Cocina").sent);
  ASSERT_EQ(balloons.size(), 2u);
  EXPECT_EQ(balloons[0].text,
            u"Error al imprimir, La impresora Caja no esta disponible. \r\n"
            u"La impresora está fuera de línea La impresora está fuera de línea");
  EXPECT_EQ(balloons[1].text, u"1 ticket esperando la impresora Cocina");
}

TEST_F(SpoolTest, NumbersCountUpPerPrinterAfterTheHighest) {
  const fs::path caja = AddPrinter("Caja");
  const fs::path facturas = AddPrinter("Facturas");
  std::ofstream(caja / "000041.txt") << "antiguo\n";
  std::ofstream(caja / "000007.json") << "{}";
  UsePrinters(u"Caja");
  Recorder().Print({PrintItem::Text(u"UNO")});
  Send(u"Caja");
  Recorder().Print({PrintItem::Text(u"DOS")});
  Send(u"Caja");
  print::OpenCashDrawer(*service_);
  EXPECT_EQ(ReadFile(caja / "000042.txt"), "UNO\n");
  EXPECT_EQ(ReadFile(caja / "000043.txt"), "DOS\n");
  EXPECT_EQ(Files(facturas), std::vector<std::string>{"000001.raw"});
  const std::string kick = ReadFile(facturas / "000001.raw");
  EXPECT_EQ(kick, std::string("\x1bp\x00\x3c\xf0", 5));
}

TEST_F(SpoolTest, TheNextNumberIsKeptAndReadAgainWhenSomeoneTookIt) {
  const fs::path caja = AddPrinter("Caja");
  UsePrinters(u"Caja");
  Recorder().Print({PrintItem::Text(u"UNO")});
  Send(u"Caja");
  // Another program writes the next number and more; the folder is read again, once.
  std::ofstream(caja / "000002.txt", std::ios::binary) << "ajeno\n";
  std::ofstream(caja / "000005.txt", std::ios::binary) << "ajeno\n";
  Recorder().Print({PrintItem::Text(u"DOS")});
  Send(u"Caja");
  Recorder().Print({PrintItem::Text(u"TRES")});
  Send(u"Caja");
  EXPECT_EQ(ReadFile(caja / "000001.txt"), "UNO\n");
  EXPECT_EQ(ReadFile(caja / "000002.txt"), "ajeno\n");
  EXPECT_EQ(ReadFile(caja / "000006.txt"), "DOS\n");
  EXPECT_EQ(ReadFile(caja / "000007.txt"), "TRES\n");
}

TEST_F(SpoolTest, AFileThatCannotBeWrittenRefusesTheTicket) {
  const fs::path caja = AddPrinter("Caja");
  // Something in the way of the first file, as a full or read-only disk would be.
  fs::create_directories(caja / "000001.escpos.part");
  UsePrinters(u"Caja");
  Recorder().Print({PrintItem::Text(u"UNO")});
  EXPECT_FALSE(Send(u"Caja").sent);
  EXPECT_EQ(Files(caja), std::vector<std::string>{"000001.escpos.part"});
  fs::remove(caja / "000001.escpos.part");
  // The refused ticket waited and goes first.
  Recorder().Print({PrintItem::Text(u"DOS")});
  EXPECT_TRUE(Send(u"Caja").sent);
  EXPECT_EQ(ReadFile(caja / "000001.txt"), "UNO\n");
  EXPECT_EQ(ReadFile(caja / "000002.txt"), "DOS\n");
}

}  // namespace
}  // namespace quillon::test
