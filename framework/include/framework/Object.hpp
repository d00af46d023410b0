#pragma once
// Objects, their class tables and the three object services the program calls: making an
// object without constructing it, casting with a class test, and asking for a class.
//
// C++ virtual functions are the tables of virtual operations; the ClassTable adds what C++
// does not keep at run time: the full class name, the parent link, a factory for objects that
// the caller constructs itself, the event entries (event number to handler), the events to
// which the program attaches handlers of its own, and the property table that design-time
// records are read against.

#include "Property.hpp"
#include "String.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class DelegateBase;
class Object;
// PropertyInfo: Property.hpp

// An event entry of a class: the framework runs it with the receiver by event number.
using EventEntry = std::function<void(Object& receiver)>;

// An event of a class to which the program attaches a delegate of its own, by event number
// (RuntimeAddEventHandler): its name, the signature text of the delegates it takes, and the
// test that a delegate is of that type. MakeHandlerEvent (Delegate.hpp) makes one.
struct HandlerEvent {
    std::string name;       // "Action"
    std::string signature;  // "( PushButton )"
    std::function<bool(const DelegateBase&)> accepts;
};

struct ClassTable {
    std::string fullName;  // "Window1.Window1", "App", "Window"
    const ClassTable* parent = nullptr;
    std::function<std::shared_ptr<Object>()> allocate;  // empty for classes that cannot be made
    std::map<int, EventEntry> events;
    std::map<int, HandlerEvent> handlerEvents;  // this class's own; parents' via parent
    std::vector<PropertyInfo> properties;       // this class's own; parents' via parent

    bool isa(const ClassTable& other) const;
    const EventEntry* event(int number) const;                      // own entries only, nullptr when none
    const HandlerEvent* handlerEvent(int number) const;             // parents searched, nullptr when none
    const PropertyInfo* findProperty(std::string_view name) const;  // letter case ignored, parents searched
};

class Object : public std::enable_shared_from_this<Object> {
public:
    virtual ~Object() = default;
    static const ClassTable& Lookup();
    virtual const ClassTable& classTable() const { return Lookup(); }
};

// Makes an object of the class; the caller runs its Constructor afterwards.
std::shared_ptr<Object> RuntimeNewObject(const ClassTable& cls);

bool RuntimeObjectIsa(const Object* object, const ClassTable& cls);

// The same object as T when its class is cls or derives from it; nil stays nil. Any other
// object raises IllegalCastException.
template <class T>
std::shared_ptr<T> RuntimeCheckCast(const std::shared_ptr<Object>& object, const ClassTable& cls);

// Builds a class table whose factory makes a T with its default C++ constructor.
template <class T>
ClassTable MakeClassTable(std::string fullName, const ClassTable* parent);

// Adds an event entry that calls a member function of T on the receiver.
template <class T>
void AddEvent(ClassTable& cls, int number, void (T::*handler)());

}  // namespace fw

#include "Object.inl"
