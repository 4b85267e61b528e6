#pragma once
// The dispatcher: runs one host command invocation from start to end inside a fresh
// CommandContext, with the host's command echo switched off around the command and every
// exception of the command caught and reported. It owns nothing beyond one invocation.

#include <span>

#include "plugin/CommandTable.h"

class CommandContext;

// One invocation as the host's invoke message asks for it: builds and loads a context on the
// stack, reads the function code from the host and runs the command of that code. Never throws.
void dispatchCommand();

// The part of an invocation after the context is built and loaded, for the function code `code`:
// a negative code does nothing; otherwise the echo is switched off, inch mode is set for an
// imperial drawing, the command of `table` with that code runs (none for a code outside the
// table), and the echo is switched on again after every outcome. Never throws.
void runInvocation(CommandContext& context, int code, std::span<const CommandEntry> table);

// The text printed when a command ends in an exception (not translated).
inline constexpr const char* kInternalErrorMessage = "\nInternal Error. aborting\n";
