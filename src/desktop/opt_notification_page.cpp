// The notification options page.
#include "desktop/opt_notification_page.h"

#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>

#include "desktop/email_settings_dlg.h"
#include "desktop/resources/notify_ids.h"
#include "desktop/ui/control_text.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

void AddItems(HWND combo, std::initializer_list<const char*> items) {
  for (const char* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

int Selection(HWND page, int id) {
  return static_cast<int>(SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0));
}

bool Checked(HWND page, int id) {
  return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

int ControlOf(NotificationControl control) {
  switch (control) {
    case NotificationControl::kAdapter:
      return IDC_NOTIFY_ADAPTER;
    case NotificationControl::kAmount:
      return IDC_NOTIFY_AMOUNT;
    case NotificationControl::kUnit:
      return IDC_NOTIFY_UNIT;
    case NotificationControl::kTransferType:
      return IDC_NOTIFY_TRANSFER;
    case NotificationControl::kPeriod:
      return IDC_NOTIFY_PERIOD;
    case NotificationControl::kDays:
      return IDC_NOTIFY_DAYS;
    case NotificationControl::kSoundFile:
      return IDC_NOTIFY_SOUND_FILE;
    case NotificationControl::kBeepPreset:
      return IDC_NOTIFY_BEEP_PRESET;
    case NotificationControl::kEmailAddresses:
      return IDC_NOTIFY_ADDRESSES;
    case NotificationControl::kProgram:
      return IDC_NOTIFY_PROGRAM;
    default:
      return 0;
  }
}

}  // namespace

COptNotificationPage::COptNotificationPage(HINSTANCE instance, NotificationPageData& data, const AdapterList& adapters,
                                           FileSystem& files, Beeper& beeper, Network& network, ui::Prompter& prompter,
                                           HWND mainWindow, const SmtpTimings& timings)
    : COptPage(instance, IDD_OPT_NOTIFICATION, prompter, mainWindow),
      instance_(instance),
      data_(data),
      email_(data.email),
      adapters_(adapters),
      files_(files),
      beeper_(beeper),
      network_(network),
      timings_(timings) {}

INT_PTR COptNotificationPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) beeper_.Stop();
  return COptPage::HandleMessage(message, wParam, lParam);
}

void COptNotificationPage::OnInitDialog() {
  FillingGuard filling(*this);
  FillLists();
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_AMOUNT, EM_LIMITTEXT, 63, 0);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_AMOUNT_SPIN, UDM_SETRANGE32, 0, 2147483647);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_DAYS_SPIN, UDM_SETRANGE32, 1, 32767);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_SOUND_FILE, EM_LIMITTEXT, 259, 0);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_PROGRAM, EM_LIMITTEXT, 259, 0);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_ADDRESSES, EM_LIMITTEXT, 259, 0);
  CheckDlgButton(Handle(), IDC_NOTIFY_ENABLE, data_.enabled ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Handle(), IDC_NOTIFY_PLAY_BEEP, data_.rule.playBeep ? BST_CHECKED : BST_UNCHECKED);
  LoadFields(FieldsOfRule(data_.rule, adapters_));
}

void COptNotificationPage::FillLists() {
  HWND adapters = Item(IDC_NOTIFY_ADAPTER);
  for (const auto& entry : adapters_)
    SendMessageW(adapters, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry.displayName).c_str()));
  AddItems(Item(IDC_NOTIFY_UNIT), {"Bytes", "KB", "MB", "GB", "TB"});
  AddItems(Item(IDC_NOTIFY_TRANSFER), {"downloaded", "uploaded", "downloaded & uploaded"});
  AddItems(Item(IDC_NOTIFY_PERIOD), {"week", "month", "custom"});
  for (std::uint32_t preset = 0; preset < 9; ++preset)
    AddItems(Item(IDC_NOTIFY_BEEP_PRESET), {BeepPresetFor(preset).name});
}

