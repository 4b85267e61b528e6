#include "foundation/RWxmsg.h"

#include "foundation/RWMessageTable.h"
#include "foundation/RWStrDup.h"

void RWxmsg::assign(const char* text, bool owns) {
  if (!text) {
    text = "";
    owns = false;
  }
  if (owns) {
    text_ = RWStrDup(text);
    ownsText_ = 1;
  } else {
    text_ = text;
    ownsText_ = 0;
  }
}

RWxmsg::RWxmsg(const char* text) { assign(text, true); }
RWxmsg::RWxmsg(const FormattedMessage& msg) { assign(msg.text(), true); }
RWxmsg::RWxmsg(const char* text, bool owns) { assign(text, owns); }
RWxmsg::RWxmsg(const RWxmsg& other) { assign(other.text_, other.ownsText_ != 0); }

RWxmsg& RWxmsg::operator=(const RWxmsg& other) {
  if (this == &other) return *this;
  const char* old = ownsText_ ? text_ : nullptr;
  assign(other.text_, other.ownsText_ != 0);
  delete[] old;
  return *this;
}

RWxmsg::~RWxmsg() {
  if (ownsText_) delete[] text_;
}

RWxalloc::RWxalloc(std::size_t size) : RWxmsg(RWMsg::noMem().text, false), size_(size) {}
