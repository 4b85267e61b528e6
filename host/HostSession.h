#pragma once
// The simulated host's whole state for one run: the drawing, system variables, selection sets,
// the user's queued answers, dialogs, result buffers, the registered commands, the running
// invocation and the transcript. One process-wide session (instance()) serves the exported API
// functions; tests reset it between cases. The session owns everything it holds.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/Database.h"
#include "host/DialogManager.h"
#include "host/InputQueue.h"
#include "host/ResultBufferPool.h"
#include "host/SelectionSets.h"
#include "host/SystemVariables.h"
#include "host/Transcript.h"
#include "host/api.h"

namespace kxhost {

// The record a plug-in receives as its application id with every entry-point message.
struct AppRecord {
  std::uint32_t tag = 0x4B584150u;   // marks a genuine record
  bool unlocked = false;
  bool mdiAware = false;
};

class HostSession {
public:
  static HostSession& instance();

  // Back to a fresh host: empty drawing, default variables, no commands, empty queue.
  void reset();

  Transcript& transcript() { return transcript_; }
  SystemVariables& variables() { return vars_; }
  Database& database() { return db_; }
  SelectionSets& selectionSets() { return sets_; }
  InputQueue& input() { return input_; }
  DialogManager& dialogs() { return dialogs_; }
  ResultBufferPool& resultBuffers() { return rbs_; }
  AppRecord& app() { return app_; }

  // Folders the host searches for files named without a folder (line-type files).
  std::vector<std::string>& supportFolders() { return support_; }
  // Resolves a program path to a readable native file: as given (through the drive table),
  // then in each support folder. Empty when none exists.
  std::string findFile(const std::string& programPath) const;

  // ---- commands and invocations -------------------------------------------------------------
  // Registered commands in registration order; names without "C:", compared ignoring case.
  const std::vector<std::pair<std::string, int>>& commands() const { return commands_; }
  int defun(const char* name, int code);
  // The code of a registered command ("C:" may be left out), or -1.
  int codeOf(const std::string& name) const;

  // Around one invoke message: sets the function code and arguments, and afterwards reports
  // and cleans up what the command left behind (open selection sets, an unfinished POLYLINE,
  // open dialogs, result buffers not released, command echo left off).
  void beginInvocation(int code, const std::string& name, const std::vector<std::string>& args);
  void endInvocation();
  int functionCode() const { return funCode_; }
  const std::vector<std::string>& arguments() const { return args_; }

  // ---- the API, one implementation behind both name sets --------------------------------------
  int command(const GroupList& args);
  int getVar(const char* name, resbuf* result);
  int setVar(const char* name, const resbuf* value);
  int entMake(const resbuf* list);
  int entLast(ads_name result);
  int entNext(const std::int32_t* ent, ads_name result);
  resbuf* entGet(const std::int32_t* ent);
  int entDel(const std::int32_t* ent);
  resbuf* tblNext(const char* table, int rewind);
  resbuf* tblSearch(const char* table, const char* name, int setnext);
  int ssAdd(const std::int32_t* ent, const std::int32_t* ss, ads_name result);
  int ssFree(const std::int32_t* ss);
  int ssLength(const std::int32_t* ss, std::int32_t* len);
  int ssName(const std::int32_t* ss, std::int32_t index, ads_name entity);
  int xformSS(const std::int32_t* ss, const double m[4][4]);
  int dragGen(const std::int32_t* ss, const char* prompt, ads_dragfunc callback, ads_point p);
  int getOrient(const double* base, const char* prompt, ads_real* result);
  int getInt(const char* prompt, int* result);
  int getReal(const char* prompt, ads_real* result);
  int getPoint(const double* base, const char* prompt, ads_point result);
  int entSel(const char* prompt, ads_name ent, ads_point pick);
  int inters(const double* f1, const double* t1, const double* f2, const double* t2, int teston,
             ads_point result);
  resbuf* getArgs();
  int unlockApplication(void* appId);
  bool registerMdiAware(void* appId);

  // Message drains that the plug-in ran through platform's message pump.
  std::uint64_t drainCount() const { return drains_; }

  // Half the side of the pick box, in drawing units.
  static constexpr double kPickBox = 1.0;

private:
  HostSession();

  // Takes the next answer for a prompt: writes the prompt, and the answer when it fits.
  // Returns the answer or null (the queue is empty: RTCAN).
  const Answer* nextAnswer(const char* call, const char* prompt);
  int mismatch(const char* call, const char* expected);
  static void drain(void* self);
  // The symbol tables as tblNext and tblSearch name them: 0 LAYER, 1 LTYPE, 2 BLOCK (any case);
  // -1 for a null or another name.
  static int tableOf(const char* table);
  std::size_t tableSize(int which) const;
  // A fresh list of the table's record at position i (< tableSize).
  resbuf* tableEntry(int which, std::size_t i);

  Transcript transcript_;
  SystemVariables vars_;
  Database db_;
  SelectionSets sets_;
  InputQueue input_;
  DialogManager dialogs_;
  ResultBufferPool rbs_;
  AppRecord app_;
  std::vector<std::string> support_;
  std::vector<std::pair<std::string, int>> commands_;
  int funCode_ = -1;
  std::string commandName_;
  std::vector<std::string> args_;
  std::vector<std::uint32_t> setsBefore_;
  std::size_t rbsBefore_ = 0;
  Answer current_;                  // the answer being used by the request in progress
  std::uint64_t drains_ = 0;
  std::uint32_t tblCursor_[3] = {0, 0, 0};   // LAYER, LTYPE, BLOCK positions for tblNext
};

}  // namespace kxhost
