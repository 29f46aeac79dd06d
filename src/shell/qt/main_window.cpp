#include "shell/qt/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
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
#include "shell/qt/tray_icons.h"
#include "shell/startup_texts.h"

namespace quillon::shell {
namespace {

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

MainWindow::MainWindow(platform::Dialogs& dialogs, const platform::PictureDecoder& pictures,
                       BranchCodeFile& acceso, std::filesystem::path data_dir,
                       std::function<void()> end_program)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint),
      connected_icon(ConnectedIcon()),
      disconnected_icon(DisconnectedIcon()),
      warning_icon(WarningIcon()),
      shell_(*this, dialogs, pictures, acceso, std::move(data_dir), std::move(end_program)) {
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
  connect(&tray_, &TrayIcon::BalloonClicked, this,
          [this] { shell_.TrayEventRaised(TrayEvent::BalloonClicked); });
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

  connect(change_code_button, &QPushButton::clicked, this, [this] { shell_.ChangeBranchCode(); });
  connect(load_picture_button, &QPushButton::clicked, this, [this] {
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Abrir"), QString(), kPictureFileFilter);
    if (!file.isEmpty()) LoadLogoFile(file);
  });
  connect(close_window_button, &QPushButton::clicked, this, &QWidget::hide);
  connect(shut_down_button, &QPushButton::clicked, this, [this] { shell_.ShutDown(); });
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
            [this, i](bool checked) { shell_.OptionClicked(i, checked); });
    option_boxes[i] = box;
  }
  return page;
}

QWidget* MainWindow::BuildStatusPage() {
  auto* page = new QWidget;
  send_status_button =
      Button("sendStatusButton", QStringLiteral("Send Status Free"), page, {8, 8, 140, 26});
  connect(send_status_button, &QPushButton::clicked, this, [this] { shell_.SendStatusClicked(); });
  log_view = new QPlainTextEdit(page);
  log_view->setObjectName(QStringLiteral("logView"));
  log_view->setGeometry(8, 40, 384, 140);
  log_view->setReadOnly(true);
  log_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The shell bounds the log; a bounded document is also what keeps Qt's layout of the last
  // lines immediate, so the view can follow them.
  log_view->setMaximumBlockCount(AgentWindow::kMaxLogLines + 1);

  (new QLabel(QStringLiteral("Tickets en espera"), page))->setGeometry(8, 184, 282, 18);
  waiting_list = List("waitingList", page, {8, 202, 282, 64});
  retry_button = Button("retryButton", QStringLiteral("Reintentar"), page, {296, 202, 96, 28});
  discard_button = Button("discardButton", QStringLiteral("Descartar"), page, {296, 236, 96, 28});
  (new QLabel(QStringLiteral("Tickets impresos"), page))->setGeometry(8, 270, 282, 18);
  printed_list = List("printedList", page, {8, 288, 282, 56});
  reprint_button = Button("reprintButton", QStringLiteral("Reimprimir"), page, {296, 288, 96, 28});

  connect(retry_button, &QPushButton::clicked, this, [this] { shell_.RetryClicked(); });
  connect(discard_button, &QPushButton::clicked, this,
          [this] { shell_.DiscardClicked(SelectedTicket(*waiting_list)); });
  connect(reprint_button, &QPushButton::clicked, this,
          [this] { shell_.ReprintClicked(SelectedTicket(*printed_list)); });
  connect(tabs, &QTabWidget::currentChanged, this, [this] { shell_.PageChanged(); });
  return page;
}

void MainWindow::LoadLogoFile(const QString& file) {
  shell_.LoadLogoFile(std::filesystem::path(file.toStdU16String()));
}

void MainWindow::ShowWindow() {
  show();
  raise();
  activateWindow();
}

void MainWindow::HideWindow() { hide(); }

std::u16string MainWindow::CodeBoxText() const { return code_box->text().toStdU16String(); }

void MainWindow::SetCodeBoxText(const std::u16string& text) { code_box->setText(Q(text)); }

void MainWindow::SetOptionBox(int index, bool checked) {
  option_boxes.at(index)->setChecked(checked);
}

bool MainWindow::ShowLogo(const std::filesystem::path& file) {
  const QImage image = LoadPicture(QString::fromStdU16String(file.u16string()));
  if (image.isNull()) return false;
  if (!logo_painter_) logo_painter_ = std::make_unique<BackgroundPainter>();
  logo_painter_->SetForm(logo_view);
  logo_painter_->SetPicture(image);
  logo_painter_->SetMargin(32);
  logo_painter_->Refresh();
  return true;
}

void MainWindow::AppendLogLines(const std::vector<std::u16string>& lines) {
  QTextCursor cursor = log_view->textCursor();
  cursor.movePosition(QTextCursor::End);
  QString text;
  for (const std::u16string& line : lines) text += Q(line) + QLatin1Char('\n');
  cursor.insertText(text);
  log_view->setTextCursor(cursor);
  ScrollLogToEnd();
}

void MainWindow::RemoveFirstLogLines(int count) {
  QTextCursor cursor(log_view->document());
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, count);
  cursor.removeSelectedText();
  log_view->moveCursor(QTextCursor::End);
  ScrollLogToEnd();
}

// The newest line sits at the bottom whatever the font's metrics leave over.
void MainWindow::ScrollLogToEnd() {
  QScrollBar* bar = log_view->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void MainWindow::ClearLog() { log_view->clear(); }

void MainWindow::ShowStateCaption(const std::u16string& caption) {
  state_label->setText(Q(caption));
}

void MainWindow::ShowWaitingTickets(const std::vector<TicketRow>& rows) {
  waiting_list->clear();
  for (const TicketRow& ticket : rows) {
    auto* row = new QListWidgetItem(Q(ticket.text), waiting_list);
    row->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(ticket.id));
    row->setToolTip(Q(ticket.tooltip));
  }
}

void MainWindow::ShowPrintedTickets(const std::vector<TicketRow>& rows) {
  printed_list->clear();
  for (const TicketRow& ticket : rows) {
    auto* row = new QListWidgetItem(Q(ticket.text), printed_list);
    row->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(ticket.id));
  }
}

std::uint64_t MainWindow::SelectedTicket(const QListWidget& list) {
  const QListWidgetItem* row = list.currentItem();
  return row != nullptr ? row->data(Qt::UserRole).toULongLong() : 0;
}

void MainWindow::AddTrayEntry(const std::u16string& tooltip) { tray_.Init(this, tooltip); }

void MainWindow::SetTrayImage(TrayPicture image, const std::u16string& tooltip) {
  switch (image) {
    case TrayPicture::Connected:
      tray_.SetIcon(connected_icon, tooltip);
      return;
    case TrayPicture::Disconnected:
      tray_.SetIcon(disconnected_icon, tooltip);
      return;
    case TrayPicture::TicketsWaiting:
      tray_.SetIcon(warning_icon, tooltip);
      return;
  }
}

void MainWindow::ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                                 int timeout_ms) {
  tray_.ShowBalloonTip(text, platform::BalloonIcon::Information, title, timeout_ms);
}

void MainWindow::RemoveTrayEntry() { tray_.RemoveIcon(); }

void MainWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quillon::shell
