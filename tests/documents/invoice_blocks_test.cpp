// The fixed blocks of the invoice: the logo scaled to the paper or left out when it cannot be
// printed, the business header line by line, and the legal block.
#include "documents/invoice_blocks.h"

#include <gtest/gtest.h>

#include <string>

#include "document_bench.h"
#include "print/bmp_picture_decoder.h"
#include "print/bmp_writer.h"
#include "support/temp_folder.h"

namespace quillon::test {
namespace {

std::string Le32(int v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
          static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
}

// A white picture of `width` x `height` pixels as a BMP file.
std::string Bmp(int width, int height) {
  return print::BmpFileBytes(
      {width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 3, 255)});
}

class InvoiceBlocksTest : public ::testing::Test {
 protected:
  // Prints a block on its own ticket with the settings `rows` (not loaded into the record when
  // `load` is false).
  template <typename Block>
  const platform::Ticket& PrintBlock(const std::vector<Row>& rows, Block block, bool load = true) {
    bench_.Configure(rows);
    print::PrintEngine& engine = bench_.engine;
    if (load) documents::LoadPrintSettings(engine, settings_);
    engine.BeginTicket(u"Facturas", u"factura");
    block(engine);
    drawn_ = engine.EndTicket().content;
    return drawn_;
  }
  const platform::Ticket& Logo(const std::string& bytes, const std::vector<Row>& rows = {}) {
    folder_.Write("logo.bmp", bytes);
    const std::string file = (folder_.Path() / "logo.bmp").string();
    return PrintBlock(rows, [&](print::PrintEngine& e) {
      problem_ = documents::PrintLogo(e, file, print::BmpPictureDecoder());
    });
  }

