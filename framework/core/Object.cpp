#include "Object.hpp"

#include "Delegate.hpp"
#include "Exceptions.hpp"

#include <algorithm>
#include <cctype>

namespace fw {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool ClassTable::isa(const ClassTable& other) const {
    for (const ClassTable* c = this; c; c = c->parent)
        if (c == &other) return true;
    return false;
}

const EventEntry* ClassTable::event(int number) const {
    auto it = events.find(number);
    return it == events.end() ? nullptr : &it->second;
}

const HandlerEvent* ClassTable::handlerEvent(int number) const {
    for (const ClassTable* c = this; c; c = c->parent)
        if (auto it = c->handlerEvents.find(number); it != c->handlerEvents.end()) return &it->second;
    return nullptr;
}

const PropertyInfo* ClassTable::findProperty(std::string_view name) const {
    for (const ClassTable* c = this; c; c = c->parent)
        for (const PropertyInfo& p : c->properties)
            if (equalIgnoringCase(p.name, name)) return &p;
    return nullptr;
}

const ClassTable& Object::Lookup() {
    static const ClassTable table = [] {
        ClassTable t;
        t.fullName = "Object";
        return t;
    }();
    return table;
}

std::shared_ptr<Object> RuntimeNewObject(const ClassTable& cls) {
    if (!cls.allocate) throw RuntimeException(String("RuntimeException: class " + cls.fullName + " cannot be made"));
    return cls.allocate();
}

bool RuntimeObjectIsa(const Object* object, const ClassTable& cls) { return object && object->classTable().isa(cls); }

void RaiseIllegalCast(const Object& object, const ClassTable& cls) {
    throw IllegalCastException(
        String("IllegalCastException: " + object.classTable().fullName + " is not a " + cls.fullName));
}

void RaiseNilObjectException() { throw NilObjectException(); }

namespace {
ClassTable leafTable(std::string name, const ClassTable* parent) {
    ClassTable t;
    t.fullName = std::move(name);
    t.parent = parent;
    return t;
}
}  // namespace

const ClassTable& RuntimeException::Lookup() {
    static const ClassTable table = leafTable("RuntimeException", &Object::Lookup());
    return table;
}

const ClassTable& NilObjectException::Lookup() {
    static const ClassTable table = leafTable("NilObjectException", &RuntimeException::Lookup());
    return table;
}

const ClassTable& IllegalCastException::Lookup() {
    static const ClassTable table = leafTable("IllegalCastException", &RuntimeException::Lookup());
    return table;
}

const ClassTable& DelegateBase::Lookup() {
    static const ClassTable table = leafTable("Delegate", &Object::Lookup());
    return table;
}

}  // namespace fw
