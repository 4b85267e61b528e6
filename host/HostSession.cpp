#include "host/HostSession.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/CommandProcessor.h"
#include "host/EntityGeometry.h"
#include "host/EntityTransform.h"
#include "platform/FileSystem.h"
#include "platform/MessagePump.h"
#include "platform/Path.h"

namespace kxhost {

namespace {

constexpr double kPi = 3.141592653589793;

char* mallocString(const std::string& s) {
  char* out = static_cast<char*>(std::malloc(s.size() + 1));
  if (out) std::memcpy(out, s.c_str(), s.size() + 1);
  return out;
}

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

// The command's name without a leading "C:", in the case it was given.
std::string stripCommandPrefix(const std::string& name) {
  if (name.size() > 2 && (name[0] == 'C' || name[0] == 'c') && name[1] == ':') return name.substr(2);
  return name;
}

// The answer as the command line echoes it.
std::string shown(const Answer& a) {
  switch (a.kind) {
    case Answer::Kind::Point:
    case Answer::Kind::PickPoint:
      return formatNumber(a.p[0]) + "," + formatNumber(a.p[1]) +
             (a.p[2] != 0.0 ? "," + formatNumber(a.p[2]) : "");
    case Answer::Kind::Angle:
    case Answer::Kind::Real: return formatNumber(a.value);
    case Answer::Kind::Int: return std::to_string(a.integer);
    case Answer::Kind::Enter: return "";
    case Answer::Kind::Cancel: return "*Cancel*";
    case Answer::Kind::PickHandle: return hex(a.handle);
    default: return a.source;
  }
}

}  // namespace

HostSession& HostSession::instance() {
  static HostSession* session = new HostSession();   // never destroyed: plug-ins may call late
  return *session;
}

HostSession::HostSession() : dialogs_(input_, transcript_) {
  platform::setMessageDrainHook(&HostSession::drain, this);
}

void HostSession::drain(void* self) { ++static_cast<HostSession*>(self)->drains_; }

void HostSession::reset() {
  transcript_.clear();
  transcript_.setEchoToStdout(false);
  transcript_.closeFile();
  vars_.reset();
  db_.reset();
  sets_.reset();
  input_.clear();
  dialogs_.reset();
  rbs_.releaseAll();
  app_ = AppRecord();
  support_.clear();
  commands_.clear();
  funCode_ = -1;
  commandName_.clear();
  args_.clear();
  setsBefore_.clear();
  rbsBefore_ = 0;
  drains_ = 0;
  for (auto& c : tblCursor_) c = 0;
  platform::setMessageDrainHook(&HostSession::drain, this);
}

std::string HostSession::findFile(const std::string& programPath) const {
  if (programPath.empty()) return "";
  std::string native = platform::osPath(programPath);
  if (!native.empty() && platform::isFile(native)) return native;
  if (programPath.find_first_of("/\\") == std::string::npos) {
    for (const std::string& folder : support_) {
      std::string candidate = folder + "/" + programPath;
      if (platform::isFile(candidate)) return candidate;
    }
  }
  return "";
}

// ---- commands and invocations ----------------------------------------------------------------

int HostSession::defun(const char* name, int code) {
  if (!name || !*name) {
    transcript_.hostLine("acedDefun: empty command name");
    return 0;
  }
  std::string key = stripCommandPrefix(name);
  for (auto& c : commands_)
    if (sameName(c.first, key)) {
      c = {key, code};
      return RTNORM;
    }
  commands_.emplace_back(key, code);
  return RTNORM;
}

int HostSession::codeOf(const std::string& name) const {
  std::string key = stripCommandPrefix(name);
  for (const auto& c : commands_)
    if (sameName(c.first, key)) return c.second;
  return -1;
}

void HostSession::beginInvocation(int code, const std::string& name,
                                  const std::vector<std::string>& args) {
  funCode_ = code;
  commandName_ = name;
  args_ = args;
  setsBefore_ = sets_.openIds();
  rbsBefore_ = rbs_.liveCount();
}

void HostSession::endInvocation() {
  const std::string& who = commandName_;
  std::size_t leaked = 0;
  for (std::uint32_t id : sets_.openIds()) {
    bool older = false;
    for (std::uint32_t b : setsBefore_) older = older || b == id;
    if (older) continue;
    sets_.free(id);
    ++leaked;
  }
  if (leaked)
    transcript_.hostLine(who + " leaked " + std::to_string(leaked) + " selection set" +
                         (leaked == 1 ? "" : "s"));
  if (db_.pendingComplex()) {
    transcript_.hostLine(who + " left a POLYLINE without SEQEND; discarded");
    db_.discardPending();
  }
  if (std::size_t n = dialogs_.closeAll())
    transcript_.hostLine(who + " left " + std::to_string(n) + " dialog(s) open");
  if (rbs_.liveCount() > rbsBefore_)
    transcript_.hostLine(who + " did not release " + std::to_string(rbs_.liveCount() - rbsBefore_) +
                         " result buffer(s)");
  if (vars_.cmdecho() == 0) transcript_.hostLine(who + " left CMDECHO off");
  funCode_ = -1;
  commandName_.clear();
  args_.clear();
}

// ---- host commands, variables ------------------------------------------------------------------

int HostSession::command(const GroupList& args) {
  CommandProcessor processor(*this);
  return processor.run(args);
}

int HostSession::getVar(const char* name, resbuf* result) {
  if (!name || !result) return RTERROR;
  const Group* g = vars_.find(name);
  if (!g) return RTERROR;   // an unknown name fails quietly, as a host's getvar does
  result->rbnext = nullptr;
  result->restype = static_cast<short>(g->code);
  if (g->kind == ValueKind::String)
    result->resval.rstring = mallocString(g->s);   // the caller frees it
  else if (g->kind == ValueKind::Short)
    result->resval.rint = static_cast<short>(g->i);
  else
    result->resval.rlong = g->i;
  return RTNORM;
}

int HostSession::setVar(const char* name, const resbuf* value) {
  if (!name || !value) return RTERROR;
  GroupList list;
  std::string error;
  resbuf copy = *value;
  copy.rbnext = nullptr;
  if (!ResultBufferPool::toGroups(&copy, list, error) || list.empty()) {
    transcript_.hostLine(std::string("acedSetVar ") + name + ": " + error);
    return RTERROR;
  }
  if (!vars_.set(name, list[0], error)) {
    transcript_.hostLine("acedSetVar: " + error);
    return RTERROR;
  }
  return RTNORM;
}

// ---- entities -------------------------------------------------------------------------------

int HostSession::entMake(const resbuf* list) {
  GroupList groups;
  std::string error;
  if (!ResultBufferPool::toGroups(list, groups, error)) {
    transcript_.hostLine("acdbEntMake refused: " + error);
    return RTREJ;
  }
  std::string type = groups.empty() ? "" : groups[0].s;
  int rc = db_.make(std::move(groups), vars_.currentLayer(), error);
  if (rc != RTNORM) {
    transcript_.hostLine("acdbEntMake refused " + (type.empty() ? std::string("list") : type) +
                         ": " + error);
  }
  return rc;
}

int HostSession::entLast(ads_name result) {
  std::uint32_t h = 0;
  if (!result || !db_.last(h)) return RTERROR;
  Database::nameOf(h, result);
  return RTNORM;
}

int HostSession::entNext(const std::int32_t* ent, ads_name result) {
  if (!result) return RTERROR;
  std::uint32_t after = 0;
  if (ent && (ent[0] != 0 || ent[1] != 0)) {
    if (!Database::handleOf(ent, after) || !db_.entity(after)) {
      transcript_.hostLine("acdbEntNext: the entity name is stale or made up");
      return RTERROR;
    }
  }
  std::uint32_t h = 0;
  if (!db_.next(after, h)) return RTERROR;
  Database::nameOf(h, result);
  return RTNORM;
}

resbuf* HostSession::entGet(const std::int32_t* ent) {
  std::uint32_t h = 0;
  const Entity* e = Database::handleOf(ent, h) ? db_.entity(h) : nullptr;
  if (!e) {
    transcript_.hostLine("acdbEntGet: the entity name is stale or made up");
    return nullptr;
  }
  GroupList out;
  std::int32_t name[2];
  Database::nameOf(h, name);
  out.push_back(Group::ename(-1, name));
  out.push_back(Group::str(0, e->type));
  out.push_back(Group::str(5, hex(h)));
  out.insert(out.end(), e->groups.begin(), e->groups.end());
  return rbs_.fromGroups(out);
}

int HostSession::entDel(const std::int32_t* ent) {
  std::uint32_t h = 0;
  if (!Database::handleOf(ent, h) || !db_.erase(h)) {
    transcript_.hostLine("acdbEntDel: the name names no entity of the drawing");
    return RTERROR;
  }
  sets_.removeEverywhere(h);
  return RTNORM;
}

int HostSession::tableOf(const char* table) {
  if (!table) return -1;
  const std::string t = upperName(table);
  return t == "LAYER" ? 0 : t == "LTYPE" ? 1 : t == "BLOCK" ? 2 : -1;
}

std::size_t HostSession::tableSize(int which) const {
  return which == 0 ? db_.tables().layers().size()
         : which == 1 ? db_.tables().lineTypes().size()
                      : db_.blocks().size();
}

resbuf* HostSession::tableEntry(int which, std::size_t i) {
  GroupList out;
  if (which == 0) {
    const LayerRecord& r = db_.tables().layers()[i];
    out = {Group::str(0, "LAYER"), Group::str(2, r.name), Group::integer(70, 0),
           Group::integer(62, r.colour), Group::str(6, r.lineType)};
  } else if (which == 1) {
    const LineTypeRecord& r = db_.tables().lineTypes()[i];
    double total = 0.0;
    for (double d : r.pattern) total += std::fabs(d);
    out = {Group::str(0, "LTYPE"), Group::str(2, r.name), Group::integer(70, 0),
           Group::str(3, r.description), Group::integer(72, 65),
           Group::integer(73, static_cast<std::int32_t>(r.pattern.size())), Group::real(40, total)};
    for (double d : r.pattern) out.push_back(Group::real(49, d));
  } else {
    const BlockRecord& b = db_.blocks()[i];
    out = {Group::str(0, "BLOCK"), Group::str(2, b.name), Group::integer(70, 0),
           Group::point(10, b.base[0], b.base[1], b.base[2])};
    if (!b.entities.empty()) {
      std::int32_t name[2];
      Database::nameOf(b.entities.front().handle, name);
      out.push_back(Group::ename(-2, name));
    }
  }
  return rbs_.fromGroups(out);
}

resbuf* HostSession::tblNext(const char* table, int rewind) {
  const int which = tableOf(table);
  if (which < 0) return nullptr;
  std::uint32_t& cur = tblCursor_[which];
  if (rewind) cur = 0;
  if (cur >= tableSize(which)) return nullptr;
  return tableEntry(which, cur++);
}

resbuf* HostSession::tblSearch(const char* table, const char* name, int setnext) {
  if (!name) return nullptr;
  const int which = tableOf(table);
  if (which < 0) return nullptr;
  // Through the table's name index, so that a search costs the same however large the table
  // is. The entry is the one tblNext gives for that record; with setnext the next tblNext
  // gives the record after it, otherwise the cursor stays where it was.
  const std::size_t i = which == 0 ? db_.tables().layerPosition(name)
                        : which == 1 ? db_.tables().lineTypePosition(name)
                                     : db_.blockPosition(name);
  if (i == NameIndex::npos) return nullptr;
  resbuf* found = tableEntry(which, i);
  if (setnext) tblCursor_[which] = static_cast<std::uint32_t>(i + 1);
  return found;
}

// ---- selection sets ---------------------------------------------------------------------------

int HostSession::ssAdd(const std::int32_t* ent, const std::int32_t* ss, ads_name result) {
  if (!result) return RTERROR;
  std::uint32_t h = 0;
  bool haveEnt = ent && (ent[0] != 0 || ent[1] != 0);
  if (haveEnt && (!Database::handleOf(ent, h) || !db_.inModelSpace(h))) {
    transcript_.hostLine("acedSSAdd: the entity name names no entity of the drawing");
    return RTERROR;
  }
  bool haveSet = ss && (ss[0] != 0 || ss[1] != 0);
  std::uint32_t id = 0;
  if (haveSet) {
    if (!sets_.idOf(ss, id)) {
      transcript_.hostLine("acedSSAdd: the selection set is not open");
      return RTERROR;
    }
    if (!haveEnt) {
      transcript_.hostLine("acedSSAdd: no entity to add to the set");
      return RTERROR;
    }
  } else {
    id = sets_.create();
  }
  if (haveEnt) sets_.add(id, h);
  SelectionSets::nameOf(id, result);
  return RTNORM;
}

int HostSession::ssFree(const std::int32_t* ss) {
  std::uint32_t id = 0;
  if (!sets_.idOf(ss, id)) {
    transcript_.hostLine("acedSSFree: the selection set is not open (freed twice?)");
    return RTERROR;
  }
  sets_.free(id);
  return RTNORM;
}

int HostSession::ssLength(const std::int32_t* ss, std::int32_t* len) {
  std::uint32_t id = 0;
  if (!len || !sets_.idOf(ss, id)) return RTERROR;
  *len = static_cast<std::int32_t>(sets_.members(id)->size());
  return RTNORM;
}

int HostSession::ssName(const std::int32_t* ss, std::int32_t index, ads_name entity) {
  std::uint32_t id = 0;
  if (!entity || !sets_.idOf(ss, id)) return RTERROR;
  const auto& m = *sets_.members(id);
  if (index < 0 || static_cast<std::size_t>(index) >= m.size()) return RTERROR;
  Database::nameOf(m[static_cast<std::size_t>(index)], entity);
  return RTNORM;
}

int HostSession::xformSS(const std::int32_t* ss, const double m[4][4]) {
  std::uint32_t id = 0;
  if (!sets_.idOf(ss, id)) {
    transcript_.hostLine("acedXformSS: the selection set is not open");
    return RTERROR;
  }
  EntityTransform t;
  std::string error;
  if (!m || !EntityTransform::fromMatrix(m, t, error)) {
    transcript_.hostLine("acedXformSS refused: " + error);
    return RTREJ;
  }
  // All or nothing: transform copies, then put them in place.
  std::vector<Entity> moved;
  for (std::uint32_t h : *sets_.members(id)) {
    const Entity* member = db_.entity(h);
    if (!member) {
      transcript_.hostLine("acedXformSS: the set holds an entity that left the drawing");
      return RTERROR;
    }
    Entity copy = *member;
    if (!t.apply(copy, error)) {
      transcript_.hostLine("acedXformSS refused: " + error);
      return RTREJ;
    }
    moved.push_back(std::move(copy));
  }
  for (Entity& e : moved) *db_.entity(e.handle) = std::move(e);
  return RTNORM;
}

// ---- user input --------------------------------------------------------------------------------

const Answer* HostSession::nextAnswer(const char* call, const char* prompt) {
  if (prompt) transcript_.write(prompt);
  if (input_.empty()) {
    transcript_.write("\n");
    transcript_.hostLine(std::string(call) + ": no answer left for \"" + (prompt ? prompt : "") +
                         "\"; cancelled");
    return nullptr;
  }
  current_ = input_.pop();
  return &current_;
}

int HostSession::mismatch(const char* call, const char* expected) {
  transcript_.write("\n");
  transcript_.hostLine(std::string(call) + " asked for " + expected + ", the script gave '" +
                       current_.source + "'" +
                       (current_.line ? " (line " + std::to_string(current_.line) + ")" : "") +
                       "; cancelled");
  return RTCAN;
}

namespace {
void echo(Transcript& t, const Answer& a) {
  const std::string& sofar = t.text();
  bool blank = sofar.empty() || sofar.back() == ' ' || sofar.back() == '\n';
  t.write((blank ? "" : " ") + shown(a) + "\n");
}
}  // namespace

int HostSession::getInt(const char* prompt, int* result) {
  const Answer* a = nextAnswer("acedGetInt", prompt);
  if (!a) return RTCAN;
  switch (a->kind) {
    case Answer::Kind::Int:
      echo(transcript_, *a);
      if (result) *result = a->integer;
      return RTNORM;
    case Answer::Kind::Enter: echo(transcript_, *a); return RTNONE;
    case Answer::Kind::Cancel: echo(transcript_, *a); return RTCAN;
    default: return mismatch("acedGetInt", "an integer");
  }
}

int HostSession::getReal(const char* prompt, ads_real* result) {
  const Answer* a = nextAnswer("acedGetReal", prompt);
  if (!a) return RTCAN;
  switch (a->kind) {
    case Answer::Kind::Real:
    case Answer::Kind::Int:
      echo(transcript_, *a);
      if (result) *result = a->kind == Answer::Kind::Real ? a->value : a->integer;
      return RTNORM;
    case Answer::Kind::Enter: echo(transcript_, *a); return RTNONE;
    case Answer::Kind::Cancel: echo(transcript_, *a); return RTCAN;
    default: return mismatch("acedGetReal", "a number");
  }
}

int HostSession::getPoint(const double* base, const char* prompt, ads_point result) {
  const Answer* a = nextAnswer("acedGetPoint", prompt);
  if (!a) return RTCAN;
  switch (a->kind) {
    case Answer::Kind::Point:
      echo(transcript_, *a);
      if (result) std::memcpy(result, a->p, sizeof(double) * 3);
      return RTNORM;
    case Answer::Kind::Enter: echo(transcript_, *a); return RTNONE;
    case Answer::Kind::Cancel: echo(transcript_, *a); return RTCAN;
    default: return mismatch("acedGetPoint", "a point");
  }
}

int HostSession::getOrient(const double* base, const char* prompt, ads_real* result) {
  const Answer* a = nextAnswer("acedGetOrient", prompt);
  if (!a) return RTCAN;
  switch (a->kind) {
    case Answer::Kind::Angle:
      echo(transcript_, *a);
      if (result) *result = a->value * kPi / 180.0;
      return RTNORM;
    case Answer::Kind::Point:
      // The user may show the angle with a second point, seen from the base point.
      if (!base) return mismatch("acedGetOrient", "an angle (no base point to measure from)");
      echo(transcript_, *a);
      if (result) *result = std::atan2(a->p[1] - base[1], a->p[0] - base[0]);
      return RTNORM;
    case Answer::Kind::Enter: echo(transcript_, *a); return RTNONE;
    case Answer::Kind::Cancel: echo(transcript_, *a); return RTCAN;
    default: return mismatch("acedGetOrient", "an angle");
  }
}

int HostSession::dragGen(const std::int32_t* ss, const char* prompt, ads_dragfunc callback,
                         ads_point p) {
  std::uint32_t id = 0;
  if (!sets_.idOf(ss, id)) {
    transcript_.hostLine("acedDragGen: the selection set is not open");
    return RTERROR;
  }
  if (!callback || !p) {
    transcript_.hostLine("acedDragGen: no transform callback or no point");
    return RTERROR;
  }
  const Answer* a = nextAnswer("acedDragGen", prompt);
  if (!a) return RTCAN;
  switch (a->kind) {
    case Answer::Kind::Point: {
      echo(transcript_, *a);
      double cursor[3] = {a->p[0], a->p[1], a->p[2]};
      double m[4][4];
      for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = r == c ? 1.0 : 0.0;
      int rc = callback(cursor, m);
      EntityTransform t;
      std::string error;
      if (rc != RTNORM)
        transcript_.hostLine("acedDragGen: the transform callback returned " + std::to_string(rc));
      else if (!EntityTransform::fromMatrix(m, t, error))
        transcript_.hostLine("acedDragGen: the transform callback's matrix is refused: " + error);
      std::memcpy(p, a->p, sizeof(double) * 3);
      return RTNORM;
    }
    case Answer::Kind::Enter: echo(transcript_, *a); return RTNONE;
    case Answer::Kind::Cancel: echo(transcript_, *a); return RTCAN;
    default: return mismatch("acedDragGen", "a point");
  }
}

int HostSession::entSel(const char* prompt, ads_name ent, ads_point pick) {
  const Answer* a = nextAnswer("acedEntSel", prompt);
  if (!a) return RTCAN;
  std::uint32_t h = 0;
  double at[3] = {0.0, 0.0, 0.0};
  switch (a->kind) {
    case Answer::Kind::PickHandle: {
      echo(transcript_, *a);
      if (!db_.inModelSpace(a->handle)) {
        transcript_.hostLine("acedEntSel: no entity with handle " + hex(a->handle) +
                             " in the drawing");
        return RTERROR;
      }
      h = a->handle;
      if (const Group* g = db_.entity(h)->find(10)) std::memcpy(at, g->v, sizeof at);
      break;
    }
    case Answer::Kind::PickPoint: {
      echo(transcript_, *a);
      std::memcpy(at, a->p, sizeof at);
      if (!EntityGeometry::nearest(db_.model(), at[0], at[1], kPickBox, h)) {
        transcript_.hostLine("acedEntSel: nothing found at " + shown(*a));
        return RTERROR;
      }
      break;
    }
    case Answer::Kind::Cancel: echo(transcript_, *a); return RTCAN;
    default: return mismatch("acedEntSel", "an entity pick");
  }
  if (ent) Database::nameOf(h, ent);
  if (pick) std::memcpy(pick, at, sizeof at);
  return RTNORM;
}

int HostSession::inters(const double* f1, const double* t1, const double* f2, const double* t2,
                        int teston, ads_point result) {
  if (!f1 || !t1 || !f2 || !t2 || !result) return RTERROR;
  double d1x = t1[0] - f1[0], d1y = t1[1] - f1[1];
  double d2x = t2[0] - f2[0], d2y = t2[1] - f2[1];
  double den = d1x * d2y - d1y * d2x;
  double scale = std::hypot(d1x, d1y) * std::hypot(d2x, d2y);
  if (scale == 0.0 || std::fabs(den) <= 1e-12 * scale) return RTNONE;   // parallel or degenerate
  double ex = f2[0] - f1[0], ey = f2[1] - f1[1];
  double u = (ex * d2y - ey * d2x) / den;
  double v = (ex * d1y - ey * d1x) / den;
  if (teston && (u < -1e-12 || u > 1 + 1e-12 || v < -1e-12 || v > 1 + 1e-12)) return RTNONE;
  result[0] = f1[0] + u * d1x;
  result[1] = f1[1] + u * d1y;
  result[2] = f1[2] + u * (t1[2] - f1[2]);
  return RTNORM;
}

resbuf* HostSession::getArgs() {
  GroupList out;
  for (const std::string& a : args_) out.push_back(Group::str(RTSTR, a));
  return rbs_.fromGroups(out);
}

int HostSession::unlockApplication(void* appId) {
  if (appId != &app_) {
    transcript_.hostLine("acrxUnlockApplication: the id is not this module's application record");
    return 0;
  }
  app_.unlocked = true;
  return 1;
}

bool HostSession::registerMdiAware(void* appId) {
  if (appId != &app_) {
    transcript_.hostLine("acrxRegisterAppMDIAware: the id is not this module's application record");
    return false;
  }
  app_.mdiAware = true;
  return true;
}

}  // namespace kxhost
