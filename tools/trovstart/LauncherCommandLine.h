#pragma once
// The launcher's own command line: "-pview PROGRAM ARGS...", and the one command-line string it
// hands on to the operating system, quoted so that the Windows splitting rules give PROGRAM and
// ARGS back exactly (blanks, quotes and backslashes included).

#include <string>
#include <vector>

// One argument quoted for a Windows command line: unchanged when it holds no blank, tab or
// double quote and is not empty; else in double quotes, with each double quote escaped and the
// backslashes before it (and before the closing quote) doubled.
std::string quoteCommandLineArgument(const std::string& argument);

// The arguments joined by single blanks, each quoted as above.
std::string joinCommandLine(const std::vector<std::string>& arguments);

// The launcher's arguments (after its own name): "-pview" followed by the program and its
// arguments. False, with `error` set, when "-pview" or the program is missing.
bool parseLauncherArguments(const std::vector<std::string>& arguments, std::vector<std::string>& program,
                            std::string& error);
