#include "round_timer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace pelo::bench {

namespace {

using Clock = std::chrono::steady_clock;

// A batch lasts at least this long, so that the clock's resolution and the
// loop around the calls do not show in the figures of small pictures.
constexpr double kMinBatchSeconds = 0.002;
constexpr int kMinRounds = 7;
constexpr int kMaxRounds = 61;
constexpr double kTargetSeconds = 1.5;

double Seconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

}  // namespace

void RoundTimer::Add(std::string name, Task task) {
  entries_.push_back({std::move(name), std::move(task), 1, {}});
}

bool RoundTimer::Calibrate(Entry& entry) {
  // The first call warms caches and the allocator and checks the result.
  const auto start = Clock::now();
  if (!entry.task()) {
    std::fprintf(stderr, "%s: wrong result\n", entry.name.c_str());
    return false;
  }
  const double once = std::max(Seconds(start, Clock::now()), 1e-7);
  entry.batch = std::clamp(static_cast<int>(kMinBatchSeconds / once) + 1, 1, 100000);
  return true;
}

bool RoundTimer::Round() {
  for (auto& entry : entries_) {
    const auto start = Clock::now();
    bool ok = true;
    for (int i = 0; i < entry.batch; ++i) ok &= entry.task();
    entry.samples.push_back(Seconds(start, Clock::now()) / entry.batch);
    if (!ok) {
      std::fprintf(stderr, "%s: wrong result\n", entry.name.c_str());
      return false;
    }
  }
  ++rounds_;
  return true;
}

bool RoundTimer::Run() {
  for (auto& entry : entries_)
    if (!Calibrate(entry)) return false;
  const auto start = Clock::now();
  while (rounds_ < kMinRounds ||
         (rounds_ < kMaxRounds && Seconds(start, Clock::now()) < kTargetSeconds)) {
    if (!Round()) return false;
  }
  return true;
}

double RoundTimer::Median(std::size_t index) const {
  std::vector<double> samples = entries_.at(index).samples;
  if (samples.empty()) return 0;
  const auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
  std::nth_element(samples.begin(), middle, samples.end());
  return *middle;
}

}  // namespace pelo::bench
