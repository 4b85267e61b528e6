#pragma once
// The host calls of the plug-in under release-neutral names. Each name is bound, by the compile
// definition KESTRIX_HOST_R14, to the R14 `ads_` function or else to the 2000 function of the same
// meaning. Plug-in code calls the host only through these names, so both deliverables come from one
// set of sources. The bindings are references to the host's functions: calls are direct calls,
// variable argument lists included. Lists returned by the host belong to the caller (`relRb`).

#include "host/api.h"

namespace hostcall {

#if defined(KESTRIX_HOST_R14)
#define KESTRIX_BIND(name2000, nameR14) nameR14
#else
#define KESTRIX_BIND(name2000, nameR14) name2000
#endif

inline constexpr auto& unlockApplication = KESTRIX_BIND(acrxUnlockApplication, ads_unlockapplication);

inline constexpr auto& defun = KESTRIX_BIND(acedDefun, ads_defun);
inline constexpr auto& getFunCode = KESTRIX_BIND(acedGetFunCode, ads_getfuncode);
inline constexpr auto& getArgs = KESTRIX_BIND(acedGetArgs, ads_getargs);
inline constexpr auto& command = KESTRIX_BIND(acedCommand, ads_command);
inline constexpr auto& getVar = KESTRIX_BIND(acedGetVar, ads_getvar);
inline constexpr auto& setVar = KESTRIX_BIND(acedSetVar, ads_setvar);

inline constexpr auto& buildList = KESTRIX_BIND(acutBuildList, ads_buildlist);
inline constexpr auto& relRb = KESTRIX_BIND(acutRelRb, ads_relrb);
inline constexpr auto& newRb = KESTRIX_BIND(acutNewRb, ads_newrb);
inline constexpr auto& print = KESTRIX_BIND(acutPrintf, ads_printf);
inline constexpr auto& alert = KESTRIX_BIND(acedAlert, ads_alert);

inline constexpr auto& entMake = KESTRIX_BIND(acdbEntMake, ads_entmake);
inline constexpr auto& entLast = KESTRIX_BIND(acdbEntLast, ads_entlast);
inline constexpr auto& entNext = KESTRIX_BIND(acdbEntNext, ads_entnext);
inline constexpr auto& entGet = KESTRIX_BIND(acdbEntGet, ads_entget);
inline constexpr auto& entDel = KESTRIX_BIND(acdbEntDel, ads_entdel);
inline constexpr auto& tblNext = KESTRIX_BIND(acdbTblNext, ads_tblnext);
inline constexpr auto& tblSearch = KESTRIX_BIND(acdbTblSearch, ads_tblsearch);

inline constexpr auto& ssAdd = KESTRIX_BIND(acedSSAdd, ads_ssadd);
inline constexpr auto& ssFree = KESTRIX_BIND(acedSSFree, ads_ssfree);
inline constexpr auto& ssLength = KESTRIX_BIND(acedSSLength, ads_sslength);
inline constexpr auto& ssName = KESTRIX_BIND(acedSSName, ads_ssname);
inline constexpr auto& xformSS = KESTRIX_BIND(acedXformSS, ads_xformss);

inline constexpr auto& dragGen = KESTRIX_BIND(acedDragGen, ads_draggen);
inline constexpr auto& getOrient = KESTRIX_BIND(acedGetOrient, ads_getorient);
inline constexpr auto& getInt = KESTRIX_BIND(acedGetInt, ads_getint);
inline constexpr auto& getReal = KESTRIX_BIND(acedGetReal, ads_getreal);
inline constexpr auto& getPoint = KESTRIX_BIND(acedGetPoint, ads_getpoint);
inline constexpr auto& entSel = KESTRIX_BIND(acedEntSel, ads_entsel);
inline constexpr auto& inters = KESTRIX_BIND(acdbInters, ads_inters);

#undef KESTRIX_BIND

// Declares the application able to serve several open drawings. Only the 2000 interface has this
// call; the R14 build never names it, so its module does not import it.
inline void registerAppMultiDocument(void* appId) {
#if !defined(KESTRIX_HOST_R14)
  acrxRegisterAppMDIAware(appId);
#else
  (void)appId;
#endif
}

// The dialog functions carry their `ads_` names in both releases and are called by those names.

}  // namespace hostcall
