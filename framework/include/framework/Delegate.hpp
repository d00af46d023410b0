#pragma once
// Delegates: a function, optionally with a target object, carried as an object. Kind 0 holds
// the target strongly; kind 1 holds it weakly, and invoking it once the target is gone raises
// NilObjectException and runs nothing. Control event handlers are weak delegates, so a
// control never keeps its window alive.

#include "Exceptions.hpp"
#include "Object.hpp"
#include "String.hpp"

#include <functional>
#include <memory>
#include <string>

namespace fw {

enum class DelegateKind : int { Strong = 0, Weak = 1 };

class DelegateBase : public Object {
public:
    static const ClassTable& Lookup();
    const ClassTable& classTable() const override { return Lookup(); }

    const String& Signature() const { return signature_; }
    DelegateKind Kind() const { return kind_; }

protected:
    DelegateBase(String signature, DelegateKind kind) : signature_(std::move(signature)), kind_(kind) {}

    // The target for a call: the held object, nullptr for a delegate without target. A weak
    // delegate whose target is gone raises NilObjectException.
    std::shared_ptr<Object> target() const {
        if (kind_ == DelegateKind::Weak) {
            auto held = weakTarget_.lock();
            if (!held) RaiseNilObjectException();
            return held;
        }
        return strongTarget_;
    }

    std::shared_ptr<Object> strongTarget_;
    std::weak_ptr<Object> weakTarget_;

private:
    String signature_;
    DelegateKind kind_;
};

template <class Sig>
class Delegate;

template <class R, class... Args>
class Delegate<R(Args...)> : public DelegateBase {
public:
    using Invoker = std::function<R(Object* target, Args...)>;
    using Function = R (*)(Args...);

    Delegate(Invoker invoker, Function function, std::shared_ptr<Object> target, String signature, DelegateKind kind)
        : DelegateBase(std::move(signature), kind), invoker_(std::move(invoker)), function_(function) {
        if (kind == DelegateKind::Weak) weakTarget_ = target;
        else strongTarget_ = std::move(target);
    }

    R Invoke(Args... args) const {
        auto held = target();
        return invoker_(held.get(), std::forward<Args>(args)...);
    }

    // The function the delegate carries, called with the target as its first argument: what the
    // framework keeps where it calls an entry with the receiver it already holds, so that the
    // entry keeps no hold on that receiver of its own.
    Invoker MethodEntry() const { return invoker_; }

    // The address of the plain function the delegate carries (nullptr for a method delegate):
    // what the framework takes where it wants a plain entry.
    Function Entry() const { return function_; }

private:
    Invoker invoker_;
    Function function_;
};

// A delegate over a plain function, without target (kind 0).
template <class R, class... Args>
std::shared_ptr<Delegate<R(Args...)>> RuntimeCreateDelegate(R (*function)(Args...), String signature) {
    auto invoker = [function](Object*, Args... args) -> R { return function(std::forward<Args>(args)...); };
    return std::make_shared<Delegate<R(Args...)>>(invoker, function, nullptr, std::move(signature),
                                                  DelegateKind::Strong);
}

// A delegate over a method of the target's class, looked up through the class's virtual
// operations when it is invoked.
template <class T, class R, class... Args>
std::shared_ptr<Delegate<R(Args...)>> RuntimeCreateDelegate(R (T::*method)(Args...), const std::shared_ptr<T>& target,
                                                            String signature, DelegateKind kind) {
    if (!target) RaiseNilObjectException();
    auto invoker = [method](Object* held, Args... args) -> R {
        return (dynamic_cast<T&>(*held).*method)(std::forward<Args>(args)...);
    };
    return std::make_shared<Delegate<R(Args...)>>(invoker, nullptr, std::static_pointer_cast<Object>(target),
                                                  std::move(signature), kind);
}

// A handler event of a class table whose delegates are of type Delegate<Sig>.
template <class Sig>
HandlerEvent MakeHandlerEvent(std::string name, std::string signature) {
    return {std::move(name), std::move(signature),
            [](const DelegateBase& delegate) { return dynamic_cast<const Delegate<Sig>*>(&delegate) != nullptr; }};
}

}  // namespace fw
