#include "app/render_escpos.h"

#include <cstdio>
#include <exception>
#include <fstream>

#include "app/job_file.h"
#include "print/receipt_renderer.h"

namespace quillon::app {

int RenderEscPosFile(const std::string& input, const std::string& output) {
  const std::optional<std::string> bytes = ReadJobFile(input);
  if (!bytes) {
    std::fprintf(stderr, "No se pudo leer %s\n", input.c_str());
    return 2;
  }
  std::string png;
  try {
    png = print::RenderEscPosPng(*bytes);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "No se pudo dibujar %s: %s\n", input.c_str(), error.what());
    return 1;
  }
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(png.data(), static_cast<std::streamsize>(png.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "No se pudo escribir %s\n", output.c_str());
    return 1;
  }
  return 0;
}

}  // namespace quillon::app
