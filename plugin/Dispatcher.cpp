#include "plugin/Dispatcher.h"

#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

namespace {

void setCommandEcho(const char* value) {
  hostcall::command(RTSTR, "_cmdecho", RTSTR, value, RTNONE);
}

void reportInternalError() noexcept { hostcall::print("%s", kInternalErrorMessage); }

// Inch mode for an imperial drawing (MEASUREMENT 0) whose configuration allows it. A failed query
// or a value of another type leaves the mode as it is.
void applyMeasurement(CommandContext& context) {
  resbuf value{};
  if (hostcall::getVar("MEASUREMENT", &value) != RTNORM) return;
  if (value.restype == RTLONG && value.resval.rlong == 0 && context.isInchAllowed()) {
    context.setInchMode(1);
  }
}

const CommandEntry* findCommand(std::span<const CommandEntry> table, int code) {
  for (const CommandEntry& entry : table) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

}  // namespace

void runInvocation(CommandContext& context, int code, std::span<const CommandEntry> table) {
  if (code < 0) return;
  setCommandEcho("0");
  try {
    applyMeasurement(context);
    if (const CommandEntry* entry = findCommand(table, code)) entry->run(context);
  } catch (...) {
    reportInternalError();
  }
  setCommandEcho("1");
}

void dispatchCommand() {
  // Building and loading the context may throw too (an allocation failure, a foundation error
  // while reading a file); such an exception ends the invocation before the echo is touched and
  // is reported like one from the command, so that none leaves the host's entry point.
  try {
    CommandContext context;
    context.loadForCommand();
    runInvocation(context, hostcall::getFunCode(), commandTable());
  } catch (...) {
    reportInternalError();
  }
}
