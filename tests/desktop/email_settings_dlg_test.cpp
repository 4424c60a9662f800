// The e-mail settings dialog under Wine: its checks and their focus, the exact preview, and a test
// e-mail against servers that stall or refuse, after which the dialog comes back with the error.
#include <winsock2.h>
// before windows.h, which the dialog's header brings
#include "desktop/email_settings_dlg.h"

#include <gtest/gtest.h>

#include <chrono>

#include "desktop/resources/notify_ids.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/scripted_prompter.h"
#include "platform/win32/winsock_network.h"

namespace veltrano {
namespace {

// A socket that listens on 127.0.0.1 and never answers: connections complete in the backlog.
class SilentServer {
 public:
  SilentServer() {
    socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(socket_, 4);
    int length = sizeof address;
    getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
  }
  ~SilentServer() { closesocket(socket_); }
  // Takes the next connection and drops it at once.
  void DropNext() { closesocket(accept(socket_, nullptr, nullptr)); }
  std::uint16_t port = 0;

 private:
  SOCKET socket_;
};

class EmailSettingsDialogTest : public ::testing::Test {
 protected:
  EmailSettingsDialogTest() {
    network_.Startup();
    settings_.smtpServer = "127.0.0.1";
    settings_.mailFrom = "meter@example.org";
  }
  ~EmailSettingsDialogTest() override {
    if (dialog_ && IsWindow(dialog_->Handle())) DestroyWindow(dialog_->Handle());
  }
  HWND Open(const SmtpTimings& timings = {}) {
    dialog_ = std::make_unique<EmailSettingsDialog>(GetModuleHandleW(nullptr), settings_, network_, prompter_, timings);
    return dialog_->CreateModeless(nullptr);
  }
  void Click(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // Pumps until the test e-mail's result came back, at most timeoutMs.
  void WaitForResult(unsigned timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (dialog_->IsSending() && std::chrono::steady_clock::now() < deadline) {
      ui::PumpMessages();
      Sleep(10);
    }
  }

  WinsockNetwork network_;
  EmailSettings settings_;
  ui::ScriptedPrompter prompter_;
  std::unique_ptr<EmailSettingsDialog> dialog_;
};

TEST_F(EmailSettingsDialogTest, ChecksFocusTheFirstMissingFieldAndOkKeepsTheEditedCopy) {
  settings_.smtpServer.clear();
  HWND dialog = Open();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EMAIL_ACCOUNT)));
  Click(dialog, IDOK);
  EXPECT_EQ(prompter_.LastText(), "Please input SMTP server name or IP.");
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EMAIL_SERVER));

  SetDlgItemTextW(dialog, IDC_EMAIL_SERVER, L"smtp.example.org");
  CheckDlgButton(dialog, IDC_EMAIL_AUTH, BST_CHECKED);
  Click(dialog, IDC_EMAIL_AUTH);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_EMAIL_ACCOUNT)));
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EMAIL_ACCOUNT));
  SetFocus(GetDlgItem(dialog, IDC_EMAIL_SERVER));
  Click(dialog, IDOK);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(prompter_.LastText(), "Please input SMTP server authentication account name.");
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EMAIL_ACCOUNT));

  SetDlgItemTextW(dialog, IDC_EMAIL_ACCOUNT, L"mailer");
  SetDlgItemTextW(dialog, IDC_EMAIL_BODY, L"");
  Click(dialog, IDOK);
  EXPECT_EQ(prompter_.LastText(), "Please input email template body.");
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EMAIL_BODY));

  SetDlgItemTextW(dialog, IDC_EMAIL_BODY, L"Used %f.");
  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(dialog_->Settings().smtpServer, "smtp.example.org");
  EXPECT_EQ(dialog_->Settings().serverRequiresAuth, 1u);
  EXPECT_EQ(dialog_->Settings().authName, "mailer");
  EXPECT_EQ(dialog_->Settings().body, "Used %f.");
}

