#include "meta/cLocaleGuard.h"

#include <clocale>

cLocaleGuardC::cLocaleGuardC() {
  if (const char* name = std::setlocale(LC_ALL, nullptr)) {
    saved_ = name;
    haveSaved_ = true;
  }
  std::setlocale(LC_ALL, "C");
}

cLocaleGuardC::~cLocaleGuardC() {
  if (haveSaved_) std::setlocale(LC_ALL, saved_.c_str());
}
