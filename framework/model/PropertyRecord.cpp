#include "framework/model/PropertyRecord.h"

#include "framework/model/Exceptions.h"

namespace fw {

namespace {

void PutInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(bits >> shift & 0xFF));
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return pos_ >= bytes_.size(); }

    std::string_view Key() {
        const auto blank = bytes_.find(' ', pos_);
        if (blank == std::string_view::npos)
            throw PropertyRecordException("start-value record ends inside the key \"" +
                                          std::string(bytes_.substr(pos_)) + "\"");
        const auto key = bytes_.substr(pos_, blank - pos_);
        pos_ = blank + 1;
        return key;
    }

    std::string_view Take(std::size_t count, std::string_view key) {
        if (bytes_.size() - pos_ < count)
            throw PropertyRecordException("start-value record ends inside the value of \"" + std::string(key) + "\"");
        const auto taken = bytes_.substr(pos_, count);
        pos_ += count;
        return taken;
    }

    std::int32_t Int32(std::string_view key) {
        const auto b = Take(4, key);
        std::uint32_t bits = 0;
        for (char c : b) bits = bits << 8 | static_cast<unsigned char>(c);
        return static_cast<std::int32_t>(bits);
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string EncodeRecord(const std::vector<RecordEntry>& entries) {
    std::string out;
    for (const auto& entry : entries) {
        out += entry.key;
        out += ' ';
        std::visit(
            [&out](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::int32_t>) {
                    PutInt32(out, v);
                } else if constexpr (std::is_same_v<V, bool>) {
                    out.push_back(v ? '\1' : '\0');
                } else if constexpr (std::is_same_v<V, Color>) {
                    out.push_back(static_cast<char>(v.red));
                    out.push_back(static_cast<char>(v.green));
                    out.push_back(static_cast<char>(v.blue));
                } else {
                    PutInt32(out, static_cast<std::int32_t>(v.size()));
                    out += v;
                }
            },
            entry.value);
    }
    return out;
}

std::vector<RecordEntry> DecodeRecord(std::string_view record, const KeyTypes& typeOf) {
    std::vector<RecordEntry> entries;
    Reader reader(record);
    while (!reader.AtEnd()) {
        const auto key = reader.Key();
        const auto type = typeOf(key);
        if (!type)
            throw PropertyRecordException("start-value record names the unknown key \"" + std::string(key) + "\"");
        RecordEntry entry{std::string(key), {}};
        switch (*type) {
        case PropertyType::Int32: entry.value = reader.Int32(key); break;
        case PropertyType::Boolean: entry.value = reader.Take(1, key)[0] != '\0'; break;
        case PropertyType::Color: {
            const auto b = reader.Take(3, key);
            entry.value = Color{static_cast<std::uint8_t>(b[0]), static_cast<std::uint8_t>(b[1]),
                                static_cast<std::uint8_t>(b[2])};
            break;
        }
        case PropertyType::String: {
            const auto length = reader.Int32(key);
            if (length < 0)
                throw PropertyRecordException("start-value record gives \"" + std::string(key) +
                                              "\" a negative length");
            entry.value = std::string(reader.Take(static_cast<std::size_t>(length), key));
            break;
        }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace fw
