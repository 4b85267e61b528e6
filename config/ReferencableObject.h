#pragma once
// ReferencableObject: base of objects shared by reference count. The count starts at 0; holders
// call addReference / removeReference, and releaseIfUnreferenced deletes the object (it must
// have been made with new) when nobody holds it. removeReference never deletes.

#include <cstdint>

class ReferencableObject {
 public:
  ReferencableObject() = default;
  // A copy is a new object: it starts unreferenced.
  ReferencableObject(const ReferencableObject&) : referenceCount_(0) {}
  ReferencableObject& operator=(const ReferencableObject&) { return *this; }
  virtual ~ReferencableObject() = default;

  // When the count is 0 the object deletes itself and the result is true; otherwise false.
  virtual bool releaseIfUnreferenced();
  virtual void addReference();
  virtual void removeReference();

  std::int32_t referenceCount() const { return referenceCount_; }

 protected:
  std::int32_t referenceCount_ = 0;
};
