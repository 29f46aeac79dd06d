#include "shell/qt/main_window.h"

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
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>

#include "platform/text.h"
#include "shell/log_text.h"
#include "shell/qt/tray_icons.h"
#include "shell/startup_texts.h"
#include "shell/ticket_rows.h"

namespace quillon::shell {
namespace {

// Enough for days of reconnection errors without growing memory without end.
constexpr int kMaxLogLines = 5000;

const QString kPictureFileFilter =
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

QListWidget* List(const char* name, QWidget* parent, QRect geometry) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setGeometry(geometry);
  return list;
}

QFrame* HorizontalLine(QWidget* parent, QRect geometry) {
  auto* line = new QFrame(parent);
  line->setObjectName(QStringLiteral("panelLine"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(geometry);
  return line;
}

}  // namespace

MainWindow::MainWindow(platform::Dialogs& dialogs, BranchCodeFile& acceso,
                       std::filesystem::path data_dir, std::function<void()> end_program)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint),
      connected_icon(ConnectedIcon()),
      disconnected_icon(DisconnectedIcon()),
      warning_icon(WarningIcon()),
      dialogs_(dialogs),
      acceso_(acceso),
      data_dir_(std::move(data_dir)),
      end_program_(std::move(end_program)),
      options_([this](const std::u16string& list) {
        acceso_.SaveOptions(code_box->text().toStdU16String(), list);
      }) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(Q(kWindowTitle));
  setWindowIcon(connected_icon);
  setFont(QFont(QStringLiteral("Arial"), 9));
  setFixedSize(422, 398);

  tabs = new QTabWidget(this);
  tabs->setObjectName(QStringLiteral("tabs"));
  tabs->setGeometry(8, 8, 406, 382);
  tabs->addTab(BuildPanelPage(), QStringLiteral("Panel"));
  tabs->addTab(BuildOptionsPage(), QStringLiteral("Opciones"));
  tabs->addTab(BuildStatusPage(), QStringLiteral("Status"));

  // Below the visible client area, as the connection watch only keeps it up to date.
  state_label = new QLabel(this);
  state_label->setObjectName(QStringLiteral("stateLabel"));
  state_label->setGeometry(8, 404, 200, 20);

  // Leaving the session removes the tray entry.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
          [this] { tray_.RemoveIcon(); });
  connect(&tray_, &TrayIcon::BalloonClicked, this, [this] {
    show();
    raise();
    activateWindow();
  });
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::BuildPanelPage() {
  auto* page = new QWidget;
  auto* frame = new QFrame(page);
  frame->setGeometry(6, 6, 388, 338);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setAutoFillBackground(true);
  QPalette white = frame->palette();
  white.setColor(QPalette::Window, Qt::white);
  frame->setPalette(white);

  code_label = new QLabel(QStringLiteral("Codigo Sucursal"), frame);
  code_label->setObjectName(QStringLiteral("codeLabel"));
  code_label->setGeometry(12, 10, 200, 18);
  code_box = new QLineEdit(frame);
  code_box->setObjectName(QStringLiteral("codeBox"));
  code_box->setGeometry(12, 30, 236, 26);
  change_code_button =
      Button("changeCodeButton", QStringLiteral("Cambiar codigo"), frame, {256, 30, 119, 26});
  HorizontalLine(frame, {12, 64, 363, 4});

  logo_view = new QLabel(frame);
  logo_view->setObjectName(QStringLiteral("logoView"));
  logo_view->setGeometry(12, 76, 363, 105);
  logo_view->setAutoFillBackground(true);

  HorizontalLine(frame, {12, 190, 363, 4});
  load_picture_button =
      Button("loadPictureButton", QStringLiteral("Cargar Imagen"), frame, {12, 204, 117, 34});
  close_window_button =
      Button("closeWindowButton", QStringLiteral("Cerrar Ventana"), frame, {135, 204, 117, 34});
  shut_down_button =
      Button("shutDownButton", QStringLiteral("Apagar Servidor"), frame, {258, 204, 117, 34});
  shut_down_button->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));

  connect(change_code_button, &QPushButton::clicked, this, &MainWindow::ChangeBranchCode);
  connect(load_picture_button, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Abrir"), QString(), kPictureFileFilter);
    if (!file.isEmpty()) LoadLogoFile(file);
  });
  connect(close_window_button, &QPushButton::clicked, this, &QWidget::hide);
  connect(shut_down_button, &QPushButton::clicked, this, &MainWindow::ShutDown);
  return page;
}

