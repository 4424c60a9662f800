// Defaults, items, checks and the apply of the Graph & Text options page.
#include "view/graph_text_page_model.h"

#include <cstdlib>

#include "view/number_field.h"

namespace veltrano {

const ColourButton kColourButtons[kColourButtonCount] = {
    {"&Download", &Options::downColor},
    {"&Upload", &Options::upColor},
    {"&Both Dw && Up", &Options::bothDownUpColor},
    {"Avg Down &Line", &Options::avgDownLineColor},
    {"Avg U&p Line", &Options::avgUpLineColor},
    {"Ba&ckground", &Options::graphBkgColor},
    {"Border", &Options::borderColor},
    {"Title Bkg", &Options::titleBkgColor},
    {"Title Text", &Options::titleTextColor},
    {"Rate Bkg", &Options::rateBkgColor},
    {"Rate Text", &Options::rateTextColor},
    {"Scale &Grid", &Options::gridColor},
    {"Scale Text", &Options::scaleTextColor},
    {"Time Grid", &Options::timeGridColor},
    {"Time Text", &Options::timeTextColor},
};

const ListItem kGraphStyleItems[2] = {{"Column", 1}, {"Line", 0}};
const ListItem kGridStyleItems[5] = {{"Dot", 2}, {"Solid", 0}, {"Dash", 1}, {"Dashdot", 3}, {"Dashdotdot", 4}};
const ListItem kTimeFormatItems[3] = {{"HH:MM:SS", 0}, {"HH:MM", 1}, {"MM:SS", 2}};

void ResetColours(Options& options) {
  const Options defaults;
  for (const ColourButton& button : kColourButtons) options.*button.colour = defaults.*button.colour;
}

void ResetFonts(Options& options) {
  options.titleFont = Options::DefaultFont(13, 700);
  options.rateFont = Options::DefaultFont(13, 0);
  options.scaleFont = Options::DefaultFont(13, 0);
  options.timeTextFont = Options::DefaultFont(13, 0);
}

LogFont FontFromPicker(LogFont font) {
  font.height = std::abs(font.height);
  return font;
}

int ListIndexFor(const ListItem* items, int count, std::uint32_t value) {
  for (int index = 0; index < count; ++index)
    if (items[index].value == value) return index;
  return 0;
}

namespace {

std::uint32_t ItemValue(const ListItem* items, int count, int index) {
  return items[index >= 0 && index < count ? index : 0].value;
}

}  // namespace

PageCheck<GraphTextControl> ReadGraphTextPage(const GraphTextPageFields& fields, Options& result) {
  using Check = PageCheck<GraphTextControl>;
  std::int64_t percent = 0, width = 0, space = 0, interval = 0;
  if (!ParseNumberInRange(fields.heightPercent, 50, 100, percent))
    return Check::Refuse(GraphTextControl::kHeightPercent,
                         "The maximum graph rate height percent ranges from 50 to 100.");
  if (!ParseWholeNumber(fields.pulseWidth, width))
    return Check::Refuse(GraphTextControl::kPulseWidth, "The pulse width must be a number from 1 to 1000.");
  if (width <= 0) return Check::Refuse(GraphTextControl::kPulseWidth, "The pulse width must be greater than 0.");
  if (width > 1000)
    return Check::Refuse(GraphTextControl::kPulseWidth, "The pulse width must be less than or equal to 1000.");
  // The width is at least 1 from here on, so width plus space can never reach the panes as 0 or less.
  if (!ParseWholeNumber(fields.pulseSpace, space))
    return Check::Refuse(GraphTextControl::kPulseSpace, "The pulse space must be a number from 0 to 1000.");
  if (space < 0)
    return Check::Refuse(GraphTextControl::kPulseSpace, "The pulse space must be greater than or equal to 0.");
  if (space > 1000)
    return Check::Refuse(GraphTextControl::kPulseSpace, "The pulse space must be less than or equal to 1000.");
  if (!ParseWholeNumber(fields.timeGridInterval, interval))
    return Check::Refuse(GraphTextControl::kTimeGridInterval,
                         "The time grid interval must be a number from 1 to 10000.");
  if (interval <= 0)
    return Check::Refuse(GraphTextControl::kTimeGridInterval, "The time grid interval must be greater than 0.");
  if (interval > 10000)
    return Check::Refuse(GraphTextControl::kTimeGridInterval,
                         "The time grid interval must be less than or equal to 10000.");

  result = fields.values;
  result.rateHeightPercent = static_cast<std::uint32_t>(percent);
  result.pulseWidth = static_cast<std::uint32_t>(width);
  result.pulseSpace = static_cast<std::uint32_t>(space);
  result.timeGridIntervalSec = static_cast<std::uint32_t>(interval);
  result.graphStyle = ItemValue(kGraphStyleItems, 2, fields.graphStyleIndex);
  result.scaleGridLineStyle = ItemValue(kGridStyleItems, 5, fields.scaleGridStyleIndex);
  result.timeGridLineStyle = ItemValue(kGridStyleItems, 5, fields.timeGridStyleIndex);
  result.timeFormat = ItemValue(kTimeFormatItems, 3, fields.timeFormatIndex);
  return {};
}

Options ApplyGraphTextPage(const Options& current, const Options& page) {
  Options next = current;
  for (const ColourButton& button : kColourButtons) next.*button.colour = page.*button.colour;
  next.titleFont = page.titleFont;
  next.rateFont = page.rateFont;
  next.scaleFont = page.scaleFont;
  next.timeTextFont = page.timeTextFont;
  next.rateHeightPercent = page.rateHeightPercent;
  next.pulseWidth = page.pulseWidth;
  next.pulseSpace = page.pulseSpace;
  next.scaleGridLineStyle = page.scaleGridLineStyle;
  next.timeGridLineStyle = page.timeGridLineStyle;
  next.timeGridIntervalSec = page.timeGridIntervalSec;
  next.timeFormat = page.timeFormat;
  next.graphStyle = page.graphStyle;
  return next;
}

}  // namespace veltrano
