// A small SMTP client: one ready-made message to one or more recipients through one server,
// optionally after AUTH LOGIN, on a thread of its own. The result is one line of error text, empty
// on success.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/network.h"

namespace veltrano {

// What one delivery needs; text is 8-bit in the system code page. Longer settings are cut to the
// job's widths (63 characters for server, sender and account, 255 for the recipients, 31 for
// the password); a recipient the cut would damage is left out whole.
struct MailJob {
  std::string server;
  std::string sender;
  std::string recipients;  // comma-separated
  bool authenticate = false;
  std::string accountName;
  std::string password;
  std::string message;  // headers, blank line, body
};

MailJob MakeMailJob(const std::string& server, const std::string& sender, const std::string& recipients,
                    bool authenticate, const std::string& accountName, const std::string& password,
                    std::string message);

struct SmtpTimings {
  std::uint16_t port = 25;
  unsigned waitMs = 60000;
  unsigned endOfDataWaitMs = 120000;
  unsigned retryDelayMs = 5000;
  int connectAttempts = 4;
};

// The non-empty items of a list cut at `separator`, each trimmed of spaces, in order.
std::vector<std::string> SplitRecipients(const std::string& text, char separator = ',');
// One "@", a "." somewhere after it but neither right after it, doubled, nor last. Control
// characters (below 0x20, and 0x7F) fail: they would end a command line early.
bool IsWellFormedAddress(const std::string& address);
// RFC 4648 base64 with "\r\n" after every 76 characters.
std::string Base64Encode(const std::string& bytes);

extern const char* const kSmtpClientDomain;

// The whole dialogue for one job; the error text, or empty on success.
std::string RunSmtpSession(const MailJob& job, Network& network, const SmtpTimings& timings = {});

// Runs the session on a thread of its own and hands the result to `onResult` there.
void StartSmtpSession(MailJob job, Network& network, std::function<void(const std::string& error)> onResult,
                      const SmtpTimings& timings = {});

}  // namespace veltrano
