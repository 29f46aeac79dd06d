#include "adapters/spool/ticket_json.h"

#include <charconv>

#include "platform/text.h"

namespace quillon::adapters::spool {
namespace {

void AppendString(std::string& out, std::u16string_view text) {
  out += platform::Utf16ToUtf8(platform::QuotedJsonString(text));
}

void AppendNumber(std::string& out, double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendRun(std::string& out, const platform::TicketRun& run) {
  out += "{\"column\": " + std::to_string(run.column) + ", \"text\": ";
  AppendString(out, run.text);
  out += ", \"font\": ";
  AppendString(out, run.font.name);
  out += ", \"size\": ";
  AppendNumber(out, run.font.size);
  out += run.font.bold ? ", \"bold\": true}" : ", \"bold\": false}";
}

void AppendPicture(std::string& out, const platform::TicketPicture& picture) {
  out += "{\"file\": ";
  AppendString(out, platform::Utf8ToUtf16(picture.file));
  const std::pair<const char*, double> fields[] = {
      {"x", picture.x}, {"y", picture.y}, {"width", picture.width}, {"height", picture.height}};
  for (const auto& [name, value] : fields) {
    out += std::string(", \"") + name + "\": ";
    AppendNumber(out, value);
  }
  out += ", \"line\": " + std::to_string(picture.line_index) + "}";
}

}  // namespace

std::string TicketJson(const platform::Ticket& ticket) {
  std::string out = "{\"lines\": [\n";
  for (std::size_t i = 0; i < ticket.lines.size(); ++i) {
    out += "  {\"runs\": [";
    const auto& runs = ticket.lines[i].runs;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      if (r != 0) out += ", ";
      AppendRun(out, runs[r]);
    }
    out += i + 1 < ticket.lines.size() ? "]},\n" : "]}\n";
  }
  out += "],\n\"pictures\": [\n";
  for (std::size_t i = 0; i < ticket.pictures.size(); ++i) {
    out += "  ";
    AppendPicture(out, ticket.pictures[i]);
    out += i + 1 < ticket.pictures.size() ? ",\n" : "\n";
  }
  out += "]}\n";
  return out;
}

}  // namespace quillon::adapters::spool
