// Common file dialogs with a 260-character name buffer.
#include "desktop/summary_file_dialogs.h"

#include <commdlg.h>
#include <shellapi.h>

#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

// "a|b|c|d" becomes the double-NUL-terminated list the dialogs take.
std::wstring FilterList(const char* filter) {
  std::wstring list = Widen(filter);
  for (auto& c : list)
    if (c == L'|') c = L'\0';
  list.push_back(L'\0');
  return list;
}

}  // namespace

bool CommonFileDialogs::ChooseSaveFile(HWND owner, const std::string& title, const char* filter,
                                       const std::string& defaultExtension, int& filterIndex, std::string& path) {
  wchar_t name[MAX_PATH] = {};
  const std::wstring filters = FilterList(filter);
  const std::wstring caption = Widen(title);
  const std::wstring extension = Widen(defaultExtension);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(filterIndex);
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = caption.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return false;
  filterIndex = static_cast<int>(dialog.nFilterIndex);
  path = Narrow(name, wcslen(name));
  return true;
}

bool CommonFileDialogs::ChooseExistingFile(HWND owner, const char* filter, const std::string& defaultExtension,
                                           std::string& path) {
  wchar_t name[MAX_PATH] = {};
  const std::wstring filters = FilterList(filter);
  const std::wstring extension = Widen(defaultExtension);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return false;
  path = Narrow(name, wcslen(name));
  return true;
}

void CommonFileDialogs::OpenWithShell(HWND owner, const std::string& path) {
  ShellExecuteW(owner, L"open", Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace veltrano
