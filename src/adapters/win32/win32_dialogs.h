#pragma once
// Message boxes, the one-line input box and the open-file dialog of Windows.
#include <windows.h>

#include <filesystem>
#include <optional>

#include "platform/dialogs.h"

namespace quillon::adapters::win32 {

class Win32Dialogs final : public platform::Dialogs {
 public:
  // `owner` centres the dialogs over a window; none is needed.
  explicit Win32Dialogs(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  void MessageBox(const std::u16string& message, const std::u16string& title,
                  platform::MessageIcon icon) override;
  // A modal box with the prompt, an edit line, "Aceptar" and "Cancelar".
  std::u16string InputBox(const std::u16string& prompt, const std::u16string& title,
                          const std::u16string& default_text) override;

 private:
  HWND owner_;
};

// The open-file dialog with the picture filter of "Cargar Imagen"; nullopt when cancelled.
std::optional<std::filesystem::path> ChoosePictureFile(HWND owner);
// The save-file dialog for a zip file, offering "diagnostico.zip"; nullopt when cancelled.
std::optional<std::filesystem::path> ChooseZipFileToSave(HWND owner);

}  // namespace quillon::adapters::win32
