// Parsing throughput of realistic job texts (invoices and kitchen orders in Spanish) of about
// 1 KB, 10 KB, 100 KB and 1 MB: ParseJson side by side with well-known JSON libraries.
// Every figure counts the bytes of the job in UTF-8, so the rates compare.
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>
#ifdef QUILLON_WITH_SIMDJSON
#include <simdjson.h>
#endif

#include "json/parser.h"
#include "platform/text.h"

namespace {

using quillon::platform::Utf16ToCp1252;
using quillon::platform::Utf8ToUtf16;

const char* const kProducts[] = {"Bandeja paisa",
                                 "Ajiaco santafereño con alcaparras",
                                 "Sobrebarriga en salsa criolla",
                                 "Limonada de coco",
                                 "Jugo natural de lulo en agua",
                                 "Papas fritas grandes con queso",
                                 "Salmón a la plancha",
                                 "Arepa de choclo con quesito",
                                 "Churrasco término medio",
                                 "Cerveza nacional 330 ml",
                                 "Postre de natas",
                                 "Café tinto"};
const char* const kAreas[] = {"Cocina", "Bar", "Parrilla", "Postres"};
const char* const kNotes[] = {"Sin cebolla", "Salsa aparte", "Bien cocido",
                              "Sin hielo",   "Para llevar",  "Alergia al maní"};

std::string Config() {
  std::string out = "\"config\": [";
  const char* const rows[][2] = {{"Nombre Establecimiento", "Restaurante El Fogón de la Abuela"},
                                 {"Direccion", "Calle 10 # 5-51 La Candelaria, Bogotá"},
                                 {"Tamaño de Factura", "75"},
                                 {"Servicio", "10"}};
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    if (i != 0) out += ", ";
    out += "{\"Nombre\": \"" + std::string(rows[i][0]) + "\", \"Descripcion\": \"" + rows[i][1] +
           "\", \"Visible\": \"" + (i % 3 == 0 ? "0" : "1") + "\"}";
  }
  return out + "]";
}

std::string Item(int n) {
  const int quantity = 1 + n % 4;
  const int price = 3500 + (n * 7919) % 80000;
  std::string out = "{\"Cantidad\": " + std::to_string(quantity) + ", \"NombreProducto\": \"" +
                    kProducts[n % std::size(kProducts)] +
                    "\", \"Valor\": " + std::to_string(price) + "." + std::to_string(10 + n % 90) +
                    ", \"Area\": \"" + kAreas[n % std::size(kAreas)] + "\", \"Detalle\": ";
  if (n % 3 == 0) {
    out += "null";
  } else {
    out += "[\"" + std::string(kNotes[n % std::size(kNotes)]) + "\", \"" +
           kNotes[(n + 1) % std::size(kNotes)] + "\"]";
  }
  out += ", \"Impuesto\": {\"nombre\": \"Impoconsumo 8%\", \"base\": " + std::to_string(price) +
         ", \"valor\": " + std::to_string(price * 8 / 100) +
         ".5}, \"Enviado\": " + (n % 2 == 0 ? "true" : "false") + "}";
  return out;
}

// An invoice job of about `target` bytes (UTF-8), with as many items as it takes.
std::string InvoiceJob(std::size_t target) {
  std::string head = "{";
  head += Config();
  head +=
      ", \"tipo\": \"factura\", \"dato\": {\"mesa\": 15, \"nomMesa\": \"Mesa 15\", "
      "\"vendedor\": \"Diego Salas\", \"fechaFactura\": \"2024-05-18\", \"tipoMesa\": \"MESA\", "
      "\"cliente\": {\"Nombre\": \"Inversiones Andinas S.A.S.\", \"IdDocumento\": \"nit "
      "901.555.222-1\"}, \"pedido\": [";
  const std::string tail =
      "], \"descuento\": 0, \"totalPagar\": 119000, \"cuentaCerrada\": true, \"mediosPago\": "
      "[{\"Producto\": \"MEDIO DE PAGO Tarjeta débito\", \"Detalle\": \"Bancolombia\", "
      "\"Valor\": 119000}], \"propinaSugerida\": 11900.00, \"pieFactura\": \"Gracias por su "
      "visita\"}}";
  std::string out = head;
  for (int n = 0; out.size() + tail.size() < target || n == 0; ++n) {
    if (n != 0) out += ", ";
    out += Item(n);
  }
  return out + tail;
}

