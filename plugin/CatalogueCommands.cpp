// The catalogue program commands: each hands the user over to one of the maker's catalogue
// programs through the launcher named in "$QUORVEL_SETUP/trovsol.cfg", waits until the launcher
// has ended while the host's window messages keep flowing, and then inserts the part that the
// program left in the exchange file. The launcher settings are read afresh for every launch.
#include <cstdint>
#include <string_view>

#include "config/QVConfig.h"
#include "plugin/CommandContext.h"
#include "platform/FileSystem.h"
#include "platform/MessagePump.h"
#include "platform/Process.h"

namespace {

// The launcher settings file; its values are read with their variables expanded.
constexpr const char* kLauncherSettingsFileName = "$QUORVEL_SETUP/trovsol.cfg";

// Server and topic texts of the catalogue programs, exactly as the programs expect them (the
// viewer's has no leading blank, the others have one).
constexpr const char* kViewerServer = "-server TrovViewer -topic TrovViewer";
constexpr const char* kAssemblyServer = " -server TrovAssembly -topic TrovAssembly";
constexpr const char* kShaftServer = " -server TrovWel -topic TrovWel";

// Program entries: the blocks of the launcher settings that describe the programs.
constexpr const char* kViewerEntry = "TROVviewer";
constexpr const char* kAssemblyEntry = "TROVassembly";
constexpr const char* kShaftEntry = "TROVshaft";

// The launcher gets a second to start before its exit code is first asked for.
constexpr std::uint32_t kFirstWaitMs = 1000;
// Pause between two polls of the exit code, so that the wait does not keep a processor busy;
// short enough that the host's window still answers promptly.
constexpr std::uint32_t kPollPauseMs = 10;

std::string_view view(const RWCString& text) { return std::string_view(text.data(), text.length()); }

// A path as one argument of a command line (the launcher, the program and the exchange files) that is split by the Windows rules. A path without
// blanks, tabs or quotes is left exactly as it is; any other is enclosed in quotes, with quotes
// inside and the backslashes before them (or before the closing quote) escaped, so that the
// splitting gives back the path unchanged.
RWCString commandLinePath(const RWCString& path) {
  if (!path.isEmpty() && path.findAnyChar(" \t\"") == RW_NPOS) return path;
  RWCString quoted("\"");
  std::size_t backslashes = 0;
  for (std::size_t i = 0; i < path.length(); ++i) {
    const char c = path[i];
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append('\\', c == '"' ? backslashes * 2 + 1 : backslashes);
    backslashes = 0;
    quoted += c;
  }
  quoted.append('\\', backslashes * 2);
  quoted += '"';
  return quoted;
}

// A 2D catalogue command: the pen-class layers, the program's exchange and then the insertion
// of the part it left. The first step that does not give 1 ends the command with its result.
std::int32_t runCatalogue2d(CommandContext& context, const char* programEntry,
                            const char* serverAndTopic) {
  std::int32_t result = context.prepareLayers();
  if (result != 1) return result;
  result = context.exchangeMetafile(programEntry, serverAndTopic);
  if (result != 1) return result;
  return context.insertMetafilePart(context.metafileName());
}

}  // namespace

// ---- the commands ----------------------------------------------------------------------------

std::int32_t CommandContext::runViewerCommand() {
  return runCatalogue2d(*this, kViewerEntry, kViewerServer);
}

std::int32_t CommandContext::runAssemblyCommand() {
  return runCatalogue2d(*this, kAssemblyEntry, kAssemblyServer);
}

std::int32_t CommandContext::runShaftCommand() {
  return runCatalogue2d(*this, kShaftEntry, kShaftServer);
}

// The 3D commands report their failures themselves and always end as done.
std::int32_t CommandContext::runViewer3dCommand() {
  if (exchangeSat(kViewerEntry, kViewerServer) == 1) insertSatPart(satFileName());
  return 1;
}

