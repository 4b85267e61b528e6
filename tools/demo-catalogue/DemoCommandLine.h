#pragma once
// The command line of a catalogue program as the plug-in passes it:
//   -server NAME -topic NAME [-poke KEY=VALUE ...] -fm METAV2|sat -o FILE
// Options may come in any order; -poke may repeat (a later value of a key wins). The parse
// keeps what it read; a malformed line gives a text that says what is wrong.

#include <map>
#include <string>
#include <vector>

struct DemoCommandLine {
  enum class Format { Metafile, Sat };

  std::string server;
  std::string topic;
  std::map<std::string, std::string> pokes;   // KEY -> VALUE
  Format format = Format::Metafile;
  std::string outputFile;                     // a program path ("c:\plinth.out"), as given

  // The value of a poke, or `fallback` when it was not given.
  std::string poke(const std::string& key, const std::string& fallback = "") const;
};

// Parses the arguments after the program name. False, with `error` set, for an unknown option, an
// option without its value, a poke without '=', a format other than METAV2 or sat (letter case
// ignored), or a missing -o.
bool parseDemoCommandLine(const std::vector<std::string>& arguments, DemoCommandLine& out,
                          std::string& error);
