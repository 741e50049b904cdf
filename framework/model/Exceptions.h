#pragma once

#include <stdexcept>
#include <string>

namespace fw {

// The base of every exception the framework raises for its own errors. The
// unhandled-exception report names the class and the message.
class RuntimeException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    virtual const char* ClassName() const { return "RuntimeException"; }
};

// An object that was needed is not there.
class NilObjectException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const override { return "NilObjectException"; }
};

// A start-value record names a key its target does not know, or ends inside
// a value. Either is a programming error in the record's table.
class PropertyRecordException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const override { return "PropertyRecordException"; }
};

// A class, control or event asked for by name that the framework does not know.
class UnknownNameException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const override { return "UnknownNameException"; }
};

// A file could not be read or written; the message names the file and the reason.
class IOException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* ClassName() const override { return "IOException"; }
};

}  // namespace fw
