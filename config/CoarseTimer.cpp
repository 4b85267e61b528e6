// The coarse timer; see CoarseTimer.h.

#include "config/CoarseTimer.h"

void coarseTimerC::start() {
  start_ = std::time(nullptr);
  last_ = 0;
}

bool coarseTimerC::elapsedAtLeast(long milliseconds) {
  last_ = std::time(nullptr);
  const long seconds = static_cast<long>(std::difftime(last_, start_));
  return seconds >= milliseconds / 1000;
}

std::time_t coarseTimeStampC::reset() {
  value_ = std::time(nullptr);
  return value_;
}
