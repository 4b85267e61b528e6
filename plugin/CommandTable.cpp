#include "plugin/CommandTable.h"

#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

#if defined(KESTRIX_TEST_HOOKS)
#include <stdexcept>
#endif

namespace {

template <std::int32_t (CommandContext::*member)()>
std::int32_t call(CommandContext& context) {
  return (context.*member)();
}

#if defined(KESTRIX_TEST_HOOKS)
// Only in the modules of the end-to-end tests: lets a script show the dispatcher's catch-all.
std::int32_t runThrowingCommand(CommandContext&) {
  throw std::runtime_error("command failed on purpose");
}
#endif

constexpr CommandEntry kCommands[] = {
    {0, "C:TROVviewer", &call<&CommandContext::runViewerCommand>},
    {1, "C:TROVcon", &call<&CommandContext::runConnectionCommand>},
    {2, "C:TROVass", &call<&CommandContext::runAssemblyCommand>},
    {3, "C:TROVshaft", &call<&CommandContext::runShaftCommand>},
    {4, "C:TROVoptions", &call<&CommandContext::runOptionsDialog>},
    {5, "C:TROVopenps2", &call<&CommandContext::runOpenMetafileCommand>},
    {6, "C:TROVviewer3d", &call<&CommandContext::runViewer3dCommand>},
    {7, "C:TROVcon3d", &call<&CommandContext::runConnection3dCommand>},
    {8, "C:TROVshaft3d", &call<&CommandContext::runShaft3dCommand>},
    {9, "C:TROVass3d", &call<&CommandContext::runAssembly3dCommand>},
#if defined(KESTRIX_TEST_HOOKS)
    {10, "C:TROVthrow", &runThrowingCommand},
#endif
};

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

int registerCommands(std::span<const CommandEntry> table) {
  for (const CommandEntry& entry : table) {
    if (hostcall::defun(entry.hostName, entry.code) == 0) return 0;
  }
  return 1;
}

int registerCommands() { return registerCommands(commandTable()); }
