#include "shell/ticket_picture.h"

#include <algorithm>

#include "print/escpos_encoder.h"
#include "print/receipt_renderer.h"

namespace quillon::shell {

platform::GreyPicture TicketPaper(const platform::Ticket& ticket,
                                  const platform::PictureDecoder& pictures) {
  const print::ReceiptPaper paper =
      print::RenderEscPos(print::EncodeEscPos(ticket, {.paper_dots = 0, .pictures = &pictures}),
                          print::RollDotsFor(ticket));
  platform::GreyPicture picture{paper.width, paper.height, {}};
  picture.levels.resize(paper.dots.size());
  std::transform(paper.dots.begin(), paper.dots.end(), picture.levels.begin(),
                 [](std::uint8_t dot) { return dot != 0 ? std::uint8_t{0} : std::uint8_t{255}; });
  return picture;
}

}  // namespace quillon::shell
