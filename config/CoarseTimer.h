#pragma once
// coarseTimerC: a timer with whole-second resolution on the C run-time's clock (time()), for
// waits that only need "at least so long". coarseTimeStampC: one remembered time value.
// Neither owns anything.

#include <ctime>

class coarseTimerC {
 public:
  // Start time := now, last time := 0.
  void start();
  // Last time := now; true when the whole seconds since start() (truncated) are at least
  // milliseconds / 1000 (integer division).
  bool elapsedAtLeast(long milliseconds);
  std::time_t startTime() const { return start_; }
  std::time_t lastTime() const { return last_; }

 private:
  std::time_t start_ = 0;
  std::time_t last_ = 0;
};

class coarseTimeStampC {
 public:
  // Sets the value to now and returns it.
  std::time_t reset();
  std::time_t value() const { return value_; }

 private:
  std::time_t value_ = 0;
};
