#pragma once

namespace fw {

[[noreturn]] void RaiseIllegalCast(const Object& object, const ClassTable& cls);

template <class T>
std::shared_ptr<T> RuntimeCheckCast(const std::shared_ptr<Object>& object, const ClassTable& cls) {
    if (!object) return nullptr;
    if (!RuntimeObjectIsa(object.get(), cls)) RaiseIllegalCast(*object, cls);
    auto cast = std::dynamic_pointer_cast<T>(object);
    if (!cast) RaiseIllegalCast(*object, cls);
    return cast;
}

template <class T>
ClassTable MakeClassTable(std::string fullName, const ClassTable* parent) {
    ClassTable cls;
    cls.fullName = std::move(fullName);
    cls.parent = parent;
    cls.allocate = [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); };
    return cls;
}

template <class T>
void AddEvent(ClassTable& cls, int number, void (T::*handler)()) {
    cls.events[number] = [handler](Object& receiver) { (dynamic_cast<T&>(receiver).*handler)(); };
}

}  // namespace fw
