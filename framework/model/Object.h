#pragma once

#include "framework/model/PropertyValue.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Object;

// One property of a class as start-value records and the property accessors
// see it: its key, its type, and how to set and get it.
struct PropertySpec {
    std::string key;
    PropertyType type;
    std::function<void(Object&, const PropertyValue&)> set;
    std::function<PropertyValue(const Object&)> get;
};

// The properties of a class, its ancestors' included. Keys match whatever the
// case of their letters.
class PropertyTable {
public:
    PropertyTable(std::initializer_list<PropertySpec> own, const PropertyTable* base = nullptr);

    const PropertySpec* Find(std::string_view key) const;
    const std::vector<PropertySpec>& All() const { return specs_; }

private:
    std::vector<PropertySpec> specs_;
};

// Anything whose properties a start-value record can set.
class Object {
public:
    virtual ~Object() = default;
    virtual const PropertyTable& Properties() const = 0;

    // By key; throws PropertyRecordException for a key the class does not know.
    PropertyValue Property(std::string_view key) const;
    void Property(std::string_view key, const PropertyValue& value);

private:
    // Properties that the class accepts and keeps but that change nothing on
    // this platform (a Mac window's process id, a data binding's source).
    friend PropertySpec StoredProp(std::string key, PropertyValue initial);
    std::map<std::string, PropertyValue, std::less<>> stored_;
};

// A property backed by a getter and a setter of class T.
template <class T, class G, class S>
PropertySpec Prop(std::string key, G (T::*get)() const, void (T::*set)(S)) {
    using V = std::decay_t<G>;
    PropertyType type;
    if constexpr (std::is_same_v<V, bool>) type = PropertyType::Boolean;
    else if constexpr (std::is_same_v<V, Color>) type = PropertyType::Color;
    else if constexpr (std::is_same_v<V, std::string>) type = PropertyType::String;
    else type = PropertyType::Int32;
    return PropertySpec{
        std::move(key), type,
        [set](Object& o, const PropertyValue& v) {
            if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, Color> || std::is_same_v<V, std::string>)
                (static_cast<T&>(o).*set)(std::get<V>(v));
            else (static_cast<T&>(o).*set)(static_cast<V>(std::get<std::int32_t>(v)));
        },
        [get](const Object& o) -> PropertyValue {
            if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, Color> || std::is_same_v<V, std::string>)
                return (static_cast<const T&>(o).*get)();
            else return static_cast<std::int32_t>((static_cast<const T&>(o).*get)());
        }};
}

// A property the class keeps without acting on it.
PropertySpec StoredProp(std::string key, PropertyValue initial);

// Applies a start-value record to an object, entry by entry in record order.
// A key the object's class does not know, or a record that ends inside a
// value, throws PropertyRecordException naming the key.
void SetProperties(Object& target, std::string_view record);

}  // namespace fw
