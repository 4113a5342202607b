// Event closures: an object and one of its member functions, bound together so a component
// can call back into its owner (OnClick, OnRxChar, ...). Assignable, clearable, comparable.
#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

class TObject;

template <class Signature>
class TClosure;

// A closure is empty or holds (object, member function). Two closures are equal when they
// hold the same object and the same member function, so a component that chains in front of
// a form's handler can later tell whether the form's event still points at its own handler.
//
//   TNotifyEvent OnClick;                                  // declare
//   OnClick = TNotifyEvent(this, &TForm1::Button1Click);   // assign (or Closure(this, &...))
//   if (OnClick) OnClick(this);                            // call; calling an empty one does
//   OnClick = nullptr;                                     //   nothing and returns R{}
//
// Chaining in front of a handler: keep the old closure, install your own, and call the old
// one from yours:  SavedOnShow = Form->OnShow; Form->OnShow = TNotifyEvent(this, &X::FormShow);
template <class R, class... A>
class TClosure<R(A...)> {
public:
    TClosure() = default;
    TClosure(std::nullptr_t) {}

    template <class C, class M>
    requires std::is_base_of_v<M, C> TClosure(C* object, R (M::*method)(A...))
    {
        if (!object || !method) return;
        M* target = static_cast<M*>(object);
        object_ = target;
        static_assert(sizeof(method) <= sizeof(method_), "member pointer too large");
        std::memcpy(method_, &method, sizeof(method));
        invoke_ = &Invoke<M>;
    }

    TClosure& operator=(std::nullptr_t)
    {
        *this = TClosure();
        return *this;
    }

    bool Assigned() const { return invoke_ != nullptr; }
    explicit operator bool() const { return Assigned(); }

    R operator()(A... args) const
    {
        if (!invoke_) {
            if constexpr (std::is_void_v<R>)
                return;
            else
                return R{};
        }
        return invoke_(object_, method_, static_cast<A&&>(args)...);
    }

    // The bound object (nullptr when empty): lets a handler's owner clear closures that point
    // at an object being destroyed.
    void* Object() const { return object_; }

    friend bool operator==(const TClosure& a, const TClosure& b)
    {
        return a.object_ == b.object_ && a.invoke_ == b.invoke_ &&
               std::memcmp(a.method_, b.method_, sizeof(a.method_)) == 0;
    }
    friend bool operator==(const TClosure& a, std::nullptr_t) { return !a.Assigned(); }

private:
    // Big enough for a member pointer of any class under the compilers we build with (two
    // words, three with MSVC's virtual inheritance); zero-filled so comparison is bytewise.
    using Storage = unsigned char[3 * sizeof(void*)];
    using Invoker = R (*)(void*, const unsigned char*, A&&...);

    template <class M>
    static R Invoke(void* object, const unsigned char* stored, A&&... args)
    {
        R (M::*method)(A...);
        std::memcpy(&method, stored, sizeof(method));
        return (static_cast<M*>(object)->*method)(static_cast<A&&>(args)...);
    }

    void* object_ = nullptr;
    Storage method_ = {};
    Invoker invoke_ = nullptr;
};

// Builds the closure type from the member function, for assignments without naming it:
//   Comm1->OnRxChar = Closure(this, &TForm1::Comm1RxChar);
template <class C, class M, class R, class... A>
requires std::is_base_of_v<M, C> TClosure<R(A...)> Closure(C* object, R (M::*method)(A...))
{
    return TClosure<R(A...)>(object, method);
}

using TNotifyEvent = TClosure<void(TObject* Sender)>;
