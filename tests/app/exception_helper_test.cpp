// The routine through which the framework runs start-up and every handler.

#include "app/ExceptionHelper.hpp"
#include "framework/Exceptions.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace radixel {
namespace {

std::string seen;

void Record(fw::Ptr argument) { seen = *static_cast<std::string*>(argument); }
void RaiseNil(fw::Ptr) { fw::RaiseNilObjectException(); }
void RaiseRuntime(fw::Ptr) { throw fw::RuntimeException("RuntimeException: from the function"); }
void RaiseOther(fw::Ptr) { throw std::runtime_error("not one of the framework's"); }
void RaiseNonObject(fw::Ptr) { throw 7; }

TEST(ExceptionHelper, NormalReturnGivesNilAfterRunningTheFunctionWithItsArgument) {
    std::string argument = "the argument";
    seen.clear();
    EXPECT_EQ(CallFunctionWithExceptionHandling(&Record, &argument), nullptr);
    EXPECT_EQ(seen, "the argument");
}

// The object that comes back outlives the throw and keeps the class and message raised.
TEST(ExceptionHelper, RuntimeExceptionsComeBackAsTheObjectRaised) {
    struct Case {
        fw::PlainFunction function;
        const fw::ClassTable& cls;
        std::string message;
    };
    const Case cases[] = {
        {&RaiseNil, fw::NilObjectException::Lookup(), fw::NilObjectException().Message().bytes()},
        {&RaiseRuntime, fw::RuntimeException::Lookup(), "RuntimeException: from the function"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cls.fullName);
        auto raised = CallFunctionWithExceptionHandling(c.function, nullptr);
        ASSERT_NE(raised, nullptr);
        EXPECT_EQ(&raised->classTable(), &c.cls);
        auto* exception = dynamic_cast<fw::RuntimeException*>(raised.get());
        ASSERT_NE(exception, nullptr);
        EXPECT_EQ(exception->Message().bytes(), c.message);
    }
}

TEST(ExceptionHelper, OtherExceptionsGoOnPastIt) {
    EXPECT_THROW(CallFunctionWithExceptionHandling(&RaiseOther, nullptr), std::runtime_error);
    EXPECT_THROW(CallFunctionWithExceptionHandling(&RaiseNonObject, nullptr), int);
}

TEST(ExceptionHelper, AnEmptyFunctionComesBackAsNilObjectException) {
    auto raised = CallFunctionWithExceptionHandling(nullptr, nullptr);
    ASSERT_NE(raised, nullptr);
    EXPECT_EQ(&raised->classTable(), &fw::NilObjectException::Lookup());
}

}  // namespace
}  // namespace radixel