void COptNotificationPage::LoadFields(const NotificationPageFields& fields) {
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_ADAPTER, CB_SETCURSEL, fields.adapterIndex, 0);
  SetDlgItemTextW(Handle(), IDC_NOTIFY_AMOUNT, Widen(fields.amount).c_str());
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_UNIT, CB_SETCURSEL, fields.unitIndex, 0);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_TRANSFER, CB_SETCURSEL, fields.transferTypeIndex, 0);
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_PERIOD, CB_SETCURSEL, fields.periodIndex, 0);
  SetDlgItemInt(Handle(), IDC_NOTIFY_DAYS, static_cast<UINT>(fields.days), FALSE);
  CheckDlgButton(Handle(), IDC_NOTIFY_PLAY_SOUND, fields.playSound ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextW(Handle(), IDC_NOTIFY_SOUND_FILE, Widen(fields.soundFile).c_str());
  SendDlgItemMessageW(Handle(), IDC_NOTIFY_BEEP_PRESET, CB_SETCURSEL, fields.beepPresetIndex, 0);
  CheckDlgButton(Handle(), IDC_NOTIFY_SEND_EMAIL, fields.sendEmail ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextW(Handle(), IDC_NOTIFY_ADDRESSES, Widen(fields.emailAddresses).c_str());
  CheckDlgButton(Handle(), IDC_NOTIFY_RUN_PROGRAM, fields.runProgram ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextW(Handle(), IDC_NOTIFY_PROGRAM, Widen(fields.program).c_str());
  EnableDays();
}

NotificationPageFields COptNotificationPage::ReadFields() const {
  NotificationPageFields fields;
  fields.adapterIndex = Selection(Handle(), IDC_NOTIFY_ADAPTER);
  fields.amount = ItemText(Handle(), IDC_NOTIFY_AMOUNT);
  fields.unitIndex = Selection(Handle(), IDC_NOTIFY_UNIT);
  fields.transferTypeIndex = Selection(Handle(), IDC_NOTIFY_TRANSFER);
  fields.periodIndex = Selection(Handle(), IDC_NOTIFY_PERIOD);
  BOOL ok = FALSE;
  const UINT days = GetDlgItemInt(Handle(), IDC_NOTIFY_DAYS, &ok, FALSE);
  fields.days = ok && days <= 32767 ? static_cast<int>(days) : 0;
  fields.playSound = Checked(Handle(), IDC_NOTIFY_PLAY_SOUND);
  fields.soundFile = ItemText(Handle(), IDC_NOTIFY_SOUND_FILE);
  fields.beepPresetIndex = Selection(Handle(), IDC_NOTIFY_BEEP_PRESET);
  fields.sendEmail = Checked(Handle(), IDC_NOTIFY_SEND_EMAIL);
  fields.emailAddresses = ItemText(Handle(), IDC_NOTIFY_ADDRESSES);
  fields.runProgram = Checked(Handle(), IDC_NOTIFY_RUN_PROGRAM);
  fields.program = ItemText(Handle(), IDC_NOTIFY_PROGRAM);
  return fields;
}

void COptNotificationPage::EnableDays() {
  const bool custom = Selection(Handle(), IDC_NOTIFY_PERIOD) == 2;
  for (int id : {IDC_NOTIFY_DAYS, IDC_NOTIFY_DAYS_SPIN, IDC_NOTIFY_DAYS_LABEL}) EnableWindow(Item(id), custom);
}

bool COptNotificationPage::OnApply() {
  beeper_.Stop();
  const bool enabled = Checked(Handle(), IDC_NOTIFY_ENABLE);
  const NotificationPageFields fields = ReadFields();
  if (enabled) {
    const NotificationPageCheck check = CheckNotificationPage(fields, email_, files_);
    if (check.askForEmailSettings && prompter_.AskYesNo(Handle(), kIncompleteEmailQuestion)) OnEmailSettings();
    if (!check.message.empty()) {
      Refuse(ControlOf(check.focus), check.message);
      return false;
    }
  }
  data_.enabled = enabled;
  StoreFieldsInRule(fields, adapters_, data_.rule);
  data_.rule.playBeep = Checked(Handle(), IDC_NOTIFY_PLAY_BEEP);
  data_.email = email_;
  HandOver(kNotificationPageCode, &data_);
  return true;
}

bool COptNotificationPage::OnKillActive() {
  beeper_.Stop();
  return true;
}

void COptNotificationPage::OnReset() {
  beeper_.Stop();
}

bool COptNotificationPage::OnCommand(WORD id, WORD notifyCode, HWND control) {
  switch (id) {
    case IDC_NOTIFY_PERIOD:
      if (notifyCode == CBN_SELCHANGE) EnableDays();
      break;
    case IDC_NOTIFY_SOUND_BROWSE:
      BrowseFile(IDC_NOTIFY_SOUND_FILE, L"Wave File (*.wav)\0*.wav\0", L"wav");
      return true;
    case IDC_NOTIFY_PROGRAM_BROWSE:
      BrowseFile(IDC_NOTIFY_PROGRAM, L"Executable File (*.exe)\0*.exe\0", L"exe");
      return true;
    case IDC_NOTIFY_SOUND_TEST:
      OnSoundTest();
      return true;
    case IDC_NOTIFY_BEEP_TEST:
      OnBeepTest();
      return true;
    case IDC_NOTIFY_EMAIL_SETTINGS:
      OnEmailSettings();
      return true;
  }
  MarkModifiedOnChange(notifyCode);
  return COptPage::OnCommand(id, notifyCode, control);
}

void COptNotificationPage::BrowseFile(int editId, const wchar_t* filter, const wchar_t* extension) {
  wchar_t path[MAX_PATH] = {};
  const std::wstring current = Widen(ItemText(Handle(), editId));
  lstrcpynW(path, current.c_str(), MAX_PATH);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = extension;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameW(&dialog)) SetDlgItemTextW(Handle(), editId, path);
}

void COptNotificationPage::OnSoundTest() {
  const std::string path = ItemText(Handle(), IDC_NOTIFY_SOUND_FILE);
  const std::string refusal = CheckSoundTest(path, files_);
  if (!refusal.empty()) {
    prompter_.Warn(Handle(), refusal);
    return;
  }
  PlaySoundW(Widen(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

void COptNotificationPage::OnBeepTest() {
  const int preset = Selection(Handle(), IDC_NOTIFY_BEEP_PRESET);
  const BeepPreset& beep = BeepPresetFor(preset < 0 ? 0 : static_cast<std::uint32_t>(preset));
  beeper_.Start(beep.frequencyHz, beep.durationMs, 5);
}

void COptNotificationPage::OnEmailSettings() {
  EmailSettingsDialog dialog(instance_, email_, network_, prompter_, timings_);
  if (dialog.RunModal(Handle()) != IDOK) return;
  email_ = dialog.Settings();
  SetModified();
}

}  // namespace veltrano
