// TObject's class name and TPersistent's Assign protocol.
#include "framework/Object.h"

#include <cstdlib>
#include <memory>
#include <typeinfo>
#if defined(__GNUC__)
#include <cxxabi.h>
#endif

#include "framework/Exceptions.h"

String TObject::ClassName() const
{
    const char* raw = typeid(*this).name();
#if defined(__GNUC__)
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(raw, nullptr, nullptr, &status),
                                                std::free);
    if (status == 0 && name) return String(name.get());
#endif
    return String(raw);
}

void TPersistent::Assign(TPersistent* Source)
{
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw EConvertError("Cannot assign a %s to a %s", "nil", ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest)
{
    throw EConvertError("Cannot assign a %s to a %s", ClassName(), Dest->ClassName());
}
