// The outcome of an options page's or dialog's checks: the message to show and the control to
// bring into focus, or an empty message when the fields are accepted.
#pragma once

#include <string>

namespace veltrano {

template <typename Control>
struct PageCheck {
  std::string message;
  Control focus{};

  bool Accepted() const { return message.empty(); }
  static PageCheck Refuse(Control control, std::string text) { return {std::move(text), control}; }
};

}  // namespace veltrano
