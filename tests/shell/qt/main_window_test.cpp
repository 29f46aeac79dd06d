#include "shell/qt/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTabWidget>

#include "platform/disk_file_system.h"
#include "print/bmp_picture_decoder.h"
#include "support/fake_dialogs.h"
#include "support/fake_printer_directory.h"
#include "support/fake_printers.h"
#include "support/service_parts.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

using documents::kPrintOptions;
using documents::PrintOption;

using enum ControlId;

constexpr char kCode[] = "S12345678901234";

class MainWindowTest : public ::testing::Test {
 protected:
  void Load(const std::string& branch_file) {
    folder_.Write("Acceso", branch_file);
    window_.Load();
  }
  std::vector<bool> Boxes() const {
    std::vector<bool> checked;
    checked.reserve(kPrintOptions.size());
    for (const PrintOption option : kPrintOptions) {
      checked.push_back(window_.Control<QCheckBox>(OptionBoxId(option))->isChecked());
    }
    return checked;
  }
  QString Tooltip() { return window_.Tray().Entry().toolTip(); }

  test::TempFolder folder_;
  test::FakeDialogs dialogs_;
  platform::DiskFileSystem disk_;
  BranchCodeFile acceso_{disk_, folder_.Path(), dialogs_};
  const print::BmpPictureDecoder pictures_{};
  int ended_ = 0;
  MainWindow window_{dialogs_, pictures_, acceso_, folder_.Path(), [this] { ++ended_; }};
};

TEST_F(MainWindowTest, CaptionsPagesAndControls) {
  EXPECT_EQ(window_.windowTitle(), QStringLiteral("Servidor de Impresoras"));
  EXPECT_EQ(window_.size(), QSize(422, 398));
  ASSERT_EQ(window_.tabs->count(), 3);
  EXPECT_EQ(window_.tabs->tabText(0), QStringLiteral("Panel"));
  EXPECT_EQ(window_.tabs->tabText(1), QStringLiteral("Opciones"));
  EXPECT_EQ(window_.tabs->tabText(2), QStringLiteral("Status"));

  QWidget* panel = window_.tabs->widget(0);
  for (QWidget* control : std::initializer_list<QWidget*>{
           window_.Control<QLabel>(kCodeLabel), window_.Control<QLineEdit>(kCodeBox),
           window_.Control<QPushButton>(kChangeCodeButton), window_.Control<QLabel>(kLogoView),
           window_.Control<QPushButton>(kLoadPictureButton),
           window_.Control<QPushButton>(kCloseWindowButton),
           window_.Control<QPushButton>(kShutDownButton)}) {
    EXPECT_TRUE(panel->isAncestorOf(control)) << control->objectName().toStdString();
  }
  EXPECT_EQ(window_.Control<QLabel>(kCodeLabel)->text(), QStringLiteral("Codigo Sucursal"));
  EXPECT_EQ(window_.Control<QPushButton>(kChangeCodeButton)->text(),
            QStringLiteral("Cambiar codigo"));
  EXPECT_EQ(window_.Control<QPushButton>(kLoadPictureButton)->text(),
            QStringLiteral("Cargar Imagen"));
  EXPECT_EQ(window_.Control<QPushButton>(kCloseWindowButton)->text(),
            QStringLiteral("Cerrar Ventana"));
  EXPECT_EQ(window_.Control<QPushButton>(kShutDownButton)->text(),
            QStringLiteral("Apagar Servidor"));
  EXPECT_FALSE(window_.Control<QPushButton>(kShutDownButton)->icon().isNull());
  EXPECT_EQ(window_.Control<QLabel>(kLogoView)->size(), QSize(363, 105));

  QWidget* options = window_.tabs->widget(1);
  EXPECT_EQ(window_.Control<QLabel>(kOptionsLabel)->text(),
            QStringLiteral("Selecciona lo que quieres Imprimir"));
  EXPECT_TRUE(options->isAncestorOf(window_.Control<QLabel>(kOptionsLabel)));
  EXPECT_EQ(window_.Control<QGroupBox>(kOrdersFrame)->title(), QStringLiteral("Comandas de"));
  const QStringList captions = {"Facturas y PreFactruas", "Mesa", "Mostrador", "Domicilio"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(window_.Control<QCheckBox>(OptionBoxId(kPrintOptions[i]))->text(), captions[i]);
    EXPECT_EQ(window_.Control<QGroupBox>(kOrdersFrame)
                  ->isAncestorOf(window_.Control<QCheckBox>(OptionBoxId(kPrintOptions[i]))),
              i > 0);
    EXPECT_TRUE(options->isAncestorOf(window_.Control<QCheckBox>(OptionBoxId(kPrintOptions[i]))));
    EXPECT_FALSE(window_.Control<QCheckBox>(OptionBoxId(kPrintOptions[i]))->isChecked());
    if (i > 1) {
      EXPECT_GT(window_.Control<QCheckBox>(OptionBoxId(kPrintOptions[i]))->y(),
                window_.Control<QCheckBox>(OptionBoxId(kPrintOptions[i - 1]))->y());
    }
  }
  EXPECT_LT(window_.Control<QCheckBox>(OptionBoxId(PrintOption::kInvoices))->y(),
            window_.Control<QGroupBox>(kOrdersFrame)->y());
  EXPECT_GT(window_.Control<QGroupBox>(kOrdersFrame)->y(),
            window_.Control<QLabel>(kOptionsLabel)->y());

  QWidget* status = window_.tabs->widget(2);
  EXPECT_EQ(window_.Control<QPushButton>(kSendStatusButton)->text(),
            QStringLiteral("Send Status Free"));
  EXPECT_TRUE(status->isAncestorOf(window_.Control<QPushButton>(kSendStatusButton)));
  EXPECT_TRUE(status->isAncestorOf(window_.Control<QPlainTextEdit>(kLogView)));
  EXPECT_TRUE(window_.Control<QPlainTextEdit>(kLogView)->isReadOnly());
  EXPECT_EQ(window_.Control<QPlainTextEdit>(kLogView)->verticalScrollBarPolicy(),
            Qt::ScrollBarAlwaysOn);
  EXPECT_GE(window_.Control<QLabel>(kStateLabel)->y(),
            window_.height());  // below the visible client area
}

