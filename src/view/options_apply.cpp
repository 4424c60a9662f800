// The apply steps of the General, Graph & Text and Adapters pages.
#include "view/options_apply.h"

#include <iterator>

#include "settings/standalone_values.h"
#include "view/graph_text_page_model.h"

namespace veltrano {

void OptionsApplier::ApplyGeneral(const Options& page, bool layeredWindows) {
  Options& options = settings_.options;
  const bool runValue = IsStartWithWindows(store_.CurrentUser());
  const GeneralApplyPlan plan = PlanGeneralApply(options, page, layeredWindows, runValue);
  const std::uint32_t oldLetter = options.hotkeyChar;
  options = plan.next;

  if (plan.retitlePanes) host_.RetitlePanes();
  if (plan.recomputeUsage) host_.RecomputeUsage();
  if (plan.hotkey != HotkeyAction::kNone) host_.SetHotkey(plan.hotkey, oldLetter, options.hotkeyChar);
  if (plan.applyAlwaysOnTop) host_.ApplyAlwaysOnTop(options.alwaysOnTop != 0);
  if (plan.applyShowCaption) host_.ApplyShowCaption(options.showCaption != 0);
  if (plan.applyWindowStyle) host_.ApplyWindowStyle(plan.windowStylePercent, options.enableClickThrough != 0);
  if (plan.runValue != RunValueAction::kNone)
    SetStartWithWindows(store_.CurrentUser(), plan.runValue == RunValueAction::kCreate, host_.ExecutablePath());
  host_.RefreshPanes();
  if (plan.restackPanes) host_.RestackPanes();
  store_.Save(SaveTrigger::kGeneralPageApplied, settings_, rows_);
}

void OptionsApplier::ApplyGraphText(const Options& page) {
  settings_.options = ApplyGraphTextPage(settings_.options, page);
  host_.RecreateTrayPens();
  host_.RefreshPanes();
  store_.Save(SaveTrigger::kGraphTextPageApplied, settings_, rows_);
}

void OptionsApplier::ApplyAdapters(const std::vector<AdapterPageRow>& rows, const Options& tray) {
  const AdaptersApplyPlan plan = ApplyAdaptersPage(rows_, rows, settings_.options, tray);
  auto row = [this](size_t index) -> AdapterEntry& { return *std::next(rows_.begin(), index); };
  for (size_t index : plan.rescale) {
    host_.SetPaneScale(row(index), ScaleForConnectionRate(row(index).connRateBps));
    host_.RetitlePane(row(index));
  }
  if (!plan.show.empty() || !plan.hide.empty()) {
    std::vector<AdapterEntry*> show, hide;
    for (size_t index : plan.show) show.push_back(&row(index));
    for (size_t index : plan.hide) hide.push_back(&row(index));
    host_.ShowAndHidePanes(show, hide);
  }
  if (plan.deleteTrayIcon) host_.DeleteTrayIcon();
  store_.Save(SaveTrigger::kAdaptersPageApplied, settings_, rows_);
}

}  // namespace veltrano
