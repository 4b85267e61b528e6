#pragma once
// Generated inputs for the metafile load benchmarks: a drawing of n shapes (lines, circles and
// arcs under one figure, the shape of a catalogue part's exchange file) and a single section of n
// leaf children, each written both as metafile text and as the same content in JSON (a key node
// with children is an object {"KEY": [children]}, any other node a scalar). Header-only.

#include <cstdio>
#include <string>
#include <vector>

namespace metabench {

class twinWriterC {
public:
  void open(const char* key) {
    meta_ += key;
    meta_ += " {\n";
    separate();
    json_ += "{\"";
    json_ += key;
    json_ += "\":[";
    first_.push_back(true);
  }
  void close() {
    meta_ += "}\n";
    json_ += "]}";
    first_.pop_back();
  }
  void number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string word = text;
    while (word.back() == '0') word.pop_back();
    if (word.back() == '.') word.pop_back();
    meta_ += word;
    meta_ += ' ';
    separate();
    json_ += word;
  }
  void text(const std::string& s) {
    meta_ += '"' + s + "\" ";
    separate();
    json_ += '"' + s + '"';
  }
  void keyWord(const char* key) {
    meta_ += key;
    meta_ += ' ';
    separate();
    json_ += '"';
    json_ += key;
    json_ += '"';
  }
  // A key with one section of numbers, e.g. POINT { 1 2 }.
  void attribute(const char* key, std::initializer_list<double> values) {
    open(key);
    for (double v : values) number(v);
    close();
  }
  std::string& meta() { return meta_; }
  std::string& json() { return json_; }

private:
  void separate() {
    if (first_.empty()) {
      if (!json_.empty()) json_ += ',';  // several top-level nodes: JSON gets one array below
      return;
    }
    if (!first_.back()) json_ += ',';
    first_.back() = false;
  }
  std::string meta_;
  std::string json_;
  std::vector<bool> first_;
};

struct twinTextsC {
  std::string meta;
  std::string json;
};

// DRAWING { NAME { "..." } DRAWINGITEMS { FIGURE { NAME FIGURITEMS { n shapes } } } }.
inline twinTextsC drawingOfShapes(long shapes) {
  twinWriterC w;
  w.open("DRAWING");
  w.open("NAME");
  w.text("Generated part");
  w.close();
  w.open("DRAWINGITEMS");
  w.open("FIGURE");
  w.open("NAME");
  w.text("Generated figure");
  w.close();
  w.attribute("ANSICHTNO", {-1});
  w.open("FIGURITEMS");
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<double>((seed >> 8) % 200000) / 1000.0 - 100.0;
  };
  for (long i = 0; i < shapes; ++i) {
    switch (i % 3) {
      case 0:
        w.open("LINE");
        w.attribute("POINT", {next(), next()});
        w.attribute("POINT", {next(), next()});
        w.close();
        break;
      case 1:
        w.open("CIRCLE");
        w.attribute("POINT", {next(), next()});
        w.attribute("RAD", {next() + 101.0});
        w.close();
        break;
      default:
        w.open("ARC");
        w.attribute("POINT", {next(), next()});
        w.attribute("RAD", {next() + 101.0});
        w.attribute("START", {next() + 100.0});
        w.attribute("END", {next() + 200.0});
        w.close();
    }
  }
  w.close();
  w.close();
  w.close();
  w.close();
  return {std::move(w.meta()), std::move(w.json())};
}

// VALUES { n reals }: one section with n children.
inline twinTextsC sectionOfChildren(long children) {
  twinWriterC w;
  w.open("VALUES");
  for (long i = 0; i < children; ++i) w.number(static_cast<double>(i % 1000) * 0.125 - 50.0);
  w.close();
  return {std::move(w.meta()), std::move(w.json())};
}

}  // namespace metabench
