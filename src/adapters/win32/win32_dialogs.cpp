#include "adapters/win32/win32_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/win32/wide_text.h"

namespace quillon::adapters::win32 {
namespace {

// The program's name stands in for an empty title, as Windows' own boxes do.
constexpr wchar_t kProgramTitle[] = L"quillon-agent";

constexpr int kPromptId = 100;
constexpr int kEditId = 101;

struct InputState {
  std::wstring prompt;
  std::wstring title;
  std::wstring text;
};

// A dialog template in memory: the box and its four controls, in dialog units.
class DialogTemplate {
 public:
  void Header(DWORD style, short controls, short width, short height) {
    Align(4);
    Add32(style);
    Add32(0);  // extended style
    Add({static_cast<WORD>(controls), 0, 0, static_cast<WORD>(width), static_cast<WORD>(height)});
    Add({0, 0});  // no menu, the standard class
    Text(L"");    // the caption is set at WM_INITDIALOG
    Add({9});     // point size of the font below
    Text(L"Arial");
  }
  void Control(DWORD style, short x, short y, short width, short height, WORD id, WORD class_atom,
               const wchar_t* text) {
    Align(4);
    Add32(style | WS_CHILD | WS_VISIBLE);
    Add32(0);
    Add({static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(width),
         static_cast<WORD>(height), id});
    Add({0xFFFF, class_atom});
    Text(text);
    Add({0});  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Add(std::initializer_list<WORD> words) {
    for (const WORD word : words) words_.push_back(word);
  }
  void Add32(DWORD value) { Add({LOWORD(value), HIWORD(value)}); }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }
  void Align(std::size_t bytes) {
    while ((words_.size() * sizeof(WORD)) % bytes != 0) words_.push_back(0);
  }
  std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

INT_PTR CALLBACK InputProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<InputState*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      SetWindowTextW(dialog, state->title.c_str());
      SetDlgItemTextW(dialog, kPromptId, state->prompt.c_str());
      SetDlgItemTextW(dialog, kEditId, state->text.c_str());
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        const int length = GetWindowTextLengthW(GetDlgItem(dialog, kEditId));
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        GetDlgItemTextW(dialog, kEditId, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        state->text = text;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        state->text.clear();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

void Win32Dialogs::MessageBox(const std::u16string& message, const std::u16string& title,
                              platform::MessageIcon icon) {
  UINT style = MB_OK | MB_SETFOREGROUND;
  switch (icon) {
    case platform::MessageIcon::kInformation:
      style |= MB_ICONINFORMATION;
      break;
    case platform::MessageIcon::kWarning:
      style |= MB_ICONWARNING;
      break;
    case platform::MessageIcon::kError:
      style |= MB_ICONERROR;
      break;
    case platform::MessageIcon::kQuestion:
      style |= MB_ICONQUESTION;
      break;
    case platform::MessageIcon::kNone:
      break;
  }
  const std::wstring caption = title.empty() ? std::wstring(kProgramTitle) : Wide(title);
  MessageBoxW(owner_, Wide(message).c_str(), caption.c_str(), style);
}

std::u16string Win32Dialogs::InputBox(const std::u16string& prompt, const std::u16string& title,
                                      const std::u16string& default_text) {
  DialogTemplate box;
  box.Header(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 4, 260,
             86);
  box.Control(SS_LEFT, 7, 7, 190, 50, kPromptId, kStaticAtom, L"");
  box.Control(BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 7, 50, 14, IDOK, kButtonAtom, L"Aceptar");
  box.Control(BS_PUSHBUTTON | WS_TABSTOP, 203, 24, 50, 14, IDCANCEL, kButtonAtom, L"Cancelar");
  box.Control(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 64, 246, 14, kEditId, kEditAtom, L"");
  InputState state{Wide(prompt), title.empty() ? std::wstring(kProgramTitle) : Wide(title),
                   Wide(default_text)};
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.Get(), owner_, &InputProcedure,
                          reinterpret_cast<LPARAM>(&state));
  return FromWide(state.text);
}

namespace {

// An open-file or save-file dialog; `offered` is the name it starts with.
std::optional<std::filesystem::path> FileDialog(HWND owner, const wchar_t* filter, bool save,
                                                std::wstring_view offered) {
  std::wstring file(MAX_PATH * 4, L'\0');
  std::copy(offered.begin(), offered.end(), file.begin());
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (save) {
    dialog.lpstrDefExt = L"zip";
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  }
  file.resize(file.find(L'\0'));
  return std::filesystem::path(file);
}

}  // namespace

std::optional<std::filesystem::path> ChoosePictureFile(HWND owner) {
  // Pairs of caption and patterns, each ended by a zero, the list by a second one.
  return FileDialog(owner, L"Imágenes Bmp,Gif, Jpg,jpeg)\0*.bmp;*.gif;*.jpg;*.jpeg\0Todos\0*.*\0",
                    false, L"");
}

std::optional<std::filesystem::path> ChooseZipFileToSave(HWND owner) {
  return FileDialog(owner, L"Archivos zip\0*.zip\0", true, L"diagnostico.zip");
}

}  // namespace quillon::adapters::win32
