#include "shell/agent_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/disk_file_system.h"
#include "platform/failure.h"
#include "platform/text.h"
#include "print/bmp_picture_decoder.h"
#include "print/bmp_writer.h"
#include "shell/startup.h"
#include "support/fake_clock.h"
#include "support/fake_dialogs.h"
#include "support/fake_printer_directory.h"
#include "support/fake_printers.h"
#include "support/fake_timer.h"
#include "support/fake_window_view.h"
#include "support/service_parts.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

using documents::PrintOption;

constexpr char kCode[] = "S12345678901234";

class AgentWindowTest : public ::testing::Test {
 protected:
  void Load(const std::string& acceso_bytes) {
    folder_.Write("Acceso", acceso_bytes);
    window_.Load();
  }

  test::TempFolder folder_;
  test::FakeDialogs dialogs_;
  test::FakeWindowView view_;
  const print::BmpPictureDecoder pictures_{};
  platform::DiskFileSystem disk_;
  BranchCodeFile acceso_{disk_, folder_.Path(), dialogs_};
  int ended_ = 0;
  AgentWindow window_{view_, dialogs_, pictures_, acceso_, folder_.Path(), [this] { ++ended_; }};
};

TEST_F(AgentWindowTest, LoadRestoresOptionsHidesTheWindowAndAddsTheTrayEntry) {
  Load(std::string(kCode) + "\r\nDomicilio,Mesa\r\n");
  EXPECT_EQ(window_.BranchCode(), u"S12345678901234");
  EXPECT_EQ(view_.code_box, u"S12345678901234");
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(view_.option_boxes, (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(folder_.Read("Acceso"), std::string(kCode) + "\r\nMesa,Domicilio\r\n");
  EXPECT_TRUE(view_.tray_added);
  EXPECT_EQ(view_.tray_tooltip, u"Sincronizador Quillon");
  EXPECT_TRUE(view_.logo.empty());
}

TEST_F(AgentWindowTest, TecnicaKeepsTheWindowInViewAndAStoredLogoIsShown) {
  folder_.Write("logo.bmp", "BM");
  Load(std::string(kCode) + "\r\nTecnica\r\n");
  EXPECT_TRUE(view_.visible);
  EXPECT_EQ(view_.option_boxes, (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(view_.logo, folder_.Path() / "logo.bmp");
}

TEST_F(AgentWindowTest, ClickStoresTheCodeBoxAsTypedNotTheCodeInUse) {
  Load(std::string(kCode) + "\r\nTECNICA\r\n");
  view_.code_box = u"abc";
  window_.OptionClicked(PrintOption::kCounter, true);
  EXPECT_EQ(folder_.Read("Acceso"), "abc\r\nMostrador\r\n");
  EXPECT_TRUE(window_.Options().IsChecked(PrintOption::kCounter));
  EXPECT_EQ(window_.BranchCode(), u"S12345678901234");
}

TEST_F(AgentWindowTest, ChangingTheCodeConfirmsAndEnds) {
  Load(std::string(kCode) + "\r\nMesa\r\n");
  dialogs_.answers = {u"X98765432109876"};
  window_.ChangeBranchCode();
  EXPECT_EQ(folder_.Read("Acceso"), "X98765432109876\r\n");
  EXPECT_EQ(view_.code_box, u"X98765432109876");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::kInformation);
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(window_.BranchCode(), u"S12345678901234");
}

TEST_F(AgentWindowTest, ShutDownRemovesTheTrayEntryAndEnds) {
  Load(std::string(kCode) + "\r\n");
  window_.ShutDown();
  EXPECT_FALSE(view_.tray_added);
  EXPECT_EQ(ended_, 1);
}

TEST_F(AgentWindowTest, OnlyAPressOnTheIconShowsTheWindow) {
  Load(std::string(kCode) + "\r\n");
  for (const TrayEvent event :
       {TrayEvent::kLeftClick, TrayEvent::kRightClick, TrayEvent::kDoubleClick,
        TrayEvent::kBalloonHide, TrayEvent::kBalloonTimeOut}) {
    window_.TrayEventRaised(event);
  }
  EXPECT_FALSE(view_.visible);
  window_.TrayEventRaised(TrayEvent::kBalloonClicked);
  EXPECT_TRUE(view_.visible);
}

// A picture of `width` x `height` pixels, red on its left half and blue on its right, as a BMP.
std::string HalvesBmp(int width, int height) {
  platform::ColourPicture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      picture.rgb.insert(picture.rgb.end(),
                         {std::uint8_t(left ? 255 : 0), 0, std::uint8_t(left ? 0 : 255)});
    }
  }
  return print::BmpFileBytes(picture);
}

TEST_F(AgentWindowTest, ChosenPictureIsStoredAsABitmapNoWiderThanTheRollAndShown) {
  folder_.Write("marca.bmp", HalvesBmp(1200, 300));
  window_.LoadLogoFile(folder_.Path() / "marca.bmp");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].message, u"Imagen Cargada");
  EXPECT_EQ(view_.logo, folder_.Path() / "logo.bmp");
  const auto stored = pictures_.DecodeColour((folder_.Path() / "logo.bmp").string());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->width, 576);
  EXPECT_EQ(stored->height, 144);
  EXPECT_EQ(std::vector<int>(stored->rgb.begin(), stored->rgb.begin() + 3),
            (std::vector<int>{255, 0, 0}));
  EXPECT_EQ(std::vector<int>(stored->rgb.end() - 3, stored->rgb.end()),
            (std::vector<int>{0, 0, 255}));
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "logo.bmp.part"));

  // Another picture replaces it; choosing logo.bmp itself keeps it.
  folder_.Write("sello.bmp", HalvesBmp(40, 20));
  window_.LoadLogoFile(folder_.Path() / "sello.bmp");
  const std::string replaced = folder_.Read("logo.bmp");
  EXPECT_EQ(pictures_.DecodeColour((folder_.Path() / "logo.bmp").string())->width, 40);
  window_.LoadLogoFile(folder_.Path() / "logo.bmp");
  EXPECT_EQ(folder_.Read("logo.bmp"), replaced);
  ASSERT_EQ(dialogs_.messages.size(), 3u);
  EXPECT_EQ(dialogs_.messages[1].message, u"Imagen Cargada");
  EXPECT_EQ(dialogs_.messages[2].message, u"Imagen Cargada");
}

