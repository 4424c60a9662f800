// The SMTP dialogue.
#include "notify/smtp_client.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace veltrano {

const char* const kSmtpClientDomain = "veltrano";

namespace {

constexpr size_t kSendPiece = 1400;
constexpr size_t kCommandReplyCapacity = 1024;
constexpr size_t kLongReplyCapacity = 2048;
const char* const kTimeOut = "Time out.";
const char* const kEmptyReply = "Empty reply from SMTP server.";

// A refusal is reported as the server's own line; an empty line would read as no error at all.
std::string ReplyError(const std::string& line) {
  return line.empty() ? kEmptyReply : line.substr(0, 1023);
}

std::string Cut(const std::string& text, size_t characters) {
  return text.substr(0, characters);
}

// The recipient field holds 255 bytes. An item the cut ends inside is dropped whole: what is left
// of it may still look like an address ("bob@example.com" of "bob@example.com.au") and belong to
// somebody else. The item is whole when the text goes on with only spaces up to its next comma.
std::string CutRecipients(const std::string& recipients, size_t bytes) {
  if (recipients.size() <= bytes) return recipients;
  const size_t itemEnd = recipients.find(',', bytes);
  const size_t restEnd = itemEnd == std::string::npos ? recipients.size() : itemEnd;
  if (recipients.find_first_not_of(' ', bytes) >= restEnd) return recipients.substr(0, bytes);
  const size_t lastComma = recipients.rfind(',', bytes - 1);
  return lastComma == std::string::npos ? std::string() : recipients.substr(0, lastComma);
}

// A reply's code is its first three characters, all digits, not followed by a fourth digit;
// -1 for anything else. Never a wider number: "4294967516" is no 220.
int ReplyCode(const std::string& line) {
  const auto digit = [&](size_t at) { return at < line.size() && line[at] >= '0' && line[at] <= '9'; };
  if (!digit(0) || !digit(1) || !digit(2) || digit(3)) return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

class Dialogue {
 public:
  Dialogue(TcpStream& stream, const SmtpTimings& timings) : stream_(stream), timings_(timings) {}

  // Bytes sent in pieces, each after the stream became writable.
  size_t Send(const std::string& bytes, unsigned waitMs) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      if (!stream_.WaitWritable(waitMs)) break;
      const long piece = stream_.Send(bytes.data() + sent, std::min(kSendPiece, bytes.size() - sent));
      if (piece < 0) return sent;
      sent += static_cast<size_t>(piece);
    }
    return sent;
  }

  // One line, read byte by byte so that the next line stays in the stream.
  bool ReadLine(std::string& line, size_t capacity, unsigned waitMs) {
    line.clear();
    while (line.size() + 1 < capacity) {
      if (!stream_.WaitReadable(waitMs)) return false;
      char byte;
      if (stream_.Receive(&byte, 1) != 1) return false;
      if (byte == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
      }
      line += byte;
    }
    return true;
  }

  // Sends a command and reads its reply; continuation lines with `continuation` are skipped.
  bool Step(const std::string& command, int expected, std::string& error, unsigned waitMs = 0,
            const char* continuation = nullptr) {
    if (!waitMs) waitMs = timings_.waitMs;
    if (Send(command, waitMs) != command.size()) return Fail(error, kTimeOut);
    std::string line;
    do {
      if (!ReadLine(line, kCommandReplyCapacity, waitMs)) return Fail(error, kTimeOut);
    } while (continuation && line.compare(0, std::strlen(continuation), continuation) == 0);
    if (ReplyCode(line) == expected) return true;
    return Fail(error, ReplyError(line));
  }

  static bool Fail(std::string& error, const std::string& text) {
    error = text.substr(0, 1023);
    return false;
  }

 private:
  TcpStream& stream_;
  const SmtpTimings& timings_;
};

std::unique_ptr<TcpStream> ConnectWithRetries(const MailJob& job, Network& network, const SmtpTimings& timings) {
  for (int attempt = 0; attempt < timings.connectAttempts; ++attempt) {
    if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(timings.retryDelayMs));
    if (auto stream = network.Connect(job.server, timings.port)) return stream;
  }
  return nullptr;
}

