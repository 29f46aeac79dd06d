#pragma once
// The main window's form, once for both toolkits: its pages, and each control's kind, caption,
// place and id. Places are in pixels at 96 dots per inch, on the control's page or inside the
// frame that holds it. A view builds its widgets from this table, in its order (a frame comes
// before what it holds), and tells the shell which control was used by its id.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/print_options.h"

namespace quillon::shell {

struct FormRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind {
  kLabel,
  kTextBox,
  kButton,
  kCheckBox,
  kLine,      // a sunken horizontal line
  kPicture,   // an area a picture is painted into
  kFrame,     // a white panel that holds other controls
  kGroupBox,  // a captioned frame that holds other controls
  kLog,       // multi-line, read-only, with a vertical scroll bar
  kList,
};

enum class ControlId {
  kNone,
  kPanelFrame,
  kCodeLabel,
  kCodeBox,
  kChangeCodeButton,
  kUpperLine,
  kLogoView,
  kLowerLine,
  kLoadPictureButton,
  kCloseWindowButton,
  kShutDownButton,
  kOptionsLabel,
  kOrdersFrame,
  kOptionBox0,  // one box for each documents::PrintOption, in box order
  kOptionBox1,
  kOptionBox2,
  kOptionBox3,
  kSendStatusButton,
  kOpenLogButton,
  kSaveDiagnosticsButton,
  kLogView,
  kPrintersLabel,
  kPrintersList,
  kTestPrintButton,
  kTestPrintAnswer,
  kWaitingLabel,
  kWaitingList,
  kRetryButton,
  kDiscardButton,
  kPrintedLabel,
  kPrintedList,
  kReprintButton,
  kTicketPicture,
  kStateLabel,
  kCount
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::kCount);

// The window's own control, not on a page.
inline constexpr int kOnWindow = -1;

struct FormControl {
  ControlId id = ControlId::kNone;
  ControlKind kind = ControlKind::kLabel;
  int page = kOnWindow;                 // index into kFormPages
  ControlId inside = ControlId::kNone;  // the frame or group box that holds it
  FormRect place;
  std::u16string caption;
  bool stop_icon = false;  // a button that shows the stop sign beside its caption
};

struct FormPage {
  std::u16string_view caption;
};

inline constexpr int kFormWidth = 422;  // the client area
inline constexpr int kFormHeight = 398;
inline constexpr FormRect kTabsPlace = {8, 8, 406, 382};
inline constexpr std::array<FormPage, 3> kFormPages = {FormPage{u"Panel"}, FormPage{u"Opciones"},
                                                       FormPage{u"Status"}};

// Every control, holders before what they hold.
const std::vector<FormControl>& WindowForm();
const FormControl& FormControlOf(ControlId id);

// The option box of a printing option, and the option of an option box.
ControlId OptionBoxId(documents::PrintOption option);
std::optional<documents::PrintOption> OptionOf(ControlId id);

}  // namespace quillon::shell