TEST_F(AgentWindowTest, FileThatCannotBeALogoIsRefusedAndTheOldOneStays) {
  folder_.Write("marca.bmp", HalvesBmp(40, 20));
  window_.LoadLogoFile(folder_.Path() / "marca.bmp");
  const std::string kept = folder_.Read("logo.bmp");
  view_.logo.clear();

  folder_.Write("notas.txt", "texto");
  folder_.Write("foto.bmp", std::string("\x89PNG\r\n\x1A\n", 8) + "no es un bitmap");
  folder_.Write("vacio.bmp", "");
  folder_.Write("tira.bmp", HalvesBmp(100, 3000));  // 576 wide it would be 17280 dots long
  for (const char* chosen : {"notas.txt", "foto.bmp", "vacio.bmp", "tira.bmp", "falta.bmp"}) {
    dialogs_.messages.clear();
    window_.LoadLogoFile(folder_.Path() / chosen);
    ASSERT_EQ(dialogs_.messages.size(), 1u) << chosen;
    EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::kError) << chosen;
    EXPECT_EQ(folder_.Read("logo.bmp"), kept) << chosen;
    EXPECT_TRUE(view_.logo.empty()) << chosen;
  }
}

TEST_F(AgentWindowTest, LogSplitsLineBreaksEscapesControlsAndDropsTheOldestTenthPastTheBound) {
  window_.WriteLog(u"Respuesta: {\r\n}");
  window_.WriteLog(u"a\rb\nc\x1B[2J");
  EXPECT_EQ(view_.log,
            (std::vector<std::u16string>{u"Respuesta: {", u"}", u"a", u"b", u"c\\x1B[2J"}));
  window_.Clear();
  EXPECT_TRUE(view_.log.empty());

  for (int i = 1; i <= AgentWindow::kMaxLogLines; ++i) window_.WriteLog(std::u16string(1, u'x'));
  EXPECT_EQ(view_.log.size(), 5000u);
  window_.WriteLog(u"ultima");
  EXPECT_EQ(view_.log.size(), 4500u);
  EXPECT_EQ(view_.log.back(), u"ultima");
}

