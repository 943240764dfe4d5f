// ScopedOwner: the one owner of a resource that must be given back on every
// path: kernel handles, directory searches, registry keys, COM interfaces and
// procedure records. The kind is told by a Traits structure:
//
//   struct Traits {
//     typedef ... Handle;
//     static Handle Null();            // the "no resource" value
//     static bool IsValid(Handle h);   // whether h must be given back
//     static void Close(Handle h);     // gives h back; called once per h
//   };
//
// The owner never copies. Take() hands the resource on and leaves the owner
// empty, so an early return between acquiring and handing on still closes
// it. Header-only and free of system headers: every layer may use it.
#ifndef UPDATER_PLATFORM_SCOPED_OWNER_H_
#define UPDATER_PLATFORM_SCOPED_OWNER_H_

namespace platform {

template <class Traits>
class ScopedOwner {
 public:
  typedef typename Traits::Handle Handle;

  constexpr ScopedOwner() : handle_(Traits::Null()) {}
  explicit ScopedOwner(Handle handle) : handle_(handle) {}
  ~ScopedOwner() { GiveBack(); }

  bool valid() const { return Traits::IsValid(handle_); }
  Handle get() const { return handle_; }

  // Gives back what is held (if anything) and holds `handle` instead.
  void Reset(Handle handle = Traits::Null()) {
    GiveBack();
    handle_ = handle;
  }

  // Hands the resource on; the owner is empty afterwards.
  Handle Take() {
    Handle handle = handle_;
    handle_ = Traits::Null();
    return handle;
  }

  // For calls that return the resource through an out-parameter: gives back
  // what is held first, then lends the slot.
  Handle* Receive() {
    Reset();
    return &handle_;
  }

 private:
  ScopedOwner(const ScopedOwner&);
  ScopedOwner& operator=(const ScopedOwner&);

  // Gives back what is held, if anything; the handle stays as it was.
  void GiveBack() {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
  }

  Handle handle_;
};

// Traits of a heap object made with new (std::nothrow) and given back with
// delete, such as a procedure record until its loader hands it out.
template <class Object>
struct HeapObjectTraits {
  typedef Object* Handle;
  static constexpr Handle Null() { return 0; }
  static bool IsValid(Handle object) { return object != 0; }
  static void Close(Handle object) { delete object; }
};

// Traits of an array made with new (std::nothrow) T[n] and given back with
// delete[]: a buffer that lives for one call.
template <class Element>
struct HeapArrayTraits {
  typedef Element* Handle;
  static constexpr Handle Null() { return 0; }
  static bool IsValid(Handle array) { return array != 0; }
  static void Close(Handle array) { delete[] array; }
};

// An owned heap buffer: `HeapArray<char> text(new (std::nothrow) char[n]);`
// then `if (!text.valid()) ...`.
template <class Element>
class HeapArray : public ScopedOwner<HeapArrayTraits<Element> > {
 public:
  constexpr HeapArray() {}
  explicit HeapArray(Element* array)
      : ScopedOwner<HeapArrayTraits<Element> >(array) {}
  Element& operator[](unsigned long index) const { return this->get()[index]; }
};

}  // namespace platform

#endif  // UPDATER_PLATFORM_SCOPED_OWNER_H_
