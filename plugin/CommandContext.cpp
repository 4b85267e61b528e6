#include "plugin/CommandContext.h"

#include "plugin/HostBinding.h"

CommandContext::CommandContext() = default;
CommandContext::~CommandContext() = default;

void CommandContext::loadForCommand() {}

bool CommandContext::isInchAllowed() const { return true; }

std::int32_t CommandContext::reportNotBuilt(const char* commandName) {
  hostcall::print("\n%s: not built yet\n", commandName);
  return -1;
}

std::int32_t CommandContext::runViewerCommand() { return reportNotBuilt("TROVviewer"); }
std::int32_t CommandContext::runConnectionCommand() { return reportNotBuilt("TROVcon"); }
std::int32_t CommandContext::runAssemblyCommand() { return reportNotBuilt("TROVass"); }
std::int32_t CommandContext::runShaftCommand() { return reportNotBuilt("TROVshaft"); }
std::int32_t CommandContext::runOptionsDialog() { return reportNotBuilt("TROVoptions"); }
std::int32_t CommandContext::runOpenMetafileCommand() { return reportNotBuilt("TROVopenps2"); }
std::int32_t CommandContext::runViewer3dCommand() { return reportNotBuilt("TROVviewer3d"); }
std::int32_t CommandContext::runConnection3dCommand() { return 1; }
std::int32_t CommandContext::runShaft3dCommand() { return reportNotBuilt("TROVshaft3d"); }
std::int32_t CommandContext::runAssembly3dCommand() { return reportNotBuilt("TROVass3d"); }
