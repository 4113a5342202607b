// The framework's exception classes: a base with a message, and the kinds the program raises
// and catches by type (conversion, resources, streams and files, lists, the silent abort).
#pragma once

#include <exception>
#include <utility>

#include "framework/Strings.h"

class Exception : public std::exception {
public:
    explicit Exception(String message) : Message(std::move(message)) {}
    // The message formatted with the checked Format: Exception("Port not open (Error: %d)", -1).
    template <class A, class... More>
    Exception(std::string_view fmt, const A& arg, const More&... more)
        : Message(Format(fmt, arg, more...))
    {
    }
    const char* what() const noexcept override { return Message.c_str(); }
    String Message;
};

#define QV_EXCEPTION_CLASS(Name, Base)                                                             \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

QV_EXCEPTION_CLASS(EConvertError, Exception);
QV_EXCEPTION_CLASS(EOutOfResources, Exception);
QV_EXCEPTION_CLASS(EListError, Exception);
QV_EXCEPTION_CLASS(EInvalidOperation, Exception);
QV_EXCEPTION_CLASS(EThread, Exception);
QV_EXCEPTION_CLASS(EStreamError, Exception);
QV_EXCEPTION_CLASS(EFOpenError, EStreamError);
QV_EXCEPTION_CLASS(EFCreateError, EStreamError);
QV_EXCEPTION_CLASS(EReadError, EStreamError);
QV_EXCEPTION_CLASS(EWriteError, EStreamError);
QV_EXCEPTION_CLASS(EResNotFound, Exception);
QV_EXCEPTION_CLASS(EVariantError, Exception);

// A failed system call: ErrorCode is the platform's error number (GetLastError).
class EWin32Error : public Exception {
public:
    using Exception::Exception;
    unsigned long ErrorCode = 0;
};

// Raised to leave an operation without any message being shown; the application's handler
// swallows it.
class EAbort : public Exception {
public:
    EAbort() : Exception(String("Operation aborted")) {}
    using Exception::Exception;
};

[[noreturn]] inline void Abort() { throw EAbort(); }

#undef QV_EXCEPTION_CLASS