struct Job {
  std::string utf8;
  std::string cp1252;   // the bytes on the wire
  std::u16string text;  // what the agent parses after decoding
};

const Job& JobOfSize(std::size_t target) {
  static std::map<std::size_t, Job> jobs;
  auto found = jobs.find(target);
  if (found == jobs.end()) {
    Job job;
    job.utf8 = InvoiceJob(target);
    job.text = Utf8ToUtf16(job.utf8);
    job.cp1252 = Utf16ToCp1252(job.text);
    found = jobs.emplace(target, std::move(job)).first;
  }
  return found->second;
}

void Count(benchmark::State& state, const Job& job) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(job.utf8.size()));
  state.counters["job_bytes"] = static_cast<double>(job.utf8.size());
}

// The agent's intake of a job as it comes off the wire: Windows-1252 bytes to the tree.
void QuillonWire1252(benchmark::State& state) {
  const Job& job = JobOfSize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    quillon::json::ParseResult tree =
        quillon::json::ParseJson(job.cp1252, quillon::json::TextEncoding::kWindows1252);
    benchmark::DoNotOptimize(tree);
    if (!tree.errors.empty()) state.SkipWithError("the job did not parse");
  }
  Count(state, job);
}

// The same from a server that sends UTF-8 (--encoding utf-8).
void QuillonWireUtf8(benchmark::State& state) {
  const Job& job = JobOfSize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    quillon::json::ParseResult tree =
        quillon::json::ParseJson(job.utf8, quillon::json::TextEncoding::kUtf8);
    benchmark::DoNotOptimize(tree);
    if (!tree.errors.empty()) state.SkipWithError("the job did not parse");
  }
  Count(state, job);
}

// Text already decoded (the script evaluator's way in).
void QuillonText(benchmark::State& state) {
  const Job& job = JobOfSize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    quillon::json::ParseResult tree = quillon::json::ParseJson(job.text);
    benchmark::DoNotOptimize(tree);
    if (!tree.errors.empty()) state.SkipWithError("the job did not parse");
  }
  Count(state, job);
}

void RapidJsonDom(benchmark::State& state) {
  const Job& job = JobOfSize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(job.utf8.c_str(), job.utf8.size());
    benchmark::DoNotOptimize(document);
    if (document.HasParseError()) state.SkipWithError("the job did not parse");
  }
  Count(state, job);
}

void NlohmannJson(benchmark::State& state) {
  const Job& job = JobOfSize(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    nlohmann::json document = nlohmann::json::parse(job.utf8);
    benchmark::DoNotOptimize(document);
  }
  Count(state, job);
}

#ifdef QUILLON_WITH_SIMDJSON
// For scale only: a parser built on SIMD instructions, its buffers kept from one job to the next
// as it is meant to be used.
void SimdJsonDom(benchmark::State& state) {
  const Job& job = JobOfSize(static_cast<std::size_t>(state.range(0)));
  const simdjson::padded_string padded(job.utf8);
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element document;
    if (parser.parse(padded).get(document) != simdjson::SUCCESS) {
      state.SkipWithError("the job did not parse");
    }
    benchmark::DoNotOptimize(document);
  }
  Count(state, job);
}
#endif

void Sizes(benchmark::internal::Benchmark* b) {
  for (const int size : {1 << 10, 10 << 10, 100 << 10, 1 << 20}) b->Arg(size);
}

BENCHMARK(QuillonWire1252)->Apply(Sizes);
BENCHMARK(QuillonWireUtf8)->Apply(Sizes);
BENCHMARK(QuillonText)->Apply(Sizes);
BENCHMARK(RapidJsonDom)->Apply(Sizes);
BENCHMARK(NlohmannJson)->Apply(Sizes);
#ifdef QUILLON_WITH_SIMDJSON
BENCHMARK(SimdJsonDom)->Apply(Sizes);
#endif

}  // namespace

// The peers are timed side by side: every benchmark is repeated and the repetitions of all of
// them run interleaved in random order, so that the load other processes put on a shared
// machine falls on each parser alike. Run one after the other, a parser's figures came from
// other seconds than its peers', and their ratio moved from one process to the next with the
// load. Flags given on the command line come later and win.
int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  std::string interleaved = "--benchmark_enable_random_interleaving=true";
  std::string repetitions = "--benchmark_repetitions=7";
  std::string aggregates = "--benchmark_report_aggregates_only=true";
  args.insert(args.begin() + 1, {interleaved.data(), repetitions.data(), aggregates.data()});
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
