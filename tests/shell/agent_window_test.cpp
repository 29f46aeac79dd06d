#include "shell/agent_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/text.h"
#include "print/bmp_picture_decoder.h"
#include "print/bmp_writer.h"
#include "shell/startup.h"
#include "support/fake_dialogs.h"
#include "support/fake_printers.h"
#include "support/fake_window_view.h"
#include "support/service_parts.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

constexpr char kCode[] = "S12345678901234";

class AgentWindowTest : public ::testing::Test {
 protected:
  void Load(const std::string& acceso_bytes) {
    folder.Write("Acceso", acceso_bytes);
    window.Load();
  }

  test::TempFolder folder;
  test::FakeDialogs dialogs;
  test::FakeWindowView view;
  const print::BmpPictureDecoder pictures{};
  BranchCodeFile acceso{folder.Path(), dialogs};
  int ended = 0;
  AgentWindow window{view, dialogs, pictures, acceso, folder.Path(), [this] { ++ended; }};
};

TEST_F(AgentWindowTest, LoadRestoresOptionsHidesTheWindowAndAddsTheTrayEntry) {
  Load(std::string(kCode) + "\r\nDomicilio,Mesa\r\n");
  EXPECT_EQ(window.BranchCode(), u"S12345678901234");
  EXPECT_EQ(view.code_box, u"S12345678901234");
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.option_boxes, (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(folder.Read("Acceso"), std::string(kCode) + "\r\nMesa,Domicilio\r\n");
  EXPECT_TRUE(view.tray_added);
  EXPECT_EQ(view.tray_tooltip, u"Sincronizador Quillon");
  EXPECT_TRUE(view.logo.empty());
}

TEST_F(AgentWindowTest, TecnicaKeepsTheWindowInViewAndAStoredLogoIsShown) {
  folder.Write("logo.bmp", "BM");
  Load(std::string(kCode) + "\r\nTecnica\r\n");
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.option_boxes, (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(view.logo, folder.Path() / "logo.bmp");
}

TEST_F(AgentWindowTest, ClickStoresTheCodeBoxAsTypedNotTheCodeInUse) {
  Load(std::string(kCode) + "\r\nTECNICA\r\n");
  view.code_box = u"abc";
  window.OptionClicked(2, true);
  EXPECT_EQ(folder.Read("Acceso"), "abc\r\nMostrador\r\n");
  EXPECT_TRUE(window.Options().IsChecked(2));
  EXPECT_EQ(window.BranchCode(), u"S12345678901234");
}

TEST_F(AgentWindowTest, ChangingTheCodeConfirmsAndEnds) {
  Load(std::string(kCode) + "\r\nMesa\r\n");
  dialogs.answers = {u"X98765432109876"};
  window.ChangeBranchCode();
  EXPECT_EQ(folder.Read("Acceso"), "X98765432109876\r\n");
  EXPECT_EQ(view.code_box, u"X98765432109876");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(window.BranchCode(), u"S12345678901234");
}

TEST_F(AgentWindowTest, ShutDownRemovesTheTrayEntryAndEnds) {
  Load(std::string(kCode) + "\r\n");
  window.ShutDown();
  EXPECT_FALSE(view.tray_added);
  EXPECT_EQ(ended, 1);
}

TEST_F(AgentWindowTest, OnlyAPressOnTheIconShowsTheWindow) {
  Load(std::string(kCode) + "\r\n");
  for (const TrayEvent event : {TrayEvent::LeftClick, TrayEvent::RightClick, TrayEvent::DoubleClick,
                                TrayEvent::BalloonHide, TrayEvent::BalloonTimeOut}) {
    window.TrayEventRaised(event);
  }
  EXPECT_FALSE(view.visible);
  window.TrayEventRaised(TrayEvent::BalloonClicked);
  EXPECT_TRUE(view.visible);
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
  folder.Write("marca.bmp", HalvesBmp(1200, 300));
  window.LoadLogoFile(folder.Path() / "marca.bmp");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message, u"Imagen Cargada");
  EXPECT_EQ(view.logo, folder.Path() / "logo.bmp");
  const auto stored = pictures.DecodeColour((folder.Path() / "logo.bmp").string());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->width, 576);
  EXPECT_EQ(stored->height, 144);
  EXPECT_EQ(std::vector<int>(stored->rgb.begin(), stored->rgb.begin() + 3),
            (std::vector<int>{255, 0, 0}));
  EXPECT_EQ(std::vector<int>(stored->rgb.end() - 3, stored->rgb.end()),
            (std::vector<int>{0, 0, 255}));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "logo.bmp.part"));

  // Another picture replaces it; choosing logo.bmp itself keeps it.
  folder.Write("sello.bmp", HalvesBmp(40, 20));
  window.LoadLogoFile(folder.Path() / "sello.bmp");
  const std::string replaced = folder.Read("logo.bmp");
  EXPECT_EQ(pictures.DecodeColour((folder.Path() / "logo.bmp").string())->width, 40);
  window.LoadLogoFile(folder.Path() / "logo.bmp");
  EXPECT_EQ(folder.Read("logo.bmp"), replaced);
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[1].message, u"Imagen Cargada");
  EXPECT_EQ(dialogs.messages[2].message, u"Imagen Cargada");
}