QWidget* MainWindow::BuildOptionsPage() {
  auto* page = new QWidget;
  options_label = new QLabel(QStringLiteral("Selecciona lo que quieres Imprimir"), page);
  options_label->setObjectName(QStringLiteral("optionsLabel"));
  options_label->setGeometry(16, 14, 360, 20);

  orders_frame = new QGroupBox(QStringLiteral("Comandas de"), page);
  orders_frame->setObjectName(QStringLiteral("ordersFrame"));
  orders_frame->setGeometry(16, 76, 260, 118);

  for (int i = 0; i < PrintingOptions::kCount; ++i) {
    QWidget* parent = i == 0 ? page : static_cast<QWidget*>(orders_frame);
    auto* box = new QCheckBox(Q(PrintingOptions::Caption(i)), parent);
    box->setObjectName(QStringLiteral("optionBox%1").arg(i));
    box->setGeometry(i == 0 ? QRect(16, 44, 300, 22) : QRect(16, 28 * i - 4, 220, 22));
    connect(box, &QCheckBox::clicked, this,
            [this, i](bool checked) { options_.Click(i, checked); });
    option_boxes[i] = box;
  }
  return page;
}

QWidget* MainWindow::BuildStatusPage() {
  auto* page = new QWidget;
  send_status_button =
      Button("sendStatusButton", QStringLiteral("Send Status Free"), page, {8, 8, 140, 26});
  connect(send_status_button, &QPushButton::clicked, this, [this] {
    if (send_status_action_) send_status_action_();
  });
  log_view = new QPlainTextEdit(page);
  log_view->setObjectName(QStringLiteral("logView"));
  log_view->setGeometry(8, 40, 384, 140);
  log_view->setReadOnly(true);
  log_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  log_view->setMaximumBlockCount(kMaxLogLines);

  (new QLabel(QStringLiteral("Tickets en espera"), page))->setGeometry(8, 184, 282, 18);
  waiting_list = List("waitingList", page, {8, 202, 282, 64});
  retry_button = Button("retryButton", QStringLiteral("Reintentar"), page, {296, 202, 96, 28});
  discard_button = Button("discardButton", QStringLiteral("Descartar"), page, {296, 236, 96, 28});
  (new QLabel(QStringLiteral("Tickets impresos"), page))->setGeometry(8, 270, 282, 18);
  printed_list = List("printedList", page, {8, 288, 282, 56});
  reprint_button = Button("reprintButton", QStringLiteral("Reimprimir"), page, {296, 288, 96, 28});

  connect(retry_button, &QPushButton::clicked, this, [this] {
    if (printing_ != nullptr) printing_->RetryNow();
  });
  connect(discard_button, &QPushButton::clicked, this, [this] {
    const std::uint64_t id = SelectedTicket(*waiting_list);
    if (printing_ != nullptr && id != 0) printing_->Discard(id);
  });
  connect(reprint_button, &QPushButton::clicked, this, &MainWindow::ReprintSelected);
  connect(tabs, &QTabWidget::currentChanged, this, [this] { ListPrintedTickets(); });
  return page;
}

void MainWindow::Load() {
  const std::vector<std::u16string> lines = acceso_.ReadBranchCode();
  branch_code_ = lines[0];
  const std::u16string options = lines.size() > 1 ? lines[1] : std::u16string();

  if (platform::ToUpper(acceso_.ReadOptionsLine()) == kTechnicianWord) {
    show();
  } else {
    hide();
  }

  const std::filesystem::path logo = data_dir_ / "logo.bmp";
  if (FileExists(logo)) PaintLogo(LoadPicture(QString::fromStdU16String(logo.u16string())));

  code_box->setText(Q(branch_code_));
  options_.Restore(options);
  SyncOptionBoxes();

  tray_.Init(this, kTrayTooltip);
}

