#pragma once
// cLocaleGuardC: switches the C library to the "C" locale for its scope and restores the locale
// that was in force before. Guards nest; the guard owns its copy of the saved locale name.

#include <string>

class cLocaleGuardC {
public:
  // Saves the name setlocale(LC_ALL, NULL) reports, then selects "C".
  cLocaleGuardC();
  // Restores the saved locale when a name was saved.
  ~cLocaleGuardC();
  cLocaleGuardC(const cLocaleGuardC&) = delete;
  cLocaleGuardC& operator=(const cLocaleGuardC&) = delete;

private:
  std::string saved_;
  bool haveSaved_ = false;
};