TEST_F(MainWindowTest, TitleBarCloseDoesNotCloseTheWindow) {
  window_.show();
  EXPECT_FALSE(window_.close());
  EXPECT_TRUE(window_.isVisible());
  window_.Control<QPushButton>(kCloseWindowButton)->click();  // "Cerrar Ventana" only hides it
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(ended_, 0);
}

TEST_F(MainWindowTest, LoadRestoresOptionsHidesTheWindowAndAnnouncesTheConnection) {
  Load(std::string(kCode) + "\r\nDomicilio,Mesa\r\n");
  EXPECT_EQ(window_.BranchCode(), u"S12345678901234");
  EXPECT_EQ(window_.Control<QLineEdit>(kCodeBox)->text(), QStringLiteral("S12345678901234"));
  EXPECT_FALSE(window_.isVisible());
  EXPECT_EQ(Boxes(), (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(window_.Options().IsChecked(PrintOption::kDelivery));
  EXPECT_FALSE(window_.Options().IsChecked(PrintOption::kInvoices));
  EXPECT_EQ(folder_.Read("Acceso"), std::string(kCode) + "\r\nMesa,Domicilio\r\n");
  EXPECT_EQ(window_.Tray().TooltipText(), u"Sincronizador Quillon");
  EXPECT_EQ(Tooltip(), QStringLiteral("Sincronizador Quillon"));
  EXPECT_TRUE(dialogs_.prompts.empty());
}

TEST_F(MainWindowTest, EmptyOptionsLineChecksAllFour) {
  Load(std::string(kCode) + "\r\n");
  EXPECT_EQ(Boxes(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(folder_.Read("Acceso"),
            std::string(kCode) + "\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n");
}

TEST_F(MainWindowTest, TecnicaInAnyCaseKeepsTheWindowVisibleAndChecksNothing) {
  Load(std::string(kCode) + "\r\ntecnica\r\n");
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(Boxes(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(folder_.Read("Acceso"), std::string(kCode) + "\r\ntecnica\r\n");
}

TEST_F(MainWindowTest, ClickingABoxStoresTheCodeBoxAsTyped) {
  Load(std::string(kCode) + "\r\nTECNICA\r\n");
  window_.Control<QLineEdit>(kCodeBox)->setText(
      QStringLiteral("abc"));  // stored without validation
  window_.Control<QCheckBox>(OptionBoxId(PrintOption::kCounter))->click();
  EXPECT_EQ(folder_.Read("Acceso"), "abc\r\nMostrador\r\n");
  EXPECT_TRUE(window_.Options().IsChecked(PrintOption::kCounter));
  EXPECT_EQ(window_.BranchCode(), u"S12345678901234");
  window_.Control<QCheckBox>(OptionBoxId(PrintOption::kCounter))->click();
  EXPECT_EQ(folder_.Read("Acceso"), "abc\r\n\r\n");
  EXPECT_FALSE(window_.Options().IsChecked(PrintOption::kCounter));
}

TEST_F(MainWindowTest, MissingCodeIsAskedForAtLoad) {
  dialogs_.answers = {u"", u"123456789012345"};
  Load("corto\r\nMesa\r\n");
  EXPECT_EQ(window_.BranchCode(), u"123456789012345");
  EXPECT_EQ(dialogs_.prompts.size(), 2u);
  // The options line went with the rewrite, so all four come back.
  EXPECT_EQ(Boxes(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(MainWindowTest, ChangingTheCodeStoresItConfirmsAndEnds) {
  Load(std::string(kCode) + "\r\nMesa\r\n");
  dialogs_.answers = {u"X98765432109876"};
  window_.Control<QPushButton>(kChangeCodeButton)->click();
  EXPECT_EQ(folder_.Read("Acceso"), "X98765432109876\r\n");
  EXPECT_EQ(window_.Control<QLineEdit>(kCodeBox)->text(), QStringLiteral("X98765432109876"));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].message,
            u"El codigo se ha actualizado correctamente, se va cerrar el servidor de impresoras, "
            u"porfavor vuelvelo a abrir.");
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::kInformation);
  EXPECT_EQ(dialogs_.messages[0].title, u"");
  EXPECT_EQ(ended_, 1);
  EXPECT_EQ(window_.BranchCode(), u"S12345678901234");
}

TEST_F(MainWindowTest, ConnectionStatesSetTheTrayImageAndTooltip) {
  Load(std::string(kCode) + "\r\n");
  window_.SetIcon(link::TrayImage::kDisconnected, u"Conectando");
  EXPECT_TRUE(window_.Tray().Entry().isVisible());
  EXPECT_EQ(Tooltip(), QStringLiteral("Conectando"));
  EXPECT_EQ(window_.Tray().Entry().icon().cacheKey(), window_.disconnected_icon.cacheKey());
  window_.SetIcon(link::TrayImage::kConnected, u"Servidor de impresoras conextado correctamente");
  EXPECT_EQ(window_.Tray().Entry().icon().cacheKey(), window_.connected_icon.cacheKey());
  EXPECT_EQ(Tooltip(), QStringLiteral("Servidor de impresoras conextado correctamente"));
  EXPECT_EQ(window_.Tray().TooltipText(), u"Sincronizador Quillon");
}

TEST_F(MainWindowTest, ShutDownRemovesTheTrayIconAndEnds) {
  Load(std::string(kCode) + "\r\n");
  window_.SetIcon(link::TrayImage::kDisconnected, u"Conectando");
  ASSERT_TRUE(window_.Tray().Entry().isVisible());
  window_.Control<QPushButton>(kShutDownButton)->click();
  EXPECT_FALSE(window_.Tray().Entry().isVisible());
  EXPECT_EQ(ended_, 1);
}

TEST_F(MainWindowTest, PressOnTheTrayIconShowsTheWindow) {
  Load(std::string(kCode) + "\r\n");
  ASSERT_FALSE(window_.isVisible());
  auto& entry = const_cast<QSystemTrayIcon&>(window_.Tray().Entry());
  emit entry.activated(QSystemTrayIcon::Context);
  emit entry.activated(QSystemTrayIcon::DoubleClick);
  EXPECT_FALSE(window_.isVisible());
  emit entry.activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(window_.isVisible());
}

TEST_F(MainWindowTest, LogKeepsTheLastLineInViewAndIsBounded) {
  window_.show();
  window_.tabs->setCurrentIndex(2);
  for (int i = 0; i < 300; ++i) window_.WriteLog(u"linea " + std::u16string(1, u'0' + i % 10));
  window_.WriteLog(u"Respuesta: {\r\n}");
  QCoreApplication::processEvents();
  QScrollBar* bar = window_.Control<QPlainTextEdit>(kLogView)->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_TRUE(window_.Control<QPlainTextEdit>(kLogView)->toPlainText().endsWith(
      QStringLiteral("linea 9\nRespuesta: {\n}\n")));

  window_.Clear();
  EXPECT_EQ(window_.Control<QPlainTextEdit>(kLogView)->toPlainText(), QString());
  // Line breaks of the job text show as such; its control characters are written out.
  window_.WriteLog(u"Respuesta: {\r\n\x1B[2J\u009B\u202E}");
  EXPECT_EQ(window_.Control<QPlainTextEdit>(kLogView)->toPlainText(),
            QStringLiteral("Respuesta: {\n\\x1B[2J\\x9B\\u202E}\n"));
  for (int i = 0; i < 6000; ++i) window_.WriteLog(u"Error: 10061-Conexion rechazada");
  EXPECT_LE(window_.Control<QPlainTextEdit>(kLogView)->blockCount(), 5001);
}

TEST_F(MainWindowTest, StatusButtonAndStateLabel) {
  int sent = 0;
  window_.SetSendStatusAction([&] { ++sent; });
  window_.Control<QPushButton>(kSendStatusButton)->click();
  EXPECT_EQ(sent, 1);
  window_.SetStateCaption(u"status 7");
  EXPECT_EQ(window_.Control<QLabel>(kStateLabel)->text(), QStringLiteral("status 7"));
}

TEST_F(MainWindowTest, LoadedImageIsPaintedAndKeptAsLogo) {
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::blue);
  const QString chosen = QString::fromStdString((folder_.Path() / "marca.bmp").string());
  ASSERT_TRUE(image.save(chosen, "BMP"));
  window_.LoadLogoFile(chosen);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].message, u"Imagen Cargada");
  const QImage stored(QString::fromStdString((folder_.Path() / "logo.bmp").string()));
  EXPECT_EQ(stored.size(), QSize(200, 100));
  EXPECT_EQ(stored.pixelColor(10, 10), QColor(Qt::blue));
  EXPECT_EQ(window_.Control<QLabel>(kLogoView)->pixmap().toImage().pixelColor(180, 50),
            QColor(Qt::blue));
}

TEST_F(MainWindowTest, FileThatIsNoPictureIsRefused) {
  folder_.Write("notas.txt", "no soy una imagen");
  window_.LoadLogoFile(QString::fromStdString((folder_.Path() / "notas.txt").string()));
  EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "logo.bmp"));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].icon, platform::MessageIcon::kError);
  EXPECT_TRUE(window_.Control<QLabel>(kLogoView)->pixmap().isNull());
}