TEST_F(AgentWindowTest, ConnectionStatesReachTheTrayAndTheStatusButtonItsAction) {
  window_.SetIcon(link::TrayImage::kConnected, u"Servidor de impresoras conextado correctamente");
  EXPECT_EQ(view_.tray_image, TrayPicture::kConnected);
  EXPECT_EQ(view_.tray_tooltip, u"Servidor de impresoras conextado correctamente");
  window_.SetStateCaption(u"status 7");
  EXPECT_EQ(view_.state_caption, u"status 7");
  int sent = 0;
  window_.SendStatusClicked();  // no action yet: nothing happens
  window_.SetSendStatusAction([&] { ++sent; });
  window_.SendStatusClicked();
  EXPECT_EQ(sent, 1);
}

print::DrawnTicket Order(std::u16string printer) {
  platform::Ticket content;
  content.lines.push_back({{{1, u"PEDIDO", {u"Courier", 10, false, false}}}, 10});
  return {std::move(printer), u"comanda", std::move(content)};
}

TEST_F(AgentWindowTest, APrinterThatDoesNotRespondTurnsTheTrayAmberAndListsItsTickets) {
  test::FakePrinterSystem printers;
  auto cocina = printers.AddPrinter(u"Cocina");
  cocina->SetSpooling(&printers);
  test::ServiceParts parts{printers};
  parts.service.SetMonitor(&window_);
  window_.SetPrintService(&parts.service);
  window_.SetIcon(link::TrayImage::kConnected, u"Conectado");

  // In the printer and printing as it should: listed, but the tray stays as it was.
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view_.waiting.size(), 1u);
  EXPECT_NE(view_.waiting[0].text.find(u"  Cocina  comanda  En la impresora"),
            std::u16string::npos);
  EXPECT_EQ(view_.tray_image, TrayPicture::kConnected);

  cocina->fault = u"sin papel";
  parts.watch.Fire();
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view_.waiting.size(), 2u);
  EXPECT_TRUE(view_.waiting[0].text.ends_with(u"  En la impresora: sin papel"));
  EXPECT_TRUE(view_.waiting[1].text.ends_with(u"  Detrás de los tickets de Cocina"));
  EXPECT_EQ(view_.tray_image, TrayPicture::kTicketsWaiting);
  EXPECT_EQ(view_.tray_tooltip,
            u"La impresora Cocina no responde: 2 tickets sin imprimir (sin papel)");

  cocina->fault.clear();
  printers.SetJobState(1, platform::JobState::kCompleted);
  parts.watch.Fire();
  printers.SetJobState(2, platform::JobState::kCompleted);
  parts.watch.Fire();
  EXPECT_TRUE(view_.waiting.empty());
  EXPECT_EQ(view_.printed.size(), 2u);
  EXPECT_EQ(view_.tray_image, TrayPicture::kConnected);
  window_.SetPrintService(nullptr);
}

TEST_F(AgentWindowTest, WaitingTicketsOutrankTheConnectionInTheTrayAndTheButtonsActOnThem) {
  test::FakePrinterSystem printers;
  auto cocina = printers.AddPrinter(u"Cocina");
  test::ServiceParts parts{printers};
  parts.service.SetMonitor(&window_);
  window_.SetPrintService(&parts.service);
  window_.SetIcon(link::TrayImage::kConnected, u"Conectado");
  EXPECT_EQ(view_.tray_image, TrayPicture::kConnected);

  // A printer that is off keeps the ticket: listed with why, and the tray says so.
  cocina->SetOffline(true, u"Sin papel");
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view_.waiting.size(), 1u);
  EXPECT_EQ(view_.waiting[0].tooltip, u"Sin papel");
  EXPECT_EQ(view_.tray_image, TrayPicture::kTicketsWaiting);
  EXPECT_EQ(view_.tray_tooltip, u"1 ticket esperando la impresora Cocina");
  // A connection change meanwhile does not hide the waiting ticket.
  window_.SetIcon(link::TrayImage::kDisconnected, u"Conectando");
  EXPECT_EQ(view_.tray_image, TrayPicture::kTicketsWaiting);

  // "Reintentar" once the printer is back: the ticket moves to the printed list.
  cocina->SetOffline(false);
  window_.RetryClicked();
  EXPECT_TRUE(view_.waiting.empty());
  ASSERT_EQ(view_.printed.size(), 1u);
  EXPECT_EQ(view_.tray_image, TrayPicture::kDisconnected);
  EXPECT_EQ(view_.tray_tooltip, u"Conectando");

  // "Reimprimir" on the selected row prints it again and says where; no selection does nothing.
  window_.ReprintClicked(0);
  EXPECT_EQ(cocina->tickets.size(), 1u);
  window_.ReprintClicked(view_.printed[0].id);
  EXPECT_EQ(cocina->tickets.size(), 2u);
  ASSERT_EQ(view_.balloons.size(), 1u);
  EXPECT_EQ(view_.balloons[0], u"Reimpresion: Ticket " +
                                   platform::Utf8ToUtf16(std::to_string(view_.printed.back().id)) +
                                   u" reimpreso en Cocina");
  EXPECT_EQ(view_.printed.size(), 2u);

  // "Descartar" takes the selected waiting ticket off the list.
  cocina->SetOffline(true);
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view_.waiting.size(), 1u);
  window_.DiscardClicked(view_.waiting[0].id);
  EXPECT_TRUE(view_.waiting.empty());
  window_.SetPrintService(nullptr);
}

