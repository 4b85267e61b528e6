#include "host/DialogFile.h"

#include <cctype>

namespace kxhost {

namespace {

struct Token {
  enum Kind { Word, String, Number, Punct, End } kind = End;
  std::string text;
  int line = 1;
};

class Lexer {
public:
  explicit Lexer(const std::string& t) : t_(t) {}

  bool next(Token& tok, std::string& error) {
    skip();
    tok = Token();
    tok.line = line_;
    if (error_.size()) {
      error = error_;
      return false;
    }
    if (pos_ >= t_.size()) return true;
    char c = t_[pos_];
    if (c == '"') {
      ++pos_;
      tok.kind = Token::String;
      while (pos_ < t_.size() && t_[pos_] != '"') {
        char d = t_[pos_++];
        if (d == '\n') {
          error = "line " + std::to_string(tok.line) + ": string runs past the line end";
          return false;
        }
        if (d == '\\' && pos_ < t_.size()) {
          char e = t_[pos_++];
          d = e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
        tok.text += d;
      }
      if (pos_ >= t_.size()) {
        error = "line " + std::to_string(tok.line) + ": string is not closed";
        return false;
      }
      ++pos_;
      return true;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      tok.kind = Token::Word;
      while (pos_ < t_.size() &&
             (std::isalnum(static_cast<unsigned char>(t_[pos_])) || t_[pos_] == '_'))
        tok.text += t_[pos_++];
      return true;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.') {
      tok.kind = Token::Number;
      while (pos_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[pos_])) ||
                                  t_[pos_] == '.' || t_[pos_] == '-'))
        tok.text += t_[pos_++];
      return true;
    }
    if (c == ':' || c == '{' || c == '}' || c == ';' || c == '=' || c == '@') {
      tok.kind = Token::Punct;
      tok.text = std::string(1, c);
      ++pos_;
      return true;
    }
    error = "line " + std::to_string(line_) + ": unexpected character '" + std::string(1, c) + "'";
    return false;
  }

private:
  void skip() {
    for (;;) {
      while (pos_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[pos_]))) {
        if (t_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (t_.compare(pos_, 2, "//") == 0) {
        while (pos_ < t_.size() && t_[pos_] != '\n') ++pos_;
        continue;
      }
      if (t_.compare(pos_, 2, "/*") == 0) {
        std::size_t end = t_.find("*/", pos_ + 2);
        if (end == std::string::npos) {
          error_ = "line " + std::to_string(line_) + ": comment is not closed";
          pos_ = t_.size();
          return;
        }
        for (std::size_t k = pos_; k < end; ++k)
          if (t_[k] == '\n') ++line_;
        pos_ = end + 2;
        continue;
      }
      return;
    }
  }

  const std::string& t_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::string error_;
};

class Parser {
public:
  explicit Parser(const std::string& text) : lex_(text) {}

  bool run(std::vector<DialogDef>& dialogs, std::string& error) {
    if (!advance(error)) return false;
    while (tok_.kind != Token::End) {
      // name : type { body }
      if (tok_.kind == Token::Punct && tok_.text == "@") {
        error = where() + "@include is not supported";
        return false;
      }
      if (tok_.kind != Token::Word) return fail("definition name expected", error);
      std::string name = tok_.text;
      if (!advance(error)) return false;
      if (!expect(":", error)) return false;
      if (tok_.kind != Token::Word) return fail("tile type expected", error);
      std::string type = tok_.text;
      if (!advance(error)) return false;
      DialogDef def;
      def.name = name;
      if (!body(def, error, 0)) return false;
      if (type == "dialog") dialogs.push_back(std::move(def));
    }
    return true;
  }

private:
  bool advance(std::string& error) { return lex_.next(tok_, error); }
  std::string where() const { return "line " + std::to_string(tok_.line) + ": "; }
  bool fail(const std::string& what, std::string& error) {
    error = where() + what + (tok_.kind == Token::End ? " at the end of the file"
                                                      : ", found '" + tok_.text + "'");
    return false;
  }
  bool expect(const char* punct, std::string& error) {
    if (tok_.kind != Token::Punct || tok_.text != punct)
      return fail(std::string("'") + punct + "' expected", error);
    return advance(error);
  }

