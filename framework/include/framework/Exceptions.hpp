#pragma once
// Raised exceptions are objects of the framework's class tree, thrown by value and caught by
// reference. The exception helper hands the caught object back as an Object.

#include "Object.hpp"
#include "String.hpp"

#include <exception>
#include <memory>

namespace fw {

class RuntimeException : public Object, public std::exception {
public:
    RuntimeException() = default;
    explicit RuntimeException(String message) : message_(std::move(message)) {}

    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    const String& Message() const { return message_; }
    const char* what() const noexcept override { return message_.bytes().c_str(); }

    // A heap copy of the exception, for handing it on after the throw has ended.
    virtual std::shared_ptr<RuntimeException> clone() const { return std::make_shared<RuntimeException>(*this); }

private:
    String message_;
};

class NilObjectException : public RuntimeException {
public:
    NilObjectException() : RuntimeException("NilObjectException: an object was nil where it was used") {}
    explicit NilObjectException(String message) : RuntimeException(std::move(message)) {}
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }
    std::shared_ptr<RuntimeException> clone() const override { return std::make_shared<NilObjectException>(*this); }
};

class IllegalCastException : public RuntimeException {
public:
    explicit IllegalCastException(String message) : RuntimeException(std::move(message)) {}
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }
    std::shared_ptr<RuntimeException> clone() const override { return std::make_shared<IllegalCastException>(*this); }
};

[[noreturn]] void RaiseNilObjectException();

}  // namespace fw