// A picture's dots that are not white.
int InkOf(const platform::GreyPicture& picture) {
  return static_cast<int>(std::count_if(picture.levels.begin(), picture.levels.end(),
                                        [](std::uint8_t level) { return level < 128; }));
}

TEST_F(AgentWindowTest, ASelectedTicketShowsItsPaperAtItsRollsWidth) {
  test::FakePrinterSystem printers;
  auto cocina = printers.AddPrinter(u"Cocina");
  test::ServiceParts parts{printers};
  parts.service.SetMonitor(&window_);
  window_.SetPrintService(&parts.service);

  parts.service.Print(Order(u"Cocina"));
  window_.PageChanged();  // the printed list, as the Status page shows it
  ASSERT_EQ(view_.printed.size(), 1u);
  window_.TicketSelected(view_.printed[0].id);
  EXPECT_EQ(view_.ticket_picture.width, 384);
  EXPECT_GT(view_.ticket_picture.height, 24);
  EXPECT_EQ(view_.ticket_picture.levels.size(),
            static_cast<std::size_t>(view_.ticket_picture.width * view_.ticket_picture.height));
  const int printed_ink = InkOf(view_.ticket_picture);
  EXPECT_GT(printed_ink, 0);

  // A waiting ticket too, on the wider roll its long line needs.
  cocina->SetOffline(true);
  print::DrawnTicket wide = Order(u"Cocina");
  wide.content.lines.push_back(
      {{{1, std::u16string(40, u'W'), {u"Courier", 10, false, false}}}, 10});
  parts.service.Print(wide);
  ASSERT_EQ(view_.waiting.size(), 1u);
  window_.TicketSelected(view_.waiting[0].id);
  EXPECT_EQ(view_.ticket_picture.width, 576);
  EXPECT_GT(InkOf(view_.ticket_picture), printed_ink);

  // No selection, or a number no ticket has, clears the picture.
  window_.TicketSelected(0);
  EXPECT_EQ(view_.ticket_picture.width, 0);
  window_.TicketSelected(view_.waiting[0].id);
  window_.TicketSelected(999);
  EXPECT_TRUE(view_.ticket_picture.levels.empty());
  window_.SetPrintService(nullptr);
}

std::vector<std::u16string> RowTexts(const std::vector<ListRow>& rows) {
  std::vector<std::u16string> texts;
  texts.reserve(rows.size());
  for (const ListRow& row : rows) texts.push_back(row.text);
  return texts;
}

