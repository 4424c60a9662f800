// The file dialogs and the shell opening that the traffic reports window uses, behind one seam so
// that a test can choose the files instead of a person.
#pragma once

#include <windows.h>

#include <string>

namespace veltrano {

class ReportsFileDialogs {
 public:
  virtual ~ReportsFileDialogs() = default;
  // A save dialog; filter is "name|pattern|name|pattern"; filterIndex is 1-based in and out.
  // defaultExtension without its dot, or empty. False when cancelled.
  virtual bool ChooseSaveFile(HWND owner, const std::string& title, const char* filter,
                              const std::string& defaultExtension, int& filterIndex, std::string& path) = 0;
  // An open dialog for an existing file. False when cancelled.
  virtual bool ChooseExistingFile(HWND owner, const char* filter, const std::string& defaultExtension,
                                  std::string& path) = 0;
  // The shell's "open" verb, normal window.
  virtual void OpenWithShell(HWND owner, const std::string& path) = 0;
};

// The common dialogs, with the overwrite prompt and the path checks.
class CommonFileDialogs : public ReportsFileDialogs {
 public:
  bool ChooseSaveFile(HWND owner, const std::string& title, const char* filter, const std::string& defaultExtension,
                      int& filterIndex, std::string& path) override;
  bool ChooseExistingFile(HWND owner, const char* filter, const std::string& defaultExtension,
                          std::string& path) override;
  void OpenWithShell(HWND owner, const std::string& path) override;
};

}  // namespace veltrano
