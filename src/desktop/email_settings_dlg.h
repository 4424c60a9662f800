// The "Email Settings" dialog: the SMTP account and the templates, a preview of the body with
// sample values, and a test e-mail sent on a thread of its own while the dialog waits disabled.
#pragma once

#include <windows.h>

#include "desktop/help_topics.h"
#include "desktop/mail_thread.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "notify/notification_checks.h"
#include "notify/smtp_client.h"
#include "platform/network.h"

namespace veltrano {

class EmailSettingsDialog : public ui::Dialog {
 public:
  const wchar_t* HelpTopic() const override { return help::kEmailSettings; }
  // Edits a copy of settings; Settings() holds the accepted values after OK.
  EmailSettingsDialog(HINSTANCE instance, const EmailSettings& settings, Network& network, ui::Prompter& prompter,
                      const SmtpTimings& timings = DesktopSmtpTimings());

  const EmailSettings& Settings() const { return settings_; }
  bool IsSending() const { return sending_; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  void OnOK() override;
  void OnCancel() override;

 private:
  EmailSettings ReadFields() const;
  void EnableAccount(bool focus);
  void Refuse(const EmailSettingsCheck& check);
  void OnPreview();
  void OnSendTest();
  void OnMailResult(LPARAM lParam);

  EmailSettings settings_;
  Network& network_;
  ui::Prompter& prompter_;
  SmtpTimings timings_;
  bool sending_ = false;
};

}  // namespace veltrano
