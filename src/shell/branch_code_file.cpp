#include "shell/branch_code_file.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "json/number_text.h"
#include "platform/text.h"

namespace quillon::shell {

using platform::Utf8ToUtf16;

const std::u16string kBranchCodeTitle = u"Codigo de sucursal";
const std::u16string kMissingCodePrompt =
    u"No tiene registrado un codigo para esta sucursal, registrelo en el siguiente campo.\r\n"
    u"El codigo de sucursal tiene 15 digitos";
const std::u16string kChangeCodeTitle = u"Sistema de impresion";
const std::u16string kChangeCodePrompt =
    u"Escribe codigo de la sucursal y presiona Aceptar para iniciar";
const std::u16string kCodeUpdatedMessage =
    u"El codigo se ha actualizado correctamente, se va cerrar el servidor de impresoras, "
    u"porfavor vuelvelo a abrir.";

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

std::vector<std::u16string> ReadLines(const platform::FileSystem& files,
                                      const std::filesystem::path& path) {
  const std::optional<std::string> read = files.ReadFile(path);
  if (!read) return {std::u16string()};
  std::string_view bytes = *read;
  // An editor that saved the file as UTF-8 marked it so; the mark is no text of the first line.
  const bool utf8 = bytes.starts_with(kUtf8Mark);
  if (utf8) bytes.remove_prefix(kUtf8Mark.size());
  auto decode = [utf8](std::string_view line) {
    return utf8 ? platform::Utf8ToUtf16(line) : platform::Cp1252ToUtf16(line);
  };

  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(decode(bytes.substr(start)));
      break;
    }
    lines.push_back(decode(bytes.substr(start, end - start)));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  lines.emplace_back();
  return lines;
}

bool FileExists(const std::filesystem::path& path) {
  std::u16string text = path.u16string();
  if (text.size() > 3 && (text.back() == u'/' || text.back() == u'\\')) text.pop_back();
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(text), error);
}

bool IsValidStartCode(std::u16string_view code) { return code.size() >= kMinimumCodeLength; }

bool IsValidNewCode(std::u16string_view code) {
  if (code.size() < kMinimumCodeLength) return false;
  const std::u16string_view rest = code.substr(1);
  const bool has_letter = std::any_of(rest.begin(), rest.end(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  });
  return !has_letter && json::IsNumericText(rest);
}

BranchCodeFile::BranchCodeFile(platform::FileSystem& files, const std::filesystem::path& data_dir,
                               platform::Dialogs& dialogs)
    : files_(files), path_(data_dir / "Acceso"), dialogs_(dialogs) {}

std::vector<std::u16string> BranchCodeFile::ReadBranchCode() {
  std::vector<std::u16string> lines = ReadLines(files_, path_);
  if (IsValidStartCode(lines[0])) return lines;
  const std::u16string code = PromptUntilValid(&IsValidStartCode);
  // The code just typed is the one this run uses, even when the folder refuses the file.
  if (!WriteLines({code})) return {code, std::u16string(), std::u16string()};
  return ReadLines(files_, path_);
}

std::u16string BranchCodeFile::ReadOptionsLine() {
  const std::vector<std::u16string> lines = ReadLines(files_, path_);
  return lines.size() > 1 ? lines[1] : std::u16string();
}

std::u16string BranchCodeFile::PromptNewCode() {
  std::u16string code = dialogs_.InputBox(kChangeCodePrompt, kChangeCodeTitle, u"");
  WriteLines({code});
  if (!IsValidNewCode(code)) {
    code = PromptUntilValid(&IsValidNewCode);
    WriteLines({code});
  }
  return code;
}

void BranchCodeFile::SaveOptions(const std::u16string& code, const std::u16string& options) {
  WriteLines({code, options});
}

std::u16string BranchCodeFile::PromptUntilValid(bool (*valid)(std::u16string_view)) {
  std::u16string entry;
  while (!valid(entry)) entry = dialogs_.InputBox(kMissingCodePrompt, kBranchCodeTitle, u"");
  return entry;
}

bool BranchCodeFile::WriteLines(const std::vector<std::u16string>& lines) {
  std::string bytes;
  for (const std::u16string& line : lines) bytes += platform::Utf16ToCp1252(line) + "\r\n";
  // Start-up stores what it read back: a file that already says so is left alone.
  if (files_.ReadFile(path_) == bytes) return true;
  if (files_.WriteFile(path_, bytes, platform::FileSync::kFileAndFolder)) return true;
  dialogs_.MessageBox(u"No se pudo guardar el archivo " + path_.u16string() +
                          Utf8ToUtf16(": revise que la carpeta exista y admita escritura."),
                      u"", platform::MessageIcon::kError);
  return false;
}

}  // namespace quillon::shell