TEST_F(MainWindowTest, StoredLogoIsShownAtLoad) {
  QImage image(50, 50, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(QString::fromStdString((folder_.Path() / "logo.bmp").string()), "PNG"));
  Load(std::string(kCode) + "\r\n");
  EXPECT_EQ(window_.Control<QLabel>(kLogoView)->pixmap().toImage().pixelColor(181, 52),
            QColor(Qt::green));
}

TEST_F(MainWindowTest, StatusPageOffersTheLogFileAndTheDiagnosticsOnlyWithAnAction) {
  Load(std::string(kCode) + "\r\n");
  QWidget* status = window_.tabs->widget(2);
  auto* open_log = window_.Control<QPushButton>(kOpenLogButton);
  auto* diagnostics = window_.Control<QPushButton>(kSaveDiagnosticsButton);
  EXPECT_EQ(open_log->text(), QStringLiteral("Abrir registro"));
  EXPECT_EQ(diagnostics->text(), QStringLiteral("Guardar diagnóstico…"));
  EXPECT_TRUE(status->isAncestorOf(open_log));
  EXPECT_FALSE(open_log->isHidden());
  EXPECT_TRUE(diagnostics->isHidden());
  window_.Shell().SetDiagnosticsAction([](const std::filesystem::path&) {});
  EXPECT_FALSE(diagnostics->isHidden());

  // Without a log file the button says so in the log instead of opening anything.
  open_log->click();
  EXPECT_EQ(window_.Control<QPlainTextEdit>(kLogView)->toPlainText(),
            QStringLiteral("Esta ejecución no lleva registro en archivo.\n"));
}

