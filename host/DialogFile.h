#pragma once
// Reader of dialog definition files in the host's dialog language: definitions
// `name : dialog { ... }` holding tiles (`: type { attribute = value; ... }`, `type;`, nested
// rows and columns), attributes with string, number or word values, // and /* */ comments.
// Top-level definitions of other types are prototypes and are kept apart. The keys of the
// standard button rows (ok_only, ok_cancel, ok_cancel_help, ok_cancel_help_errtile, errtile)
// are known. The file's first text line may be a language line, "LANGUAGES:" and a list of
// languages; the reader passes over it.

#include <string>
#include <vector>

namespace kxhost {

struct DialogTileDef {
  std::string key;
  std::string type;                 // "button", "edit_box", "list_box", ...
  std::string value;                // initial value attribute
  std::vector<std::string> list;    // initial entries of a list tile
  bool isList() const { return type == "list_box" || type == "popup_list"; }
};

struct DialogDef {
  std::string name;
  std::vector<DialogTileDef> tiles;  // every tile with a key, in file order
};

class DialogFile {
public:
  // False with `error` ("line N: ...") when the text does not parse.
  bool parse(const std::string& text, std::string& error);

  const DialogDef* find(const std::string& name) const;
  const std::vector<DialogDef>& dialogs() const { return dialogs_; }

private:
  std::vector<DialogDef> dialogs_;
};

}  // namespace kxhost
