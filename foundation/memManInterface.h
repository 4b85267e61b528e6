#pragma once
// memManInterfaceC: base of every class whose objects are allocated through the memory manager.
// Its class-level new allocates through the current manager (made when needed); its class-level
// delete frees through the manager captured by the last memManInterfaceC destructor. No data.

#include <cstddef>
#include <new>

class memManSystemC;

class memManInterfaceC {
public:
  memManInterfaceC() = default;
  memManInterfaceC(const memManInterfaceC&) = default;
  memManInterfaceC& operator=(const memManInterfaceC&) = default;

  // The current manager; a new one when there is none and create is set.
  virtual memManSystemC* getMemMan(bool create) const;
  // Captures the current manager (never makes one) for the class-level delete.
  virtual ~memManInterfaceC();

  // Throws RWxalloc when the manager has no memory: no object is built on a failed allocation.
  static void* operator new(std::size_t size);
  static void operator delete(void* p);
  // Placement forms stay usable for derived classes (containers construct in place).
  static void* operator new(std::size_t, void* where) noexcept { return where; }
  static void operator delete(void*, void*) noexcept {}
};
