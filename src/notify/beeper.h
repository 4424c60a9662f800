// Repeating beeps for the alert window and the options page's test button. One job sounds at a
// time: starting a job stops the one before.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/speaker.h"

namespace veltrano {

struct BeepPreset {
  unsigned frequencyHz;
  unsigned durationMs;  // also the pause between tones
  const char* name;
};

// Presets 0..8; any other number plays as preset 8.
const BeepPreset& BeepPresetFor(std::uint32_t preset);

class Beeper {
 public:
  explicit Beeper(Speaker& speaker) : speaker_(speaker) {}
  // Stops the current job and waits for the threads to end: they use this object.
  ~Beeper();

  // count 0 repeats until stopped. Runs on a thread of its own.
  void Start(unsigned frequencyHz, unsigned durationMs, unsigned count);
  // The tone being sounded finishes; no other follows.
  void Stop();
  bool IsRunning();

 private:
  struct Job {
    std::atomic<bool> running{true};
  };
  void Run(std::shared_ptr<Job> job, unsigned frequencyHz, unsigned durationMs, unsigned count);

  Speaker& speaker_;
  std::mutex lock_;  // guards current_ and threads_
  std::shared_ptr<Job> current_;
  int threads_ = 0;
  std::condition_variable threadEnded_;
};

}  // namespace veltrano
