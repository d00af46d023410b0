#pragma once
// A property of a class as design-time records see it: a name, the type that fixes the
// form of its value in a record, and how to assign and read it on an object.

#include "Color.hpp"
#include "String.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>

namespace fw {

class Object;

enum class PropertyType { Integer, Boolean, Text, Colour };

using PropertyValue = std::variant<std::int32_t, bool, String, Color>;

struct PropertyInfo {
    std::string name;  // spelled as the class spells it; records match it without letter case
    PropertyType type;
    std::function<void(Object&, const PropertyValue&)> set;
    std::function<PropertyValue(const Object&)> get;
};

// A property of T backed by a getter and a setter of T, e.g.
//   MakeProperty("Bold", &Label::Bold, &Label::SetBold)
template <class T, class G, class S>
PropertyInfo MakeProperty(std::string name, G (T::*getter)() const, void (T::*setter)(S)) {
    using V = std::remove_cvref_t<S>;
    static_assert(std::is_same_v<V, bool> || std::is_same_v<V, std::int32_t> || std::is_same_v<V, Color> ||
                  std::is_same_v<V, String>);
    PropertyInfo info;
    info.name = std::move(name);
    if constexpr (std::is_same_v<V, bool>) info.type = PropertyType::Boolean;
    else if constexpr (std::is_same_v<V, std::int32_t>) info.type = PropertyType::Integer;
    else if constexpr (std::is_same_v<V, Color>) info.type = PropertyType::Colour;
    else info.type = PropertyType::Text;
    info.set = [setter](Object& o, const PropertyValue& v) { (dynamic_cast<T&>(o).*setter)(std::get<V>(v)); };
    info.get = [getter](const Object& o) -> PropertyValue { return V((dynamic_cast<const T&>(o).*getter)()); };
    return info;
}

}  // namespace fw
