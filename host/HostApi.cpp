// The exported host functions under both name sets. Each is a thin C entry that hands over to
// the process-wide HostSession; the R14 ads_ names call the same code as the 2000 names. The host
// reports every refusal through the result code and a transcript line; it throws nothing of its
// own.

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "host/api.h"
#include "platform/Path.h"

using kxhost::Group;
using kxhost::GroupList;
using kxhost::HostSession;
using kxhost::ValueKind;

namespace {

HostSession& host() { return HostSession::instance(); }

// Reads acedCommand's typed values up to RTNONE (or 0). False with `error` on an unknown code.
bool readCommandArgs(int type, va_list ap, GroupList& out, std::string& error) {
  for (; type != RTNONE && type != 0; type = va_arg(ap, int)) {
    Group g;
    g.code = type;
    g.kind = kxhost::valueKindOf(type);
    switch (g.kind) {
      case ValueKind::String: {
        const char* s = va_arg(ap, const char*);
        if (!s) {
          error = "null string";
          return false;
        }
        g.s = s;
        break;
      }
      case ValueKind::Point: {
        const double* p = va_arg(ap, const double*);
        if (!p) {
          error = "null point";
          return false;
        }
        g.v[0] = p[0];
        g.v[1] = p[1];
        g.v[2] = type == RT3DPOINT || type == RTPOINT ? p[2] : 0.0;
        break;
      }
      case ValueKind::Real: g.v[0] = va_arg(ap, double); break;
      case ValueKind::Short:
      case ValueKind::Long: g.i = va_arg(ap, int); break;
      case ValueKind::Name: {
        const std::int32_t* w = va_arg(ap, const std::int32_t*);
        if (!w) {
          error = "null name";
          return false;
        }
        g.name[0] = w[0];
        g.name[1] = w[1];
        break;
      }
      case ValueKind::None: break;
      case ValueKind::Invalid:
        error = "unknown type code " + std::to_string(type);
        return false;
    }
    if (g.kind != ValueKind::None) out.push_back(std::move(g));
  }
  return true;
}

int commandV(int type, va_list ap) {
  GroupList args;
  std::string error;
  if (!readCommandArgs(type, ap, args, error)) {
    host().transcript().hostLine("acedCommand: " + error);
    return RTERROR;
  }
  return host().command(args);
}

resbuf* buildListV(int type, va_list ap) {
  std::string error;
  resbuf* list = host().resultBuffers().build(type, ap, error);
  if (!list && type != 0) host().transcript().hostLine("acutBuildList: " + error);
  return list;
}

int printfV(const char* format, va_list ap) {
  if (!format) return 0;
  va_list copy;
  va_copy(copy, ap);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) return n;
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, ap);
  text.resize(static_cast<std::size_t>(n));
  host().transcript().write(text);
  return n;
}

int relRb(resbuf* rb) {
  if (!rb) return RTNORM;
  std::string error;
  if (!host().resultBuffers().release(rb, error)) {
    host().transcript().hostLine("acutRelRb refused: " + error);
    return RTERROR;
  }
  return RTNORM;
}

}  // namespace

