// The e-mail settings dialog.
#include "desktop/email_settings_dlg.h"

#include "desktop/mail_thread.h"
#include "desktop/resources/notify_ids.h"
#include "platform/system_text.h"
#include "desktop/ui/control_text.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

int ControlOf(EmailSettingsControl control) {
  switch (control) {
    case EmailSettingsControl::kServer:
      return IDC_EMAIL_SERVER;
    case EmailSettingsControl::kMailFrom:
      return IDC_EMAIL_FROM;
    case EmailSettingsControl::kAccountName:
      return IDC_EMAIL_ACCOUNT;
    case EmailSettingsControl::kSubject:
      return IDC_EMAIL_SUBJECT;
    case EmailSettingsControl::kBody:
      return IDC_EMAIL_BODY;
    case EmailSettingsControl::kTestAddress:
      return IDC_EMAIL_TEST_ADDRESS;
    default:
      return 0;
  }
}

}  // namespace

EmailSettingsDialog::EmailSettingsDialog(HINSTANCE instance, const EmailSettings& settings, Network& network,
                                         ui::Prompter& prompter, const SmtpTimings& timings)
    : ui::Dialog(instance, IDD_EMAIL_SETTINGS),
      settings_(settings),
      network_(network),
      prompter_(prompter),
      timings_(timings) {}

INT_PTR EmailSettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MAIL_RESULT) {
    OnMailResult(lParam);
    return TRUE;
  }
  return ui::Dialog::HandleMessage(message, wParam, lParam);
}

BOOL EmailSettingsDialog::OnInitDialog() {
  SetItemText(IDC_EMAIL_SERVER, Widen(settings_.smtpServer).c_str());
  SetItemText(IDC_EMAIL_FROM, Widen(settings_.mailFrom).c_str());
  SetItemText(IDC_EMAIL_ACCOUNT, Widen(settings_.authName).c_str());
  SetItemText(IDC_EMAIL_PASSWORD, Widen(settings_.authPass).c_str());
  SetItemText(IDC_EMAIL_SUBJECT, Widen(settings_.subject).c_str());
  SetItemText(IDC_EMAIL_BODY, Widen(settings_.body).c_str());
  SendMessageW(Item(IDC_EMAIL_TEST_ADDRESS), EM_LIMITTEXT, 256, 0);
  CheckDlgButton(Handle(), IDC_EMAIL_AUTH, settings_.serverRequiresAuth ? BST_CHECKED : BST_UNCHECKED);
  EnableAccount(settings_.serverRequiresAuth != 0);
  return settings_.serverRequiresAuth ? FALSE : TRUE;
}

EmailSettings EmailSettingsDialog::ReadFields() const {
  EmailSettings settings;
  settings.smtpServer = ItemText(Handle(), IDC_EMAIL_SERVER);
  settings.mailFrom = ItemText(Handle(), IDC_EMAIL_FROM);
  settings.serverRequiresAuth = IsDlgButtonChecked(Handle(), IDC_EMAIL_AUTH) == BST_CHECKED;
  settings.authName = ItemText(Handle(), IDC_EMAIL_ACCOUNT);
  settings.authPass = ItemText(Handle(), IDC_EMAIL_PASSWORD);
  settings.subject = ItemText(Handle(), IDC_EMAIL_SUBJECT);
  settings.body = ItemText(Handle(), IDC_EMAIL_BODY);
  return settings;
}

void EmailSettingsDialog::EnableAccount(bool focus) {
  const bool on = IsDlgButtonChecked(Handle(), IDC_EMAIL_AUTH) == BST_CHECKED;
  for (int id : {IDC_EMAIL_ACCOUNT, IDC_EMAIL_PASSWORD, IDC_EMAIL_ACCOUNT_LABEL, IDC_EMAIL_PASSWORD_LABEL})
    EnableWindow(Item(id), on);
  if (on && focus) SetFocus(Item(IDC_EMAIL_ACCOUNT));
}

void EmailSettingsDialog::Refuse(const EmailSettingsCheck& check) {
  prompter_.Warn(Handle(), check.message);
  HWND control = Item(ControlOf(check.focus));
  SetFocus(control);
  SendMessageW(control, EM_SETSEL, 0, -1);
}

bool EmailSettingsDialog::OnCommand(WORD id, WORD notifyCode, HWND control) {
  switch (id) {
    case IDC_EMAIL_AUTH:
      EnableAccount(true);
      return true;
    case IDC_EMAIL_PREVIEW:
      OnPreview();
      return true;
    case IDC_EMAIL_SEND_TEST:
      OnSendTest();
      return true;
  }
  return ui::Dialog::OnCommand(id, notifyCode, control);
}

void EmailSettingsDialog::OnOK() {
  if (sending_) return;
  const EmailSettings edited = ReadFields();
  const EmailSettingsCheck check = CheckEmailSettings(edited);
  if (!check.message.empty()) {
    Refuse(check);
    return;
  }
  settings_ = edited;
  End(IDOK);
}

// The result of a test still under way arrives at a window that no longer exists; the session
// thread then frees its text itself.
void EmailSettingsDialog::OnCancel() {
  if (!sending_) End(IDCANCEL);
}

void EmailSettingsDialog::OnPreview() {
  prompter_.Inform(Handle(), PreviewBody(ReadFields()));
}

void EmailSettingsDialog::OnSendTest() {
  const EmailSettings edited = ReadFields();
  const std::string address = ItemText(Handle(), IDC_EMAIL_TEST_ADDRESS);
  const EmailSettingsCheck check = CheckTestEmail(edited, address);
  if (!check.message.empty()) {
    Refuse(check);
    return;
  }
  MailJob job =
      MakeMailJob(Utf8ToSystemAnsi(edited.smtpServer), Utf8ToSystemAnsi(edited.mailFrom), Utf8ToSystemAnsi(address),
                  edited.serverRequiresAuth != 0, Utf8ToSystemAnsi(edited.authName), Utf8ToSystemAnsi(edited.authPass),
                  Utf8ToSystemAnsi(TestEmailMessage(edited, address)));
  const std::string refused = StartMailThread(std::move(job), network_, Handle(), timings_);
  if (!refused.empty()) {
    prompter_.Inform(Handle(), "Failed to send the test email.\n\nError: " + refused);
    return;
  }
  sending_ = true;
  SetItemText(IDC_EMAIL_STATUS, L"Sending email...");
  EnableWindow(Handle(), FALSE);
}

void EmailSettingsDialog::OnMailResult(LPARAM lParam) {
  const std::string error = TakeMailResult(lParam);
  sending_ = false;
  EnableWindow(Handle(), TRUE);
  SetItemText(IDC_EMAIL_STATUS, L"");
  SetForegroundWindow(Handle());
  prompter_.Inform(Handle(), error.empty() ? "The test email was sent successfully."
                                           : "Failed to send the test email.\n\nError: " + error);
}

}  // namespace veltrano