TEST_F(AgentWindowTest, FileThatCannotBeALogoIsRefusedAndTheOldOneStays) {
  folder.Write("marca.bmp", HalvesBmp(40, 20));
  window.LoadLogoFile(folder.Path() / "marca.bmp");
  const std::string kept = folder.Read("logo.bmp");
  view.logo.clear();

  folder.Write("notas.txt", "texto");
  folder.Write("foto.bmp", std::string("\x89PNG\r\n\x1A\n", 8) + "no es un bitmap");
  folder.Write("vacio.bmp", "");
  folder.Write("tira.bmp", HalvesBmp(100, 3000));  // 576 wide it would be 17280 dots long
  for (const char* chosen : {"notas.txt", "foto.bmp", "vacio.bmp", "tira.bmp", "falta.bmp"}) {
    dialogs.messages.clear();
    window.LoadLogoFile(folder.Path() / chosen);
    ASSERT_EQ(dialogs.messages.size(), 1u) << chosen;
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Error) << chosen;
    EXPECT_EQ(folder.Read("logo.bmp"), kept) << chosen;
    EXPECT_TRUE(view.logo.empty()) << chosen;
  }
}

TEST_F(AgentWindowTest, LogSplitsLineBreaksEscapesControlsAndDropsTheOldestTenthPastTheBound) {
  window.WriteLog(u"Respuesta: {\r\n}");
  window.WriteLog(u"a\rb\nc\x1B[2J");
  EXPECT_EQ(view.log,
            (std::vector<std::u16string>{u"Respuesta: {", u"}", u"a", u"b", u"c\\x1B[2J"}));
  window.Clear();
  EXPECT_TRUE(view.log.empty());

  for (int i = 1; i <= AgentWindow::kMaxLogLines; ++i) window.WriteLog(std::u16string(1, u'x'));
  EXPECT_EQ(view.log.size(), 5000u);
  window.WriteLog(u"ultima");
  EXPECT_EQ(view.log.size(), 4500u);
  EXPECT_EQ(view.log.back(), u"ultima");
}

TEST_F(AgentWindowTest, ConnectionStatesReachTheTrayAndTheStatusButtonItsAction) {
  window.SetIcon(link::TrayImage::Connected, u"Servidor de impresoras conextado correctamente");
  EXPECT_EQ(view.tray_image, TrayPicture::Connected);
  EXPECT_EQ(view.tray_tooltip, u"Servidor de impresoras conextado correctamente");
  window.SetStateCaption(u"status 7");
  EXPECT_EQ(view.state_caption, u"status 7");
  int sent = 0;
  window.SendStatusClicked();  // no action yet: nothing happens
  window.SetSendStatusAction([&] { ++sent; });
  window.SendStatusClicked();
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
  parts.service.SetMonitor(&window);
  window.SetPrintService(&parts.service);
  window.SetIcon(link::TrayImage::Connected, u"Conectado");

  // In the printer and printing as it should: listed, but the tray stays as it was.
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view.waiting.size(), 1u);
  EXPECT_NE(view.waiting[0].text.find(u"  Cocina  comanda  En la impresora"), std::u16string::npos);
  EXPECT_EQ(view.tray_image, TrayPicture::Connected);

  cocina->fault = u"sin papel";
  parts.watch.Fire();
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view.waiting.size(), 2u);
  EXPECT_TRUE(view.waiting[0].text.ends_with(u"  En la impresora: sin papel"));
  EXPECT_TRUE(view.waiting[1].text.ends_with(u"  Detrás de los tickets de Cocina"));
  EXPECT_EQ(view.tray_image, TrayPicture::TicketsWaiting);
  EXPECT_EQ(view.tray_tooltip,
            u"La impresora Cocina no responde: 2 tickets sin imprimir (sin papel)");

  cocina->fault.clear();
  printers.SetJobState(1, platform::JobState::kCompleted);
  parts.watch.Fire();
  printers.SetJobState(2, platform::JobState::kCompleted);
  parts.watch.Fire();
  EXPECT_TRUE(view.waiting.empty());
  EXPECT_EQ(view.printed.size(), 2u);
  EXPECT_EQ(view.tray_image, TrayPicture::Connected);
  window.SetPrintService(nullptr);
}

