#include "shell/frm_main.h"

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

#include "support/fake_dialogs.h"
#include "support/temp_folder.h"

namespace quillon::shell {
namespace {

constexpr char kCode[] = "S12345678901234";

class FrmMainTest : public ::testing::Test {
 protected:
  void Load(const std::string& acceso) {
    folder.Write("Acceso", acceso);
    window.Form_Load();
  }
  std::vector<bool> Boxes() const {
    std::vector<bool> checked;
    for (QCheckBox* box : window.CheckInfo) checked.push_back(box->isChecked());
    return checked;
  }
  QString Tooltip() { return window.SysTray().Entry().toolTip(); }

  test::TempFolder folder;
  test::FakeDialogs dialogs;
  BranchCodeFile acceso{folder.Path(), dialogs};
  int ended = 0;
  frmMain window{dialogs, acceso, folder.Path(), [this] { ++ended; }};
};

TEST_F(FrmMainTest, CaptionsPagesAndControls) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Servidor de Impresoras"));
  EXPECT_EQ(window.size(), QSize(422, 398));
  ASSERT_EQ(window.SSTab1->count(), 3);
  EXPECT_EQ(window.SSTab1->tabText(0), QStringLiteral("Panel"));
  EXPECT_EQ(window.SSTab1->tabText(1), QStringLiteral("Opciones"));
  EXPECT_EQ(window.SSTab1->tabText(2), QStringLiteral("Status"));

  QWidget* panel = window.SSTab1->widget(0);
  for (QWidget* control : std::initializer_list<QWidget*>{
           window.Label1, window.txtCodigo, window.cmdCambiarCodigo, window.pctLogo,
           window.Command2, window.Command3, window.Command4}) {
    EXPECT_TRUE(panel->isAncestorOf(control)) << control->objectName().toStdString();
  }
  EXPECT_EQ(window.Label1->text(), QStringLiteral("Codigo Sucursal"));
  EXPECT_EQ(window.cmdCambiarCodigo->text(), QStringLiteral("Cambiar codigo"));
  EXPECT_EQ(window.Command2->text(), QStringLiteral("Cargar Imagen"));
  EXPECT_EQ(window.Command3->text(), QStringLiteral("Cerrar Ventana"));
  EXPECT_EQ(window.Command4->text(), QStringLiteral("Apagar Servidor"));
  EXPECT_FALSE(window.Command4->icon().isNull());
  EXPECT_EQ(window.pctLogo->size(), QSize(363, 105));

  QWidget* options = window.SSTab1->widget(1);
  EXPECT_EQ(window.Label2->text(), QStringLiteral("Selecciona lo que quieres Imprimir"));
  EXPECT_TRUE(options->isAncestorOf(window.Label2));
  EXPECT_EQ(window.fraComandas->title(), QStringLiteral("Comandas de"));
  const QStringList captions = {"Facturas y PreFactruas", "Mesa", "Mostrador", "Domicilio"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(window.CheckInfo[i]->text(), captions[i]);
    EXPECT_EQ(window.fraComandas->isAncestorOf(window.CheckInfo[i]), i > 0);
    EXPECT_TRUE(options->isAncestorOf(window.CheckInfo[i]));
    EXPECT_FALSE(window.CheckInfo[i]->isChecked());
    if (i > 1) {
      EXPECT_GT(window.CheckInfo[i]->y(), window.CheckInfo[i - 1]->y());
    }
  }
  EXPECT_LT(window.CheckInfo[0]->y(), window.fraComandas->y());
  EXPECT_GT(window.fraComandas->y(), window.Label2->y());

