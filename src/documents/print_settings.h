#pragma once
// The invoice's view of the job's settings rows, filled once per invoice job.
#include <cstdint>
#include <string>

#include "print/print_engine.h"

namespace quillon::documents {

struct PrintSettings {
  std::u16string legalRepName;
  std::u16string legalRepSurname1;
  std::u16string legalRepSurname2;
  std::u16string businessName;
  std::u16string economicActivity;
  std::u16string idType;
  std::u16string invoicePrefix;
  std::u16string idNumber;
  std::u16string dianResolution;
  std::u16string dianResolutionDate;
  std::u16string firstInvoiceNumber;
  std::u16string lastInvoiceNumber;
  std::u16string taxRegime;
  std::u16string economicActivityCode;
  std::u16string address;
  std::u16string phone1;
  std::u16string invoiceFooter;
  std::u16string invoiceHeader;
  bool tipLegend = false;
  bool customerSpace = false;
  bool showTime = false;
  bool showStay = false;
  bool showGuests = false;
  bool showWaiterName = false;
  bool highlightTotal = false;
  std::int16_t service = 0;
  bool tipApplies = false;
  std::u16string sellerTitle;
  std::u16string closedInvoiceName;
  bool tipOption5and10 = false;
  std::u16string deliveryConcept;
};

// Fills every field from the engine's rows, in the order of the fields above. Raises
// platform::Failure for a null "Descripcion" or a "Servicio" beyond 16 bits; the fields after the
// failing one keep what they held.
void LoadPrintSettings(const print::PrintEngine& engine, PrintSettings& settings);

}  // namespace quillon::documents
