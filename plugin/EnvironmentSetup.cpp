#include "plugin/EnvironmentSetup.h"

#include <sstream>
#include <string>

#include "config/QVConfig.h"
#include "config/QVConfigItem.h"
#include "config/TextUtilities.h"
#include "config/VariableTables.h"
#include "config/pathName.h"
#include "foundation/RWCString.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"

namespace {

// The folders searched for start.env: the module's own, its parent and its grandparent.
constexpr int kSearchedFolders = 3;

// Largest start.env read, in bytes: its block names a handful of folders.
constexpr std::uint64_t kMaxEnvironmentFileBytes = 1024 * 1024;

// "c:" for a path with a drive letter, "//server/share" for a network path with a share, else
// empty. Server and share cannot hold a separator here: the path text uses '/' only and both end
// at one.
RWCString programDrive(const pathNameC& modulePath) {
  RWCString drive;
  if (modulePath.hasDrive()) drive = modulePath.driveLetter() + ":";
  if (modulePath.isUncPath() && modulePath.hasShareName())
    drive = RWCString("//") + modulePath.serverName() + "/" + modulePath.shareName();
  return drive;
}

// Enters every key of the file's ENVIRONS block into the program table, in file order, with
// "%DirOfThisFile%" (any letter case) replaced by `folder`. The file is read from a stream opened
// here, so its name is taken as it stands and never variable-expanded (a folder named "$x" or a
// share "//srv/c$" stays what it is).
void enterEnvironment(const pathNameC& file, const pathNameC& folder) {
  const RWCString name = file.text();
  std::string text;
  if (platform::readRegularFile(std::string_view(name.data(), name.length()), text,
                                kMaxEnvironmentFileBytes) != platform::FileRead::Whole)
    return;   // as for a file that cannot be read: no variables
  std::istringstream in(text);
  QVConfig config(&in, nullptr, true);
  const RWCString block("ENVIRONS");
  RWTValOrderedVector<RWCString> keys = config.blockKeys(block);
  const RWCString here = folder.text();
  for (std::size_t i = 0; i < keys.entries(); ++i) {
    const QVConfigItem* item = config.findItem(keys[i], block);
    if (!item) continue;
    RWCString value = replaceAll(item->value().asText(), "%DirOfThisFile%", here, 1);
    setVariable(keys[i], value, 0);
  }
}

}  // namespace

void setupEnvironment(void* moduleHandle) {
  std::string name = platform::moduleFileName(moduleHandle);
  pathNameC modulePath(RWCString(name.data(), name.size()));

  setFallbackVariable("QUORVEL_PROGRAMDRIVE", programDrive(modulePath));

  // An empty folder would mean the working folder, which is never searched.
  pathNameC folder = modulePath.parent();
  for (int i = 0; i < kSearchedFolders && !folder.isEmpty(); ++i) {
    pathNameC candidate = folder.join(pathNameC("start.env"));
    if (candidate.exists() && candidate.isFile() && candidate.isReadable()) {
      enterEnvironment(candidate, folder);
      return;
    }
    folder = folder.parent();
  }
}
