#include "shell/qt/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include "print/bmp_picture_decoder.h"
#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

constexpr char kCode[] = "S12345678901234";

class MainWindowTest : public ::testing::Test {
 protected:
  void Load(const std::string& acceso) {
    folder.Write("Acceso", acceso);
    window.Load();
  }
  std::vector<bool> Boxes() const {
    std::vector<bool> checked;
    for (QCheckBox* box : window.option_boxes) checked.push_back(box->isChecked());
    return checked;
  }
  QString Tooltip() { return window.Tray().Entry().toolTip(); }

  test::TempFolder folder;
  test::FakeDialogs dialogs;
  BranchCodeFile acceso{folder.Path(), dialogs};
  const print::BmpPictureDecoder pictures{};
  int ended = 0;
  MainWindow window{dialogs, pictures, acceso, folder.Path(), [this] { ++ended; }};
};

TEST_F(MainWindowTest, CaptionsPagesAndControls) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Servidor de Impresoras"));
  EXPECT_EQ(window.size(), QSize(422, 398));
  ASSERT_EQ(window.tabs->count(), 3);
  EXPECT_EQ(window.tabs->tabText(0), QStringLiteral("Panel"));
  EXPECT_EQ(window.tabs->tabText(1), QStringLiteral("Opciones"));
  EXPECT_EQ(window.tabs->tabText(2), QStringLiteral("Status"));

  QWidget* panel = window.tabs->widget(0);
  for (QWidget* control : std::initializer_list<QWidget*>{
           window.code_label, window.code_box, window.change_code_button, window.logo_view,
           window.load_picture_button, window.close_window_button, window.shut_down_button}) {
    EXPECT_TRUE(panel->isAncestorOf(control)) << control->objectName().toStdString();
  }
  EXPECT_EQ(window.code_label->text(), QStringLiteral("Codigo Sucursal"));
  EXPECT_EQ(window.change_code_button->text(), QStringLiteral("Cambiar codigo"));
  EXPECT_EQ(window.load_picture_button->text(), QStringLiteral("Cargar Imagen"));
  EXPECT_EQ(window.close_window_button->text(), QStringLiteral("Cerrar Ventana"));
  EXPECT_EQ(window.shut_down_button->text(), QStringLiteral("Apagar Servidor"));
  EXPECT_FALSE(window.shut_down_button->icon().isNull());
  EXPECT_EQ(window.logo_view->size(), QSize(363, 105));

  QWidget* options = window.tabs->widget(1);
  EXPECT_EQ(window.options_label->text(), QStringLiteral("Selecciona lo que quieres Imprimir"));
  EXPECT_TRUE(options->isAncestorOf(window.options_label));
  EXPECT_EQ(window.orders_frame->title(), QStringLiteral("Comandas de"));
  const QStringList captions = {"Facturas y PreFactruas", "Mesa", "Mostrador", "Domicilio"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(window.option_boxes[i]->text(), captions[i]);
    EXPECT_EQ(window.orders_frame->isAncestorOf(window.option_boxes[i]), i > 0);
    EXPECT_TRUE(options->isAncestorOf(window.option_boxes[i]));
    EXPECT_FALSE(window.option_boxes[i]->isChecked());
    if (i > 1) {
      EXPECT_GT(window.option_boxes[i]->y(), window.option_boxes[i - 1]->y());
    }
  }
  EXPECT_LT(window.option_boxes[0]->y(), window.orders_frame->y());
  EXPECT_GT(window.orders_frame->y(), window.options_label->y());

  QWidget* status = window.tabs->widget(2);
  EXPECT_EQ(window.send_status_button->text(), QStringLiteral("Send Status Free"));
  EXPECT_TRUE(status->isAncestorOf(window.send_status_button));
  EXPECT_TRUE(status->isAncestorOf(window.log_view));
  EXPECT_TRUE(window.log_view->isReadOnly());
  EXPECT_EQ(window.log_view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_GE(window.state_label->y(), window.height());  // below the visible client area
}