  QWidget* status = window.SSTab1->widget(2);
  EXPECT_EQ(window.Command1->text(), QStringLiteral("Send Status Free"));
  EXPECT_TRUE(status->isAncestorOf(window.Command1));
  EXPECT_TRUE(status->isAncestorOf(window.txtlog));
  EXPECT_TRUE(window.txtlog->isReadOnly());
  EXPECT_EQ(window.txtlog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_GE(window.lblState->y(), window.height());  // below the visible client area
}

TEST_F(FrmMainTest, TitleBarCloseDoesNotCloseTheWindow) {
  window.show();
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  window.Command3->click();  // "Cerrar Ventana" only hides it
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ended, 0);
}

TEST_F(FrmMainTest, LoadRestoresOptionsHidesTheWindowAndAnnouncesTheConnection) {
  Load(std::string(kCode) + "\r\nDomicilio,Mesa\r\n");
  EXPECT_EQ(window.codigoSucursalesAgencias(), u"S12345678901234");
  EXPECT_EQ(window.txtCodigo->text(), QStringLiteral("S12345678901234"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(Boxes(), (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(window.Opciones().IsChecked(3));
  EXPECT_FALSE(window.Opciones().IsChecked(0));
  EXPECT_EQ(folder.Read("Acceso"), std::string(kCode) + "\r\nMesa,Domicilio\r\n");
  EXPECT_EQ(window.SysTray().TooltipText(), u"Sincronizador Quillon");
  EXPECT_EQ(Tooltip(), QStringLiteral("Sincronizador Quillon"));
  EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(FrmMainTest, EmptyOptionsLineChecksAllFour) {
  Load(std::string(kCode) + "\r\n");
  EXPECT_EQ(Boxes(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(folder.Read("Acceso"),
            std::string(kCode) + "\r\nFacturas y PreFactruas,Mesa,Mostrador,Domicilio\r\n");
}

TEST_F(FrmMainTest, TecnicaInAnyCaseKeepsTheWindowVisibleAndChecksNothing) {
  Load(std::string(kCode) + "\r\ntecnica\r\n");
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(Boxes(), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(folder.Read("Acceso"), std::string(kCode) + "\r\ntecnica\r\n");
}

TEST_F(FrmMainTest, ClickingABoxStoresTheCodeBoxAsTyped) {
  Load(std::string(kCode) + "\r\nTECNICA\r\n");
  window.txtCodigo->setText(QStringLiteral("abc"));  // stored without validation
  window.CheckInfo[2]->click();
  EXPECT_EQ(folder.Read("Acceso"), "abc\r\nMostrador\r\n");
  EXPECT_TRUE(window.Opciones().IsChecked(2));
  EXPECT_EQ(window.codigoSucursalesAgencias(), u"S12345678901234");
  window.CheckInfo[2]->click();
  EXPECT_EQ(folder.Read("Acceso"), "abc\r\n\r\n");
  EXPECT_FALSE(window.Opciones().IsChecked(2));
}

TEST_F(FrmMainTest, MissingCodeIsAskedForAtLoad) {
  dialogs.answers = {u"", u"123456789012345"};
  Load("corto\r\nMesa\r\n");
  EXPECT_EQ(window.codigoSucursalesAgencias(), u"123456789012345");
  EXPECT_EQ(dialogs.prompts.size(), 2u);
  // The options line went with the rewrite, so all four come back.
  EXPECT_EQ(Boxes(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(FrmMainTest, ChangingTheCodeStoresItConfirmsAndEnds) {
  Load(std::string(kCode) + "\r\nMesa\r\n");
  dialogs.answers = {u"X98765432109876"};
  window.cmdCambiarCodigo->click();
  EXPECT_EQ(folder.Read("Acceso"), "X98765432109876\r\n");
  EXPECT_EQ(window.txtCodigo->text(), QStringLiteral("X98765432109876"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message,
            u"El codigo se ha actualizado correctamente, se va cerrar el servidor de impresoras, "
            u"porfavor vuelvelo a abrir.");
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(dialogs.messages[0].title, u"");
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(window.codigoSucursalesAgencias(), u"S12345678901234");
}

TEST_F(FrmMainTest, ConnectionStatesSetTheTrayImageAndTooltip) {
  Load(std::string(kCode) + "\r\n");
  window.SetIcon(link::TrayIcon::Disconnected, u"Conectando");
  EXPECT_TRUE(window.SysTray().Entry().isVisible());
  EXPECT_EQ(Tooltip(), QStringLiteral("Conectando"));
  EXPECT_EQ(window.SysTray().Entry().icon().cacheKey(), window.pctDisconected.cacheKey());
  window.SetIcon(link::TrayIcon::Connected, u"Servidor de impresoras conextado correctamente");
  EXPECT_EQ(window.SysTray().Entry().icon().cacheKey(), window.pctOK.cacheKey());
  EXPECT_EQ(Tooltip(), QStringLiteral("Servidor de impresoras conextado correctamente"));
  EXPECT_EQ(window.SysTray().TooltipText(), u"Sincronizador Quillon");
}

TEST_F(FrmMainTest, ShutDownRemovesTheTrayIconAndEnds) {
  Load(std::string(kCode) + "\r\n");
  window.SetIcon(link::TrayIcon::Disconnected, u"Conectando");
  ASSERT_TRUE(window.SysTray().Entry().isVisible());
  window.Command4->click();
  EXPECT_FALSE(window.SysTray().Entry().isVisible());
  EXPECT_EQ(ended, 1);
}

TEST_F(FrmMainTest, PressOnTheTrayIconShowsTheWindow) {
  Load(std::string(kCode) + "\r\n");
  ASSERT_FALSE(window.isVisible());
  window.SysTray().MouseMove(1, 0x202, &window);  // a left click raises LeftClick only
  EXPECT_FALSE(window.isVisible());
  window.SysTray().MouseMove(1, 0x201, &window);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(FrmMainTest, LogKeepsTheLastLineInViewAndIsBounded) {
  window.show();
  window.SSTab1->setCurrentIndex(2);
  for (int i = 0; i < 300; ++i) window.escribirLog(u"linea " + std::u16string(1, u'0' + i % 10));
  window.escribirLog(u"Respuesta: {\r\n}");
  QCoreApplication::processEvents();
  QScrollBar* bar = window.txtlog->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_TRUE(window.txtlog->toPlainText().endsWith(QStringLiteral("linea 9\nRespuesta: {\n}\n")));

  window.Clear();
  EXPECT_EQ(window.txtlog->toPlainText(), QString());
  for (int i = 0; i < 6000; ++i) window.escribirLog(u"Error: 10061-Conexion rechazada");
  EXPECT_LE(window.txtlog->blockCount(), 5001);
}

TEST_F(FrmMainTest, StatusButtonAndStateLabel) {
  int sent = 0;
  window.SetEnviarStatus([&] { ++sent; });
  window.Command1->click();
  EXPECT_EQ(sent, 1);
  window.SetEstado(u"status 7");
  EXPECT_EQ(window.lblState->text(), QStringLiteral("status 7"));
}

TEST_F(FrmMainTest, LoadedImageIsPaintedAndKeptAsLogo) {
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::blue);
  const QString chosen = QString::fromStdString((folder.Path() / "marca.jpg").string());
  ASSERT_TRUE(image.save(chosen, "JPEG"));
  window.CargarImagen(chosen);
  EXPECT_EQ(folder.Read("logo.bmp"), folder.Read("marca.jpg"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].message, u"Imagen Cargada");
  EXPECT_GT(window.pctLogo->pixmap().toImage().pixelColor(180, 50).blue(), 240);  // JPEG is lossy

  // Choosing logo.bmp itself keeps it.
  window.CargarImagen(QString::fromStdString((folder.Path() / "logo.bmp").string()));
  EXPECT_EQ(folder.Read("logo.bmp"), folder.Read("marca.jpg"));
}

TEST_F(FrmMainTest, FileThatIsNoPictureIsRefused) {
  folder.Write("notas.txt", "no soy una imagen");
  window.CargarImagen(QString::fromStdString((folder.Path() / "notas.txt").string()));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "logo.bmp"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Error);
}

TEST_F(FrmMainTest, StoredLogoIsShownAtLoad) {
  QImage image(50, 50, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(QString::fromStdString((folder.Path() / "logo.bmp").string()), "PNG"));
  Load(std::string(kCode) + "\r\n");
  EXPECT_EQ(window.pctLogo->pixmap().toImage().pixelColor(181, 52), QColor(Qt::green));
}

}  // namespace
}  // namespace quillon::shell
