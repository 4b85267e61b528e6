#pragma once
// CommandContext: the object one host command runs in. The dispatcher builds a fresh one on its
// stack for every invocation and destroys it afterwards; nothing in it survives into the next
// command. It carries the inch-mode flag and the ten command functions.

#include <cstdint>

class CommandContext {
 public:
  CommandContext();
  ~CommandContext();
  CommandContext(const CommandContext&) = delete;
  CommandContext& operator=(const CommandContext&) = delete;

  // Loads what the commands share before one runs: the user configuration, the message catalogue
  // of the configured language and the line-type and colour definitions with the pen-class tables
  // built from them. The context as constructed holds no such data yet, so this has nothing to
  // load; every setting then stands at its default.
  void loadForCommand();

  // Setting Options/InchAllowed read as a truth value. Its default "1" is in force: no user
  // configuration is read into the context.
  bool isInchAllowed() const;
  // 0 = millimetres, 1 = inch mode (an imperial drawing whose configuration allows it).
  void setInchMode(std::uint8_t flag) { inchFlag_ = flag; }
  std::uint8_t inchMode() const { return inchFlag_; }

  // The command functions. Each returns -1 when it failed or was cancelled and another value, as a
  // rule 1, when it is done; each reports its own failures on the host's command line.
  std::int32_t runViewerCommand();        // 0  "C:TROVviewer"
  std::int32_t runConnectionCommand();    // 1  "C:TROVcon"
  std::int32_t runAssemblyCommand();      // 2  "C:TROVass"
  std::int32_t runShaftCommand();         // 3  "C:TROVshaft"
  std::int32_t runOptionsDialog();        // 4  "C:TROVoptions"
  std::int32_t runOpenMetafileCommand();  // 5  "C:TROVopenps2"
  std::int32_t runViewer3dCommand();      // 6  "C:TROVviewer3d"
  std::int32_t runConnection3dCommand();  // 7  "C:TROVcon3d": does nothing, returns 1
  std::int32_t runShaft3dCommand();       // 8  "C:TROVshaft3d"
  std::int32_t runAssembly3dCommand();    // 9  "C:TROVass3d"

 private:
  // Says on the command line that the named command is not part of this build; returns -1.
  std::int32_t reportNotBuilt(const char* commandName);

  std::uint8_t inchFlag_ = 0;
};
