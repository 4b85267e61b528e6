#pragma once
// The user's answers, queued by the script before a command runs: points, angles, integers,
// reals, entity picks, an empty answer (enter), cancel, and the dialog actions (tile, press).
// Each request of the plug-in takes the next answer; what a request cannot use stays an error
// of that request.

#include <cstdint>
#include <deque>
#include <string>

namespace kxhost {

struct Answer {
  enum class Kind { Point, Angle, Int, Real, Enter, Cancel, PickHandle, PickPoint, Tile, Press };
  Kind kind = Kind::Enter;
  double p[3] = {0.0, 0.0, 0.0};   // Point, PickPoint
  double value = 0.0;              // Angle (degrees), Real
  int integer = 0;                 // Int
  std::uint32_t handle = 0;        // PickHandle
  std::string key;                 // Tile, Press
  std::string text;                // Tile
  std::string source;              // the answer as the script wrote it
  int line = 0;                    // script line, 0 when not from a script

  bool isDialogAction() const { return kind == Kind::Tile || kind == Kind::Press || kind == Kind::Cancel; }
};

class InputQueue {
public:
  void push(Answer a) { queue_.push_back(std::move(a)); }
  bool empty() const { return queue_.empty(); }
  std::size_t size() const { return queue_.size(); }
  const Answer* peek() const { return queue_.empty() ? nullptr : &queue_.front(); }
  Answer pop() {
    Answer a = std::move(queue_.front());
    queue_.pop_front();
    return a;
  }
  void clear() { queue_.clear(); }

  // Parses one answer written as the script does ("point 1,2", "angle 30", "int 1", "real 2.5",
  // "enter", "cancel", "pick 1A2", "pick 3,4", "tile KEY TEXT", "press KEY"). False when the
  // text is no answer; `error` then says why when the keyword was one of these.
  static bool parse(const std::string& line, Answer& out, std::string& error);

  // Parses "X,Y" or "X,Y,Z".
  static bool parsePoint(const std::string& text, double p[3]);
  // Parses a whole word as a finite number.
  static bool parseNumber(const std::string& text, double& value);
  // The blanks between the words of a script line: space, tab, vertical tab, form feed, CR, LF.
  static bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
  }

private:
  std::deque<Answer> queue_;
};

}  // namespace kxhost
