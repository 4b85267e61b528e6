// The options dialog: the user edits the pen-class settings, the exchange file names and the SAT
// version, picks colours and line types from the definition lists, and stores and loads named
// configurations. Only this dialog writes the user configuration file. Every host callback here
// catches what its body throws: no exception goes back into the host.
#include "plugin/OptionsDialog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>

#include "config/VariableExpansion.h"
#include "foundation/RWTValOrderedVector.h"
#include "plugin/CommandContext.h"
#include "plugin/DialogLoader.h"
#include "plugin/Dispatcher.h"
#include "plugin/HostBinding.h"
#include "platform/FileSystem.h"

namespace {

// A tile of the main dialog and the setting it shows.
struct SettingTile {
  const char* tile;
  int setting;
};

// Settings 1, 2 and the hatch line type (15) are not on the dialog.
constexpr SettingTile kSettingTiles[] = {
    {"layer_solidheavy", 3},     {"layer_solidlight", 4},   {"layer_hidden", 5},
    {"layer_center", 6},         {"layer_heavydashdot", 7}, {"layer_hatch", 8},
    {"layer_cosm", 9},           {"ltype_solidheavy", 10},  {"ltype_solidlight", 11},
    {"ltype_hidden", 12},        {"ltype_center", 13},      {"ltype_heavydashdot", 14},
    {"lcolor_solidheavy", 16},   {"lcolor_solidlight", 17}, {"lcolor_hidden", 18},
    {"lcolor_center", 19},       {"lcolor_heavydashdot", 20}, {"lcolor_hatch", 21},
    {"SATXCHGNAME", kSetSatFileName}, {"SATVERSION", kSetSatVersion},
    {"METAXCHGNAME", kSetMetaFileName},
};

// A key of a stored configuration and the main dialog's tile it is taken from and given back to.
struct StoredKey {
  const char* key;
  const char* tile;
};

// The exchange file names and the SAT version are not stored in named configurations.
constexpr StoredKey kStoredKeys[] = {
    {"LY_SolidHeavy", "layer_solidheavy"},     {"LY_SolidLight", "layer_solidlight"},
    {"LY_Hidden", "layer_hidden"},             {"LY_Center", "layer_center"},
    {"LY_HeavyDashDot", "layer_heavydashdot"}, {"LY_Hatch", "layer_hatch"},
    {"LY_Cosm", "layer_cosm"},                 {"LT_SolidHeavy", "ltype_solidheavy"},
    {"LT_SolidLight", "ltype_solidlight"},     {"LT_Hidden", "ltype_hidden"},
    {"LT_Center", "ltype_center"},             {"LT_HeavyDashDot", "ltype_heavydashdot"},
    {"LC_SolidHeavy", "lcolor_solidheavy"},    {"LC_SolidLight", "lcolor_solidlight"},
    {"LC_Hidden", "lcolor_hidden"},            {"LC_Center", "lcolor_center"},
    {"LC_HeavyDashDot", "lcolor_heavydashdot"}, {"LC_Hatch", "lcolor_hatch"},
};

// The pens with pick buttons "clbut_" + pen and "ltbut_" + pen.
constexpr const char* kPickPens[] = {"solidheavy", "solidlight", "hidden",
                                     "center",     "heavydashdot", "hatch"};
constexpr std::size_t kPickPenCount = sizeof kPickPens / sizeof kPickPens[0];

// The largest tile text read; a host that keeps filling larger buffers still ends here.
constexpr std::size_t kMaxTileText = std::size_t{1} << 20;

// Unloads a loaded dialog file when the scope ends, on every path.
class DialogFileScope {
 public:
  explicit DialogFileScope(int fileId) : fileId_(fileId) {}
  ~DialogFileScope() { ads_unload_dialog(fileId_); }
  DialogFileScope(const DialogFileScope&) = delete;
  DialogFileScope& operator=(const DialogFileScope&) = delete;