  static void standardKeys(const std::string& type, DialogDef& def) {
    auto add = [&](const char* key, const char* t) { def.tiles.push_back({key, t, "", {}}); };
    if (type == "ok_only") add("accept", "button");
    if (type == "ok_cancel" || type == "ok_cancel_help" || type == "ok_cancel_help_errtile") {
      add("accept", "button");
      add("cancel", "button");
    }
    if (type == "ok_cancel_help" || type == "ok_cancel_help_errtile") add("help", "button");
    if (type == "ok_cancel_help_errtile" || type == "errtile") add("error", "errtile");
  }

  // { (attribute = value ; | : type { ... } | type ; | name : type { ... })* }
  bool body(DialogDef& def, std::string& error, int depth) {
    if (depth > 64) return fail("tiles nest too deep", error);
    DialogTileDef self;
    return block(def, self, error, depth);
  }

  bool block(DialogDef& def, DialogTileDef& self, std::string& error, int depth) {
    if (!expect("{", error)) return false;
    while (!(tok_.kind == Token::Punct && tok_.text == "}")) {
      if (tok_.kind == Token::End) return fail("'}' expected", error);
      if (tok_.kind == Token::Punct && tok_.text == ":") {
        if (!advance(error)) return false;
        if (!tile(def, error, depth)) return false;
        continue;
      }
      if (tok_.kind == Token::Punct && tok_.text == ";") {   // stray separator
        if (!advance(error)) return false;
        continue;
      }
      if (tok_.kind != Token::Word) return fail("attribute or tile expected", error);
      std::string word = tok_.text;
      if (!advance(error)) return false;
      if (tok_.kind == Token::Punct && tok_.text == "=") {
        if (!advance(error)) return false;
        if (tok_.kind != Token::String && tok_.kind != Token::Number && tok_.kind != Token::Word)
          return fail("attribute value expected", error);
        std::string value = tok_.text;
        if (!advance(error)) return false;
        if (!expect(";", error)) return false;
        if (word == "key") self.key = value;
        if (word == "value") self.value = value;
        if (word == "list") {
          std::size_t s = 0;
          for (std::size_t k = 0; k <= value.size(); ++k)
            if (k == value.size() || value[k] == '\n') {
              if (k > s) self.list.push_back(value.substr(s, k - s));
              s = k + 1;
            }
        }
        continue;
      }
      if (tok_.kind == Token::Punct && tok_.text == ";") {   // a tile without body: "ok_cancel;"
        standardKeys(word, def);
        if (!advance(error)) return false;
        continue;
      }
      if (tok_.kind == Token::Punct && tok_.text == ":") {   // named sub-tile "name : type {...}"
        if (!advance(error)) return false;
        if (!tile(def, error, depth)) return false;
        continue;
      }
      return fail("'=', ';' or ':' expected after '" + word + "'", error);
    }
    return advance(error);
  }

  // After ':': type { ... } [;]
  bool tile(DialogDef& def, std::string& error, int depth) {
    if (tok_.kind != Token::Word) return fail("tile type expected", error);
    DialogTileDef t;
    t.type = tok_.text;
    if (!advance(error)) return false;
    standardKeys(t.type, def);
    std::size_t slot = def.tiles.size();
    if (depth > 64) return fail("tiles nest too deep", error);
    if (!block(def, t, error, depth + 1)) return false;
    if (!t.key.empty()) def.tiles.insert(def.tiles.begin() + static_cast<std::ptrdiff_t>(slot), t);
    if (tok_.kind == Token::Punct && tok_.text == ";") return advance(error);
    return true;
  }

  Lexer lex_;
  Token tok_;
};

}  // namespace

bool DialogFile::parse(const std::string& text, std::string& error) {
  dialogs_.clear();
  // The first line that holds text may list the languages the file offers ("LANGUAGES:" and a
  // ';'-separated list). It is no part of the dialog language: blanked out, line breaks kept so
  // that error lines still count from the top of the file.
  std::string body = text;
  std::size_t first = body.find_first_not_of(" \t\r\n\f\v");
  if (first != std::string::npos && body.compare(first, 10, "LANGUAGES:") == 0) {
    for (std::size_t k = first; k < body.size() && body[k] != '\n'; ++k) body[k] = ' ';
  }
  Parser p(body);
  std::vector<DialogDef> out;
  if (!p.run(out, error)) return false;
  dialogs_ = std::move(out);
  return true;
}

const DialogDef* DialogFile::find(const std::string& name) const {
  for (const DialogDef& d : dialogs_)
    if (d.name == name) return &d;
  return nullptr;
}

}  // namespace kxhost
