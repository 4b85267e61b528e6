#pragma once
// loadDialog: opens one dialog of the plug-in's dialog definition file in the host, in the
// user's language when the file offers it, else in English. The host owns the loaded file and
// the open dialog; the caller runs the dialog and unloads the file afterwards.

#include "foundation/RWCString.h"
#include "host/api.h"

class CommandContext;

// The dialog definition file, expanded before use.
inline constexpr const char* kDialogFileName = "$QUORVEL_SETUP/kestrix.dcl";

// Loads the dialog file and opens the dialog "kestrix_" + baseName + "_" + language (lower
// case) when the file's language line lists the language (or the file has none), else, or when
// that dialog does not exist, "kestrix_" + baseName + "_english". 1 when a dialog is open, with
// the file id and the dialog handle written to the out-arguments; -1 after an alert otherwise
// (the file is unloaded again when it was loaded). The context gives the messages.
int loadDialog(CommandContext& context, const char* baseName, int& fileId, ads_hdlg& dialog);

// Whether the dialog file at path (expanded, a program path) offers language: true when the file
// cannot be read or its first text line holds no "LANGUAGES:"; otherwise whether the ';'-separated
// list after that text holds the language, items trimmed at both ends, compared ignoring case.
bool dialogFileOffersLanguage(const RWCString& path, const RWCString& language);
