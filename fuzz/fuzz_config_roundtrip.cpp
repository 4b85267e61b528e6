// Load -> save -> load of configuration text: the second model must equal the first, and saving
// it again must give the same text. The first input byte chooses the name comparison (bit 0) and
// whether the first item of every block is edited before the save (bit 1); such an edit must be
// what the second load reads.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <sstream>
#include <string>

#include "config/QVConfig.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "round trip broken: %s\n", what);
  std::abort();
}

// The model as text: blocks in order, items in order, with their values.
std::string describe(QVConfig& config) {
  std::string out;
  RWTValOrderedVector<RWCString> names = config.blockNames();
  for (std::size_t b = 0; b < names.count(); ++b) {
    out += "[" + std::string(names[b].data(), names[b].length()) + "]\n";
    QVConfigBlock* block = config.findBlock(names[b]);
    if (!block) fail("listed block not found");
    for (std::size_t i = 0; i < block->itemCount(); ++i) {
      const QVConfigItem* item = block->itemAt(i);
      out += std::string(item->key().data(), item->key().length()) + "=" +
             std::string(item->value().asText().data(), item->value().asText().length()) + "\n";
    }
  }
  return out;
}

std::string saveToText(QVConfig& config, bool& ok) {
  std::stringstream out;
  config.setOutputStream(&out);
  ok = config.save() == 0;
  config.setOutputStream(nullptr);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  const bool ignoreCase = data[0] & 1;
  const bool edit = data[0] & 2;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::istringstream in1(text);
  QVConfig first(&in1, nullptr, ignoreCase);
  if (edit) {
    RWTValOrderedVector<RWCString> names = first.blockNames();
    for (std::size_t b = 0; b < names.count(); ++b) {
      QVConfigBlock* block = first.findBlock(names[b]);
      if (block && block->itemCount() > 0 && !block->itemAt(0)->key().isEmpty())
        block->itemAt(0)->value().setText("edited");
    }
  }
  bool ok = false;
  const std::string saved = saveToText(first, ok);
  if (!ok) return 0;  // refused: some name or value could not be written as one line

  std::istringstream in2(saved);
  QVConfig second(&in2, nullptr, ignoreCase);
  // The edits live in the first model, so they must be what the second load reads.
  if (describe(first) != describe(second)) fail("second load differs from the first");

  const std::string again = saveToText(second, ok);
  if (!ok) fail("saving the reloaded model was refused");
  if (again != saved) fail("saving the reloaded model changed the text");
  return 0;
}