std::string Converse(const MailJob& job, const std::vector<std::string>& recipients, TcpStream& stream,
                     const SmtpTimings& timings) {
  Dialogue dialogue(stream, timings);
  std::string error, line;
  do {
    if (!dialogue.ReadLine(line, kLongReplyCapacity, timings.waitMs)) return kTimeOut;
  } while (line.compare(0, 4, "220-") == 0);
  if (ReplyCode(line) != 220) return ReplyError(line);

  const std::string domain = kSmtpClientDomain;
  if (job.authenticate) {
    if (!dialogue.Step("EHLO " + domain + "\r\n", 250, error, 0, "250-") ||
        !dialogue.Step("AUTH LOGIN\r\n", 334, error) ||
        !dialogue.Step(Base64Encode(job.accountName) + "\r\n", 334, error) ||
        !dialogue.Step(Base64Encode(job.password) + "\r\n", 235, error))
      return error;
  } else if (!dialogue.Step("HELO " + domain + "\r\n", 250, error)) {
    return error;
  }
  if (!dialogue.Step("MAIL FROM: <" + job.sender + ">\r\n", 250, error)) return error;

  int accepted = 0;
  for (const auto& recipient : recipients) {
    const std::string command = "RCPT TO: <" + recipient + ">\r\n";
    if (dialogue.Send(command, timings.waitMs) != command.size() ||
        !dialogue.ReadLine(line, kLongReplyCapacity, timings.waitMs))
      return kTimeOut;
    const int code = ReplyCode(line);
    if (code == 250 || code == 251) ++accepted;
  }
  if (!accepted) {
    dialogue.Step("QUIT\r\n", 221, error);
    return "SMTP Server didn't relay email.";
  }
  if (!dialogue.Step("DATA\r\n", 354, error)) return error;
  if (dialogue.Send(job.message, timings.waitMs) != job.message.size()) return "Failed to send email body.";
  if (!dialogue.Step("\r\n.\r\n", 250, error, timings.endOfDataWaitMs)) return error;
  dialogue.Step("QUIT\r\n", 221, error);
  return {};
}

}  // namespace

MailJob MakeMailJob(const std::string& server, const std::string& sender, const std::string& recipients,
                    bool authenticate, const std::string& accountName, const std::string& password,
                    std::string message) {
  MailJob job;
  job.server = Cut(server, 63);
  job.sender = Cut(sender, 63);
  job.recipients = CutRecipients(recipients, 255);
  job.authenticate = authenticate;
  if (authenticate) {
    job.accountName = Cut(accountName, 63);
    job.password = Cut(password, 31);
  }
  job.message = std::move(message);
  return job;
}

std::vector<std::string> SplitRecipients(const std::string& text, char separator) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    size_t first = start, last = end;
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    if (last > first) items.push_back(text.substr(first, last - first));
    start = end + 1;
  }
  return items;
}

bool IsWellFormedAddress(const std::string& address) {
  if (address.empty()) return false;
  bool seenAt = false, lastWasDotAfterAt = false, seenDotAfterAt = false;
  for (size_t i = 0; i < address.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(address[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c == '@') {
      if (seenAt || (i + 1 < address.size() && address[i + 1] == '.')) return false;
      seenAt = true;
    } else if (c == '.') {
      if (lastWasDotAfterAt) return false;
      if (seenAt) lastWasDotAfterAt = seenDotAfterAt = true;
    } else {
      lastWasDotAfterAt = false;
    }
  }
  return seenDotAfterAt && !lastWasDotAfterAt;
}

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t lineLength = 0;
  size_t i = 0;
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
    for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(group >> shift) & 0x3F];
    lineLength += 4;
    if (lineLength == 76) {
      out += "\r\n";
      lineLength = 0;
    }
  }
  const size_t rest = bytes.size() - i;
  if (rest) {
    const unsigned group = byte(i) << 16 | (rest == 2 ? byte(i + 1) << 8 : 0);
    out += kAlphabet[(group >> 18) & 0x3F];
    out += kAlphabet[(group >> 12) & 0x3F];
    out += rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
    out += '=';
  }
  return out;
}

std::string RunSmtpSession(const MailJob& job, Network& network, const SmtpTimings& timings) {
  std::vector<std::string> recipients = SplitRecipients(job.recipients);
  if (recipients.empty() || job.server.empty() || job.sender.empty() || job.message.empty() ||
      (job.authenticate && job.accountName.empty()))
    return "Invalid parameters.";
  std::vector<std::string> wellFormed;
  for (const auto& recipient : recipients)
    if (IsWellFormedAddress(recipient)) wellFormed.push_back(recipient);
  if (wellFormed.empty()) return "Invalid parameters.";
  std::unique_ptr<TcpStream> stream = ConnectWithRetries(job, network, timings);
  if (!stream) return "Failed to connect to SMTP server.";
  return Converse(job, wellFormed, *stream, timings);
}

void StartSmtpSession(MailJob job, Network& network, std::function<void(const std::string& error)> onResult,
                      const SmtpTimings& timings) {
  std::thread([job = std::move(job), &network, onResult = std::move(onResult), timings] {
    onResult(RunSmtpSession(job, network, timings));
  }).detach();
}

}  // namespace veltrano
