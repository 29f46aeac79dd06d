#include "shell/window_form.h"

#include <utility>

#include "shell/printing_options.h"

namespace quillon::shell {
namespace {

using documents::BoxIndex;
using documents::kPrintOptions;
using documents::PrintOption;

constexpr int kPanel = 0;
constexpr int kOptions = 1;
constexpr int kStatus = 2;

using enum ControlId;
using K = ControlKind;

// The branch code, the logo and the window's buttons.
std::vector<FormControl> PanelPage() {
  return {
      {kPanelFrame, K::kFrame, kPanel, kNone, {6, 6, 388, 338}, u""},
      {kCodeLabel, K::kLabel, kPanel, kPanelFrame, {12, 10, 200, 18}, u"Codigo Sucursal"},
      {kCodeBox, K::kTextBox, kPanel, kPanelFrame, {12, 30, 236, 26}, u""},
      {kChangeCodeButton, K::kButton, kPanel, kPanelFrame, {256, 30, 119, 26}, u"Cambiar codigo"},
      {kUpperLine, K::kLine, kPanel, kPanelFrame, {12, 64, 363, 4}, u""},
      {kLogoView, K::kPicture, kPanel, kPanelFrame, {12, 76, 363, 105}, u""},
      {kLowerLine, K::kLine, kPanel, kPanelFrame, {12, 190, 363, 4}, u""},
      {kLoadPictureButton, K::kButton, kPanel, kPanelFrame, {12, 204, 117, 34}, u"Cargar Imagen"},
      {kCloseWindowButton, K::kButton, kPanel, kPanelFrame, {135, 204, 117, 34}, u"Cerrar Ventana"},
      {kShutDownButton,
       K::kButton,
       kPanel,
       kPanelFrame,
       {258, 204, 117, 34},
       u"Apagar Servidor",
       true},
  };
}

// The printing options: a heading and the frame of the kinds of sale (the boxes come apart).
std::vector<FormControl> OptionsPage() {
  return {
      {kOptionsLabel,
       K::kLabel,
       kOptions,
       kNone,
       {16, 14, 360, 20},
       u"Selecciona lo que quieres Imprimir"},
      {kOrdersFrame, K::kGroupBox, kOptions, kNone, {16, 76, 260, 118}, u"Comandas de"},
  };
}

// The status: buttons, the log, the tickets waiting and printed, the selected ticket's paper.
std::vector<FormControl> StatusPage() {
  return {
      {kSendStatusButton, K::kButton, kStatus, kNone, {8, 8, 140, 26}, u"Send Status Free"},
      {kOpenLogButton, K::kButton, kStatus, kNone, {154, 8, 100, 26}, u"Abrir registro"},
      {kSaveDiagnosticsButton,
       K::kButton,
       kStatus,
       kNone,
       {260, 8, 132, 26},
       u"Guardar diagnóstico…"},
      {kLogView, K::kLog, kStatus, kNone, {8, 40, 384, 56}, u""},
      {kPrintersLabel, K::kLabel, kStatus, kNone, {8, 100, 200, 16}, u"Impresoras"},
      {kPrintersList, K::kList, kStatus, kNone, {8, 116, 282, 56}, u""},
      {kTestPrintButton, K::kButton, kStatus, kNone, {296, 116, 96, 28}, u"Imprimir prueba"},
      // Two lines: a test ticket that waits says why.
      {kTestPrintAnswer, K::kLabel, kStatus, kNone, {8, 174, 384, 28}, u""},
      {kWaitingLabel, K::kLabel, kStatus, kNone, {8, 204, 200, 16}, u"Tickets en espera"},
      {kWaitingList, K::kList, kStatus, kNone, {8, 220, 200, 50}, u""},
      {kRetryButton, K::kButton, kStatus, kNone, {214, 220, 82, 26}, u"Reintentar"},
      {kDiscardButton, K::kButton, kStatus, kNone, {214, 248, 82, 26}, u"Descartar"},
      {kPrintedLabel, K::kLabel, kStatus, kNone, {8, 276, 200, 16}, u"Tickets impresos"},
      {kPrintedList, K::kList, kStatus, kNone, {8, 292, 200, 52}, u""},
      {kReprintButton, K::kButton, kStatus, kNone, {214, 292, 82, 26}, u"Reimprimir"},
      // Beside the lists: the paper of the selected ticket, scaled to fit.
      {kTicketPicture, K::kPicture, kStatus, kNone, {302, 204, 90, 140}, u""},
  };
}

std::vector<FormControl> MakeForm() {
  std::vector<FormControl> form = PanelPage();
  for (auto page : {OptionsPage, StatusPage}) {
    for (FormControl& control : page()) form.push_back(std::move(control));
  }
  // Below the visible client area, as the connection watch only keeps it up to date.
  form.push_back({kStateLabel, K::kLabel, kOnWindow, kNone, {8, 404, 200, 20}, u""});
  // "Facturas y PreFactruas" above the frame, the kinds of sale inside it, top to bottom.
  form.push_back({OptionBoxId(PrintOption::kInvoices),
                  K::kCheckBox,
                  kOptions,
                  kNone,
                  {16, 44, 300, 22},
                  PrintingOptions::Caption(PrintOption::kInvoices)});
  for (const PrintOption option :
       {PrintOption::kTable, PrintOption::kCounter, PrintOption::kDelivery}) {
    form.push_back({OptionBoxId(option),
                    K::kCheckBox,
                    kOptions,
                    kOrdersFrame,
                    {16, 28 * static_cast<int>(BoxIndex(option)) - 4, 220, 22},
                    PrintingOptions::Caption(option)});
  }
  return form;
}

}  // namespace

const std::vector<FormControl>& WindowForm() {
  static const std::vector<FormControl> kForm = MakeForm();
  return kForm;
}

const FormControl& FormControlOf(ControlId id) {
  static const std::array<const FormControl*, kControlCount> kById = [] {
    std::array<const FormControl*, kControlCount> index{};
    for (const FormControl& control : WindowForm()) {
      index[static_cast<std::size_t>(control.id)] = &control;
    }
    return index;
  }();
  return *kById.at(static_cast<std::size_t>(id));
}

ControlId OptionBoxId(PrintOption option) {
  return static_cast<ControlId>(static_cast<std::size_t>(ControlId::kOptionBox0) +
                                BoxIndex(option));
}

std::optional<PrintOption> OptionOf(ControlId id) {
  for (const PrintOption option : kPrintOptions) {
    if (OptionBoxId(option) == id) return option;
  }
  return std::nullopt;
}

}  // namespace quillon::shell
