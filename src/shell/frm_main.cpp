#include "shell/frm_main.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>

#include "platform/text.h"
#include "shell/startup_texts.h"
#include "shell/tray_icons.h"

namespace quillon::shell {
namespace {

// Enough for days of reconnection errors without growing memory without end.
constexpr int kMaximoLineasLog = 5000;

const QString kFiltroImagenes =
    QStringLiteral("Imágenes Bmp,Gif, Jpg,jpeg) (*.bmp *.gif *.jpg *jpeg);;Todos (*.*)");

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  return button;
}

QFrame* HorizontalLine(QWidget* parent, QRect geometry) {
  auto* line = new QFrame(parent);
  line->setObjectName(QStringLiteral("Line1"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(geometry);
  return line;
}

}  // namespace

frmMain::frmMain(platform::Dialogs& dialogs, BranchCodeFile& acceso, std::filesystem::path data_dir,
                 std::function<void()> end_program)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint),
      pctOK(ConnectedIcon()),
      pctDisconected(DisconnectedIcon()),
      dialogs_(dialogs),
      acceso_(acceso),
      data_dir_(std::move(data_dir)),
      end_program_(std::move(end_program)),
      opciones_([this](const std::u16string& list) {
        acceso_.GuardarOpciones(txtCodigo->text().toStdU16String(), list);
      }) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(Q(kTituloVentana));
  setWindowIcon(pctOK);
  setFont(QFont(QStringLiteral("Arial"), 9));
  setFixedSize(422, 398);

  SSTab1 = new QTabWidget(this);
  SSTab1->setObjectName(QStringLiteral("SSTab1"));
  SSTab1->setGeometry(8, 8, 406, 382);
  SSTab1->addTab(BuildPanelPage(), QStringLiteral("Panel"));
  SSTab1->addTab(BuildOptionsPage(), QStringLiteral("Opciones"));
  SSTab1->addTab(BuildStatusPage(), QStringLiteral("Status"));

  // Below the visible client area, as the connection watch only keeps it up to date.
  lblState = new QLabel(this);
  lblState->setObjectName(QStringLiteral("lblState"));
  lblState->setGeometry(8, 404, 200, 20);

  // Leaving the session removes the tray entry.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
          [this] { systray_.delIcon(); });
  connect(&systray_, &clsSystray::BalloonClicked, this, [this] {
    show();
    raise();
    activateWindow();
  });
}

frmMain::~frmMain() = default;

QWidget* frmMain::BuildPanelPage() {
  auto* page = new QWidget;
  auto* frame = new QFrame(page);
  frame->setGeometry(6, 6, 388, 338);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setAutoFillBackground(true);
  QPalette white = frame->palette();
  white.setColor(QPalette::Window, Qt::white);
  frame->setPalette(white);

  Label1 = new QLabel(QStringLiteral("Codigo Sucursal"), frame);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(12, 10, 200, 18);
  txtCodigo = new QLineEdit(frame);
  txtCodigo->setObjectName(QStringLiteral("txtCodigo"));
  txtCodigo->setGeometry(12, 30, 236, 26);
  cmdCambiarCodigo =
      Button("cmdCambiarCodigo", QStringLiteral("Cambiar codigo"), frame, {256, 30, 119, 26});
  HorizontalLine(frame, {12, 64, 363, 4});

  pctLogo = new QLabel(frame);
  pctLogo->setObjectName(QStringLiteral("pctLogo"));
  pctLogo->setGeometry(12, 76, 363, 105);
  pctLogo->setAutoFillBackground(true);

  HorizontalLine(frame, {12, 190, 363, 4});
  Command2 = Button("Command2", QStringLiteral("Cargar Imagen"), frame, {12, 204, 117, 34});
  Command3 = Button("Command3", QStringLiteral("Cerrar Ventana"), frame, {135, 204, 117, 34});
  Command4 = Button("Command4", QStringLiteral("Apagar Servidor"), frame, {258, 204, 117, 34});
  Command4->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));

  connect(cmdCambiarCodigo, &QPushButton::clicked, this, &frmMain::CambiarCodigo);
  connect(Command2, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Abrir"), QString(), kFiltroImagenes);
    if (!file.isEmpty()) CargarImagen(file);
  });
  connect(Command3, &QPushButton::clicked, this, &QWidget::hide);
  connect(Command4, &QPushButton::clicked, this, &frmMain::ApagarServidor);
  return page;
}

