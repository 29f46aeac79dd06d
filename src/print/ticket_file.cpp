#include "print/ticket_file.h"

#include <charconv>
#include <vector>

#include "platform/text.h"

namespace quillon::print {
namespace {

constexpr std::string_view kFirstLine = "quillon-ticket 1";
constexpr std::string_view kLastLine = "fin";

// Texts may hold any character: tabs, line ends and backslashes are escaped.
std::string Escaped(std::u16string_view text) {
  std::string out;
  for (const char c : platform::Utf16ToUtf8(text)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::optional<std::u16string> Unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out.push_back(field[i]);
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case '\\':
        out.push_back('\\');
        break;
      case 't':
        out.push_back('\t');
        break;
      case 'n':
        out.push_back('\n');
        break;
      case 'r':
        out.push_back('\r');
        break;
      default:
        return std::nullopt;
    }
  }
  return platform::Utf8ToUtf16(out);
}

std::string Number(double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, result.ptr);
}

template <typename T>
std::optional<T> ParseNumber(std::string_view field) {
  T value{};
  const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
  if (result.ec != std::errc() || result.ptr != field.data() + field.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string_view::npos;
       start = at + 1) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

// Reads the body lines of a ticket file into `record`; false at the first line that does not fit.
class Reader {
 public:
  explicit Reader(TicketRecord& record) : record_(record) {}

  bool Line(std::string_view line) {
    const std::vector<std::string_view> f = Split(line, '\t');
    const std::string_view kind = f[0];
    if (kind == "id" && f.size() == 2) return Set(record_.id, ParseNumber<std::uint64_t>(f[1]));
    if (kind == "impresora" && f.size() == 2) return Set(record_.ticket.printer, Unescaped(f[1]));
    if (kind == "tipo" && f.size() == 2) return Set(record_.ticket.kind, Unescaped(f[1]));
    if (kind == "origen" && f.size() == 2 && !f[1].empty()) {
      record_.ticket.origin = std::string(f[1]);
      return true;
    }
    if (kind == "creado" && f.size() == 2) {
      return Set(record_.created, platform::ParseDateTime(f[1]));
    }
    if (kind == "linea" && f.size() == 2) {
      record_.ticket.content.lines.emplace_back();
      return Set(record_.ticket.content.lines.back().height_points, ParseNumber<double>(f[1]));
    }
    if (kind == "texto" && f.size() == 7 && !record_.ticket.content.lines.empty()) return Run(f);
    if (kind == "imagen" && f.size() == 7) return Picture(f);
    if (kind == "enviado" && f.size() == 3) {
      return Set(record_.sent_to, Unescaped(f[1])) &&
             Set(record_.job, ParseNumber<std::int64_t>(f[2])) && record_.job > 0;
    }
    return false;
  }

 private:
  template <typename T, typename U>
  static bool Set(T& field, std::optional<U> value) {
    if (!value) return false;
    field = std::move(*value);
    return true;
  }

  bool Run(const std::vector<std::string_view>& f) {
    platform::TicketRun run;
    const bool read = Set(run.column, ParseNumber<int>(f[1])) &&
                      Set(run.font.size, ParseNumber<double>(f[2])) &&
                      (f[3] == "0" || f[3] == "1") && (f[4] == "0" || f[4] == "1") &&
                      Set(run.font.name, Unescaped(f[5])) && Set(run.text, Unescaped(f[6]));
    run.font.bold = f[3] == "1";
    run.font.italic = f[4] == "1";
    if (read) record_.ticket.content.lines.back().runs.push_back(std::move(run));
    return read;
  }

  bool Picture(const std::vector<std::string_view>& f) {
    platform::TicketPicture picture;
    std::optional<std::u16string> file = Unescaped(f[6]);
    const bool read = Set(picture.line_index, ParseNumber<int>(f[1])) &&
                      Set(picture.x, ParseNumber<double>(f[2])) &&
                      Set(picture.y, ParseNumber<double>(f[3])) &&
                      Set(picture.width, ParseNumber<double>(f[4])) &&
                      Set(picture.height, ParseNumber<double>(f[5])) && file.has_value();
    if (!read) return false;
    picture.file = platform::Utf16ToUtf8(*file);
    record_.ticket.content.pictures.push_back(std::move(picture));
    return true;
  }

  TicketRecord& record_;
};

}  // namespace

std::string TicketFileText(const TicketRecord& record) {
  const DrawnTicket& ticket = record.ticket;
  std::string out(kFirstLine);
  out += "\nid\t" + std::to_string(record.id);
  out += "\nimpresora\t" + Escaped(ticket.printer);
  out += "\ntipo\t" + Escaped(ticket.kind);
  if (!ticket.origin.empty()) out += "\norigen\t" + ticket.origin;
  out += "\ncreado\t" + platform::DateTimeText(record.created);
  for (const platform::TicketLine& line : ticket.content.lines) {
    out += "\nlinea\t" + Number(line.height_points);
    for (const platform::TicketRun& run : line.runs) {
      out += "\ntexto\t" + std::to_string(run.column) + '\t' + Number(run.font.size) + '\t' +
             (run.font.bold ? '1' : '0') + '\t' + (run.font.italic ? '1' : '0') + '\t' +
             Escaped(run.font.name) + '\t' + Escaped(run.text);
    }
  }
  for (const platform::TicketPicture& picture : ticket.content.pictures) {
    out += "\nimagen\t" + std::to_string(picture.line_index) + '\t' + Number(picture.x) + '\t' +
           Number(picture.y) + '\t' + Number(picture.width) + '\t' + Number(picture.height) + '\t' +
           Escaped(platform::Utf8ToUtf16(picture.file));
  }
  if (record.InPrinter()) {
    out += "\nenviado\t" + Escaped(record.sent_to) + '\t' + std::to_string(record.job);
  }
  out += '\n';
  out += kLastLine;
  out += '\n';
  return out;
}

std::optional<TicketRecord> ReadTicketFile(std::string_view text) {
  if (text.empty() || text.back() != '\n') return std::nullopt;
  std::vector<std::string_view> lines = Split(text.substr(0, text.size() - 1), '\n');
  if (lines.size() < 2 || lines.front() != kFirstLine || lines.back() != kLastLine) {
    return std::nullopt;
  }
  TicketRecord record;
  Reader reader(record);
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    if (!reader.Line(lines[i])) return std::nullopt;
  }
  if (record.id == 0) return std::nullopt;
  return record;
}

}  // namespace quillon::print
