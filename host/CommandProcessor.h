#pragma once
// The host commands that acedCommand runs: "_cmdecho", "_.layer", "_.linetype", "_.BLOCK" and
// "_acisin" (names ignore case and may carry the "_" and "." prefixes). One call may hold
// several commands in a row. A command that fails writes a transcript line and makes the call
// return RTERROR; what earlier commands of the call did stays.

#include <cstddef>
#include <string>

#include "host/Group.h"

namespace kxhost {

class HostSession;

class CommandProcessor {
public:
  explicit CommandProcessor(HostSession& host) : host_(host) {}

  // `args` are the typed values of the call (RTNONE excluded).
  int run(const GroupList& args);

private:
  bool cmdecho(std::string& error);
  bool layer(std::string& error);
  bool linetype(std::string& error);
  bool block(std::string& error);
  bool acisin(std::string& error);

  // The next argument as text (RTSTR), or false at the end or for another kind.
  bool text(std::string& out);
  bool atEnd() const { return pos_ >= args_->size(); }
  std::string echoText() const;

  HostSession& host_;
  const GroupList* args_ = nullptr;
  std::size_t pos_ = 0;
  std::size_t start_ = 0;
};

}  // namespace kxhost