print::DrawnTicket OrderOf(int columns) {
  platform::Ticket content;
  content.lines.push_back({{{1,
                             std::u16string(static_cast<std::size_t>(columns), u'X'),
                             {u"Courier", 10, false, false}}},
                           10});
  return {u"Cocina", u"comanda", std::move(content)};
}

TEST_F(MainWindowTest, ASelectedTicketShowsItsPaperAtTheRollsWidthScaledIntoTheArea) {
  test::FakePrinterSystem printers;
  auto cocina = printers.AddPrinter(u"Cocina");
  test::ServiceParts parts{printers};
  parts.service.SetMonitor(&window_.Shell());
  window_.SetPrintService(&parts.service);
  parts.service.Print(OrderOf(20));
  window_.tabs->setCurrentIndex(2);  // the printed list is filled when the page is chosen
  cocina->SetOffline(true);
  parts.service.Print(OrderOf(40));

  auto* area = window_.Control<QLabel>(kTicketPicture);
  auto* printed = window_.Control<QListWidget>(kPrintedList);
  auto* waiting = window_.Control<QListWidget>(kWaitingList);
  ASSERT_EQ(printed->count(), 1);
  ASSERT_EQ(waiting->count(), 1);
  EXPECT_TRUE(window_.TicketPaper().isNull());

  printed->setCurrentRow(0);
  EXPECT_EQ(window_.TicketPaper().width(), 384);
  EXPECT_GT(window_.TicketPaper().height(), 24);
  EXPECT_EQ(area->pixmap().size(), area->contentsRect().size());
  // Ink of the ticket's text shows in the scaled picture.
  const QImage shown = area->pixmap().toImage();
  bool ink = false;
  for (int y = 0; y < shown.height() && !ink; ++y) {
    for (int x = 0; x < shown.width() && !ink; ++x) ink = qGray(shown.pixel(x, y)) < 160;
  }
  EXPECT_TRUE(ink);

  waiting->setCurrentRow(0);  // a line of 40 columns needs the 80 mm roll
  EXPECT_EQ(window_.TicketPaper().width(), 576);
  // The lists filled again keep the selected ticket and its paper.
  window_.Shell().WaitingChanged();
  EXPECT_EQ(waiting->currentRow(), 0);
  EXPECT_EQ(window_.TicketPaper().width(), 576);
  // A selected ticket that is gone from its list leaves nothing shown.
  cocina->SetOffline(false);
  window_.Shell().RetryClicked();
  EXPECT_EQ(waiting->count(), 0);
  EXPECT_TRUE(window_.TicketPaper().isNull());
  cocina->SetOffline(true);
  parts.service.Print(OrderOf(40));
  waiting->setCurrentRow(0);

  waiting->clear();  // the list is filled anew: nothing selected, nothing shown
  EXPECT_TRUE(window_.TicketPaper().isNull());
  EXPECT_TRUE(area->pixmap().isNull());
  window_.SetPrintService(nullptr);
}

