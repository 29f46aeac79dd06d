#include "shell/qt/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <QUrl>

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

QRect Place(const FormRect& place) { return {place.x, place.y, place.width, place.height}; }

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
  setFixedSize(kFormWidth, kFormHeight);

  BuildForm();

  // Leaving the session removes the tray entry.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
          [this] { tray_.RemoveIcon(); });
  tray_.on_event = [this](TrayEvent event) { shell_.TrayEventRaised(event); };
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildForm() {
  tabs = new QTabWidget(this);
  tabs->setGeometry(Place(kTabsPlace));
  std::vector<QWidget*> pages;
  for (const FormPage& page : kFormPages) {
    pages.push_back(new QWidget);
    tabs->addTab(pages.back(), Q(page.caption));
  }
  for (const FormControl& control : WindowForm()) {
    QWidget* parent =
        control.inside != ControlId::kNone ? controls_.at(static_cast<std::size_t>(control.inside))
        : control.page == kOnWindow        ? static_cast<QWidget*>(this)
                                           : pages.at(static_cast<std::size_t>(control.page));
    QWidget* widget = MakeControl(control, parent);
    widget->setGeometry(Place(control.place));
    controls_.at(static_cast<std::size_t>(control.id)) = widget;
  }
  connect(tabs, &QTabWidget::currentChanged, this, [this] { shell_.PageChanged(); });
}

namespace {

QFrame* WhiteFrame(QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setAutoFillBackground(true);
  QPalette white = frame->palette();
  white.setColor(QPalette::Window, Qt::white);
  frame->setPalette(white);
  return frame;
}

QPlainTextEdit* LogView(QWidget* parent) {
  auto* log = new QPlainTextEdit(parent);
  log->setReadOnly(true);
  log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The shell bounds the log; a bounded document is also what keeps Qt's layout of the last
  // lines immediate, so the view can follow them.
  log->setMaximumBlockCount(AgentWindow::kMaxLogLines + 1);
  return log;
}

}  // namespace

QCheckBox* MainWindow::MakeCheckBox(ControlId id, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  if (const std::optional<documents::PrintOption> option = OptionOf(id)) {
    connect(box, &QCheckBox::clicked, this,
            [this, option = *option](bool checked) { shell_.OptionClicked(option, checked); });
  }
  return box;
}

QWidget* MainWindow::MakeControl(const FormControl& control, QWidget* parent) {
  const ControlId id = control.id;
  const QString caption = Q(control.caption);
  switch (control.kind) {
    case ControlKind::kLabel: {
      auto* label = new QLabel(caption, parent);
      label->setWordWrap(true);
      return label;
    }
    case ControlKind::kTextBox:
      return new QLineEdit(caption, parent);
    case ControlKind::kButton: {
      auto* button = new QPushButton(caption, parent);
      if (control.stop_icon) button->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
      connect(button, &QPushButton::clicked, this, [this, id] { shell_.Clicked(id); });
      return button;
    }
    case ControlKind::kCheckBox:
      return MakeCheckBox(id, caption, parent);
    case ControlKind::kLine: {
      auto* line = new QFrame(parent);
      line->setFrameShape(QFrame::HLine);
      line->setFrameShadow(QFrame::Sunken);
      return line;
    }
    case ControlKind::kPicture: {
      auto* picture = new QLabel(parent);
      picture->setAutoFillBackground(true);
      return picture;
    }
    case ControlKind::kFrame:
      return WhiteFrame(parent);
    case ControlKind::kGroupBox:
      return new QGroupBox(caption, parent);
    case ControlKind::kLog:
      return LogView(parent);
    case ControlKind::kList: {
      auto* list = new QListWidget(parent);
      connect(list, &QListWidget::currentItemChanged, this,
              [this, id] { shell_.RowSelected(id, SelectedRow(id)); });
      return list;
    }
  }
  return new QWidget(parent);
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

std::u16string MainWindow::CodeBoxText() const {
  return Control<QLineEdit>(ControlId::kCodeBox)->text().toStdU16String();
}

void MainWindow::SetCodeBoxText(const std::u16string& text) {
  Control<QLineEdit>(ControlId::kCodeBox)->setText(Q(text));
}

void MainWindow::SetOptionBox(documents::PrintOption option, bool checked) {
  Control<QCheckBox>(OptionBoxId(option))->setChecked(checked);
}

bool MainWindow::ShowLogo(const std::filesystem::path& file) {
  const QImage image = LoadPicture(QString::fromStdU16String(file.u16string()));
  if (image.isNull()) return false;
  if (!logo_painter_) logo_painter_ = std::make_unique<BackgroundPainter>();
  logo_painter_->SetForm(Control<QLabel>(ControlId::kLogoView));
  logo_painter_->SetPicture(image);
  logo_painter_->SetMargin(32);
  logo_painter_->Refresh();
  return true;
}

void MainWindow::AppendLogLines(const std::vector<std::u16string>& lines) {
  auto* log = Control<QPlainTextEdit>(ControlId::kLogView);
  QTextCursor cursor = log->textCursor();
  cursor.movePosition(QTextCursor::End);
  QString text;
  for (const std::u16string& line : lines) text += Q(line) + QLatin1Char('\n');
  cursor.insertText(text);
  log->setTextCursor(cursor);
  ScrollLogToEnd();
}

void MainWindow::RemoveFirstLogLines(int count) {
  auto* log = Control<QPlainTextEdit>(ControlId::kLogView);
  QTextCursor cursor(log->document());
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, count);
  cursor.removeSelectedText();
  log->moveCursor(QTextCursor::End);
  ScrollLogToEnd();
}

