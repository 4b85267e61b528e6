#pragma once
// TileCallbackData: the client data of the options dialog's pick buttons and of the accept
// buttons of its load and pick dialogs. The record is owned by the function that runs the dialog
// whose tiles carry it and lives until that dialog has ended; every pointer in it is borrowed.
// The dialog itself is CommandContext::runOptionsDialog; its tile and stored-configuration names
// are below.

#include "foundation/RWCString.h"
#include "foundation/RWTValOrderedVector.h"
#include "host/api.h"

class CommandContext;

struct TileCallbackData {
  CommandContext* context = nullptr;
  ads_hdlg dialog = nullptr;   // the main options dialog, whose tile the callback fills
  void* extra = nullptr;       // load dialog: the RWTValOrderedVector<RWCString> of block names
  RWCString tileKey;           // the main dialog's tile that a pick fills
};

// Blocks of the user configuration whose names begin with this text (any letter case) are the
// stored named configurations; the block name is this text followed by the name the user typed.
inline constexpr const char* kStoredConfigPrefix = "config_";

// The block names of the stored configurations, in the order of the file (blocks made since it
// was read follow).
RWTValOrderedVector<RWCString> storedConfigurationBlocks(CommandContext& context);
// What the load list shows for a stored configuration: its DESC text, translated. A block
// without DESC shows the empty text; nothing is created.
RWCString storedConfigurationLabel(CommandContext& context, const RWCString& block);

// The bytes a tile text is first read into; a text that fills the buffer is read again into a
// larger one, so no tile text is ever cut.
inline constexpr int kTileBufferSize = 100;