 private:
  int fileId_;
};

// Reads a tile's whole text: into kTileBufferSize bytes first, and again into a buffer twice as
// large whenever the text filled the last one. False, text unchanged, when the host refuses.
bool readTile(ads_hdlg dialog, const char* key, RWCString& text) {
  std::size_t size = static_cast<std::size_t>(kTileBufferSize);
  for (;;) {
    std::string buffer(size, '\0');
    if (ads_get_tile(dialog, key, buffer.data(), static_cast<int>(size)) != RTNORM) return false;
    const std::size_t n = strnlen(buffer.data(), size);
    if (n + 1 < size || size >= kMaxTileText) {
      text = RWCString(buffer.data(), n);
      return true;
    }
    size *= 2;
  }
}

// The entry index a list tile holds: a decimal number below count (blanks around it allowed).
// False for an empty text, any other text or a number out of range.
bool listIndex(const RWCString& text, std::size_t count, std::size_t& index) {
  const char* p = text.data();
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(p, &end, 10);
  if (errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || value >= count) return false;
  index = static_cast<std::size_t>(value);
  return true;
}

// The typed name of a configuration to store, without blanks and tabs at its ends (the file's
// reader drops them from a block header, so a name keeping them would not read back as the same
// block); the empty name is a name too. False when the name cannot stand in a block header: it
// holds ']' or a line break, any of which would leave the whole file unsavable.
bool storableName(const RWCString& typed, RWCString& name) {
  const char* d = typed.data();
  std::size_t a = 0, b = typed.length();
  while (a < b && (d[a] == ' ' || d[a] == '\t')) ++a;
  while (b > a && (d[b - 1] == ' ' || d[b - 1] == '\t')) --b;
  name = RWCString(d + a, b - a);
  return name.firstOf("]\r\n") == RW_NPOS;
}

// Whether a tile text can be stored as a value of the file: a value is one line.
bool storableValue(const RWCString& text) { return text.firstOf("\r\n") == RW_NPOS; }

// The texts of the main dialog's tiles that have a setting or a stored-configuration key, read
// for storing; the keys whose tile the host refuses are left out, so their values stay. False
// (after telling the user) when a text cannot be stored: nothing may be stored then.
template <class Row, std::size_t N>
bool readStorableTiles(CommandContext& context, ads_hdlg dialog, const Row (&rows)[N],
                       RWCString (&texts)[N], bool (&read)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    read[i] = readTile(dialog, rows[i].tile, texts[i]);
    if (read[i] && !storableValue(texts[i])) {
      context.alertMessage("Ungültige Angaben");
      return false;
    }
  }
  return true;
}

// Saves the user configuration; when that fails, tells the user which file could not be written
// and why. The file keeps its old content then: it is replaced whole or not at all. The lines are
// made by the configuration's own save, into a text, so that the replacement's reason is known.
bool saveReported(CommandContext& context) {
  const RWCString fileName = context.fileName();
  const RWCString path = expandVariables(fileName);
  std::ostringstream text;
  int made = -1;
  {
    // The configuration writes into the text for this save only, whatever happens in it.
    struct IntoText {
      CommandContext& context;
      const RWCString& fileName;
      ~IntoText() {
        context.setOutputStream(nullptr);
        context.setFileName(fileName);
      }
    } restore{context, fileName};
    context.setFileName(RWCString());
    context.setOutputStream(&text);
    made = context.save();
  }
  std::string reason;
  if (made != 0) {
    // The only saves the configuration itself refuses here: its file is there but could not be
    // read, or was not read whole, and writing what was read would lose the rest.
    const RWCString why = context.translate(context.lastRead() == QVConfig::kReadUnopened
                                                ? "sie konnte nicht gelesen werden"
                                                : "sie wurde nicht vollständig gelesen");
    reason.assign(why.data(), why.length());
  } else if (platform::replaceFileContents(std::string_view(path.data(), path.length()),
                                           text.str(), &reason)) {
    return true;
  }
  context.alertMessage("Die Datei %s konnte nicht gespeichert werden: %s", path.data(),
                       reason.c_str());
  return false;
}

// Runs a callback body; what it throws is reported as the dispatcher reports it and ends the
// dialog that called back, cancelled.
template <class Body>
void guarded(ads_callback_packet* packet, Body&& body) noexcept {
  if (!packet || !packet->client_data) return;
  try {
    body();
  } catch (...) {
    hostcall::print("%s", kInternalErrorMessage);
    ads_done_dialog(packet->dialog, DLGCANCEL);
  }
}

// ---- main dialog: accept

// A text that cannot be stored, or a save that fails, keeps the dialog open with the user's
// entries, so they can be mended and accepted again, or cancelled.
void onAccept(ads_callback_packet* packet) {
  guarded(packet, [packet] {
    CommandContext& context = *static_cast<CommandContext*>(packet->client_data);
    constexpr std::size_t n = sizeof kSettingTiles / sizeof kSettingTiles[0];
    RWCString texts[n];
    bool read[n];
    if (!readStorableTiles(context, packet->dialog, kSettingTiles, texts, read)) return;
    // A tile the host refuses leaves its setting as it was.
    for (std::size_t i = 0; i < n; ++i)
      if (read[i]) context.valueById(kSettingTiles[i].setting).setText(texts[i]);
    if (!saveReported(context)) return;
    ads_done_dialog(packet->dialog, DLGOK);
  });
}

