#pragma once
// A ticket's paper as the window shows it: the ESC/POS bytes a receipt printer would receive for
// it (the bytes a reprint sends), drawn by the receipt renderer at the width of its roll.
#include "platform/picture_decoder.h"
#include "platform/printer_system.h"

namespace quillon::shell {

// One grey level a dot: black where the printer prints, white elsewhere.
platform::GreyPicture TicketPaper(const platform::Ticket& ticket,
                                  const platform::PictureDecoder& pictures);

}  // namespace quillon::shell