TEST_F(AgentWindowTest, ThePrintersListHasEachKnownPrinterOnceWithItsStateAsLastSeen) {
  test::FakePrinterSystem printers;
  auto caja = printers.AddPrinter(u"Caja");
  auto cocina = printers.AddPrinter(u"Cocina");
  caja->SetSpooling(&printers);
  cocina->SetSpooling(&printers);
  test::ServiceParts parts{printers};
  parts.service.SetMonitor(&window_);
  window_.SetPrintService(&parts.service);
  test::FakePrinterDirectory directory;
  directory.mapped = {{u"Barra", u"tcp://10.0.0.7:9100", u"sin papel", true},
                      {u"Caja", u"alias de la impresora EPSON", u"listo", false}};
  directory.default_printer = u"Principal";
  window_.SetPrinterDirectory(&directory);
  EXPECT_EQ(RowTexts(view_.printers),
            (std::vector<std::u16string>{u"Barra  tcp://10.0.0.7:9100  sin papel",
                                         u"Caja  alias de la impresora EPSON  listo",
                                         u"Principal  cola del sistema  sin estado"}));
  const std::uint64_t principal = view_.printers[2].id;

  // A ticket printed at once is enough to list its printer.
  printers.AddPrinter(u"Bar");
  parts.service.Print(Order(u"Bar"));
  ASSERT_EQ(view_.printers.size(), 4u);
  EXPECT_EQ(view_.printers[2].text, u"Bar  cola del sistema  listo");

  // Printers used since the start join the list as their tickets go; one that holds its ticket
  // with a fault does not respond, also when it was mapped under an alias.
  parts.service.Print(Order(u"Cocina"));
  parts.service.Print(Order(u"Caja"));
  cocina->fault = u"sin papel";
  caja->fault = u"tapa abierta";
  parts.watch.Fire();
  EXPECT_EQ(
      RowTexts(view_.printers),
      (std::vector<std::u16string>{
          u"Barra  tcp://10.0.0.7:9100  sin papel",
          u"Caja  alias de la impresora EPSON  no responde", u"Bar  cola del sistema  listo",
          u"Cocina  cola del sistema  no responde", u"Principal  cola del sistema  sin estado"}));
  EXPECT_EQ(view_.printers[4].id, principal);  // a row keeps its id, and so its selection
  EXPECT_EQ(view_.printers[0].tooltip, u"tcp://10.0.0.7:9100");

  // A network printer's new state shows when it is told, not before.
  directory.mapped[0].state = u"listo";
  EXPECT_EQ(view_.printers[0].text, u"Barra  tcp://10.0.0.7:9100  sin papel");
  window_.PrintersChanged();
  EXPECT_EQ(view_.printers[0].text, u"Barra  tcp://10.0.0.7:9100  listo");

  // Printing stops: only what the directory knows is left.
  window_.SetPrintService(nullptr);
  EXPECT_EQ(view_.printers.size(), 3u);
  window_.SetPrinterDirectory(nullptr);
  EXPECT_TRUE(view_.printers.empty());
}

TEST_F(AgentWindowTest, ImprimirPruebaPrintsOnTheSelectedPrinterOnceAtATimeAndShowsTheAnswer) {
  Load(std::string(kCode) + "\r\n");
  EXPECT_TRUE(view_.hidden[static_cast<std::size_t>(ControlId::kTestPrintButton)]);
  test::FakePrinterDirectory directory;
  directory.mapped = {{u"Barra", u"tcp://10.0.0.7:9100", u"listo", true}};
  directory.default_printer = u"Caja";
  window_.SetPrinterDirectory(&directory);
  EXPECT_FALSE(view_.hidden[static_cast<std::size_t>(ControlId::kTestPrintButton)]);
  ASSERT_EQ(view_.printers.size(), 2u);

  window_.Clicked(ControlId::kTestPrintButton);  // nothing selected
  EXPECT_TRUE(directory.tested.empty());
  EXPECT_EQ(view_.test_print_answers,
            std::vector<std::u16string>{u"Elija en la lista la impresora de la prueba."});

  view_.selected_printer = view_.printers[1].id;
  // A second click while the first test ticket is being printed does nothing.
  directory.during_test = [this] { window_.Clicked(ControlId::kTestPrintButton); };
  window_.Clicked(ControlId::kTestPrintButton);
  EXPECT_EQ(directory.tested, std::vector<std::u16string>{u"Caja"});
  ASSERT_EQ(view_.test_print_answers.size(), 3u);
  EXPECT_EQ(view_.test_print_answers[1], u"Imprimiendo la prueba en la impresora Caja…");
  EXPECT_EQ(view_.test_print_answers[2],
            u"La prueba no se imprimió todavía: espera la impresora Caja");
  EXPECT_EQ(view_.log.back(), view_.test_print_answers[2]);

  // Once it is done, the button acts again.
  directory.during_test = nullptr;
  view_.selected_printer = view_.printers[0].id;
  window_.Clicked(ControlId::kTestPrintButton);
  EXPECT_EQ(directory.tested, (std::vector<std::u16string>{u"Caja", u"Barra"}));
  window_.SetPrinterDirectory(nullptr);
}

