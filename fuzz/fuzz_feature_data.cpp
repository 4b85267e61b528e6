// Fuzz target: feature data files. The first byte picks the road. Road 0 writes the rest to a
// file, imports it into a feature and exports it again: the import must succeed and the export
// must give the same bytes. Road 1 reads the rest as a metafile tree (a feature record as it may
// come from an exchange file) and exports its "FEATDATA": a damaged record must fail cleanly,
// and a success must write exactly "SIZE" bytes.

#include <cstddef>
#include <cstdint>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "meta/metaObjBlob.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "model3d/m3dFeatGen.h"
#include "platform/FileSystem.h"

namespace {

// The scratch folder of this process, made on first use and removed at exit. Held on the heap and
// never freed, so the exit handler can still read it after static destruction.
const std::string* scratchFolder = nullptr;

std::string scratchFile(const char* name) {
  if (!scratchFolder) {
    scratchFolder = new std::string(
        platform::tempFolder() + "/kestrix-fuzz-feature-data-" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    platform::makeFolders(*scratchFolder);
    std::atexit([] {
      platform::removeFile(*scratchFolder + "/in.bin");
      platform::removeFile(*scratchFolder + "/out.bin");
      platform::removeFolder(*scratchFolder);
    });
  }
  return *scratchFolder + "/" + name;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string in = scratchFile("in.bin");
  const std::string out = scratchFile("out.bin");
  platform::removeFile(out);

  if (data[0] % 2 == 0) {
    {
      std::ofstream file(in, std::ios::binary | std::ios::trunc);
      file.write(rest.data(), static_cast<std::streamsize>(rest.size()));
    }
    m3dFeatGenC feature(metaTreeC::createKeyNode("BASE"), 1);
    if (!feature.importFeatureData("F", "1", in.c_str())) std::abort();
    const int exported = feature.exportFeatureData(out.c_str());
    if (rest.empty() ? exported != 0 : (exported != 1 || readAll(out) != rest)) std::abort();
    return 0;
  }

  std::istringstream text(rest);
  metaTreeReaderC reader;
  reader.setInput(&text);
  metaTreeC* root = reader.read(1);
  if (!root) return 0;
  m3dFeatGenC feature(root, 1);
  if (feature.exportFeatureData(out.c_str())) {
    const std::int64_t declared = metaObjBlobC(feature.findChild("FEATDATA"), 0).getSize();
    if (static_cast<std::int64_t>(readAll(out).size()) != declared) std::abort();
  }
  return 0;
}