TEST_F(AgentWindowTest, WaitingTicketsOutrankTheConnectionInTheTrayAndTheButtonsActOnThem) {
  test::FakePrinterSystem printers;
  auto cocina = printers.AddPrinter(u"Cocina");
  test::ServiceParts parts{printers};
  parts.service.SetMonitor(&window);
  window.SetPrintService(&parts.service);
  window.SetIcon(link::TrayImage::Connected, u"Conectado");
  EXPECT_EQ(view.tray_image, TrayPicture::Connected);

  // A printer that is off keeps the ticket: listed with why, and the tray says so.
  cocina->SetOffline(true, u"Sin papel");
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view.waiting.size(), 1u);
  EXPECT_EQ(view.waiting[0].tooltip, u"Sin papel");
  EXPECT_EQ(view.tray_image, TrayPicture::TicketsWaiting);
  EXPECT_EQ(view.tray_tooltip, u"1 ticket esperando la impresora Cocina");
  // A connection change meanwhile does not hide the waiting ticket.
  window.SetIcon(link::TrayImage::Disconnected, u"Conectando");
  EXPECT_EQ(view.tray_image, TrayPicture::TicketsWaiting);

  // "Reintentar" once the printer is back: the ticket moves to the printed list.
  cocina->SetOffline(false);
  window.RetryClicked();
  EXPECT_TRUE(view.waiting.empty());
  ASSERT_EQ(view.printed.size(), 1u);
  EXPECT_EQ(view.tray_image, TrayPicture::Disconnected);
  EXPECT_EQ(view.tray_tooltip, u"Conectando");

  // "Reimprimir" on the selected row prints it again and says where; no selection does nothing.
  window.ReprintClicked(0);
  EXPECT_EQ(cocina->tickets.size(), 1u);
  window.ReprintClicked(view.printed[0].id);
  EXPECT_EQ(cocina->tickets.size(), 2u);
  ASSERT_EQ(view.balloons.size(), 1u);
  EXPECT_EQ(view.balloons[0], u"Reimpresion: Ticket " +
                                  platform::u16(std::to_string(view.printed.back().id)) +
                                  u" reimpreso en Cocina");
  EXPECT_EQ(view.printed.size(), 2u);

  // "Descartar" takes the selected waiting ticket off the list.
  cocina->SetOffline(true);
  parts.service.Print(Order(u"Cocina"));
  ASSERT_EQ(view.waiting.size(), 1u);
  window.DiscardClicked(view.waiting[0].id);
  EXPECT_TRUE(view.waiting.empty());
  window.SetPrintService(nullptr);
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
  FixedInstance free(platform::SingleInstance::Result::Acquired);
  EXPECT_TRUE(TakeDataFolder(free, dialogs, "datos"));
  EXPECT_TRUE(dialogs.messages.empty());

  FixedInstance held(platform::SingleInstance::Result::HeldByOther);
  EXPECT_FALSE(TakeDataFolder(held, dialogs, "datos"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message, u"La Aplicación ya esta en ejecución");
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Warning);

  FixedInstance unusable(platform::SingleInstance::Result::Unavailable);
  EXPECT_FALSE(TakeDataFolder(unusable, dialogs, "datos"));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].icon, platform::MessageIcon::Error);
}

TEST(StartupTest, ConsoleShellAsksForAMissingCodeAndRestoresTheOptions) {
  test::TempFolder folder;
  test::FakeDialogs dialogs;
  folder.Write("Acceso", "corto\r\nMesa\r\n");
  dialogs.answers = {u"123456789012345"};
  BranchCodeFile acceso(folder.Path(), dialogs);
  const ConsoleShell console(acceso);
  EXPECT_EQ(console.BranchCode(), u"123456789012345");
  // The rewrite dropped the options line, so all four come back and are stored.
  EXPECT_TRUE(console.Options().IsChecked(0));
  EXPECT_TRUE(console.Options().IsChecked(3));
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

  BranchCodeFile acceso(folder.Path(), dialogs);
  const ConsoleShell console(acceso);
  test::FakeWindowView view;
  const print::BmpPictureDecoder pictures{};
  AgentWindow window(view, dialogs, pictures, acceso, folder.Path(), [] {});
  window.Load();

  EXPECT_TRUE(console.Options().IsChecked(1));
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

  BranchCodeFile acceso(folder.Path(), dialogs);
  const ConsoleShell console(acceso);

  EXPECT_TRUE(console.Options().IsChecked(3));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_EQ(folder.Read("Acceso"), stored);
}

}  // namespace
}  // namespace quillon::shell