// The newest line sits at the bottom whatever the font's metrics leave over.
void MainWindow::ScrollLogToEnd() {
  QScrollBar* bar = Control<QPlainTextEdit>(ControlId::kLogView)->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void MainWindow::ClearLog() { Control<QPlainTextEdit>(ControlId::kLogView)->clear(); }

void MainWindow::ShowStateCaption(const std::u16string& caption) {
  Control<QLabel>(ControlId::kStateLabel)->setText(Q(caption));
}

void MainWindow::FillList(ControlId id, const std::vector<ListRow>& rows) {
  auto* list = Control<QListWidget>(id);
  const std::uint64_t selected = SelectedRow(id);
  bool kept = false;
  {
    // Filled anew as the shell's lists change, which is not the user choosing another row.
    const QSignalBlocker quiet(list);
    list->clear();
    for (const ListRow& listed : rows) {
      auto* row = new QListWidgetItem(Q(listed.text), list);
      row->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(listed.id));
      if (!listed.tooltip.empty()) row->setToolTip(Q(listed.tooltip));
      if (selected != 0 && listed.id == selected) {
        list->setCurrentItem(row);
        kept = true;
      }
    }
  }
  if (selected != 0 && !kept) shell_.RowSelected(id, 0);
}

void MainWindow::ShowWaitingTickets(const std::vector<ListRow>& rows) {
  FillList(ControlId::kWaitingList, rows);
}

void MainWindow::ShowPrintedTickets(const std::vector<ListRow>& rows) {
  FillList(ControlId::kPrintedList, rows);
}

void MainWindow::ShowPrinters(const std::vector<ListRow>& rows) {
  FillList(ControlId::kPrintersList, rows);
}

void MainWindow::ShowTestPrintAnswer(const std::u16string& text) {
  Control<QLabel>(ControlId::kTestPrintAnswer)->setText(Q(text));
}

std::uint64_t MainWindow::SelectedRow(ControlId list) const {
  const QListWidgetItem* row = Control<QListWidget>(list)->currentItem();
  return row != nullptr ? row->data(Qt::UserRole).toULongLong() : 0;
}

void MainWindow::ShowTicketPicture(const platform::GreyPicture& paper) {
  auto* area = Control<QLabel>(ControlId::kTicketPicture);
  if (paper.width <= 0 || paper.height <= 0) {
    ticket_painter_.SetPicture(QImage());
    area->clear();
    return;
  }
  const QImage image(paper.levels.data(), paper.width, paper.height, paper.width,
                     QImage::Format_Grayscale8);
  ticket_painter_.SetForm(area);
  ticket_painter_.SetPicture(image.copy());
  ticket_painter_.Refresh();
}

void MainWindow::SetControlVisible(ControlId id, bool visible) {
  controls_.at(static_cast<std::size_t>(id))->setVisible(visible);
}

std::optional<std::filesystem::path> MainWindow::ChoosePictureFile() {
  const QString file =
      QFileDialog::getOpenFileName(this, QStringLiteral("Abrir"), QString(), kPictureFileFilter);
  if (file.isEmpty()) return std::nullopt;
  return std::filesystem::path(file.toStdU16String());
}

std::optional<std::filesystem::path> MainWindow::ChooseDiagnosticsFile() {
  const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Guardar diagnóstico"),
                                                    QStringLiteral("diagnostico.zip"),
                                                    QStringLiteral("Archivos zip (*.zip)"));
  if (file.isEmpty()) return std::nullopt;
  return std::filesystem::path(file.toStdU16String());
}

bool MainWindow::OpenWithDesktop(const std::filesystem::path& file) {
  return QDesktopServices::openUrl(
      QUrl::fromLocalFile(QString::fromStdU16String(file.u16string())));
}

void MainWindow::AddTrayEntry(const std::u16string& tooltip) { tray_.Init(tooltip); }

void MainWindow::SetTrayImage(TrayPicture image, const std::u16string& tooltip) {
  switch (image) {
    case TrayPicture::kConnected:
      tray_.SetIcon(connected_icon, tooltip);
      return;
    case TrayPicture::kDisconnected:
      tray_.SetIcon(disconnected_icon, tooltip);
      return;
    case TrayPicture::kTicketsWaiting:
      tray_.SetIcon(warning_icon, tooltip);
      return;
  }
}

void MainWindow::ShowTrayBalloon(const std::u16string& text, const std::u16string& title,
                                 int timeout_ms) {
  tray_.ShowBalloonTip(text, platform::BalloonIcon::kInformation, title, timeout_ms);
}

void MainWindow::RemoveTrayEntry() { tray_.RemoveIcon(); }

void MainWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quillon::shell
