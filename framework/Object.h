// The root of the framework's classes: TObject (a virtual destructor and the class name) and
// TPersistent (copying one object's published state into another with Assign).
#pragma once

#include "framework/Strings.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The dynamic class's name as written in the source ("TMemoryStream").
    String ClassName() const;
};

class TPersistent : public TObject {
public:
    // Copies Source's state into this object. A class that knows how to copy from Source
    // overrides Assign (or Source's AssignTo); otherwise EConvertError
    // "Cannot assign a <source class> to a <target class>" (nil for no source).
    virtual void Assign(TPersistent* Source);

protected:
    // Called by Assign when this class does not know Source: Source may know the target.
    virtual void AssignTo(TPersistent* Dest);
};
