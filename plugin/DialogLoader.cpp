#include "plugin/DialogLoader.h"

#include <algorithm>
#include <string>

#include "config/VariableExpansion.h"
#include "platform/FileSystem.h"
#include "plugin/CommandContext.h"

namespace {

// How much of the dialog file is read for its language line: the line opens the file, and a list
// of every language there is fits many times over.
constexpr std::uint64_t kLanguageLineBytes = 64 * 1024;

bool isTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether one ';'-separated item of list, without blanks, tabs, CR and LF at either end, equals
// text ignoring case. Both ends are trimmed: a list is written "english; german" as often as
// "english;german".
bool listHolds(const RWCString& list, const RWCString& text) {
  const char* s = list.data();
  const std::size_t n = list.length();
  std::size_t begin = 0;
  while (begin <= n) {
    std::size_t end = begin;
    while (end < n && s[end] != ';') ++end;
    std::size_t a = begin, b = end;
    while (a < b && isTrimmed(s[a])) ++a;
    while (b > a && isTrimmed(s[b - 1])) --b;
    if (RWCString(s + a, b - a).compare(text, RWCString::ignoreCase) == 0) return true;
    begin = end + 1;
  }
  return false;
}

}  // namespace

bool dialogFileOffersLanguage(const RWCString& path, const RWCString& language) {
  std::string text;
  const platform::FileRead read =
      platform::readRegularFile(std::string_view(path.data(), path.length()), text, kLanguageLineBytes);
  if (read != platform::FileRead::Whole && read != platform::FileRead::TooLarge) return true;
  const std::size_t start = text.find_first_not_of(" \t\r\n\v\f");
  if (start == std::string::npos) return true;
  const std::size_t end = std::min(text.find('\n', start), text.size());
  const RWCString first(text.data() + start, end - start);
  static constexpr char kMarker[] = "LANGUAGES:";
  const std::size_t at = first.findText(kMarker);
  if (at == RW_NPOS) return true;
  const std::size_t from = at + sizeof kMarker - 1;
  return listHolds(RWCString(first.data() + from, first.length() - from), language);
}

int loadDialog(CommandContext& context, const char* baseName, int& fileId, ads_hdlg& dialog) {
  const RWCString file = expandVariables(kDialogFileName);
  const bool offered = dialogFileOffersLanguage(file, expandVariables("$QUORVEL_LANGUAGE"));

  int id = -1;
  if (ads_load_dialog(file.data(), &id) != RTNORM) {
    context.alertMessage("Datei %s wurde nicht gefunden", file.data());
    return -1;
  }
  ads_hdlg handle = nullptr;
  bool open = false;
  if (offered) {
    RWCString name = expandVariables(RWCString("kestrix_") + baseName + "_$QUORVEL_LANGUAGE");
    name.toLower();
    open = ads_new_dialog(name.data(), id, nullptr, &handle) == RTNORM;
  }
  if (!open) {
    const RWCString name = RWCString("kestrix_") + baseName + "_english";
    open = ads_new_dialog(name.data(), id, nullptr, &handle) == RTNORM;
  }
  if (!open) {
    context.alertMessage("Dialog konnte nicht geladen werden");
    ads_unload_dialog(id);
    return -1;
  }
  fileId = id;
  dialog = handle;
  return 1;
}
