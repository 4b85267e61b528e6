#pragma once
// Loaded dialog files and open dialogs. A dialog opened with newDialog is an instance of its
// definition with live tiles (value, list, action callback, client data); start() runs it on the
// script's dialog actions until a callback ends it with done(), or cancels it (status 0) when
// the actions run out. Dialog handles are the instances' addresses, checked against the open
// ones on every call; the manager owns the instances.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/DialogFile.h"
#include "host/api.h"

namespace kxhost {

class InputQueue;
class Transcript;

class DialogManager {
public:
  DialogManager(InputQueue& input, Transcript& transcript) : input_(input), out_(transcript) {}
  void reset();

  // Reads and parses the file (a native path); RTNORM with a fresh id, RTERROR when it cannot
  // be read or does not parse (with a transcript line).
  int load(const std::string& nativePath, const std::string& shownName, int* id);
  int unload(int id);
  int newDialog(const std::string& name, int id, CLIENTFUNC defaultCallback, ads_hdlg* handle);
  int start(ads_hdlg handle, int* status);
  int done(ads_hdlg handle, int status);
  int setTile(ads_hdlg handle, const char* key, const char* value);
  int getTile(ads_hdlg handle, const char* key, char* value, int maxlen);
  int actionTile(ads_hdlg handle, const char* key, CLIENTFUNC action);
  int clientDataTile(ads_hdlg handle, const char* key, void* data);
  int startList(ads_hdlg handle, const char* key, short operation, short index);
  int addList(const char* item);
  int endList();

  // Dialogs still open (made with newDialog and not yet ended).
  std::size_t openCount() const { return open_.size(); }
  // Closes every open dialog and list (at the end of a command); returns how many were open.
  std::size_t closeAll();

private:
  struct Tile {
    DialogTileDef def;
    std::string value;
    std::vector<std::string> list;
    CLIENTFUNC action = nullptr;
    void* client = nullptr;
  };
  struct Instance {
    std::string name;
    std::vector<Tile> tiles;
    CLIENTFUNC defaultCallback = nullptr;
    bool running = false;
    bool finished = false;
    int status = 0;
  };
  struct ListEdit {
    Instance* dialog = nullptr;
    std::string key;
    short operation = 0;
    short index = 0;
    std::vector<std::string> items;
  };

  Instance* instance(ads_hdlg handle, const char* call);
  Tile* tile(Instance& d, const char* key, const char* call);
  void press(Instance& d, Tile& t);

  InputQueue& input_;
  Transcript& out_;
  std::map<int, DialogFile> files_;
  int nextId_ = 1;
  std::map<Instance*, std::unique_ptr<Instance>> open_;
  std::unique_ptr<ListEdit> list_;
  int depth_ = 0;
};

}  // namespace kxhost
