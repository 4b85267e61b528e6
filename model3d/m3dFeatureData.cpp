// Feature data files: a foreign file's bytes kept in a feature's "FEATDATA" blob, with the
// format and the file name in "FEATINFO", and written back out on request.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "meta/metaObjBlob.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatGen.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace {

// The part of the path after its last '/'; without one, after its last '\'; else all of it.
const char* fileNamePart(const char* path) {
  if (const char* slash = std::strrchr(path, '/')) return slash + 1;
  if (const char* backslash = std::strrchr(path, '\\')) return backslash + 1;
  return path;
}

}  // namespace

int m3dFeatGenC::importFeatureData(const char* formatName, const char* formatVersion,
                                   const char* path) const {
  if (!node()) return 0;
  const char* file = path ? path : "";
  const metaObjectC info(findOrAddChild("FEATINFO"), 0);
  info.setAttrString("FMTNAME", formatName ? formatName : "");
  info.setAttrString("FMTVERSION", formatVersion ? formatVersion : "");
  info.setAttrString("FILENAME", fileNamePart(file));

  if (metaTreeC* old = findChild("FEATDATA")) {
    old->unlink();
    delete old;
  }
  const metaObjBlobC blob(findOrAddChild("FEATDATA"), 0);

  // Only a regular file is read: a folder or a device has no length to take, a pipe is never
  // waited on. A file longer than the bound gives its first bytes and 0.
  std::string bytes;
  const platform::FileRead read = platform::readRegularFile(file, bytes, maxFeatureDataBytes);
  if (read == platform::FileRead::NotOpened) return 0;
  blob.setBlobData(reinterpret_cast<const unsigned char*>(bytes.data()),
                   static_cast<std::int64_t>(bytes.size()), 0);
  return read == platform::FileRead::Whole ? 1 : 0;
}

int m3dFeatGenC::exportFeatureData(const char* path) const {
  if (!node() || !path) return 0;
  const metaObjBlobC blob(findOrAddChild("FEATDATA"), 0);
  const std::int64_t n = blob.getSize();
  if (n <= 0) return 0;
  // The text holds 6 bits per character: a "SIZE" above what it can carry is a damaged record,
  // and no buffer of that size is made for it.
  const std::int64_t textLength =
      static_cast<std::int64_t>(std::strlen(blob.getAttrString("DATA")));
  if (n > textLength / 4 * 3 + (textLength % 4) * 6 / 8) return 0;
  std::vector<unsigned char> bytes(static_cast<std::size_t>(n));
  if (blob.getBlobData(bytes.data(), n) != n) return 0;
  const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return platform::replaceFileContents(path, data) ? 1 : 0;
}
