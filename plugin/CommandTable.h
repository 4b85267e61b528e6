#pragma once
// The plug-in's command table: function code, host command name and command function of each
// command, and their registration with the host. The table is static data of the module.

#include <cstdint>
#include <span>

class CommandContext;

struct CommandEntry {
  short code;                                   // function code the host passes back on invoke
  const char* hostName;                         // "C:" + command name, as registered
  std::int32_t (*run)(CommandContext& context);  // the command function of the context
};

// The ten commands in code order 0 to 9. Modules built for the end-to-end tests
// (KESTRIX_TEST_HOOKS) carry one more row, code 10, whose command throws.
std::span<const CommandEntry> commandTable();

// Registers the commands of `table` with the host in table order and stops at the first
// registration the host refuses (earlier ones stay registered). 1 when all succeeded, else 0.
int registerCommands(std::span<const CommandEntry> table);
int registerCommands();