// ---- load a stored configuration

void onLoadAccept(ads_callback_packet* packet) {
  guarded(packet, [packet] {
    TileCallbackData& data = *static_cast<TileCallbackData*>(packet->client_data);
    const auto& names = *static_cast<const RWTValOrderedVector<RWCString>*>(data.extra);
    RWCString text;
    std::size_t index = 0;
    if (readTile(packet->dialog, "cfglist", text) && listIndex(text, names.count(), index)) {
      const RWCString& block = names[index];
      for (const StoredKey& k : kStoredKeys)
        ads_set_tile(data.dialog, k.tile, data.context->value(k.key, block, "").text());
    }
    ads_done_dialog(packet->dialog, DLGOK);
  });
}

void onLoad(ads_callback_packet* packet) {
  guarded(packet, [packet] {
    CommandContext& context = *static_cast<CommandContext*>(packet->client_data);
    RWTValOrderedVector<RWCString> names = storedConfigurationBlocks(context);
    int fileId = -1;
    ads_hdlg dialog = nullptr;
    if (loadDialog(context, "load", fileId, dialog) != 1) return;
    DialogFileScope unload(fileId);
    if (ads_start_list(dialog, "cfglist", LIST_NEW, 0) == RTNORM) {
      for (std::size_t i = 0; i < names.count(); ++i)
        ads_add_list(storedConfigurationLabel(context, names[i]).data());
      ads_end_list();
    }
    TileCallbackData data;
    data.context = &context;
    data.dialog = packet->dialog;
    data.extra = &names;
    ads_action_tile(dialog, "accept", onLoadAccept);
    ads_client_data_tile(dialog, "accept", &data);
    int status = 0;
    ads_start_dialog(dialog, &status);
  });
}

// ---- store the entries under a name

void onSaveAccept(ads_callback_packet* packet) {
  guarded(packet, [packet] {
    TileCallbackData& data = *static_cast<TileCallbackData*>(packet->client_data);
    CommandContext& context = *data.context;
    RWCString typed;
    readTile(packet->dialog, "cfgname", typed);
    RWCString name;
    constexpr std::size_t n = sizeof kStoredKeys / sizeof kStoredKeys[0];
    RWCString texts[n];
    bool read[n];
    if (!storableName(typed, name)) {
      // The save dialog stays open for another name or a cancel.
      context.alertMessage("Ungültige Angaben");
      return;
    }
    if (!readStorableTiles(context, data.dialog, kStoredKeys, texts, read)) return;
    const RWCString block = RWCString(kStoredConfigPrefix) + name;
    context.value("DESC", block).setText(name);
    for (std::size_t i = 0; i < n; ++i)
      if (read[i]) context.value(kStoredKeys[i].key, block).setText(texts[i]);
    if (!saveReported(context)) return;
    ads_done_dialog(packet->dialog, DLGOK);
  });
}

void onSave(ads_callback_packet* packet) {
  guarded(packet, [packet] {
    CommandContext& context = *static_cast<CommandContext*>(packet->client_data);
    int fileId = -1;
    ads_hdlg dialog = nullptr;
    if (loadDialog(context, "save", fileId, dialog) != 1) return;
    DialogFileScope unload(fileId);
    TileCallbackData data;
    data.context = &context;
    data.dialog = packet->dialog;
    ads_action_tile(dialog, "accept", onSaveAccept);
    ads_client_data_tile(dialog, "accept", &data);
    int status = 0;
    ads_start_dialog(dialog, &status);
  });
}

// ---- pick lists of colours and line types

// The entries of a pick list: the colour definitions' display names or the line-type names.
struct PickEntries {
  explicit PickEntries(CommandContext& context, bool colours)
      : colourDefinitions(colours ? &context.colourDefinitions() : nullptr),
        lineTypeNames(colours ? nullptr : &context.lineTypeNames()) {}
  std::size_t count() const {
    return colourDefinitions ? colourDefinitions->count() : lineTypeNames->count();
  }
  const RWCString& name(std::size_t i) const {
    return colourDefinitions ? (*colourDefinitions)[i].displayName : (*lineTypeNames)[i];
  }
  const RWTValOrderedVector<DefColorItem>* colourDefinitions;
  const RWTValOrderedVector<RWCString>* lineTypeNames;
};

void pickAccept(ads_callback_packet* packet, bool colours) {
  guarded(packet, [packet, colours] {
    TileCallbackData& data = *static_cast<TileCallbackData*>(packet->client_data);
    const PickEntries entries(*data.context, colours);
    RWCString text;
    std::size_t index = 0;
    if (readTile(packet->dialog, "vallist", text) && listIndex(text, entries.count(), index))
      ads_set_tile(data.dialog, data.tileKey.data(), entries.name(index).data());
    ads_done_dialog(packet->dialog, DLGOK);
  });
}