  DocumentBench bench_;
  TempFolder folder_;
  documents::PrintSettings settings_;
  platform::Ticket drawn_;
  std::u16string problem_;
};

TEST_F(InvoiceBlocksTest, WideLogoIsShrunkToThePaper) {
  // 768 x 384 pixels are 20320 x 10160 hundredths of a millimetre; the paper is 35 "=" at
  // 10 points, 4200 twips, less 40.
  const auto& ticket = Logo(Bmp(768, 384));
  ASSERT_EQ(ticket.pictures.size(), 1u);
  const auto& picture = ticket.pictures[0];
  EXPECT_EQ(picture.file, (folder_.Path() / "logo.bmp").string());
  EXPECT_DOUBLE_EQ(picture.x, 0);
  EXPECT_DOUBLE_EQ(picture.y, 20);
  EXPECT_DOUBLE_EQ(picture.width, 4160);
  EXPECT_DOUBLE_EQ(picture.height, 2080);
  // 2080 twips under lines of 240 twips: 8 lines and one more.
  EXPECT_EQ(TicketLines(ticket), std::vector<std::string>(9, ""));

  const auto& narrow = Logo(Bmp(768, 384), {{"Tamano de Factura", R"("rollo 55mm")"}});
  EXPECT_DOUBLE_EQ(narrow.pictures.at(0).width, 2480);
  EXPECT_DOUBLE_EQ(narrow.pictures.at(0).height, 1240);
  EXPECT_EQ(narrow.lines.size(), 6u);
}

TEST_F(InvoiceBlocksTest, SmallLogosKeepTheirScaleAndAreCentred) {
  const auto& wide = Logo(Bmp(240, 96));  // 6350 x 2540
  ASSERT_EQ(wide.pictures.size(), 1u);
  EXPECT_NEAR(wide.pictures[0].width, 6350.0 * 500 / 1300, 1e-9);
  EXPECT_NEAR(wide.pictures[0].height, 2540.0 * 500 / 1300, 1e-9);
  EXPECT_DOUBLE_EQ(wide.pictures[0].x, 859);  // (4160 - 2442,3) / 2 = 858,8
  EXPECT_EQ(wide.lines.size(), 5u);

  const auto& small = Logo(Bmp(96, 48));  // 2540 x 1270
  ASSERT_EQ(small.pictures.size(), 1u);
  EXPECT_NEAR(small.pictures[0].width, 2540.0 * 500 / 1300, 1e-9);
  EXPECT_DOUBLE_EQ(small.pictures[0].x, 1592);
  EXPECT_EQ(small.lines.size(), 3u);
  EXPECT_EQ(problem_, u"");
}

TEST_F(InvoiceBlocksTest, LogoThatCannotBePrintedIsLeftOutWithItsReason) {
  // A header claiming 1 x 2147483647 pixels in a file of 62 bytes.
  const std::string huge = "BM" + Le32(62) + Le32(0) + Le32(62) + Le32(40) + Le32(1) +
                           Le32(2147483647) + "\x01" + std::string(1, '\0') + "\x18" +
                           std::string(33, '\0');
  const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + Le32(1 << 24);
  const std::vector<std::pair<std::string, std::u16string>> logos = {
      {huge, u"logo.bmp no es una imagen BMP, GIF, JPEG o PNG que se pueda leer"},
      {png, u"logo.bmp no es una imagen BMP, GIF, JPEG o PNG que se pueda leer"},
      {"", u"el archivo logo.bmp está vacío"},
      // 60 x 1800 pixels, scaled as a small logo: 2585 dots down the roll.
      {Bmp(60, 1800), u"la imagen de 60 × 1800 píxeles es demasiado alta para el rollo"}};
  for (const auto& [bytes, reason] : logos) {
    const auto& ticket = Logo(bytes);
    EXPECT_TRUE(ticket.pictures.empty());
    EXPECT_TRUE(ticket.lines.empty());
    EXPECT_EQ(problem_, reason);
  }
  // As tall as a roll takes: 40 x 1390 pixels are 1996 dots.
  EXPECT_EQ(Logo(Bmp(40, 1390)).pictures.size(), 1u);
  EXPECT_EQ(problem_, u"");
}

TEST_F(InvoiceBlocksTest, InvoicesPrintWithoutABadLogoAndSayWhyOnce) {
  const std::string huge = "BM" + Le32(62) + Le32(0) + Le32(62) + Le32(40) + Le32(1) +
                           Le32(2147483647) + "\x01" + std::string(1, '\0') + "\x18" +
                           std::string(33, '\0');
  bench_.context.data_dir = folder_.Path().string();
  bench_.Configure({});
  for (const std::string& logo :
       {huge, std::string("\x89PNG\r\n\x1A\n", 8) + "IHDR", std::string()}) {
    folder_.Write("logo.bmp", logo);
    bench_.Invoice(InvoiceJson());
  }
  const auto tickets = bench_.Tickets(u"Facturas");
  ASSERT_EQ(tickets.size(), 3u);
  for (const auto& ticket : tickets) {
    EXPECT_LT(ticket.size(), 40u);
    EXPECT_EQ(ticket.front(), std::string(37, '='));  // the header comes first
  }
  std::vector<std::u16string> warnings;
  for (const auto& balloon : bench_.notifier.balloons) {
    if (balloon.icon == platform::BalloonIcon::kWarning) warnings.push_back(balloon.text);
  }
  EXPECT_EQ(warnings, std::vector<std::u16string>{
                          u"El logo no se puede imprimir: logo.bmp no es una imagen BMP, GIF, "
                          u"JPEG o PNG que se pueda leer"});
}

TEST_F(InvoiceBlocksTest, HeaderLinesFollowTheirRows) {
  const std::vector<Row> rows = {{"Nombre Establecimiento", R"("")", R"("1")"},
                                 {"Actividad Economica", R"("Restaurante")", "1"},
                                 {"Codigo Actividad Economica", R"("5611")", R"("0")"},
                                 {"Tipo Identificacion", R"("")"},
                                 {"Numero Identificacion", R"("900-1")", R"("1")"},
                                 {"Nombre Representante Legal", R"("")", R"("1")"},
                                 {"Direccion", R"("Calle 1")", "true"},
                                 {"Telefono 1", "3001234", R"("1")"},
                                 {"Telefono 2", R"("555")", R"("1")"}};
  const auto lines =
      TicketLines(PrintBlock(rows, [&](auto& e) { documents::PrintInvoiceHeader(e, settings_); }));
  const std::vector<std::string> expected = {
      std::string(37, '='),
      std::string(13, ' ') + "RESTAURANTE",  // (40 - 11) / 2 = 14,5 -> column 14
      std::string(17, ' ') + "900-1",        // the empty type's blank is trimmed away
      "",                                    // the representative's empty name parts
      std::string(13, ' ') + "TEL 3001234"};
  EXPECT_EQ(lines, expected);
}

TEST_F(InvoiceBlocksTest, HeaderGoesOnAfterAFailingLine) {
  // A row that cannot be read: every lookup that reaches it fails, the one found before it
  // still prints.
  const std::string rows = R"([{"Nombre": "Tamaño de Factura", "Descripcion": "rollo 75mm"},
                               {"Nombre": "Tamano de Factura", "Descripcion": "rollo 75mm"},
                               {"Nombre": "Nombre Representante Legal", "Visible": "1"}, 42,
                               {"Nombre": "Direccion", "Descripcion": "x", "Visible": "1"}])";
  bench_.engine.SetSettingsRows(JsonValue(rows));
  bench_.engine.BeginTicket(u"Facturas", u"factura");
  documents::PrintInvoiceHeader(bench_.engine, settings_);
  EXPECT_EQ(TicketLines(bench_.engine.EndTicket().content),
            (std::vector<std::string>{std::string(37, '='), ""}));
}

TEST_F(InvoiceBlocksTest, LegalBlockRangeWithAndWithoutPrefix) {
  std::vector<Row> rows = {{"Regimen", R"("Simplificado")", R"("1")"},
                           {"Nombre Regimen", R"("No responsable de IVA")"},
                           {"Resolucion Dian Facturacion", R"("187640")", R"("1")"},
                           {"Resolucion Dian Fecha", R"("2023-01-15")"},
                           {"Factura Prefijo", R"("FE")"},
                           {"Factura Inicial", R"("1001")", R"("1")"},
                           {"Factura Final", R"("5000")"}};
  const auto print_block = [&](auto& e) { documents::PrintLegalBlock(e, settings_); };
  EXPECT_EQ(
      TicketLines(PrintBlock(rows, print_block)),
      (std::vector<std::string>{
          " ", std::string(9, ' ') + "NO RESPONSABLE DE IVA",
          std::string(8, ' ') + "RESOLUCION DIAN 187640", std::string(12, ' ') + "DEL 2023-01-15",
          std::string(5, ' ') + "DESDE FE-1001 HASTA FE-5000", std::string(37, '=')}));
  rows[2].visible = R"("0")";
  rows[4].value = R"("")";
  rows[0].visible = "0";
  EXPECT_EQ(TicketLines(PrintBlock(rows, print_block)),
            (std::vector<std::string>{" ", std::string(9, ' ') + "DESDE 1001 HASTA 5000",
                                      std::string(37, '=')}));
}

}  // namespace
}  // namespace quillon::test
