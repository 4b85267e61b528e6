#pragma once
// The CAD host's plug-in interface: result buffers, result and type codes, and every host
// function a plug-in may call, under both name sets (2000: acrx/aced/acut/acdb; R14: ads_).
// Both names of a function lead to one implementation in the host library. Lists that the host
// returns (acutBuildList, acutNewRb, acdbEntGet, acdbTblNext, acdbTblSearch, acedGetArgs) belong
// to the caller, who releases them with acutRelRb / ads_relrb. A string placed into a list by the
// caller must come from malloc: acutRelRb frees it with free().

#include <cstdint>

extern "C" {

// ---- result and type codes ------------------------------------------------------------------
enum {
  RTNONE = 5000,   // no value; also ends the value lists of acedCommand
  RTREAL = 5001,
  RTPOINT = 5002,  // 2D point (x, y; z ignored)
  RTSHORT = 5003,
  RTANG = 5004,
  RTSTR = 5005,
  RTENAME = 5006,
  RTPICKS = 5007,  // selection-set name
  RTORINT = 5008,
  RT3DPOINT = 5009,
  RTLONG = 5010,   // 32-bit integer
  RTVOID = 5014,
  RTLB = 5016,
  RTLE = 5017,
  RTDXF0 = 5020,   // entity type name, group 0

  RTNORM = 5100,   // success
  RTERROR = -5001, // failure; also "no entity"
  RTCAN = -5002,   // cancelled by the user
  RTREJ = -5003,   // request refused as invalid
};

// Entry-point messages the host sends to acrxEntryPoint.
enum {
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
};

typedef double ads_real;
typedef double ads_point[3];
typedef std::int32_t ads_name[2];   // entity or selection-set name: two 32-bit words, no pointer
typedef double ads_matrix[4][4];    // rows; translation in the last column

// Value kinds by type code: RT* codes as named above; inside entity lists the DXF group code
// decides (0-9, 100, 102, 300-309, 410-419, 999: string; 10-19, 110-112, 210: point; 38-59,
// 140-149: real; 60-79, 170-179, 270-299, 370-409: short; 90-99, 420-459: 32-bit long; -1, -2,
// 330-369, 390-399: entity name). acutBuildList reads, after each code: a const char* for a
// string, a const double* (three values) for a point, a double for a real, an int for a short or
// a long, a const std::int32_t* (two words) for a name; nothing for RTNONE, RTLB, RTLE, RTVOID.
struct resbuf {
  struct resbuf* rbnext;
  short restype;                    // RT* code, or a DXF group code inside entity lists
  union {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    char* rstring;                  // owned by the list; released with it
    std::int32_t rlname[2];
    std::int32_t rlong;
  } resval;
};

// ---- dialogs ---------------------------------------------------------------------------------
typedef void* ads_hdlg;
typedef void* ads_htile;

struct ads_callback_packet {
  ads_hdlg dialog;
  ads_htile tile;
  char* value;          // the tile's value at the time of the action (owned by the host)
  void* client_data;    // as set with ads_client_data_tile
  int reason;           // 1 = the user selected the tile
  long x, y;
};
typedef void (*CLIENTFUNC)(ads_callback_packet* cpkt);

enum { LIST_CHANGE = 1, LIST_APPEND = 2, LIST_NEW = 3 };
enum { DLGCANCEL = 0, DLGOK = 1 };

// Transform callback of acedDragGen: fills mt for the cursor point pt, returns RTNORM.
typedef int (*ads_dragfunc)(ads_point pt, ads_matrix mt);

// ---- 2000 names ------------------------------------------------------------------------------
int acrxUnlockApplication(void* appId);
bool acrxRegisterAppMDIAware(void* appId);

// Registers a command; RTNORM on success, 0 on failure (an empty name).
int acedDefun(const char* name, short funcNumber);
// The function code of the command being invoked; negative (RTERROR) outside an invocation.
int acedGetFunCode(void);
struct resbuf* acedGetArgs(void);
int acedCommand(int rtype, ...);
// RTNORM with the value in *result (CMDECHO RTSHORT, MEASUREMENT RTLONG, CLAYER and ACADVER
// RTSTR: that string comes from malloc and the caller frees it); RTERROR for an unknown name.
int acedGetVar(const char* name, struct resbuf* result);
int acedSetVar(const char* name, const struct resbuf* value);

struct resbuf* acutBuildList(int rtype, ...);
int acutRelRb(struct resbuf* rb);
struct resbuf* acutNewRb(int rtype);
int acutPrintf(const char* format, ...);
int acedAlert(const char* text);

int acdbEntMake(const struct resbuf* entity);
int acdbEntLast(ads_name result);
int acdbEntNext(const ads_name ent, ads_name result);   // ent may be null: the first entity
struct resbuf* acdbEntGet(const ads_name ent);
int acdbEntDel(const ads_name ent);
struct resbuf* acdbTblNext(const char* table, int rewind);
struct resbuf* acdbTblSearch(const char* table, const char* name, int setnext);

int acedSSAdd(const ads_name ent, const ads_name ss, ads_name result);
int acedSSFree(const ads_name ss);
int acedSSLength(const ads_name ss, std::int32_t* len);
int acedSSName(const ads_name ss, std::int32_t index, ads_name entity);
int acedXformSS(const ads_name ss, ads_matrix genmat);

// Takes a point answer, calls scnf with it as a drag would (it must return RTNORM and fill a
// similarity), and returns the point in p; moves nothing itself.
int acedDragGen(const ads_name ss, const char* prompt, int cursor, ads_dragfunc scnf,
                ads_point p);
int acedGetOrient(const ads_point pt, const char* prompt, ads_real* result);
int acedGetInt(const char* prompt, int* result);
int acedGetReal(const char* prompt, ads_real* result);
int acedGetPoint(const ads_point pt, const char* prompt, ads_point result);
int acedEntSel(const char* prompt, ads_name entres, ads_point ptres);
// RTNORM with the intersection; RTNONE for parallel lines, or (teston != 0) when the segments
// do not meet.
int acdbInters(const ads_point from1, const ads_point to1, const ads_point from2,
               const ads_point to2, int teston, ads_point result);

// ---- R14 names (same functions) --------------------------------------------------------------
int ads_unlockapplication(void* appId);
bool ads_registerappmdiaware(void* appId);

int ads_defun(const char* name, short funcNumber);
int ads_getfuncode(void);
struct resbuf* ads_getargs(void);
int ads_command(int rtype, ...);
int ads_getvar(const char* name, struct resbuf* result);
int ads_setvar(const char* name, const struct resbuf* value);

struct resbuf* ads_buildlist(int rtype, ...);
int ads_relrb(struct resbuf* rb);
struct resbuf* ads_newrb(int rtype);
int ads_printf(const char* format, ...);
int ads_alert(const char* text);

int ads_entmake(const struct resbuf* entity);
int ads_entlast(ads_name result);
int ads_entnext(const ads_name ent, ads_name result);
struct resbuf* ads_entget(const ads_name ent);
int ads_entdel(const ads_name ent);
struct resbuf* ads_tblnext(const char* table, int rewind);
struct resbuf* ads_tblsearch(const char* table, const char* name, int setnext);

int ads_ssadd(const ads_name ent, const ads_name ss, ads_name result);
int ads_ssfree(const ads_name ss);
int ads_sslength(const ads_name ss, std::int32_t* len);
int ads_ssname(const ads_name ss, std::int32_t index, ads_name entity);
int ads_xformss(const ads_name ss, ads_matrix genmat);

int ads_draggen(const ads_name ss, const char* prompt, int cursor, ads_dragfunc scnf,
                ads_point p);
int ads_getorient(const ads_point pt, const char* prompt, ads_real* result);
int ads_getint(const char* prompt, int* result);
int ads_getreal(const char* prompt, ads_real* result);
int ads_getpoint(const ads_point pt, const char* prompt, ads_point result);
int ads_entsel(const char* prompt, ads_name entres, ads_point ptres);
int ads_inters(const ads_point from1, const ads_point to1, const ads_point from2,
               const ads_point to2, int teston, ads_point result);

// ---- dialog functions (ads_ names in both releases) ------------------------------------------
int ads_load_dialog(const char* dclfile, int* dcl_id);
int ads_unload_dialog(int dcl_id);
int ads_new_dialog(const char* dlgname, int dcl_id, CLIENTFUNC def_callback, ads_hdlg* hdlg);
int ads_start_dialog(ads_hdlg hdlg, int* status);
int ads_done_dialog(ads_hdlg hdlg, int status);
int ads_set_tile(ads_hdlg hdlg, const char* key, const char* value);
int ads_get_tile(ads_hdlg hdlg, const char* key, char* value, int maxlen);
int ads_action_tile(ads_hdlg hdlg, const char* key, CLIENTFUNC tilefunc);
int ads_client_data_tile(ads_hdlg hdlg, const char* key, void* clientdata);
int ads_start_list(ads_hdlg hdlg, const char* key, short operation, short index);
int ads_add_list(const char* item);
int ads_end_list(void);

// ---- the SDK's static part, linked into every plug-in ----------------------------------------
// Host API versions: a module built for the 2000 interface reports 15, one built for R14 14.
enum { kHostApiVersion2000 = 15, kHostApiVersionR14 = 14 };

// Exported by every plug-in through the SDK's static part (kestrixsdk2000 / kestrixsdkr14): the
// interface release the module was built for, and the host's record of the module, which the
// host hands over before its first message.
#if defined(__GNUC__)
#define KX_MODULE_EXPORT __attribute__((visibility("default")))
#else
#define KX_MODULE_EXPORT
#endif
KX_MODULE_EXPORT int acrxGetApiVersion(void);
KX_MODULE_EXPORT void _SetacrxPtp(void* hostRecord);

// Exported by the plug-in itself: receives the entry-point messages above with the host's
// application record; 0 means done.
KX_MODULE_EXPORT int acrxEntryPoint(int msg, void* appId);
typedef int (*AcrxEntryPointFunction)(int msg, void* appId);

}  // extern "C"
