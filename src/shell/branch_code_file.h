#pragma once
// The branch code file "Acceso" in the data folder: line 1 the branch code, line 2 the printing
// options (or "TECNICA"), Windows-1252 text with CR LF line ends as the Windows agent wrote it.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/file_system.h"

namespace quillon::shell {

inline constexpr std::size_t kMinimumCodeLength = 15;

// The lines of a file plus one empty element after the last line read: "A", "B" -> A, B, "".
// A missing or unreadable file gives exactly one empty element. CR LF, CR and LF all end a line.
// Lines are Windows-1252, unless the file starts with the UTF-8 mark: then they are UTF-8 and
// the mark is dropped. Nothing else is trimmed: blanks around a code are part of it.
std::vector<std::u16string> ReadLines(const platform::FileSystem& files,
                                      const std::filesystem::path& path);

// True when a file or folder of that name exists.
bool FileExists(const std::filesystem::path& path);

// A code good enough to start with: at least 15 characters.
bool IsValidStartCode(std::u16string_view code);
// A code typed as a replacement: at least 15 characters, and from the second character on it
// reads as a number (no letters at all, so "1234E5" is not a number here).
bool IsValidNewCode(std::u16string_view code);

class BranchCodeFile {
 public:
  BranchCodeFile(platform::FileSystem& files, const std::filesystem::path& data_dir,
                 platform::Dialogs& dialogs);

  const std::filesystem::path& Path() const { return path_; }

  // The line array after making sure line 1 holds a usable code, prompting until one is typed.
  // Element 0 is the code, element 1 the options line.
  std::vector<std::u16string> ReadBranchCode();
  // The second line as the file now holds it; the empty text when there is none.
  std::u16string ReadOptionsLine();

  // "Cambiar codigo": asks for a new code until it is valid, stores it alone in the file and
  // returns it. The caller confirms and ends the program.
  std::u16string PromptNewCode();

  // Rewrites the file with the code and the options line. Every write replaces the file whole and
  // is on the disk when it returns; a file that already holds those lines is not written.
  void SaveOptions(const std::u16string& code, const std::u16string& options);

 private:
  // Prompts with the missing-code dialog until `valid` accepts the entry.
  std::u16string PromptUntilValid(bool (*valid)(std::u16string_view));
  // Replaces the whole file; reports a failed write in a message box and returns false.
  bool WriteLines(const std::vector<std::u16string>& lines);

  platform::FileSystem& files_;
  std::filesystem::path path_;
  platform::Dialogs& dialogs_;
};

// Dialog texts.
extern const std::u16string kBranchCodeTitle;  // "Codigo de sucursal"
extern const std::u16string kMissingCodePrompt;
extern const std::u16string kChangeCodeTitle;  // "Sistema de impresion"
extern const std::u16string kChangeCodePrompt;
extern const std::u16string kCodeUpdatedMessage;

}  // namespace quillon::shell
