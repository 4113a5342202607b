// A class as a value: what library code needs where it is handed a class rather than an object
// (is this object of the class or derived, does one class derive from another, its name).
#pragma once

#include <functional>

#include "framework/Object.h"

class TClassRef {
public:
    // The class's name as written in the source ("TProgressBar").
    String Name;

    bool IsInstance(const TObject* Object) const { return Object && isInstance_(Object); }
    // True for the class itself and every class derived from Base.
    bool InheritsFrom(const TClassRef& Base) const { return Base.catches_(throwNull_); }
    bool operator==(const TClassRef& Other) const { return throwNull_ == Other.throwNull_; }

    template <class C>
    friend TClassRef ClassOf(const String& Name);

private:
    std::function<bool(const TObject*)> isInstance_;
    // C++ has no run-time test of one class against another, but a handler for Base* catches
    // a thrown Derived*: each class throws a null pointer of its own type and catches its own.
    void (*throwNull_)() = nullptr;
    bool (*catches_)(void (*Thrower)()) = nullptr;
};

template <class C>
TClassRef ClassOf(const String& Name)
{
    TClassRef ref;
    ref.Name = Name;
    ref.isInstance_ = [](const TObject* o) { return dynamic_cast<const C*>(o) != nullptr; };
    ref.throwNull_ = [] { throw static_cast<C*>(nullptr); };
    ref.catches_ = [](void (*thrower)()) {
        try {
            thrower();
        } catch (C*) {
            return true;
        } catch (...) {
            return false;
        }
        return false;
    };
    return ref;
}
