#include "host/DialogManager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/InputQueue.h"
#include "host/Transcript.h"
#include "platform/FileSystem.h"

namespace kxhost {

namespace {
constexpr int kMaxNesting = 16;
// Largest dialog file loaded, in bytes: the dialogs of a program in every language take some
// hundred kilobytes.
constexpr std::uint64_t kMaxDialogFileBytes = 16 * 1024 * 1024;
}

void DialogManager::reset() {
  files_.clear();
  open_.clear();
  list_.reset();
  depth_ = 0;
}

int DialogManager::load(const std::string& nativePath, const std::string& shownName, int* id) {
  if (!id) return RTERROR;
  std::string text;
  const platform::FileRead read =
      nativePath.empty() ? platform::FileRead::NotOpened
                         : platform::readRegularFile(nativePath, text, kMaxDialogFileBytes);
  if (read == platform::FileRead::TooLarge) {
    out_.hostLine("ads_load_dialog: " + shownName + " is larger than " +
                  std::to_string(kMaxDialogFileBytes) + " bytes");
    return RTERROR;
  }
  if (read != platform::FileRead::Whole) {
    out_.hostLine("ads_load_dialog: cannot read " + shownName);
    return RTERROR;
  }
  DialogFile file;
  std::string error;
  if (!file.parse(text, error)) {
    out_.hostLine("ads_load_dialog: " + shownName + ": " + error);
    return RTERROR;
  }
  *id = nextId_++;
  files_[*id] = std::move(file);
  return RTNORM;
}

int DialogManager::unload(int id) {
  if (!files_.erase(id)) {
    out_.hostLine("ads_unload_dialog: no dialog file with id " + std::to_string(id));
    return RTERROR;
  }
  return RTNORM;
}

int DialogManager::newDialog(const std::string& name, int id, CLIENTFUNC defaultCallback,
                             ads_hdlg* handle) {
  if (!handle) return RTERROR;
  auto f = files_.find(id);
  if (f == files_.end()) {
    out_.hostLine("ads_new_dialog: no dialog file with id " + std::to_string(id));
    return RTERROR;
  }
  const DialogDef* def = f->second.find(name);
  if (!def) return RTERROR;   // the plug-in tries names in turn; not finding one is no fault
  auto inst = std::make_unique<Instance>();
  inst->name = name;
  inst->defaultCallback = defaultCallback;
  for (const DialogTileDef& t : def->tiles) {
    Tile tile;
    tile.def = t;
    tile.value = t.value;
    tile.list = t.list;
    inst->tiles.push_back(std::move(tile));
  }
  Instance* raw = inst.get();
  open_[raw] = std::move(inst);
  *handle = raw;
  return RTNORM;
}

DialogManager::Instance* DialogManager::instance(ads_hdlg handle, const char* call) {
  auto it = open_.find(static_cast<Instance*>(handle));
  if (it == open_.end()) {
    out_.hostLine(std::string(call) + ": the dialog handle names no open dialog");
    return nullptr;
  }
  return it->second.get();
}

DialogManager::Tile* DialogManager::tile(Instance& d, const char* key, const char* call) {
  if (key) {
    for (Tile& t : d.tiles)
      if (t.def.key == key) return &t;
  }
  out_.hostLine(std::string(call) + ": dialog " + d.name + " has no tile \"" +
                (key ? key : "(null)") + "\"");
  return nullptr;
}

void DialogManager::press(Instance& d, Tile& t) {
  CLIENTFUNC f = t.action ? t.action : d.defaultCallback;
  if (!f) {
    // The standard buttons end the dialog by themselves.
    if (t.def.key == "accept" || t.def.key == "cancel") {
      d.finished = true;
      d.status = t.def.key == "accept" ? DLGOK : DLGCANCEL;
    }
    return;
  }
  std::vector<char> value(t.value.begin(), t.value.end());
  value.push_back('\0');
  ads_callback_packet packet{};
  packet.dialog = &d;
  packet.tile = &t;
  packet.value = value.data();
  packet.client_data = t.client;
  packet.reason = 1;
  f(&packet);
}

int DialogManager::start(ads_hdlg handle, int* status) {
  Instance* d = instance(handle, "ads_start_dialog");
  if (!d) return RTERROR;
  if (d->running) {
    out_.hostLine("ads_start_dialog: dialog " + d->name + " is running already");
    return RTERROR;
  }
  if (depth_ >= kMaxNesting) {
    out_.hostLine("ads_start_dialog: dialogs nest deeper than " + std::to_string(kMaxNesting));
    return RTERROR;
  }
  ++depth_;
  d->running = true;
  out_.hostLine("dialog " + d->name + " opens");
  while (!d->finished) {
    const Answer* next = input_.peek();
    if (!next || !next->isDialogAction()) {
      out_.hostLine("dialog " + d->name + ": no more dialog actions; cancelled");
      d->finished = true;
      d->status = DLGCANCEL;
      break;
    }
    Answer a = input_.pop();
    if (a.kind == Answer::Kind::Cancel) {
      Tile* cancel = nullptr;
      for (Tile& t : d->tiles)
        if (t.def.key == "cancel") cancel = &t;
      if (cancel && cancel->action) {
        press(*d, *cancel);
      } else {
        d->finished = true;
        d->status = DLGCANCEL;
      }
      continue;
    }
    Tile* t = tile(*d, a.key.c_str(), a.kind == Answer::Kind::Tile ? "tile" : "press");
    if (!t) continue;
    if (a.kind == Answer::Kind::Tile) {
      if (t->def.isList()) {
        char* end = nullptr;
        long index = std::strtol(a.text.c_str(), &end, 10);
        if (a.text.empty() || *end != '\0' || index < 0 ||
            index >= static_cast<long>(t->list.size())) {
          out_.hostLine("tile " + a.key + ": list " + a.key + " has no entry " + a.text);
          continue;
        }
      }
      t->value = a.text;
    } else {
      press(*d, *t);
    }
  }
  int result = d->status;
  open_.erase(d);
  --depth_;
  if (status) *status = result;
  return RTNORM;
}

int DialogManager::done(ads_hdlg handle, int status) {
  Instance* d = instance(handle, "ads_done_dialog");
  if (!d) return RTERROR;
  d->finished = true;
  d->status = status;
  return RTNORM;
}

int DialogManager::setTile(ads_hdlg handle, const char* key, const char* value) {
  Instance* d = instance(handle, "ads_set_tile");
  if (!d || !value) return RTERROR;
  Tile* t = tile(*d, key, "ads_set_tile");
  if (!t) return RTERROR;
  t->value = value;
  return RTNORM;
}

int DialogManager::getTile(ads_hdlg handle, const char* key, char* value, int maxlen) {
  Instance* d = instance(handle, "ads_get_tile");
  if (!d || !value || maxlen <= 0) return RTERROR;
  Tile* t = tile(*d, key, "ads_get_tile");
  if (!t) return RTERROR;
  std::size_t n = std::min(t->value.size(), static_cast<std::size_t>(maxlen - 1));
  std::memcpy(value, t->value.data(), n);
  value[n] = '\0';
  return RTNORM;
}

int DialogManager::actionTile(ads_hdlg handle, const char* key, CLIENTFUNC action) {
  Instance* d = instance(handle, "ads_action_tile");
  if (!d) return RTERROR;
  Tile* t = tile(*d, key, "ads_action_tile");
  if (!t) return RTERROR;
  t->action = action;
  return RTNORM;
}

int DialogManager::clientDataTile(ads_hdlg handle, const char* key, void* data) {
  Instance* d = instance(handle, "ads_client_data_tile");
  if (!d) return RTERROR;
  Tile* t = tile(*d, key, "ads_client_data_tile");
  if (!t) return RTERROR;
  t->client = data;
  return RTNORM;
}

int DialogManager::startList(ads_hdlg handle, const char* key, short operation, short index) {
  Instance* d = instance(handle, "ads_start_list");
  if (!d) return RTERROR;
  Tile* t = tile(*d, key, "ads_start_list");
  if (!t) return RTERROR;
  if (!t->def.isList()) {
    out_.hostLine(std::string("ads_start_list: tile \"") + key + "\" of dialog " + d->name +
                  " is no list");
    return RTERROR;
  }
  if (operation != LIST_NEW && operation != LIST_APPEND && operation != LIST_CHANGE) {
    out_.hostLine("ads_start_list: unknown operation " + std::to_string(operation));
    return RTERROR;
  }
  if (list_) out_.hostLine("ads_start_list: the previous list was not ended with ads_end_list");
  list_ = std::make_unique<ListEdit>();
  list_->dialog = d;
  list_->key = key;
  list_->operation = operation;
  list_->index = index;
  return RTNORM;
}

int DialogManager::addList(const char* item) {
  if (!list_ || !item) {
    out_.hostLine("ads_add_list: no list was started");
    return RTERROR;
  }
  list_->items.push_back(item);
  return RTNORM;
}

int DialogManager::endList() {
  if (!list_) {
    out_.hostLine("ads_end_list: no list was started");
    return RTERROR;
  }
  std::unique_ptr<ListEdit> edit = std::move(list_);
  if (!open_.count(edit->dialog)) return RTERROR;
  Tile* t = tile(*edit->dialog, edit->key.c_str(), "ads_end_list");
  if (!t) return RTERROR;
  if (edit->operation == LIST_NEW) {
    t->list = edit->items;
  } else if (edit->operation == LIST_APPEND) {
    t->list.insert(t->list.end(), edit->items.begin(), edit->items.end());
  } else {
    std::size_t at = edit->index < 0 ? 0 : static_cast<std::size_t>(edit->index);
    for (const std::string& item : edit->items) {
      if (at >= t->list.size()) break;
      t->list[at++] = item;
    }
  }
  return RTNORM;
}

std::size_t DialogManager::closeAll() {
  std::size_t n = open_.size();
  open_.clear();
  list_.reset();
  depth_ = 0;
  return n;
}

}  // namespace kxhost
