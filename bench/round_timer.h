// Median timings of several tasks measured side by side: every round times
// one batch of each task in turn, so a burst of load from elsewhere on the
// machine slows all of them alike and their ratios stay meaningful.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pelo::bench {

class RoundTimer {
 public:
  // A task returns false when its result is wrong; the run then stops.
  using Task = std::function<bool()>;

  void Add(std::string name, Task task);
  // Times every task; false when one of them failed.
  bool Run();
  // Median seconds per call of the task added as index-th.
  double Median(std::size_t index) const;
  int Rounds() const { return rounds_; }

 private:
  struct Entry {
    std::string name;
    Task task;
    int batch = 1;
    std::vector<double> samples;
  };
  bool Calibrate(Entry& entry);
  bool Round();

  std::vector<Entry> entries_;
  int rounds_ = 0;
};

}  // namespace pelo::bench
