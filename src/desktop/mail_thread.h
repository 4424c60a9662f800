// E-mail from the desktop: each job's SMTP session runs on a thread of its own and reports back
// by posting WM_MAIL_RESULT to a window.
#pragma once

#include <windows.h>

#include <string>

#include "notify/smtp_client.h"
#include "platform/network.h"

#ifndef WM_MAIL_RESULT
// wParam: the session thread's id; lParam: null on success, else the error text (new char[]),
// which the receiving window owns.
#define WM_MAIL_RESULT (WM_USER + 133)
#endif

namespace veltrano {

extern const char* const kNotificationMailFailure;  // with "%s" for the error text

// The SMTP client's timings; the port is 25 unless the environment variable
// VELTRANO_TEST_SMTP_PORT names another, which only the end-to-end tests set.
SmtpTimings DesktopSmtpTimings();

// Starts Windows Sockets (if not yet started), then the session. A job without a window to report
// to is refused with "Invalid parameters." and no session runs: the function answers that text
// then, or empty once the session is started.
std::string StartMailThread(MailJob job, Network& network, HWND resultWindow,
                            const SmtpTimings& timings = DesktopSmtpTimings());

// The error text of a WM_MAIL_RESULT (empty on success), freeing what the session allocated.
std::string TakeMailResult(LPARAM lParam);

}  // namespace veltrano