QWidget* frmMain::BuildOptionsPage() {
  auto* page = new QWidget;
  Label2 = new QLabel(QStringLiteral("Selecciona lo que quieres Imprimir"), page);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setGeometry(16, 14, 360, 20);

  fraComandas = new QGroupBox(QStringLiteral("Comandas de"), page);
  fraComandas->setObjectName(QStringLiteral("fraComandas"));
  fraComandas->setGeometry(16, 76, 260, 118);

  for (int i = 0; i < PrintingOptions::kCount; ++i) {
    QWidget* parent = i == 0 ? page : static_cast<QWidget*>(fraComandas);
    auto* box = new QCheckBox(Q(PrintingOptions::Caption(i)), parent);
    box->setObjectName(QStringLiteral("CheckInfo%1").arg(i));
    box->setGeometry(i == 0 ? QRect(16, 44, 300, 22) : QRect(16, 28 * i - 4, 220, 22));
    connect(box, &QCheckBox::clicked, this,
            [this, i](bool checked) { opciones_.Click(i, checked); });
    CheckInfo[i] = box;
  }
  return page;
}

QWidget* frmMain::BuildStatusPage() {
  auto* page = new QWidget;
  Command1 = Button("Command1", QStringLiteral("Send Status Free"), page, {8, 8, 140, 28});
  connect(Command1, &QPushButton::clicked, this, [this] {
    if (enviar_status_) enviar_status_();
  });
  txtlog = new QPlainTextEdit(page);
  txtlog->setObjectName(QStringLiteral("txtlog"));
  txtlog->setGeometry(8, 44, 384, 300);
  txtlog->setReadOnly(true);
  txtlog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtlog->setMaximumBlockCount(kMaximoLineasLog);
  return page;
}

void frmMain::Form_Load() {
  const std::vector<std::u16string> lineas = acceso_.leerCodigoSucursal();
  codigo_sucursal_ = lineas[0];
  const std::u16string opciones = lineas.size() > 1 ? lineas[1] : std::u16string();

  if (platform::ToUpper(acceso_.leerSegundaLinea()) == kPalabraTecnica) {
    show();
  } else {
    hide();
  }

  const std::filesystem::path logo = data_dir_ / "logo.bmp";
  if (existeArchivo(logo)) PintarLogo(LoadPicture(QString::fromStdU16String(logo.u16string())));

  txtCodigo->setText(Q(codigo_sucursal_));
  opciones_.Restore(opciones);
  SyncOptionBoxes();

  systray_.Init(this, kTooltipBandeja);
}

void frmMain::escribirLog(const std::u16string& text) {
  QString line = Q(text);
  line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QTextCursor cursor = txtlog->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(line + QLatin1Char('\n'));
  txtlog->setTextCursor(cursor);
  txtlog->ensureCursorVisible();
}

void frmMain::Clear() { txtlog->clear(); }

void frmMain::SetIcon(link::TrayIcon icon, const std::u16string& tooltip) {
  systray_.SetIcon(icon == link::TrayIcon::Connected ? pctOK : pctDisconected, tooltip);
}

void frmMain::SetEstado(const std::u16string& caption) { lblState->setText(Q(caption)); }

void frmMain::SetEnviarStatus(std::function<void()> enviar_status) {
  enviar_status_ = std::move(enviar_status);
}

void frmMain::CargarImagen(const QString& file) {
  const QImage image = LoadPicture(file);
  if (image.isNull()) {
    dialogs_.MessageBox(u"El archivo elegido no es una imagen que se pueda mostrar.", u"",
                        platform::MessageIcon::Error);
    return;
  }
  PintarLogo(image);
  const QString logo = QString::fromStdU16String((data_dir_ / "logo.bmp").u16string());
  // Choosing logo.bmp itself must not delete it.
  if (QFileInfo(file).canonicalFilePath() != QFileInfo(logo).canonicalFilePath()) {
    QFile::remove(logo);
    if (!QFile::copy(file, logo)) {
      dialogs_.MessageBox(u"No se pudo guardar la imagen como " + logo.toStdU16String(), u"",
                          platform::MessageIcon::Error);
      return;
    }
  }
  dialogs_.MessageBox(u"Imagen Cargada", u"", platform::MessageIcon::Information);
}

void frmMain::PintarLogo(const QImage& image) {
  if (!fondoLogo_) fondoLogo_ = std::make_unique<clasBackGround>();
  fondoLogo_->SetForm(pctLogo);
  fondoLogo_->SetImagen(image);
  fondoLogo_->SetScaleMargin(32);
  fondoLogo_->Refresh();
}

void frmMain::CambiarCodigo() {
  const std::u16string code = acceso_.PedirCodigoNuevo();
  txtCodigo->setText(Q(code));
  dialogs_.MessageBox(kMensajeCodigoActualizado, u"", platform::MessageIcon::Information);
  end_program_();
}

void frmMain::ApagarServidor() {
  systray_.delIcon();
  end_program_();
}

void frmMain::SyncOptionBoxes() {
  for (int i = 0; i < PrintingOptions::kCount; ++i)
    CheckInfo[i]->setChecked(opciones_.IsChecked(i));
}

void frmMain::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quillon::shell
