// The "Notification" page of the options sheet: the rule, its actions and the e-mail settings.
// An accepted page tells the main window with WM_OPTIONS_APPLY and code 204; the page itself saves
// nothing.
#pragma once

#include <windows.h>

#include "desktop/help_topics.h"
#include "desktop/mail_thread.h"
#include "desktop/opt_page.h"
#include "notify/beeper.h"
#include "notify/smtp_client.h"
#include "platform/file_system.h"
#include "platform/network.h"
#include "view/notification_page_model.h"

#ifndef WM_OPTIONS_APPLY
// wParam: the page code (201..205); lParam: the page's data.
#define WM_OPTIONS_APPLY (WM_USER + 129)
#endif

namespace veltrano {

constexpr WPARAM kNotificationPageCode = 204;

class COptNotificationPage : public COptPage {
 public:
  const wchar_t* HelpTopic() const override { return help::kOptionsNotification; }
  // data starts as the current settings and holds the accepted ones after apply; mainWindow
  // receives WM_OPTIONS_APPLY with code 204 and &data.
  COptNotificationPage(HINSTANCE instance, NotificationPageData& data, const AdapterList& adapters, FileSystem& files,
                       Beeper& beeper, Network& network, ui::Prompter& prompter, HWND mainWindow,
                       const SmtpTimings& timings = DesktopSmtpTimings());

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnInitDialog() override;
  bool OnApply() override;
  bool OnKillActive() override;
  void OnReset() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;

 private:
  void FillLists();
  void LoadFields(const NotificationPageFields& fields);
  NotificationPageFields ReadFields() const;
  void EnableDays();
  void BrowseFile(int editId, const wchar_t* filter, const wchar_t* extension);
  void OnSoundTest();
  void OnBeepTest();
  void OnEmailSettings();

  HINSTANCE instance_;
  NotificationPageData& data_;
  EmailSettings email_;  // the page's copy until it is accepted
  const AdapterList& adapters_;
  FileSystem& files_;
  Beeper& beeper_;
  Network& network_;
  SmtpTimings timings_;
};

}  // namespace veltrano
