#include "adapters/qt/qt_dialogs.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

namespace quillon::adapters::qt {
namespace {

QString ToQt(const std::u16string& text) {
  QString result = QString::fromStdU16String(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

// An empty title shows the program's name, as a message box without a title does.
QString TitleOrName(const std::u16string& title) {
  return title.empty() ? QCoreApplication::applicationName() : ToQt(title);
}

QMessageBox::Icon ToQt(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::kInformation:
      return QMessageBox::Information;
    case platform::MessageIcon::kWarning:
      return QMessageBox::Warning;
    case platform::MessageIcon::kError:
      return QMessageBox::Critical;
    case platform::MessageIcon::kQuestion:
      return QMessageBox::Question;
    case platform::MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent) {}

void QtDialogs::MessageBox(const std::u16string& message, const std::u16string& title,
                           platform::MessageIcon icon) {
  QMessageBox box(ToQt(icon), TitleOrName(title), ToQt(message), QMessageBox::Ok, parent_);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  box.exec();
}

std::u16string QtDialogs::InputBox(const std::u16string& prompt, const std::u16string& title,
                                   const std::u16string& default_text) {
  QInputDialog dialog(parent_);
  dialog.setWindowTitle(TitleOrName(title));
  dialog.setLabelText(ToQt(prompt));
  dialog.setTextValue(ToQt(default_text));
  dialog.setOkButtonText(QStringLiteral("Aceptar"));
  dialog.setCancelButtonText(QStringLiteral("Cancelar"));
  return dialog.exec() == QDialog::Accepted ? dialog.textValue().toStdU16String()
                                            : std::u16string();
}

}  // namespace quillon::adapters::qt
