// Fuzz target: the blob codec and the extended-attribute parser on text that may come from a file.
// The first two bytes give the SIZE to declare and the decode buffer's capacity; the rest is used
// as DATA text, as bytes to round-trip, and as an extended-attribute list. Checks that decoding
// never writes past SIZE or the buffer, that encoding then decoding gives the bytes back, and that
// the parser reads no more pairs than the text has open braces.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "meta/metaExtendedAttributes.h"
#include "meta/metaObjBlob.h"
#include "meta/metaTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::int64_t declared = data[0] * 4 - 8;  // -8 .. 1012
  const std::int64_t capacity = data[1] * 4;
  const unsigned char* rest = data + 2;
  const std::size_t restSize = size - 2;
  const std::string text(reinterpret_cast<const char*>(rest),
                         std::find(rest, rest + restSize, 0) - rest);

  {
    metaObjBlobC blob(metaTreeC::createKeyNode("BLOB"), 1);
    blob.setAttrInt("SIZE", declared);
    blob.setAttrString("DATA", text.c_str());
    // Exactly `capacity` bytes on the heap, so that a write past them is caught.
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[capacity ? capacity : 1]);
    const std::int64_t got = blob.getBlobData(buffer.get(), capacity);
    if (got != -1 && (got < 0 || got > declared || got > capacity)) std::abort();
    if (got == -1 && declared > 0 && capacity >= declared) std::abort();
  }
  {
    metaObjBlobC blob(metaTreeC::createKeyNode("BLOB"), 1);
    if (blob.setBlobData(rest, static_cast<std::int64_t>(restSize), 0) != 1) std::abort();
    std::vector<unsigned char> back(restSize + 1);
    const std::int64_t got = blob.getBlobData(back.data(), static_cast<std::int64_t>(restSize));
    if (restSize == 0 ? got != -1 : got != static_cast<std::int64_t>(restSize)) std::abort();
    if (restSize && std::memcmp(back.data(), rest, restSize) != 0) std::abort();
  }
  {
    const int inWidth = 1 + data[0] % 8;
    const int outWidth = 1 + data[1] % 8;
    const std::size_t room = blobRegroupCount(inWidth, restSize, outWidth);
    std::unique_ptr<unsigned char[]> out(new unsigned char[room ? room : 1]);
    std::size_t produced = 0;
    if (blobRegroupBits(rest, inWidth, restSize, out.get(), outWidth, room, &produced, nullptr,
                        nullptr) != 1 ||
        produced > room)
      std::abort();
  }
  {
    metaObjectC node(metaTreeC::createKeyNode("N"), 1);
    const std::int64_t pairs = parseExtendedAttributes(text.c_str(), node);
    if (pairs < 0 || pairs > static_cast<std::int64_t>(std::count(text.begin(), text.end(), '{')))
      std::abort();
    if (node.childCount() > pairs) std::abort();
    findExtendedAttribute(node, text.c_str());
  }
  return 0;
}
