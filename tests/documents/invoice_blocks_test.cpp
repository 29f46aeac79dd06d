// The fixed blocks of the invoice: the logo read from BMP, GIF or JPEG headers and scaled to the
// paper, the business header line by line, and the legal block.
#include "documents/invoice_blocks.h"

#include <gtest/gtest.h>

#include <string>

#include "document_bench.h"
#include "support/temp_folder.h"

namespace quillon::test {
namespace {

std::string Le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Be16(int v) { return {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)}; }
std::string Le32(int v) { return Le16(v & 0xFFFF) + Le16((v >> 16) & 0xFFFF); }

std::string Bmp(int width, int height) {
  return "BM" + Le32(54) + Le32(0) + Le32(54) + Le32(40) + Le32(width) + Le32(height) +
         std::string(28, '\0');
}
std::string Gif(int width, int height) { return "GIF89a" + Le16(width) + Le16(height) + "\x80"; }
std::string Jpeg(int width, int height) {
  return std::string("\xFF\xD8\xFF\xE0", 4) + Be16(16) + "JFIF" + std::string(10, '\0') +
         std::string("\xFF\xC0", 2) + Be16(17) + "\x08" + Be16(height) + Be16(width) +
         std::string(10, '\0');
}

class InvoiceBlocksTest : public ::testing::Test {
 protected:
  // Prints a block on its own ticket with the settings `rows` (not loaded into the record when
  // `load` is false).
  template <typename Block>
  const platform::Ticket& PrintBlock(const std::vector<Row>& rows, Block block, bool load = true) {
    bench.Configure(rows);
    print::PrintEngine& engine = bench.engine;
    if (load) documents::LoadPrintSettings(engine, settings);
    engine.BeginTicket(u"Facturas", u"factura");
    block(engine);
    drawn = engine.EndTicket().content;
    return drawn;
  }
  const platform::Ticket& Logo(const std::string& bytes, const std::vector<Row>& rows = {}) {
    folder.Write("logo.bmp", bytes);
    const std::string file = (folder.Path() / "logo.bmp").string();
    return PrintBlock(rows, [&](print::PrintEngine& e) { documents::PrintLogo(e, file); });
  }

  DocumentBench bench;
  TempFolder folder;
  documents::PrintSettings settings;
  platform::Ticket drawn;
};

TEST_F(InvoiceBlocksTest, WideLogoIsShrunkToThePaper) {
  // 768 x 384 pixels are 20320 x 10160 hundredths of a millimetre; the paper is 35 "=" at
  // 10 points, 4200 twips, less 40.
  const auto& ticket = Logo(Bmp(768, 384));
  ASSERT_EQ(ticket.pictures.size(), 1u);
  const auto& picture = ticket.pictures[0];
  EXPECT_EQ(picture.file, (folder.Path() / "logo.bmp").string());
  EXPECT_DOUBLE_EQ(picture.x, 0);
  EXPECT_DOUBLE_EQ(picture.y, 20);
  EXPECT_DOUBLE_EQ(picture.width, 4160);
  EXPECT_DOUBLE_EQ(picture.height, 2080);
  // 2080 twips under lines of 240 twips: 8 lines and one more.
  EXPECT_EQ(TicketLines(ticket), std::vector<std::string>(9, ""));

  const auto& narrow = Logo(Bmp(768, -384), {{"Tamano de Factura", R"("rollo 55mm")"}});
  EXPECT_DOUBLE_EQ(narrow.pictures.at(0).width, 2480);
  EXPECT_DOUBLE_EQ(narrow.pictures.at(0).height, 1240);
  EXPECT_EQ(narrow.lines.size(), 6u);
}

TEST_F(InvoiceBlocksTest, SmallLogosKeepTheirScaleAndAreCentred) {
  const auto& gif = Logo(Gif(240, 96));  // 6350 x 2540
  ASSERT_EQ(gif.pictures.size(), 1u);
  EXPECT_NEAR(gif.pictures[0].width, 6350.0 * 500 / 1300, 1e-9);
  EXPECT_NEAR(gif.pictures[0].height, 2540.0 * 500 / 1300, 1e-9);
  EXPECT_DOUBLE_EQ(gif.pictures[0].x, 859);  // (4160 - 2442,3) / 2 = 858,8
  EXPECT_EQ(gif.lines.size(), 5u);

  const auto& jpeg = Logo(Jpeg(96, 48));  // 2540 x 1270
  ASSERT_EQ(jpeg.pictures.size(), 1u);
  EXPECT_NEAR(jpeg.pictures[0].width, 2540.0 * 500 / 1300, 1e-9);
  EXPECT_DOUBLE_EQ(jpeg.pictures[0].x, 1592);
  EXPECT_EQ(jpeg.lines.size(), 3u);
}

TEST_F(InvoiceBlocksTest, LogoThatIsNoPictureStopsTheInvoiceWithAWarning) {
  folder.Write("logo.bmp", "esto no es una imagen");
  bench.context.data_dir = folder.Path().string();
  bench.Configure({});
  bench.Invoice(InvoiceJson());
  EXPECT_EQ(bench.TicketCount(), 0);
  ASSERT_EQ(bench.notifier.balloons.size(), 1u);
  EXPECT_EQ(bench.notifier.balloons[0].text,
            u"No se pudo imprimir la factura: La imagen no es válida");
  EXPECT_EQ(bench.notifier.balloons[0].title, u"Error al imprimir");
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
      TicketLines(PrintBlock(rows, [&](auto& e) { documents::PrintInvoiceHeader(e, settings); }));
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
  bench.engine.SetSettingsRows(JsonValue(rows));
  bench.engine.BeginTicket(u"Facturas", u"factura");
  documents::PrintInvoiceHeader(bench.engine, settings);
  EXPECT_EQ(TicketLines(bench.engine.EndTicket().content),
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
  const auto print_block = [&](auto& e) { documents::PrintLegalBlock(e, settings); };
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
