// The plug-in's start-up: start.env read through setupEnvironment, then trovsol.cfg read and
// expanded as the catalogue programs' launcher settings are. Input: a selector byte, then the two
// files cut at the first NUL. The module is placed (by its file name) in a scratch folder holding
// start.env, either as a native path or on a mapped drive letter.
// Checks: QUORVEL_PROGRAMDRIVE is the module's drive ("" for a native path); every key of the
// ENVIRONS block, as a configuration reader sees it, is a program variable with the block's value
// and "%DirOfThisFile%" replaced by the module's folder; no other program variable appears; and
// every launcher setting expands within bounds.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "config/QVConfig.h"
#include "config/QVConfigItem.h"
#include "config/TextUtilities.h"
#include "config/VariableExpansion.h"
#include "config/VariableTables.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Module.h"
#include "platform/Path.h"
#include "plugin/EnvironmentSetup.h"

namespace {

using fuzzing::check;

int moduleTag;   // its address stands for the module

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  const std::string& scratch = fuzzing::scratch();
  static const std::string folder = fuzzing::scratchFolder("inst/bin");
  static const std::string setup = fuzzing::scratchFolder("inst/setup");
  const bool onDrive = data[0] & 1;
  const std::vector<std::string> parts = fuzzing::splitParts(data + 1, size - 1, '\0', 2);
  fuzzing::writeFile(folder + "/start.env", parts[0]);
  fuzzing::writeFile(setup + "/trovsol.cfg", parts[1]);

  platform::clearDrives();
  std::string moduleFolder = folder;
  if (onDrive) {
    platform::setDrive("k", scratch + "/inst");
    moduleFolder = "k:/bin";
  }
  void* module = &moduleTag;
  platform::setModuleFileNameOverride(module, moduleFolder + "/kestrix.arx");
  clearVariables();
  clearFallbackVariables();

  setupEnvironment(module);

  RWCString drive;
  check(findFallbackVariable("QUORVEL_PROGRAMDRIVE", drive), "no QUORVEL_PROGRAMDRIVE");
  check(drive == (onDrive ? "k:" : ""), "QUORVEL_PROGRAMDRIVE is not the module's drive");

  std::istringstream in(parts[0]);
  QVConfig config(&in, nullptr, true);
  const RWCString block("ENVIRONS");
  RWTValOrderedVector<RWCString> keys = config.blockKeys(block);
  const RWCString here(moduleFolder.data(), moduleFolder.size());
  for (std::size_t i = 0; i < keys.entries(); ++i) {
    const QVConfigItem* item = config.findItem(keys[i], block);
    if (!item) continue;
    RWCString value;
    check(findVariable(keys[i], value), "a key of ENVIRONS is no program variable");
    const RWCString expected = replaceAll(item->value().asText(), "%DirOfThisFile%", here, 1);
    check(value == expected, "a program variable differs from its ENVIRONS value");
  }
  const RWTValOrderedVector<_QVEnvironClass>& table = programVariables();
  for (std::size_t i = 0; i < table.entries(); ++i) {
    bool listed = false;
    for (std::size_t k = 0; k < keys.entries() && !listed; ++k) listed = keys[k] == table[i].name;
    check(listed, "a program variable that ENVIRONS does not hold");
  }

  // The launcher settings, with the variables just entered.
  setVariable("QUORVEL_SETUP", RWCString(setup.c_str()));
  QVConfig settings(true);
  settings.loadFile(RWCString("$QUORVEL_SETUP/trovsol.cfg"));
  for (const char* entry : {"TROVstart", "TROVviewer", "TROVassembly", "TROVshaft", "TROVconnection"}) {
    for (const char* key : {"EXE", "EXE3D"}) {
      const RWCString raw = settings.value(key, entry).asText();
      const RWCString expanded = settings.value(key, entry).asExpandedText();
      check(expanded.length() <= raw.length() + kMaxExpandedLength + 4096,
            "an expansion grows past its bound");
    }
  }
  platform::clearModuleFileNameOverride(module);
  platform::clearDrives();
  return 0;
}