void onColourAccept(ads_callback_packet* packet) { pickAccept(packet, true); }
void onLineTypeAccept(ads_callback_packet* packet) { pickAccept(packet, false); }

void pick(ads_callback_packet* packet, bool colours) {
  guarded(packet, [packet, colours] {
    TileCallbackData& data = *static_cast<TileCallbackData*>(packet->client_data);
    const PickEntries entries(*data.context, colours);
    int fileId = -1;
    ads_hdlg dialog = nullptr;
    if (loadDialog(*data.context, colours ? "color" : "ltype", fileId, dialog) != 1) return;
    DialogFileScope unload(fileId);
    RWCString current;
    readTile(data.dialog, data.tileKey.data(), current);
    bool found = false;
    std::size_t currentIndex = 0;
    if (ads_start_list(dialog, "vallist", LIST_NEW, 0) == RTNORM) {
      for (std::size_t i = 0; i < entries.count(); ++i) {
        ads_add_list(entries.name(i).data());
        // The last entry of that name, in any letter case, is the current one.
        if (entries.name(i).compare(current, RWCString::ignoreCase) == 0) {
          found = true;
          currentIndex = i;
        }
      }
      ads_end_list();
    }
    if (found) ads_set_tile(dialog, "vallist", std::to_string(currentIndex).c_str());
    ads_action_tile(dialog, "accept", colours ? onColourAccept : onLineTypeAccept);
    ads_client_data_tile(dialog, "accept", &data);
    int status = 0;
    ads_start_dialog(dialog, &status);
  });
}

void onColourPick(ads_callback_packet* packet) { pick(packet, true); }
void onLineTypePick(ads_callback_packet* packet) { pick(packet, false); }

}  // namespace

RWTValOrderedVector<RWCString> storedConfigurationBlocks(CommandContext& context) {
  const std::size_t prefix = std::strlen(kStoredConfigPrefix);
  const RWTValOrderedVector<RWCString> blocks = context.blockNames();
  RWTValOrderedVector<RWCString> names;
  for (std::size_t i = 0; i < blocks.count(); ++i) {
    const RWCString& name = blocks[i];
    if (name.length() >= prefix &&
        RWCString(name.data(), prefix).compare(kStoredConfigPrefix, RWCString::ignoreCase) == 0)
      names.append(name);
  }
  return names;
}

RWCString storedConfigurationLabel(CommandContext& context, const RWCString& block) {
  const QVConfigItem* desc = context.findItem("DESC", block);
  return context.translate(desc ? desc->value().asText() : RWCString());
}

std::int32_t CommandContext::runOptionsDialog() {
  int fileId = -1;
  ads_hdlg dialog = nullptr;
  const int loaded = loadDialog(*this, "opt", fileId, dialog);
  if (loaded != 1) return loaded;
  DialogFileScope unload(fileId);

  for (const SettingTile& row : kSettingTiles)
    ads_set_tile(dialog, row.tile, valueById(row.setting).text());

  const struct {
    const char* key;
    CLIENTFUNC action;
  } buttons[] = {{"accept", onAccept}, {"load", onLoad}, {"save", onSave}};
  for (const auto& button : buttons) {
    ads_action_tile(dialog, button.key, button.action);
    ads_client_data_tile(dialog, button.key, this);
  }

  // One record per pick button; they live until the dialog has ended.
  TileCallbackData picks[2 * kPickPenCount];
  for (std::size_t i = 0; i < kPickPenCount; ++i) {
    const RWCString pen(kPickPens[i]);
    TileCallbackData& colour = picks[2 * i];
    TileCallbackData& lineType = picks[2 * i + 1];
    colour.context = lineType.context = this;
    colour.dialog = lineType.dialog = dialog;
    colour.tileKey = "lcolor_" + pen;
    lineType.tileKey = "ltype_" + pen;
    const RWCString colourButton = "clbut_" + pen;
    const RWCString lineTypeButton = "ltbut_" + pen;
    ads_action_tile(dialog, colourButton.data(), onColourPick);
    ads_client_data_tile(dialog, colourButton.data(), &colour);
    ads_action_tile(dialog, lineTypeButton.data(), onLineTypePick);
    ads_client_data_tile(dialog, lineTypeButton.data(), &lineType);
  }

  // The end status is not examined: accept saved already, cancel changes nothing.
  int status = 0;
  ads_start_dialog(dialog, &status);
  return 1;
}
