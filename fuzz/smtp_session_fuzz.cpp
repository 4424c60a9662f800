// One SMTP session against a server whose every byte comes from the input. The session reports
// success exactly when the server gave each step its success code, and an error that quotes the
// server quotes a line the server sent.
//
// Input: a flags byte (bit 0: AUTH LOGIN; bits 1-2: one to three recipients), then the server's
// bytes; when they run out the server falls silent.
#include <memory>
#include <vector>

#include "fuzz_support.h"
#include "notify/smtp_client.h"

namespace veltrano::fuzz {
namespace {

// A connection that always takes what is sent and hands out the scripted bytes one call at a time.
class ScriptedStream : public TcpStream {
 public:
  explicit ScriptedStream(std::string script) : script_(std::move(script)) {}
  bool WaitWritable(unsigned) override { return true; }
  bool WaitReadable(unsigned) override { return at_ < script_.size(); }
  long Send(const char*, size_t length) override { return static_cast<long>(length); }
  long Receive(char* buffer, size_t capacity) override {
    const size_t take = std::min(capacity, script_.size() - at_);
    std::copy(script_.begin() + static_cast<long>(at_), script_.begin() + static_cast<long>(at_ + take), buffer);
    at_ += take;
    return static_cast<long>(take);
  }

 private:
  std::string script_;
  size_t at_ = 0;
};

class ScriptedNetwork : public Network {
 public:
  explicit ScriptedNetwork(std::string script) : script_(std::move(script)) {}
  bool Startup() override { return true; }
  std::unique_ptr<TcpStream> Connect(const std::string&, std::uint16_t) override {
    return std::make_unique<ScriptedStream>(script_);
  }

 private:
  std::string script_;
};

std::vector<std::string> Lines(const std::string& script) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = script.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = script.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A reply code is three digits at the start of the line that no fourth digit follows.
int ReplyCode(const std::string& line) {
  if (line.size() < 3) return -1;
  for (int i = 0; i < 3; ++i)
    if (line[i] < '0' || line[i] > '9') return -1;
  if (line.size() > 3 && line[3] >= '0' && line[3] <= '9') return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

constexpr int kSilent = -2;

// Whether a server that sends these lines has accepted the whole delivery, step by step.
// `decisive` is left at the last line read.
bool ServerAccepted(const std::vector<std::string>& lines, bool authenticate, int recipients, std::string& decisive) {
  size_t next = 0;
  const auto reply = [&](const char* continuation) {
    while (next < lines.size() && continuation && lines[next].compare(0, 4, continuation) == 0) ++next;
    if (next >= lines.size()) return kSilent;
    decisive = lines[next];
    return ReplyCode(lines[next++]);
  };
  if (reply("220-") != 220) return false;
  if (authenticate) {
    if (reply("250-") != 250 || reply(nullptr) != 334 || reply(nullptr) != 334 || reply(nullptr) != 235) return false;
  } else if (reply(nullptr) != 250) {
    return false;
  }
  if (reply(nullptr) != 250) return false;
  int accepted = 0;
  for (int i = 0; i < recipients; ++i) {
    const int code = reply(nullptr);
    if (code == kSilent) return false;
    if (code == 250 || code == 251) ++accepted;
  }
  return accepted > 0 && reply(nullptr) == 354 && reply(nullptr) == 250;
}

bool IsOwnError(const std::string& error) {
  for (const char* text : {"Time out.", "SMTP Server didn't relay email.", "Failed to send email body.",
                           "Failed to connect to SMTP server.", "Invalid parameters.",
                           "Empty reply from SMTP server."})
    if (error == text) return true;
  return false;
}

}  // namespace
}  // namespace veltrano::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace veltrano;
  using namespace veltrano::fuzz;
  InputReader input(data, size);
  const std::uint8_t flags = input.Byte();
  const bool authenticate = flags & 1;
  const int recipients = 1 + (flags >> 1) % 3;
  const std::string script = input.Rest();

  const char* const kRecipients[] = {"a@example.org", "a@example.org, b@example.org",
                                     "a@example.org, b@example.org, c@example.net"};
  const MailJob job = MakeMailJob("127.0.0.1", "from@example.org", kRecipients[recipients - 1], authenticate, "user",
                                  "secret", "Subject: usage\r\n\r\nhello\r\n");
  ScriptedNetwork network(script);
  SmtpTimings timings;
  timings.retryDelayMs = 0;
  timings.connectAttempts = 1;
  const std::string error = RunSmtpSession(job, network, timings);

  const std::vector<std::string> lines = Lines(script);
  bool shortLines = true;
  for (const auto& line : lines) shortLines = shortLines && line.size() < 1000;
  std::string decisive;
  const bool accepted = ServerAccepted(lines, authenticate, recipients, decisive);
  // Longer lines than the client's reply buffers are read in pieces, as several replies.
  if (shortLines) FUZZ_CHECK(error.empty() == accepted);
  if (!error.empty() && !IsOwnError(error)) {
    // A refusal is reported as the server's own line (cut to 1023 characters).
    bool quoted = false;
    for (const auto& line : lines) quoted = quoted || line.compare(0, error.size(), error) == 0;
    const bool unterminated = script.find(error) != std::string::npos;
    FUZZ_CHECK(quoted || unterminated);
  }
  return 0;
}