TEST_F(MainWindowTest, TitleBarCloseDoesNotCloseTheWindow) {
  window.show();
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  window.close_window_button->click();  // "Cerrar Ventana" only hides it
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ended, 0);
}

TEST_F(MainWindowTest, LoadRestoresOptionsHidesTheWindowAndAnnouncesTheConnection) {
  Load(std::string(kCode) + "\r\nDomicilio,Mesa\r\n");
  EXPECT_EQ(window.BranchCode(), u"S12345678901234");
  EXPECT_EQ(window.code_box->text(), QStringLiteral("S12345678901234"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(Boxes(), (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(window.Options().IsChecked(3));
  EXPECT_FALSE(window.Options().IsChecked(0));
  EXPECT_EQ(folder.Read("Acceso"), std::string(kCode) + "\r\nMesa,Domicilio\r\n");
  EXPECT_EQ(window.Tray().TooltipText(), u"Sincronizador Quillon");
  EXPECT_EQ(Tooltip(), QStringLiteral("Sincronizador Quillon"));
  EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(MainWindowTest, EmptyOptionsLineChecksAllFour) {
  Load(std::string(kCode) + "\r\n");
  EXPECT_EQ(Boxes(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(folder.Read("Acceso"),
            std::string(kCode) + "\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n");
}

TEST_F(MainWindowTest, TecnicaInAnyCaseKeepsTheWindowVisibleAndChecksNothing) {
  Load(std::string(kCode) + "\r\ntecnica\r\n");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Boxes(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(folder.Read("Acceso"), std::string(kCode) + "\r\ntecnica\r\n");
}

TEST_F(MainWindowTest, ClickingABoxStoresTheCodeBoxAsTyped) {
  Load(std::string(kCode) + "\r\nTECNICA\r\n");
  window.code_box->setText(QStringLiteral("abc"));  // stored without validation
  window.option_boxes[2]->click();
  EXPECT_EQ(folder.Read("Acceso"), "abc\r\nMostrador\r\n");
  EXPECT_TRUE(window.Options().IsChecked(2));
  EXPECT_EQ(window.BranchCode(), u"S12345678901234");
  window.option_boxes[2]->click();
  EXPECT_EQ(folder.Read("Acceso"), "abc\r\n\r\n");
  EXPECT_FALSE(window.Options().IsChecked(2));
}

TEST_F(MainWindowTest, MissingCodeIsAskedForAtLoad) {
  dialogs.answers = {u"", u"123456789012345"};
  Load("corto\r\nMesa\r\n");
  EXPECT_EQ(window.BranchCode(), u"123456789012345");
  EXPECT_EQ(dialogs.prompts.size(), 2u);
  // The options line went with the rewrite, so all four come back.
  EXPECT_EQ(Boxes(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(MainWindowTest, ChangingTheCodeStoresItConfirmsAndEnds) {
  Load(std::string(kCode) + "\r\nMesa\r\n");
  dialogs.answers = {u"X98765432109876"};
  window.change_code_button->click();
  EXPECT_EQ(folder.Read("Acceso"), "X98765432109876\r\n");
  EXPECT_EQ(window.code_box->text(), QStringLiteral("X98765432109876"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message,
            u"El codigo se ha actualizado correctamente, se va cerrar el servidor de impresoras, "
            u"porfavor vuelvelo a abrir.");
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(dialogs.messages[0].title, u"");
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(window.BranchCode(), u"S12345678901234");
}

TEST_F(MainWindowTest, ConnectionStatesSetTheTrayImageAndTooltip) {
  Load(std::string(kCode) + "\r\n");
  window.SetIcon(link::TrayImage::Disconnected, u"Conectando");
  EXPECT_TRUE(window.Tray().Entry().isVisible());
  EXPECT_EQ(Tooltip(), QStringLiteral("Conectando"));
  EXPECT_EQ(window.Tray().Entry().icon().cacheKey(), window.disconnected_icon.cacheKey());
  window.SetIcon(link::TrayImage::Connected, u"Servidor de impresoras conextado correctamente");
  EXPECT_EQ(window.Tray().Entry().icon().cacheKey(), window.connected_icon.cacheKey());
  EXPECT_EQ(Tooltip(), QStringLiteral("Servidor de impresoras conextado correctamente"));
  EXPECT_EQ(window.Tray().TooltipText(), u"Sincronizador Quillon");
}

TEST_F(MainWindowTest, ShutDownRemovesTheTrayIconAndEnds) {
  Load(std::string(kCode) + "\r\n");
  window.SetIcon(link::TrayImage::Disconnected, u"Conectando");
  ASSERT_TRUE(window.Tray().Entry().isVisible());
  window.shut_down_button->click();
  EXPECT_FALSE(window.Tray().Entry().isVisible());
  EXPECT_EQ(ended, 1);
}

TEST_F(MainWindowTest, PressOnTheTrayIconShowsTheWindow) {
  Load(std::string(kCode) + "\r\n");
  ASSERT_FALSE(window.isVisible());
  window.Tray().MouseMove(1, 0x202, &window);  // a left click raises LeftClick only
  EXPECT_FALSE(window.isVisible());
  window.Tray().MouseMove(1, 0x201, &window);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, LogKeepsTheLastLineInViewAndIsBounded) {
  window.show();
  window.tabs->setCurrentIndex(2);
  for (int i = 0; i < 300; ++i) window.WriteLog(u"linea " + std::u16string(1, u'0' + i % 10));
  window.WriteLog(u"Respuesta: {\r\n}");
  QCoreApplication::processEvents();
  QScrollBar* bar = window.log_view->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_TRUE(
      window.log_view->toPlainText().endsWith(QStringLiteral("linea 9\nRespuesta: {\n}\n")));

  window.Clear();
  EXPECT_EQ(window.log_view->toPlainText(), QString());
  // Line breaks of the job text show as such; its control characters are written out.
  window.WriteLog(u"Respuesta: {\r\n\x1B[2J\u009B\u202E}");
  EXPECT_EQ(window.log_view->toPlainText(),
            QStringLiteral("Respuesta: {\n\\x1B[2J\\x9B\\u202E}\n"));
  for (int i = 0; i < 6000; ++i) window.WriteLog(u"Error: 10061-Conexion rechazada");
  EXPECT_LE(window.log_view->blockCount(), 5001);
}

TEST_F(MainWindowTest, StatusButtonAndStateLabel) {
  int sent = 0;
  window.SetSendStatusAction([&] { ++sent; });
  window.send_status_button->click();
  EXPECT_EQ(sent, 1);
  window.SetStateCaption(u"status 7");
  EXPECT_EQ(window.state_label->text(), QStringLiteral("status 7"));
}

TEST_F(MainWindowTest, LoadedImageIsPaintedAndKeptAsLogo) {
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::blue);
  const QString chosen = QString::fromStdString((folder.Path() / "marca.bmp").string());
  ASSERT_TRUE(image.save(chosen, "BMP"));
  window.LoadLogoFile(chosen);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message, u"Imagen Cargada");
  const QImage stored(QString::fromStdString((folder.Path() / "logo.bmp").string()));
  EXPECT_EQ(stored.size(), QSize(200, 100));
  EXPECT_EQ(stored.pixelColor(10, 10), QColor(Qt::blue));
  EXPECT_EQ(window.logo_view->pixmap().toImage().pixelColor(180, 50), QColor(Qt::blue));
}

TEST_F(MainWindowTest, FileThatIsNoPictureIsRefused) {
  folder.Write("notas.txt", "no soy una imagen");
  window.LoadLogoFile(QString::fromStdString((folder.Path() / "notas.txt").string()));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "logo.bmp"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Error);
  EXPECT_TRUE(window.logo_view->pixmap().isNull());
}

TEST_F(MainWindowTest, StoredLogoIsShownAtLoad) {
  QImage image(50, 50, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(QString::fromStdString((folder.Path() / "logo.bmp").string()), "PNG"));
  Load(std::string(kCode) + "\r\n");
  EXPECT_EQ(window.logo_view->pixmap().toImage().pixelColor(181, 52), QColor(Qt::green));
}

}  // namespace
}  // namespace quillon::shell
