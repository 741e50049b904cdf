#include "framework/model/Object.h"

#include "framework/model/Exceptions.h"
#include "framework/model/PropertyRecord.h"

#include <algorithm>

namespace fw {

namespace {

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

PropertyTable::PropertyTable(std::initializer_list<PropertySpec> own, const PropertyTable* base) {
    if (base) specs_ = base->specs_;
    for (const auto& spec : own) {
        auto same =
            std::find_if(specs_.begin(), specs_.end(), [&](const PropertySpec& s) { return SameKey(s.key, spec.key); });
        if (same != specs_.end()) *same = spec;
        else specs_.push_back(spec);
    }
}

const PropertySpec* PropertyTable::Find(std::string_view key) const {
    for (const auto& spec : specs_)
        if (SameKey(spec.key, key)) return &spec;
    return nullptr;
}

PropertyValue Object::Property(std::string_view key) const {
    const auto* spec = Properties().Find(key);
    if (!spec) throw PropertyRecordException("unknown property \"" + std::string(key) + "\"");
    return spec->get(*this);
}

void Object::Property(std::string_view key, const PropertyValue& value) {
    const auto* spec = Properties().Find(key);
    if (!spec) throw PropertyRecordException("unknown property \"" + std::string(key) + "\"");
    if (TypeOf(value) != spec->type)
        throw PropertyRecordException("property \"" + std::string(key) + "\" given a value of the wrong type");
    spec->set(*this, value);
}

PropertySpec StoredProp(std::string key, PropertyValue initial) {
    return PropertySpec{key, TypeOf(initial), [key](Object& o, const PropertyValue& v) { o.stored_[key] = v; },
                        [key, initial](const Object& o) -> PropertyValue {
                            const auto found = o.stored_.find(key);
                            return found == o.stored_.end() ? initial : found->second;
                        }};
}

void SetProperties(Object& target, std::string_view record) {
    const auto& table = target.Properties();
    const auto entries = DecodeRecord(record, [&table](std::string_view key) -> std::optional<PropertyType> {
        if (const auto* spec = table.Find(key)) return spec->type;
        return std::nullopt;
    });
    for (const auto& entry : entries) table.Find(entry.key)->set(target, entry.value);
}

}  // namespace fw
