#pragma once
// The deterministic text dump of a run that tests compare: the module's state, system
// variables, LAYER and LTYPE tables, blocks with their entities, model-space entities with
// every group, and the number of entities of each type per space (for cross-checks with an
// independent DXF reader). Numbers are written with up to 10 significant digits.

#include <string>

namespace kxhost {

class HostSession;
class TextSink;

class DrawingDump {
public:
  explicit DrawingDump(HostSession& host) : host_(host) {}

  // Writes the dump into the file a piece at a time, never holding it whole.
  bool save(const std::string& nativePath, std::string& error) const;

private:
  void write(TextSink& out) const;

  HostSession& host_;
};

}  // namespace kxhost