void MainWindow::WriteLog(const std::u16string& text) {
  QString line = Q(EscapeControls(text));
  line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QTextCursor cursor = log_view->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(line + QLatin1Char('\n'));
  log_view->setTextCursor(cursor);
  // The newest line sits at the bottom whatever the font's metrics leave over.
  QScrollBar* bar = log_view->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void MainWindow::Clear() { log_view->clear(); }

void MainWindow::SetIcon(link::TrayImage icon, const std::u16string& tooltip) {
  connection_image_ = icon;
  connection_tooltip_ = tooltip;
  ShowTrayState();
}

void MainWindow::ShowTrayState() {
  const std::u16string waiting =
      printing_ != nullptr ? WaitingSummary(printing_->Waiting()) : std::u16string();
  if (!waiting.empty()) {
    tray_.SetIcon(warning_icon, waiting);
    return;
  }
  tray_.SetIcon(
      connection_image_ == link::TrayImage::Connected ? connected_icon : disconnected_icon,
      connection_tooltip_);
}

void MainWindow::SetPrintService(print::PrintService* printing) {
  printing_ = printing;
  WaitingChanged();
}

void MainWindow::WaitingChanged() {
  waiting_list->clear();
  if (printing_ != nullptr) {
    for (const print::WaitingTicket& ticket : printing_->Waiting()) {
      auto* row = new QListWidgetItem(Q(WaitingRow(ticket)), waiting_list);
      row->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(ticket.id));
      row->setToolTip(Q(ticket.failure));
    }
  }
  ListPrintedTickets();
  ShowTrayState();
}

void MainWindow::ListPrintedTickets() {
  printed_list->clear();
  if (printing_ == nullptr) return;
  for (const print::PrintedTicket& ticket : printing_->Printed()) {
    auto* row = new QListWidgetItem(Q(PrintedRow(ticket)), printed_list);
    row->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(ticket.id));
  }
}

std::uint64_t MainWindow::SelectedTicket(const QListWidget& list) {
  const QListWidgetItem* row = list.currentItem();
  return row != nullptr ? row->data(Qt::UserRole).toULongLong() : 0;
}

void MainWindow::ReprintSelected() {
  const std::uint64_t id = SelectedTicket(*printed_list);
  if (printing_ == nullptr || id == 0) return;
  const auto delivery = printing_->Reprint(id, u"");
  if (delivery && delivery->sent) {
    tray_.ShowBalloonTip(
        u"Ticket " + platform::u16(std::to_string(id)) + u" reimpreso en " + delivery->printer,
        platform::BalloonIcon::Information, u"Reimpresion", 30000);
  }
  ListPrintedTickets();
}

void MainWindow::SetStateCaption(const std::u16string& caption) {
  state_label->setText(Q(caption));
}

void MainWindow::SetSendStatusAction(std::function<void()> send_status_action) {
  send_status_action_ = std::move(send_status_action);
}

void MainWindow::LoadLogoFile(const QString& file) {
  const QImage image = LoadPicture(file);
  if (image.isNull()) {
    dialogs_.MessageBox(u"El archivo elegido no es una imagen que se pueda mostrar.", u"",
                        platform::MessageIcon::Error);
    return;
  }
  PaintLogo(image);
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

void MainWindow::PaintLogo(const QImage& image) {
  if (!logo_painter_) logo_painter_ = std::make_unique<BackgroundPainter>();
  logo_painter_->SetForm(logo_view);
  logo_painter_->SetPicture(image);
  logo_painter_->SetScaleMargin(32);
  logo_painter_->Refresh();
}

void MainWindow::ChangeBranchCode() {
  const std::u16string code = acceso_.PromptNewCode();
  code_box->setText(Q(code));
  dialogs_.MessageBox(kCodeUpdatedMessage, u"", platform::MessageIcon::Information);
  end_program_();
}

void MainWindow::ShutDown() {
  tray_.RemoveIcon();
  end_program_();
}

void MainWindow::SyncOptionBoxes() {
  for (int i = 0; i < PrintingOptions::kCount; ++i)
    option_boxes[i]->setChecked(options_.IsChecked(i));
}

void MainWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quillon::shell
