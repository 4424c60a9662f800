// The Graph & Text options page as plain logic: colour and font defaults, list items, the checks
// of the typed numbers and the values applying hands to the main window.
#pragma once

#include <cstdint>
#include <string>

#include "settings/options.h"
#include "view/page_check.h"

namespace veltrano {

// The fifteen colour buttons, in the order they stand on the page.
constexpr int kColourButtonCount = 15;
struct ColourButton {
  const char* text;
  std::uint32_t Options::*colour;
};
extern const ColourButton kColourButtons[kColourButtonCount];

// "D&efault" for colours: every colour back to its start-up value.
void ResetColours(Options& options);
// "De&fault" for fonts: Tahoma 13 for all four, bold only for the title (unlike the start-up
// defaults of the scale and time fonts).
void ResetFonts(Options& options);
// A font chosen in the picker: its cell height is kept as a positive character height.
LogFont FontFromPicker(LogFont font);

struct ListItem {
  const char* text;
  std::uint32_t value;
};
extern const ListItem kGraphStyleItems[2];
extern const ListItem kGridStyleItems[5];
extern const ListItem kTimeFormatItems[3];
// The item of a value; the first item when the value is not on the list.
int ListIndexFor(const ListItem* items, int count, std::uint32_t value);

enum class GraphTextControl { kNone, kHeightPercent, kPulseWidth, kPulseSpace, kTimeGridInterval };

struct GraphTextPageFields {
  Options values;  // colours and fonts as picked on the page
  std::string heightPercent;
  std::string pulseWidth;
  std::string pulseSpace;
  std::string timeGridInterval;
  int graphStyleIndex = 0;
  int scaleGridStyleIndex = 0;
  int timeGridStyleIndex = 0;
  int timeFormatIndex = 0;
};

// Checks the typed numbers in order; when accepted, `result` holds every value the page edits.
PageCheck<GraphTextControl> ReadGraphTextPage(const GraphTextPageFields& fields, Options& result);

// The main window's options after the page is applied: colours, fonts and graph style from the
// page, everything else as it was.
Options ApplyGraphTextPage(const Options& current, const Options& page);

}  // namespace veltrano
