#include "notify/smtp_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "platform/posix/posix_network.h"

namespace veltrano {
namespace {

TEST(Recipients, AreCutAtCommasAndTrimmedOfSpaces) {
  EXPECT_EQ(SplitRecipients(" a@b.c , ,d@e.f ,"), (std::vector<std::string>{"a@b.c", "d@e.f"}));
  EXPECT_EQ(SplitRecipients("  x  "), std::vector<std::string>{"x"});
  EXPECT_TRUE(SplitRecipients("").empty());
}

TEST(MailJobRecipients, AnItemTheCutWouldDamageIsLeftOutWhole) {
  const std::string filler = std::string(226, 'a') + "@example.org, ";  // 240 bytes
  const auto recipients = [](const std::string& list) {
    return MakeMailJob("h", "f@e.org", list, false, "", "", "m").recipients;
  };
  // Cut at 255 bytes, "bob@example.com.au" would be left as "bob@example.com".
  EXPECT_EQ(recipients(filler + "bob@example.com.au"), filler.substr(0, 238));
  EXPECT_EQ(recipients(filler + "bob@example.com,c@example.org"), filler + "bob@example.com");
  EXPECT_EQ(recipients(filler + "bob@example.com   "), filler + "bob@example.com");
  EXPECT_EQ(recipients(std::string(300, 'b') + "@example.org"), "");
  PosixNetwork network;
  EXPECT_EQ(
      RunSmtpSession(MakeMailJob("h", "f@e.org", std::string(300, 'b') + "@example.org", false, "", "", "m"), network),
      "Invalid parameters.");
}

TEST(AddressTest, WantsOneAtAndADotAfterItButNotAtTheEnd) {
  EXPECT_TRUE(IsWellFormedAddress("me@example.org"));
  EXPECT_TRUE(IsWellFormedAddress("@example.org"));
  EXPECT_FALSE(IsWellFormedAddress(""));
  EXPECT_FALSE(IsWellFormedAddress("me@.example.org"));
  EXPECT_FALSE(IsWellFormedAddress("me@example..org"));
  EXPECT_FALSE(IsWellFormedAddress("me@example.org."));
  EXPECT_FALSE(IsWellFormedAddress("me.example.org"));
  EXPECT_FALSE(IsWellFormedAddress("me@x@example.org"));
  EXPECT_FALSE(IsWellFormedAddress("me@example"));
}

TEST(AddressTest, RefusesControlCharactersThatWouldInjectCommands) {
  EXPECT_FALSE(IsWellFormedAddress("me@example.org>\r\nRCPT TO: <other@example.org"));
  EXPECT_FALSE(IsWellFormedAddress("me@exam\nple.org"));
  EXPECT_FALSE(IsWellFormedAddress(std::string("me@example.org") + char(0x7F)));
  EXPECT_FALSE(IsWellFormedAddress("me@exa\tmple.org"));
}

TEST(Base64, BreaksLinesAfterSeventySixCharacters) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(Base64Encode(std::string(32, 'a')).size(), 44u);
  const std::string sixtyThree = Base64Encode(std::string(63, 'a'));
  EXPECT_EQ(sixtyThree.substr(76, 2), "\r\n");
  EXPECT_EQ(sixtyThree.size(), 76u + 2 + 8);
  EXPECT_EQ(Base64Encode(std::string(57, 'a')).substr(76), "\r\n");  // a full line ends with a break too
}

// A server on 127.0.0.1 that answers each line it reads with the next scripted reply and keeps
// every line it received.
class ScriptedServer {
 public:
  ScriptedServer(std::string greeting, std::vector<std::string> replies) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(listener_, 1);
    thread_ = std::thread([this, greeting, replies] { Serve(greeting, replies); });
  }
  ~ScriptedServer() {
    thread_.join();
    close(listener_);
  }
  std::uint16_t Port() const { return port_; }
  const std::vector<std::string>& Received() const { return received_; }

 private:
  // Reads until the client closes, so that no reply is lost to a reset connection.
  void Serve(const std::string& greeting, const std::vector<std::string>& replies) {
    const int client = accept(listener_, nullptr, nullptr);
    send(client, greeting.data(), greeting.size(), MSG_NOSIGNAL);
    size_t next = 0;
    std::string line;
    char byte;
    while (recv(client, &byte, 1, 0) == 1) {
      line += byte;
      if (byte != '\n') continue;
      received_.push_back(line);
      line.clear();
      if (next >= replies.size()) continue;
      const std::string& reply = replies[next++];
      if (reply != "-") send(client, reply.data(), reply.size(), MSG_NOSIGNAL);  // "-": a message line
    }
    close(client);
  }

  int listener_;
  std::uint16_t port_;
  std::thread thread_;
  std::vector<std::string> received_;
};

class SmtpSessionTest : public ::testing::Test {
 protected:
  std::string Run(ScriptedServer& server, MailJob job) {
    SmtpTimings timings;
    timings.port = server.Port();
    timings.waitMs = 2000;
    timings.retryDelayMs = 10;
    return RunSmtpSession(job, network_, timings);
  }
  MailJob Job(const std::string& recipients = "to@example.org") {
    return MakeMailJob("127.0.0.1", "from@example.org", recipients, false, "", "", "Subject: x\r\n\r\nhello");
  }
  PosixNetwork network_;
};

