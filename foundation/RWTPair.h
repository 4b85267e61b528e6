#pragma once
// RWTPair<A,B>: two values held by copy; equal when both members are equal.

template <class A, class B>
struct RWTPair {
  A first{};
  B second{};

  RWTPair() = default;
  RWTPair(const A& a, const B& b) : first(a), second(b) {}
  bool operator==(const RWTPair& o) const { return first == o.first && second == o.second; }
  bool operator!=(const RWTPair& o) const { return !(*this == o); }
};
