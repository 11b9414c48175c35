#include "round_timer.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace pelo::bench {

namespace {

// A batch lasts at least this long, so that the clock's resolution and the
// loop around the calls do not show in the figures of small pictures.
constexpr double kMinBatchSeconds = 0.002;
constexpr int kMinRounds = 7;
constexpr int kMaxRounds = 61;
constexpr double kTargetSeconds = 1.5;

// CPU time of this thread: on a machine shared with builds and fuzzers the
// time spent waiting for a core says nothing about the module. The calls
// measured never wait for anything else (all sources are in memory), and
// the kernel's work for them (page faults) is counted. Under wine a
// thread's CPU time comes in ticks of 10 ms, so the Windows programs take
// wall time, medians of their rounds keeping out most of the load.
double ThreadSeconds() {
  timespec now{};
#ifdef _WIN32
  clock_gettime(CLOCK_MONOTONIC, &now);
#else
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
#endif
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall time bounds how long the whole run takes.
double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

void RoundTimer::Add(std::string name, Task task) {
  entries_.push_back({std::move(name), std::move(task), 1, {}});
}

bool RoundTimer::Calibrate(Entry& entry) {
  // The first call warms caches and the allocator and checks the result.
  const double start = ThreadSeconds();
  if (!entry.task()) {
    std::fprintf(stderr, "%s: wrong result\n", entry.name.c_str());
    return false;
  }
  const double once = std::max(ThreadSeconds() - start, 1e-7);
  entry.batch = std::clamp(static_cast<int>(kMinBatchSeconds / once) + 1, 1, 100000);
  return true;
}

bool RoundTimer::Round() {
  for (auto& entry : entries_) {
    const double start = ThreadSeconds();
    bool ok = true;
    for (int i = 0; i < entry.batch; ++i) ok &= entry.task();
    entry.samples.push_back((ThreadSeconds() - start) / entry.batch);
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
  const double start = WallSeconds();
  while (rounds_ < kMinRounds || (rounds_ < kMaxRounds && WallSeconds() - start < kTargetSeconds)) {
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