TEST_F(AgentWindowTest, ButtonsOfTheFormReachTheirActions) {
  Load(std::string(kCode) + "\r\n");
  view_.visible = true;
  window_.Clicked(ControlId::kCloseWindowButton);
  EXPECT_FALSE(view_.visible);

  window_.Clicked(ControlId::kLoadPictureButton);  // the dialog was cancelled
  EXPECT_TRUE(dialogs_.messages.empty());
  folder_.Write("marca.bmp", HalvesBmp(40, 20));
  view_.chosen_picture = folder_.Path() / "marca.bmp";
  window_.Clicked(ControlId::kLoadPictureButton);
  EXPECT_EQ(view_.logo, folder_.Path() / "logo.bmp");

  int sent = 0;
  window_.SetSendStatusAction([&] { ++sent; });
  window_.Clicked(ControlId::kSendStatusButton);
  EXPECT_EQ(sent, 1);

  window_.Clicked(ControlId::kShutDownButton);
  EXPECT_EQ(ended_, 1);
}

TEST_F(AgentWindowTest, SaveDiagnosticsIsOfferedOnlyWithAnActionAndSaysHowItWent) {
  Load(std::string(kCode) + "\r\n");
  const auto hidden = [&] {
    return view_.hidden[static_cast<std::size_t>(ControlId::kSaveDiagnosticsButton)];
  };
  EXPECT_TRUE(hidden());
  view_.chosen_diagnostics = folder_.Path() / "soporte";
  window_.Clicked(ControlId::kSaveDiagnosticsButton);
  EXPECT_TRUE(view_.log.empty());

  std::vector<std::filesystem::path> written;
  window_.SetDiagnosticsAction([&](const std::filesystem::path& zip) {
    if (zip.stem() == "lleno") throw platform::Failure(28, u"No queda espacio en el disco");
    written.push_back(zip);
  });
  EXPECT_FALSE(hidden());
  window_.Clicked(ControlId::kSaveDiagnosticsButton);
  view_.chosen_diagnostics = folder_.Path() / "otro.ZIP";
  window_.Clicked(ControlId::kSaveDiagnosticsButton);
  view_.chosen_diagnostics.reset();  // cancelled
  window_.Clicked(ControlId::kSaveDiagnosticsButton);
  EXPECT_EQ(written, (std::vector<std::filesystem::path>{folder_.Path() / "soporte.zip",
                                                         folder_.Path() / "otro.ZIP"}));
  ASSERT_EQ(view_.log.size(), 2u);
  EXPECT_EQ(view_.log[0],
            u"Diagnóstico guardado en " + (folder_.Path() / "soporte.zip").u16string());

  window_.SaveDiagnostics(folder_.Path() / "lleno");
  ASSERT_EQ(view_.log.size(), 3u);
  EXPECT_TRUE(view_.log[2].starts_with(u"No se pudo guardar el diagnóstico en "));
  EXPECT_NE(view_.log[2].find(u"No queda espacio en el disco"), std::u16string::npos);

  window_.SetDiagnosticsAction(nullptr);
  EXPECT_TRUE(hidden());
}

TEST_F(AgentWindowTest, OpenLogOpensTodaysFileOrSaysWhyNot) {
  window_.Clicked(ControlId::kOpenLogButton);
  ASSERT_EQ(view_.log.size(), 1u);
  EXPECT_EQ(view_.log[0], u"Esta ejecución no lleva registro en archivo.");

  test::FakeClock clock;
  test::FakeTimer timer;
  FileLog file_log(folder_.Path() / "registro", clock, timer, FileLog::kDefaultKeptDays,
                   [](const std::u16string&) {});
  window_.SetFileLog(&file_log);
  const std::filesystem::path today = folder_.Path() / "registro" / "2024-05-17.log";
  window_.OpenLogFile();
  EXPECT_TRUE(view_.opened.empty());
  ASSERT_EQ(view_.log.size(), 2u);
  EXPECT_EQ(view_.log[1], u"Todavía no hay registro de hoy: " + today.u16string());

  // The lines still in memory reach the file before it is opened.
  file_log.WriteLine(u"Conectando");
  window_.OpenLogFile();
  EXPECT_EQ(view_.opened, (std::vector<std::filesystem::path>{today}));
  EXPECT_NE(folder_.Read("registro/2024-05-17.log").find("Conectando"), std::string::npos);

  view_.opens = false;
  window_.OpenLogFile();
  ASSERT_EQ(view_.log.size(), 3u);
  EXPECT_EQ(view_.log[2], u"No se pudo abrir " + today.u16string());
  window_.SetFileLog(nullptr);
}