TEST_F(SmtpSessionTest, ReadsAMultiLineGreetingThenDeliversWithHelo) {
  ScriptedServer server("220-first\r\n220 ready\r\n", {"250 hi\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "-", "-",
                                                       "-", "250 queued\r\n", "221 bye\r\n"});
  EXPECT_EQ(Run(server, Job()), "");
  const auto& lines = server.Received();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "HELO veltrano\r\n");
  EXPECT_EQ(lines[1], "MAIL FROM: <from@example.org>\r\n");
  EXPECT_EQ(lines[2], "RCPT TO: <to@example.org>\r\n");
  EXPECT_EQ(lines[3], "DATA\r\n");
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[6], "hello\r\n");  // the message, then the end-of-data mark
  EXPECT_EQ(lines[7], ".\r\n");
  EXPECT_EQ(lines[8], "QUIT\r\n");
}

TEST_F(SmtpSessionTest, AnUnexpectedGreetingIsTheError) {
  ScriptedServer server("554 go away\r\n", {});
  EXPECT_EQ(Run(server, Job()), "554 go away");
}

// A code is exactly three digits: a longer number is an unexpected reply, not its last digits.
TEST_F(SmtpSessionTest, ReplyCodesAreThreeDigitsAndAnythingElseIsTheError) {
  {
    ScriptedServer server("4294967516 ready\r\n", {});
    EXPECT_EQ(Run(server, Job()), "4294967516 ready");
  }
  {
    ScriptedServer server("220 ready\r\n", {"4294967546 hi\r\n"});
    EXPECT_EQ(Run(server, Job()), "4294967546 hi");
  }
  {
    ScriptedServer server("220\r\n", {"250\r\n", "250 ok\r\n", "2500 ok\r\n", "221 bye\r\n"});
    EXPECT_EQ(Run(server, Job()), "SMTP Server didn't relay email.");
  }
  {
    ScriptedServer server("\r\n", {});
    EXPECT_EQ(Run(server, Job()), "Empty reply from SMTP server.");
  }
  {
    ScriptedServer server("220 hi\r\n", {"\r\n"});
    EXPECT_EQ(Run(server, Job()), "Empty reply from SMTP server.");
  }
  {
    ScriptedServer server("220 ready\r\n", {" 250 hi\r\n"});
    EXPECT_EQ(Run(server, Job()), " 250 hi");
  }
}

TEST_F(SmtpSessionTest, SkipsMalformedRecipientsAndReportsWhenNoneIsRelayed) {
  ScriptedServer server("220 ready\r\n", {"250 hi\r\n", "250 ok\r\n", "550 no\r\n", "550 no\r\n", "221 bye\r\n"});
  EXPECT_EQ(Run(server, Job(" a@example.org , nobody , b@example.org ")), "SMTP Server didn't relay email.");
  const auto& lines = server.Received();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[2], "RCPT TO: <a@example.org>\r\n");
  EXPECT_EQ(lines[3], "RCPT TO: <b@example.org>\r\n");
  EXPECT_EQ(lines[4], "QUIT\r\n");
}

TEST_F(SmtpSessionTest, LogsInWithEhloContinuationLinesAndAnEmptyPassword) {
  ScriptedServer server("220 ready\r\n", {"250-a\r\n250-AUTH LOGIN\r\n250 SIZE\r\n", "334 VXNlcm5hbWU6\r\n",
                                          "334 UGFzc3dvcmQ6\r\n", "535 bad\r\n"});
  MailJob job = Job();
  job.authenticate = true;
  job.accountName = "user";
  EXPECT_EQ(Run(server, job), "535 bad");
  const auto& lines = server.Received();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "EHLO veltrano\r\n");
  EXPECT_EQ(lines[1], "AUTH LOGIN\r\n");
  EXPECT_EQ(lines[2], "dXNlcg==\r\n");
  EXPECT_EQ(lines[3], "\r\n");
}

TEST_F(SmtpSessionTest, ASilentServerTimesOut) {
  ScriptedServer server("", {"never"});
  SmtpTimings timings;
  timings.port = server.Port();
  timings.waitMs = 200;
  EXPECT_EQ(RunSmtpSession(Job(), network_, timings), "Time out.");
}

TEST_F(SmtpSessionTest, RefusesIncompleteJobsBeforeConnecting) {
  EXPECT_EQ(RunSmtpSession(MakeMailJob("", "f@e.org", "t@e.org", false, "", "", "m"), network_), "Invalid parameters.");
  EXPECT_EQ(RunSmtpSession(MakeMailJob("h", "f@e.org", "nobody", false, "", "", "m"), network_), "Invalid parameters.");
  EXPECT_EQ(RunSmtpSession(MakeMailJob("h", "f@e.org", "t@e.org", true, "", "", "m"), network_), "Invalid parameters.");
  SmtpTimings timings;
  timings.port = 1;  // nothing listens there
  timings.retryDelayMs = 1;
  EXPECT_EQ(RunSmtpSession(MakeMailJob("127.0.0.1", "f@e.org", "t@e.org", false, "", "", "m"), network_, timings),
            "Failed to connect to SMTP server.");
}

}  // namespace
}  // namespace veltrano