TEST_F(EmailSettingsDialogTest, PreviewShowsTheBodyWithTheSampleValues) {
  HWND dialog = Open();
  Click(dialog, IDC_EMAIL_PREVIEW);
  ASSERT_EQ(prompter_.Prompts().size(), 1u);
  EXPECT_EQ(prompter_.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kInform);
  EXPECT_EQ(prompter_.LastText(),
            "Hi,\r\n\r\nMore than 10 GB have been downloaded through LAN [10.0.0.10] in last week (03/02/2008 -- "
            "03/08/2008).\r\n\r\nBytes downloaded so far: 11.2 GB\r\n\r\nThe email was sent by Veltrano.\r\n");
}

TEST_F(EmailSettingsDialogTest, ATestAddressMustBeWellFormed) {
  HWND dialog = Open();
  SetDlgItemTextW(dialog, IDC_EMAIL_TEST_ADDRESS, L"me@example.");
  Click(dialog, IDC_EMAIL_SEND_TEST);
  EXPECT_EQ(prompter_.LastText(), "Please enter a valid email address.");
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_EMAIL_TEST_ADDRESS));
  EXPECT_FALSE(dialog_->IsSending());
}

TEST_F(EmailSettingsDialogTest, AStallingServerBringsTheDialogBackWithTheTimeOut) {
  SilentServer server;
  SmtpTimings timings;
  timings.port = server.port;
  timings.waitMs = 300;
  HWND dialog = Open(timings);
  SetDlgItemTextW(dialog, IDC_EMAIL_TEST_ADDRESS, L"me@example.org");
  Click(dialog, IDC_EMAIL_SEND_TEST);
  EXPECT_TRUE(dialog_->IsSending());
  EXPECT_FALSE(IsWindowEnabled(dialog));
  wchar_t status[64] = {};
  GetDlgItemTextW(dialog, IDC_EMAIL_STATUS, status, 64);
  EXPECT_EQ(std::wstring(status), L"Sending email...");
  WaitForResult(10000);
  EXPECT_FALSE(dialog_->IsSending());
  EXPECT_TRUE(IsWindowEnabled(dialog));
  GetDlgItemTextW(dialog, IDC_EMAIL_STATUS, status, 64);
  EXPECT_EQ(std::wstring(status), L"");
  EXPECT_EQ(prompter_.LastText(), "Failed to send the test email.\n\nError: Time out.");
}

TEST_F(EmailSettingsDialogTest, AServerThatDropsTheConnectionBringsTheDialogBack) {
  SilentServer server;
  SmtpTimings timings;
  timings.port = server.port;
  HWND dialog = Open(timings);
  SetDlgItemTextW(dialog, IDC_EMAIL_TEST_ADDRESS, L"me@example.org");
  Click(dialog, IDC_EMAIL_SEND_TEST);
  server.DropNext();
  WaitForResult(10000);
  EXPECT_TRUE(IsWindowEnabled(dialog));
  EXPECT_EQ(prompter_.LastText(), "Failed to send the test email.\n\nError: Time out.");
}

TEST_F(EmailSettingsDialogTest, ARefusingServerBringsTheDialogBackWithTheConnectionError) {
  std::uint16_t closedPort;
  {
    SilentServer gone;
    closedPort = gone.port;
  }
  SmtpTimings timings;
  timings.port = closedPort;
  timings.retryDelayMs = 10;
  HWND dialog = Open(timings);
  SetDlgItemTextW(dialog, IDC_EMAIL_TEST_ADDRESS, L"me@example.org");
  Click(dialog, IDC_EMAIL_SEND_TEST);
  WaitForResult(20000);
  EXPECT_TRUE(IsWindowEnabled(dialog));
  EXPECT_EQ(prompter_.LastText(), "Failed to send the test email.\n\nError: Failed to connect to SMTP server.");
}

}  // namespace
}  // namespace veltrano