extern "C" {

// ---- 2000 names --------------------------------------------------------------------------------
int acrxUnlockApplication(void* appId) { return host().unlockApplication(appId); }
bool acrxRegisterAppMDIAware(void* appId) { return host().registerMdiAware(appId); }

int acedDefun(const char* name, short funcNumber) { return host().defun(name, funcNumber); }
int acedGetFunCode(void) { return host().functionCode() < 0 ? RTERROR : host().functionCode(); }
struct resbuf* acedGetArgs(void) { return host().getArgs(); }

int acedCommand(int rtype, ...) {
  va_list ap;
  va_start(ap, rtype);
  int rc = commandV(rtype, ap);
  va_end(ap);
  return rc;
}

int acedGetVar(const char* name, struct resbuf* result) { return host().getVar(name, result); }
int acedSetVar(const char* name, const struct resbuf* value) { return host().setVar(name, value); }

struct resbuf* acutBuildList(int rtype, ...) {
  va_list ap;
  va_start(ap, rtype);
  resbuf* rb = buildListV(rtype, ap);
  va_end(ap);
  return rb;
}

int acutRelRb(struct resbuf* rb) { return relRb(rb); }
struct resbuf* acutNewRb(int rtype) { return host().resultBuffers().newNode(rtype); }

int acutPrintf(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  int n = printfV(format, ap);
  va_end(ap);
  return n;
}

int acedAlert(const char* text) {
  host().transcript().alert(text ? text : "");
  return RTNORM;
}

int acdbEntMake(const struct resbuf* entity) { return host().entMake(entity); }
int acdbEntLast(ads_name result) { return host().entLast(result); }
int acdbEntNext(const ads_name ent, ads_name result) { return host().entNext(ent, result); }
struct resbuf* acdbEntGet(const ads_name ent) { return host().entGet(ent); }
int acdbEntDel(const ads_name ent) { return host().entDel(ent); }
struct resbuf* acdbTblNext(const char* table, int rewind) { return host().tblNext(table, rewind); }
struct resbuf* acdbTblSearch(const char* table, const char* name, int setnext) {
  return host().tblSearch(table, name, setnext);
}

int acedSSAdd(const ads_name ent, const ads_name ss, ads_name result) {
  return host().ssAdd(ent, ss, result);
}
int acedSSFree(const ads_name ss) { return host().ssFree(ss); }
int acedSSLength(const ads_name ss, std::int32_t* len) { return host().ssLength(ss, len); }
int acedSSName(const ads_name ss, std::int32_t index, ads_name entity) {
  return host().ssName(ss, index, entity);
}
int acedXformSS(const ads_name ss, ads_matrix genmat) { return host().xformSS(ss, genmat); }

int acedDragGen(const ads_name ss, const char* prompt, int cursor, ads_dragfunc scnf,
                ads_point p) {
  return host().dragGen(ss, prompt, scnf, p);
}
int acedGetOrient(const ads_point pt, const char* prompt, ads_real* result) {
  return host().getOrient(pt, prompt, result);
}
int acedGetInt(const char* prompt, int* result) { return host().getInt(prompt, result); }
int acedGetReal(const char* prompt, ads_real* result) { return host().getReal(prompt, result); }
int acedGetPoint(const ads_point pt, const char* prompt, ads_point result) {
  return host().getPoint(pt, prompt, result);
}
int acedEntSel(const char* prompt, ads_name entres, ads_point ptres) {
  return host().entSel(prompt, entres, ptres);
}
int acdbInters(const ads_point from1, const ads_point to1, const ads_point from2,
               const ads_point to2, int teston, ads_point result) {
  return host().inters(from1, to1, from2, to2, teston, result);
}

// ---- R14 names ---------------------------------------------------------------------------------
int ads_unlockapplication(void* appId) { return acrxUnlockApplication(appId); }
bool ads_registerappmdiaware(void* appId) { return acrxRegisterAppMDIAware(appId); }

int ads_defun(const char* name, short funcNumber) { return acedDefun(name, funcNumber); }
int ads_getfuncode(void) { return acedGetFunCode(); }
struct resbuf* ads_getargs(void) { return acedGetArgs(); }

int ads_command(int rtype, ...) {
  va_list ap;
  va_start(ap, rtype);
  int rc = commandV(rtype, ap);
  va_end(ap);
  return rc;
}

int ads_getvar(const char* name, struct resbuf* result) { return acedGetVar(name, result); }
int ads_setvar(const char* name, const struct resbuf* value) { return acedSetVar(name, value); }

struct resbuf* ads_buildlist(int rtype, ...) {
  va_list ap;
  va_start(ap, rtype);
  resbuf* rb = buildListV(rtype, ap);
  va_end(ap);
  return rb;
}

int ads_relrb(struct resbuf* rb) { return acutRelRb(rb); }
struct resbuf* ads_newrb(int rtype) { return acutNewRb(rtype); }

int ads_printf(const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  int n = printfV(format, ap);
  va_end(ap);
  return n;
}

int ads_alert(const char* text) { return acedAlert(text); }

int ads_entmake(const struct resbuf* entity) { return acdbEntMake(entity); }
int ads_entlast(ads_name result) { return acdbEntLast(result); }
int ads_entnext(const ads_name ent, ads_name result) { return acdbEntNext(ent, result); }
struct resbuf* ads_entget(const ads_name ent) { return acdbEntGet(ent); }
int ads_entdel(const ads_name ent) { return acdbEntDel(ent); }
struct resbuf* ads_tblnext(const char* table, int rewind) { return acdbTblNext(table, rewind); }
struct resbuf* ads_tblsearch(const char* table, const char* name, int setnext) {
  return acdbTblSearch(table, name, setnext);
}

int ads_ssadd(const ads_name ent, const ads_name ss, ads_name result) {
  return acedSSAdd(ent, ss, result);
}
int ads_ssfree(const ads_name ss) { return acedSSFree(ss); }
int ads_sslength(const ads_name ss, std::int32_t* len) { return acedSSLength(ss, len); }
int ads_ssname(const ads_name ss, std::int32_t index, ads_name entity) {
  return acedSSName(ss, index, entity);
}
int ads_xformss(const ads_name ss, ads_matrix genmat) { return acedXformSS(ss, genmat); }

int ads_draggen(const ads_name ss, const char* prompt, int cursor, ads_dragfunc scnf,
                ads_point p) {
  return acedDragGen(ss, prompt, cursor, scnf, p);
}
int ads_getorient(const ads_point pt, const char* prompt, ads_real* result) {
  return acedGetOrient(pt, prompt, result);
}
int ads_getint(const char* prompt, int* result) { return acedGetInt(prompt, result); }
int ads_getreal(const char* prompt, ads_real* result) { return acedGetReal(prompt, result); }
int ads_getpoint(const ads_point pt, const char* prompt, ads_point result) {
  return acedGetPoint(pt, prompt, result);
}
int ads_entsel(const char* prompt, ads_name entres, ads_point ptres) {
  return acedEntSel(prompt, entres, ptres);
}
int ads_inters(const ads_point from1, const ads_point to1, const ads_point from2,
               const ads_point to2, int teston, ads_point result) {
  return acdbInters(from1, to1, from2, to2, teston, result);
}

// ---- dialogs -----------------------------------------------------------------------------------
int ads_load_dialog(const char* dclfile, int* dcl_id) {
  if (!dclfile) return RTERROR;
  return host().dialogs().load(host().findFile(dclfile), dclfile, dcl_id);
}
int ads_unload_dialog(int dcl_id) { return host().dialogs().unload(dcl_id); }
int ads_new_dialog(const char* dlgname, int dcl_id, CLIENTFUNC def_callback, ads_hdlg* hdlg) {
  if (!dlgname) return RTERROR;
  return host().dialogs().newDialog(dlgname, dcl_id, def_callback, hdlg);
}
int ads_start_dialog(ads_hdlg hdlg, int* status) { return host().dialogs().start(hdlg, status); }
int ads_done_dialog(ads_hdlg hdlg, int status) { return host().dialogs().done(hdlg, status); }
int ads_set_tile(ads_hdlg hdlg, const char* key, const char* value) {
  return host().dialogs().setTile(hdlg, key, value);
}
int ads_get_tile(ads_hdlg hdlg, const char* key, char* value, int maxlen) {
  return host().dialogs().getTile(hdlg, key, value, maxlen);
}
int ads_action_tile(ads_hdlg hdlg, const char* key, CLIENTFUNC tilefunc) {
  return host().dialogs().actionTile(hdlg, key, tilefunc);
}
int ads_client_data_tile(ads_hdlg hdlg, const char* key, void* clientdata) {
  return host().dialogs().clientDataTile(hdlg, key, clientdata);
}
int ads_start_list(ads_hdlg hdlg, const char* key, short operation, short index) {
  return host().dialogs().startList(hdlg, key, operation, index);
}
int ads_add_list(const char* item) { return host().dialogs().addList(item); }
int ads_end_list(void) { return host().dialogs().endList(); }

}  // extern "C"