class FixedInstance final : public platform::SingleInstance {
 public:
  explicit FixedInstance(Result result) : result_(result) {}
  Result Acquire() override { return result_; }

 private:
  Result result_;
};

TEST(StartupTest, TheDataFolderIsTakenOnceAndRefusalsAreSaid) {
  test::FakeDialogs dialogs;
  FixedInstance free(platform::SingleInstance::Result::kAcquired);
  EXPECT_TRUE(TakeDataFolder(free, dialogs, "datos"));
  EXPECT_TRUE(dialogs.messages.empty());

  FixedInstance held(platform::SingleInstance::Result::kHeldByOther);
  EXPECT_FALSE(TakeDataFolder(held, dialogs, "datos"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message, u"La Aplicación ya esta en ejecución");
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::kWarning);

  FixedInstance unusable(platform::SingleInstance::Result::kUnavailable);
  EXPECT_FALSE(TakeDataFolder(unusable, dialogs, "datos"));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].icon, platform::MessageIcon::kError);
}

TEST(StartupTest, ConsoleShellAsksForAMissingCodeAndRestoresTheOptions) {
  test::TempFolder folder;
  test::FakeDialogs dialogs;
  folder.Write("Acceso", "corto\r\nMesa\r\n");
  dialogs.answers = {u"123456789012345"};
  platform::DiskFileSystem disk;
  BranchCodeFile acceso(disk, folder.Path(), dialogs);
  const ConsoleShell console(acceso);
  EXPECT_EQ(console.BranchCode(), u"123456789012345");
  // The rewrite dropped the options line, so all four come back and are stored.
  EXPECT_TRUE(console.Options().IsChecked(PrintOption::kInvoices));
  EXPECT_TRUE(console.Options().IsChecked(PrintOption::kDelivery));
  EXPECT_EQ(folder.Read("Acceso"),
            "123456789012345\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n");
}

// A start writes Acceso only when what it stores differs from what it read: an hour-old
// modification time survives a start that restores the options as they are.
TEST(StartupTest, RestoringTheStoredOptionsLeavesAccesoUntouched) {
  test::TempFolder folder;
  test::FakeDialogs dialogs;
  const std::string stored = std::string(kCode) + "\r\nFacturas y PreFactruas,Mesa\r\n";
  folder.Write("Acceso", stored);
  const std::filesystem::path file = folder.Path() / "Acceso";
  std::filesystem::last_write_time(
      file, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  // As the file system keeps it, which may be coarser than what was set.
  const std::filesystem::file_time_type an_hour_ago = std::filesystem::last_write_time(file);

  platform::DiskFileSystem disk;
  BranchCodeFile acceso(disk, folder.Path(), dialogs);
  const ConsoleShell console(acceso);
  test::FakeWindowView view;
  const print::BmpPictureDecoder pictures{};
  AgentWindow window(view, dialogs, pictures, acceso, folder.Path(), [] {});
  window.Load();

  EXPECT_TRUE(console.Options().IsChecked(PrintOption::kTable));
  EXPECT_EQ(view.option_boxes, (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(std::filesystem::last_write_time(file), an_hour_ago);
  EXPECT_EQ(folder.Read("Acceso"), stored);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(StartupTest, AFailedWriteOfAccesoLeavesTheOldContentWhole) {
  test::TempFolder folder;
  test::FakeDialogs dialogs;
  const std::string stored = std::string(kCode) + "\r\nDomicilio,Mesa\r\n";
  folder.Write("Acceso", stored);
  // The new content cannot be set down beside the file, so the rewrite in box order fails.
  std::filesystem::create_directory(folder.Path() / "Acceso.part");

  platform::DiskFileSystem disk;
  BranchCodeFile acceso(disk, folder.Path(), dialogs);
  const ConsoleShell console(acceso);

  EXPECT_TRUE(console.Options().IsChecked(PrintOption::kDelivery));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::kError);
  EXPECT_EQ(folder.Read("Acceso"), stored);
}

}  // namespace
}  // namespace quillon::shell
