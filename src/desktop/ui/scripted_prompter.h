// A Prompter for tests: records every box it was asked to show and answers questions from a
// script, so a window under test never blocks on a message box.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "desktop/ui/prompter.h"

namespace veltrano::ui {

class ScriptedPrompter : public Prompter {
 public:
  enum class Kind { kWarn, kInform, kAsk };
  struct Prompt {
    Kind kind;
    std::string text;
    HWND owner;
  };

  // Answers for the coming questions, in order; past the end every question gets defaultAnswer.
  void Answer(bool yes) { answers_.push_back(yes); }
  void SetDefaultAnswer(bool yes) { defaultAnswer_ = yes; }

  const std::vector<Prompt>& Prompts() const { return prompts_; }
  // The text of the last prompt, empty when none was shown.
  std::string LastText() const { return prompts_.empty() ? std::string() : prompts_.back().text; }
  void Clear() { prompts_.clear(); }

  void Warn(HWND owner, const std::string& text) override { prompts_.push_back({Kind::kWarn, text, owner}); }
  void Inform(HWND owner, const std::string& text) override { prompts_.push_back({Kind::kInform, text, owner}); }
  bool AskYesNo(HWND owner, const std::string& text) override {
    prompts_.push_back({Kind::kAsk, text, owner});
    if (answers_.empty()) return defaultAnswer_;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
  }

 private:
  std::vector<Prompt> prompts_;
  std::deque<bool> answers_;
  bool defaultAnswer_ = false;
};

}  // namespace veltrano::ui
