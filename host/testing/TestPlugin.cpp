// A tiny plug-in module for the host's own tests. It reports every entry-point message on the
// command line, registers four commands on the load-drawing message and, when invoked, runs
// one of them: TPING prints its arguments, TDRAW makes a line, TLEAK leaves a selection set
// open, TASK asks for an integer. Built for the 2000 names, for the R14 names
// (KXHOST_TEST_R14) and without the SDK's static part (KXHOST_TEST_NO_SDK).

#include "host/api.h"

#ifdef KXHOST_TEST_R14
#define HOST(name2000, nameR14) nameR14
#else
#define HOST(name2000, nameR14) name2000
#endif

namespace {

void printf2(const char* format, int value) {
  HOST(acutPrintf, ads_printf)(format, value);
}

void ping() {
  resbuf* args = HOST(acedGetArgs, ads_getargs)();
  HOST(acutPrintf, ads_printf)("ping");
  for (resbuf* a = args; a; a = a->rbnext)
    if (a->restype == RTSTR) HOST(acutPrintf, ads_printf)(" [%s]", a->resval.rstring);
  HOST(acutPrintf, ads_printf)("\n");
  HOST(acutRelRb, ads_relrb)(args);
}

void draw() {
  ads_point a = {0.0, 0.0, 0.0};
  ads_point b = {10.0, 5.0, 0.0};
  resbuf* list = HOST(acutBuildList, ads_buildlist)(RTDXF0, "LINE", 8, "TEST", 10, a, 11, b, 0);
  int rc = HOST(acdbEntMake, ads_entmake)(list);
  HOST(acutRelRb, ads_relrb)(list);
  printf2("draw %d\n", rc);
}

void leak() {
  ads_name set;
  HOST(acedSSAdd, ads_ssadd)(nullptr, nullptr, set);
}

void ask() {
  int value = 0;
  int rc = HOST(acedGetInt, ads_getint)("\nNumber: ", &value);
  printf2("ask rc %d", rc);
  printf2(" value %d\n", value);
}

}  // namespace

extern "C" int acrxEntryPoint(int msg, void* appId) {
  printf2("test plug-in: message %d\n", msg);
  switch (msg) {
    case kInitAppMsg:
      HOST(acrxUnlockApplication, ads_unlockapplication)(appId);
#ifndef KXHOST_TEST_R14
      acrxRegisterAppMDIAware(appId);
#endif
      break;
    case kLoadDwgMsg:
      HOST(acedDefun, ads_defun)("C:TPING", 0);
      HOST(acedDefun, ads_defun)("C:TDRAW", 1);
      HOST(acedDefun, ads_defun)("C:TLEAK", 2);
      HOST(acedDefun, ads_defun)("C:TASK", 3);
      break;
    case kInvkSubrMsg:
      switch (HOST(acedGetFunCode, ads_getfuncode)()) {
        case 0: ping(); break;
        case 1: draw(); break;
        case 2: leak(); break;
        case 3: ask(); break;
        default: break;
      }
      break;
    default: break;
  }
  return 0;
}
