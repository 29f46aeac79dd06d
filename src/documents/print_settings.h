#pragma once
// The invoice's view of the job's settings rows, filled once per invoice job.
#include <cstdint>
#include <string>

#include "print/print_engine.h"

namespace quillon::documents {

struct PrintSettings {
  std::u16string legal_rep_name;
  std::u16string legal_rep_surname1;
  std::u16string legal_rep_surname2;
  std::u16string business_name;
  std::u16string economic_activity;
  std::u16string id_type;
  std::u16string invoice_prefix;
  std::u16string id_number;
  std::u16string dian_resolution;
  std::u16string dian_resolution_date;
  std::u16string first_invoice_number;
  std::u16string last_invoice_number;
  std::u16string tax_regime;
  std::u16string economic_activity_code;
  std::u16string address;
  std::u16string phone1;
  std::u16string invoice_footer;
  std::u16string invoice_header;
  bool tip_legend = false;
  bool customer_space = false;
  bool show_time = false;
  bool show_stay = false;
  bool show_guests = false;
  bool show_waiter_name = false;
  bool highlight_total = false;
  std::int16_t service = 0;
  bool tip_applies = false;
  std::u16string seller_title;
  std::u16string closed_invoice_name;
  bool tip_option_5_and_10 = false;
  std::u16string delivery_concept;
};

// Fills every field from the engine's rows, in the order of the fields above. Raises
// platform::Failure for a null "Descripcion" or a "Servicio" beyond 16 bits; the fields after the
// failing one keep what they held.
void LoadPrintSettings(const print::PrintEngine& engine, PrintSettings& settings);

}  // namespace quillon::documents
