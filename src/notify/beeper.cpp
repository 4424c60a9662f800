// The beeper's thread.
#include "notify/beeper.h"

#include <chrono>
#include <thread>

namespace veltrano {

const BeepPreset& BeepPresetFor(std::uint32_t preset) {
  static const BeepPreset kPresets[] = {
      {400, 100, "Low frequency, short duration"},     {400, 200, "Low frequency, medium duration"},
      {400, 400, "Low frequency, long duration"},      {900, 100, "Medium frequency, short duration"},
      {900, 200, "Medium frequency, medium duration"}, {900, 400, "Medium frequency, long duration"},
      {1600, 100, "High frequency, short duration"},   {1600, 200, "High frequency, medium duration"},
      {1600, 400, "High frequency, long duration"}};
  return kPresets[preset < 9 ? preset : 8];
}

Beeper::~Beeper() {
  std::unique_lock<std::mutex> guard(lock_);
  if (current_) current_->running = false;
  current_.reset();
  threadEnded_.wait(guard, [this] { return threads_ == 0; });
}

void Beeper::Start(unsigned frequencyHz, unsigned durationMs, unsigned count) {
  auto job = std::make_shared<Job>();
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (current_) current_->running = false;
    current_ = job;
    ++threads_;
  }
  std::thread(&Beeper::Run, this, job, frequencyHz, durationMs, count).detach();
}

void Beeper::Stop() {
  std::lock_guard<std::mutex> guard(lock_);
  if (current_) current_->running = false;
  current_.reset();
}

bool Beeper::IsRunning() {
  std::lock_guard<std::mutex> guard(lock_);
  return current_ != nullptr;
}

void Beeper::Run(std::shared_ptr<Job> job, unsigned frequencyHz, unsigned durationMs, unsigned count) {
  const auto pause = std::chrono::milliseconds(durationMs);
  for (unsigned left = count; count == 0 || left != 0; --left) {
    speaker_.Beep(frequencyHz, durationMs);
    if (!job->running) break;
    std::this_thread::sleep_for(pause);
    if (!job->running) break;
  }
  std::lock_guard<std::mutex> guard(lock_);
  if (current_ == job) current_.reset();
  --threads_;
  threadEnded_.notify_all();
}

}  // namespace veltrano
