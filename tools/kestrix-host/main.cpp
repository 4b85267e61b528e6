// kestrix-host: the simulated CAD host as a command-line program. Loads a plug-in module, sends
// it the initialise and load-drawing messages, plays a script of commands and answers against
// it, unloads it, and saves the drawing as DXF and as a text dump when asked.
//
//   kestrix-host [--release 2000|r14] [--plugin PATH] [--measurement 0|1] [--dxf FILE]
//                [--dump FILE] [--transcript FILE] [--support DIR ...] SCRIPT|-
//
// Files the plug-in names without a folder (line-type files) are looked for in the --support
// folders in the order given, then in the "support" folder beside this program, then in the
// plug-in's own folder.
// Exit status: 0 when the script ran to its end, 1 on a script error, 2 on a usage error,
// 3 when the plug-in cannot be loaded, 4 when an output file cannot be written.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/DrawingDump.h"
#include "host/DxfWriter.h"
#include "host/HostSession.h"
#include "host/PluginModule.h"
#include "host/ScriptRunner.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Path.h"

namespace {

const char* kUsage =
    "usage: kestrix-host [--release 2000|r14] [--plugin PATH] [--measurement 0|1]\n"
    "                    [--dxf FILE] [--dump FILE] [--transcript FILE] [--support DIR ...]\n"
    "                    SCRIPT|-\n";

int usage(const std::string& why) {
  std::fprintf(stderr, "kestrix-host: %s\n%s", why.c_str(), kUsage);
  return 2;
}

std::string folderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Reads the whole script ("-": standard input). False with `why` (the system's reason) when it
// cannot be opened or a read fails, as for a folder; a script read only in part never runs.
bool readAll(const std::string& script, std::string& text, std::string& why) {
  text.clear();
  std::FILE* f = stdin;
  if (script != "-") {
    f = std::fopen(script.c_str(), "rb");
    if (!f) {
      why = std::strerror(errno);
      return false;
    }
  }
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  bool failed = std::ferror(f) != 0;
  int code = errno;
  if (f != stdin) std::fclose(f);
  if (failed) why = std::strerror(code);
  return !failed;
}

}  // namespace

int main(int argc, char** argv) {
  std::string release = "2000", plugin, measurement, dxf, dump, transcriptFile, script;
  std::vector<std::string> support;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    if (a == "--release") {
      if (!value(release) || (release != "2000" && release != "r14" && release != "R14"))
        return usage("--release takes 2000 or r14");
    } else if (a == "--plugin") {
      if (!value(plugin)) return usage("--plugin takes a path");
    } else if (a == "--measurement") {
      if (!value(measurement) || (measurement != "0" && measurement != "1"))
        return usage("--measurement takes 0 or 1");
    } else if (a == "--dxf") {
      if (!value(dxf)) return usage("--dxf takes a file name");
    } else if (a == "--dump") {
      if (!value(dump)) return usage("--dump takes a file name");
    } else if (a == "--transcript") {
      if (!value(transcriptFile)) return usage("--transcript takes a file name");
    } else if (a == "--support") {
      std::string folder;
      if (!value(folder)) return usage("--support takes a folder");
      support.push_back(folder);
    } else if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return usage("unknown option " + a);
    } else if (script.empty()) {
      script = a;
    } else {
      return usage("more than one script given");
    }
  }
  if (script.empty()) return usage("no script given");
  bool r14 = release != "2000";
  int apiVersion = r14 ? kHostApiVersionR14 : kHostApiVersion2000;

  // The deliverable built beside this program, unless another is named.
  std::string self = platform::osPath(platform::moduleFileName(nullptr));
  std::string binFolder = folderOf(self);
  if (plugin.empty()) plugin = binFolder + (r14 ? "/libkestrix.so" : "/libkestrix2000.so");

  kxhost::HostSession& host = kxhost::HostSession::instance();
  host.transcript().setEchoToStdout(true);
  if (!transcriptFile.empty() && !host.transcript().openFile(transcriptFile)) {
    std::fprintf(stderr, "kestrix-host: cannot create transcript file %s\n", transcriptFile.c_str());
    return 4;
  }
  host.variables().setAcadVer(r14 ? "14.0" : "15.0");
  std::string error;
  if (!measurement.empty()) host.variables().setFromText("MEASUREMENT", measurement, error);
  for (const std::string& folder : support) host.supportFolders().push_back(folder);
  host.supportFolders().push_back(binFolder + "/support");
  host.supportFolders().push_back(folderOf(plugin));

  std::string text, why;
  if (!readAll(script, text, why)) {
    std::fprintf(stderr, "kestrix-host: cannot read script %s: %s\n",
                 script == "-" ? "stdin" : script.c_str(), why.c_str());
    return 2;
  }
  kxhost::ScriptRunner runner(host);
  if (!runner.parse(text, error)) {
    std::string message = (script == "-" ? std::string("stdin") : script) + ": " + error;
    host.transcript().hostLine("script stopped: " + message);
    std::fprintf(stderr, "kestrix-host: %s\n", message.c_str());
    return 1;
  }

  int status = 0;
  {
    kxhost::PluginModule module(host);
    if (!module.load(plugin, apiVersion, error)) {
      host.transcript().hostLine(error);
      std::fprintf(stderr, "kestrix-host: %s\n", error.c_str());
      return 3;
    }
    if (int rc = module.send(kInitAppMsg); rc != 0) {
      std::string why = "the plug-in refused to initialise (answer " + std::to_string(rc) + ")";
      host.transcript().hostLine(why);
      std::fprintf(stderr, "kestrix-host: %s\n", why.c_str());
      return 3;
    }
    module.send(kLoadDwgMsg);
    if (!runner.run(module, error)) {
      std::string message = (script == "-" ? std::string("stdin") : script) + ": " + error;
      host.transcript().hostLine("script stopped: " + message);
      std::fprintf(stderr, "kestrix-host: %s\n", message.c_str());
      status = 1;
    }
    module.send(kUnloadDwgMsg);
    module.send(kUnloadAppMsg);
  }

  if (!dxf.empty() && !kxhost::DxfWriter(host.database(), host.variables()).save(dxf, error)) {
    std::fprintf(stderr, "kestrix-host: %s\n", error.c_str());
    return 4;
  }
  if (!dump.empty() && !kxhost::DrawingDump(host).save(dump, error)) {
    std::fprintf(stderr, "kestrix-host: %s\n", error.c_str());
    return 4;
  }
  return status;
}
