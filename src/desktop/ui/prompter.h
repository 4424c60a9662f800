// The one way the desktop program asks or tells the user something in a message box, so that a
// test can answer instead of a person. Every box is titled "Veltrano".
#pragma once

#include <windows.h>

#include <string>

namespace veltrano::ui {

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Refusals and failures (warning icon).
  virtual void Warn(HWND owner, const std::string& text) = 0;
  // Explanations (information icon).
  virtual void Inform(HWND owner, const std::string& text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(HWND owner, const std::string& text) = 0;
};

// Real message boxes.
class MessageBoxPrompter : public Prompter {
 public:
  void Warn(HWND owner, const std::string& text) override;
  void Inform(HWND owner, const std::string& text) override;
  bool AskYesNo(HWND owner, const std::string& text) override;
};

}  // namespace veltrano::ui