TEST_F(MainWindowTest, ThePrintersListShowsARowPerPrinterAndImprimirPruebaActsOnTheSelectedOne) {
  Load(std::string(kCode) + "\r\n");
  QWidget* status = window_.tabs->widget(2);
  auto* list = window_.Control<QListWidget>(kPrintersList);
  auto* button = window_.Control<QPushButton>(kTestPrintButton);
  auto* answer = window_.Control<QLabel>(kTestPrintAnswer);
  EXPECT_TRUE(status->isAncestorOf(list));
  EXPECT_EQ(window_.Control<QLabel>(kPrintersLabel)->text(), QStringLiteral("Impresoras"));
  EXPECT_EQ(button->text(), QStringLiteral("Imprimir prueba"));
  EXPECT_TRUE(button->isHidden());  // nothing to print the test ticket with yet

  test::FakePrinterDirectory directory;
  directory.mapped = {{u"Barra", u"tcp://10.0.0.7:9100", u"tapa abierta", true}};
  directory.default_printer = u"Caja";
  window_.Shell().SetPrinterDirectory(&directory);
  EXPECT_FALSE(button->isHidden());
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("Barra  tcp://10.0.0.7:9100  tapa abierta"));
  EXPECT_EQ(list->item(0)->toolTip(), QStringLiteral("tcp://10.0.0.7:9100"));
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("Caja  cola del sistema  sin estado"));

  // The selection stays on its printer when the list is filled again with one more before it.
  list->setCurrentRow(1);
  directory.mapped.insert(directory.mapped.begin(),
                          {u"Anexo", u"tcp://10.0.0.8:9100", u"listo", true});
  window_.Shell().PrintersChanged();
  ASSERT_EQ(list->count(), 3);
  ASSERT_NE(list->currentItem(), nullptr);
  EXPECT_TRUE(list->currentItem()->text().startsWith(QStringLiteral("Caja")));

  button->click();
  EXPECT_EQ(directory.tested, std::vector<std::u16string>{u"Caja"});
  EXPECT_EQ(answer->text(),
            QStringLiteral("La prueba no se imprimió todavía: espera la impresora Caja"));
  window_.Shell().SetPrinterDirectory(nullptr);
}

}  // namespace
}  // namespace quillon::shell
