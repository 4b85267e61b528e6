// Metafile text of any content: the reader must either return a sound tree or report one of its
// errors with a position inside the input, never overrun, recurse without bound or leak. A tree
// it returns must dump to text that reads back to the same tree, and its copy must dump the same.
// The same text is then read as the loader reads it, with the post-load pass of the references.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "meta/testing/metaTreeDump.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = std::string()) {
  std::fprintf(stderr, "metafile reader broken: %s %s\n", what, detail.c_str());
  std::abort();
}

// Every link agrees with its neighbours; returns the number of nodes and the deepest level.
void checkLinks(const metaTreeC* first, long& nodes, int& deepest) {
  const metaTreeC* node = first;
  int level = 0;
  while (node) {
    ++nodes;
    if (level > deepest) deepest = level;
    if (node->nextSibling() && node->nextSibling()->previousSibling() != node)
      fail("next/previous links disagree");
    if (node->nextSibling() && node->nextSibling()->parent() != node->parent())
      fail("siblings with different parents");
    if (const metaTreeC* child = node->firstChild()) {
      if (child->parent() != node) fail("child does not name its parent");
      if (child->previousSibling()) fail("first child has a previous sibling");
      node = child;
      ++level;
      continue;
    }
    while (node && !node->nextSibling()) {
      if (level == 0) return;
      node = node->parent();
      --level;
    }
    if (node) node = node->nextSibling();
  }
}

bool knownError(const std::string& message) {
  static const char* const messages[] = {"ill seperator char", "ill char in string",
                                         "section without key found", "section count wrong",
                                         "eof fail", "out of memory",
                                         "token too long"};
  for (const char* m : messages)
    if (message == m) return true;
  return message.rfind("value invalid :", 0) == 0;
}

metaTreeC* readText(const std::string& text, metaTreeReaderC& reader, int postLoad = 0) {
  std::istringstream in(text);
  reader.setInput(&in);
  return reader.read(postLoad);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 18) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  long lines = 1;
  for (char c : text) lines += c == '\n';

  metaTreeReaderC reader;
  metaTreeC* tree = readText(text, reader);
  if (!tree) {
    if (!reader.hasError()) return 0;  // empty input
    if (!knownError(reader.errorMessage())) fail("unknown error text", reader.errorMessage());
    const metaSourcePosC at = reader.errorPosition();
    if (at.line < 1 || at.line > lines || at.column < 0 ||
        static_cast<std::size_t>(at.column) > size)
      fail("error position outside the input", reader.errorText().text());
    return 0;
  }
  if (reader.hasError()) fail("tree returned with an error");

  long nodes = 0;
  int deepest = 0;
  checkLinks(tree, nodes, deepest);

  const std::string dump = metatesting::dumpTree(tree);
  metaTreeReaderC again;
  metaTreeC* reread = readText(dump, again);
  if (!reread) fail("dump does not read back", again.errorText().text());
  if (metatesting::dumpTree(reread) != dump) fail("dump reads back to another tree", dump);

  metaTreeC* copy = tree->cloneWithSiblings();
  long copied = 0;
  int copiedDepth = 0;
  checkLinks(copy, copied, copiedDepth);
  if (copied != nodes || metatesting::dumpTree(copy) != dump) fail("copy differs", dump);

  delete copy;
  delete reread;
  delete tree;

  metaTreeReaderC loader;
  metaTreeC* loaded = readText(text, loader, 1);
  if (!loaded) fail("text read without the pass fails with it", loader.errorText().text());
  delete loaded;
  return 0;
}
