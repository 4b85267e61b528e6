// Insertion of the part that a catalogue program left in its exchange file. This build does not
// insert parts yet: both steps say so on the host's command line and report failure, so that a
// 2D command ends as failed and a 3D command (which ignores the result) ends as done.
#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

std::int32_t CommandContext::insertMetafilePart(const RWCString& fileName) {
  hostcall::print("\nInserting parts is not built yet: %s was not read\n", fileName.data());
  return -1;
}

std::int32_t CommandContext::insertSatPart(const RWCString& fileName) {
  hostcall::print("\nInserting parts is not built yet: %s was not read\n", fileName.data());
  return -1;
}