std::int32_t CommandContext::runShaft3dCommand() {
  if (exchangeSat(kShaftEntry, kShaftServer) == 1) insertSatPart(satFileName());
  return 1;
}

std::int32_t CommandContext::runAssembly3dCommand() {
  if (exchangeSat(kAssemblyEntry, kAssemblyServer) == 1) insertSatPart(satFileName());
  return 1;
}

std::int32_t CommandContext::runConnection3dCommand() { return 1; }

// ---- exchange steps ----------------------------------------------------------------------------

std::int32_t CommandContext::exchangeMetafile(const char* programEntry, const char* serverAndTopic) {
  // An old exchange file must not be taken for the new part; a missing one is fine.
  platform::removeFile(view(metafileName()));
  RWCString arguments(serverAndTopic);
  arguments += " ";
  arguments += " -poke RECEIVERCADID=Autocad.2d -fm METAV2 -o ";
  arguments += commandLinePath(metafileName());
  return runSibling(programEntry, arguments);
}

std::int32_t CommandContext::exchangeSat(const char* programEntry, const char* serverAndTopic) {
  platform::removeFile(view(satFileName()));
  RWCString arguments(serverAndTopic);
  arguments += " ";
  arguments += " -poke RECEIVERCADID=Autocad.3d -fm sat -poke FormatVersion=";
  arguments += satVersion();
  arguments += " -o ";
  arguments += commandLinePath(satFileName());
  return runSibling(programEntry, arguments);
}

// ---- launcher ----------------------------------------------------------------------------------

std::int32_t CommandContext::runSibling(const char* programEntry, const RWCString& arguments) {
  // A missing settings file leaves every value empty and so ends at the launcher check.
  QVConfig settings(true);
  settings.loadFile(RWCString(kLauncherSettingsFileName));
  const RWCString launcher = settings.value("EXE", "TROVstart").asExpandedText();
  RWCString program = settings.value("EXE", programEntry).asExpandedText();
  if (program.isEmpty()) program = settings.value("EXE3D", programEntry).asExpandedText();

  if (launcher.isEmpty() || !platform::isAccessible(view(launcher), platform::kAccessExists)) {
    alertMessage("Programm TROVstart (%s) wurde nicht gefunden!", launcher.data());
    return -1;
  }
  if (program.isEmpty() || !platform::isAccessible(view(program), platform::kAccessExists)) {
    alertMessage("Programm %s wurde nicht gefunden!", program.data());
    return -1;
  }

  // The process start takes the launcher's name as the check above did (a name without a folder
  // is a file of the working folder; no PATH), and the launcher takes the program's so: the files
  // started are the files checked.
  RWCString commandLine = commandLinePath(launcher);
  commandLine += " -pview";
  commandLine += " ";
  commandLine += commandLinePath(program);
  commandLine += " ";
  commandLine += arguments;

  bool started = false;
  const std::int64_t process = startProcess(commandLine, started);
  if (!started) {
    alertMessage("Programm %s konnte nicht gestartet werden!", launcher.data());
    return -1;
  }

  // The launcher ends only when the program has ended and the user is done with it; until then
  // the host's window messages are drained after every poll. A failed poll ends the wait too.
  // The exit code itself is not examined.
  platform::sleepMilliseconds(kFirstWaitMs);
  for (;;) {
    std::uint32_t code = 0;
    const bool polled = platform::processExitCode(process, code);
    pumpMessages();
    if (!polled || code != platform::kStillActive) break;
    platform::sleepMilliseconds(kPollPauseMs);
  }
  platform::closeProcess(process);
  return 1;
}

std::int64_t CommandContext::startProcess(const RWCString& commandLine, bool& started) {
  started = false;
  const platform::ProcessHandle process = platform::startProcess(view(commandLine), started);
  return started ? process : 0;
}

void CommandContext::pumpMessages() { platform::pumpMessages(); }
