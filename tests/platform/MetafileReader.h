// Small WMF and EMF readers for the tests: record lists, header fields and an object-table check.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kurvex::test {

inline std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
inline std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(le16(b, at)) | (static_cast<std::uint32_t>(le16(b, at + 2)) << 16);
}

struct WmfRecord {
    std::uint32_t words = 0;
    std::uint16_t function = 0;
    std::vector<std::uint8_t> params;
    std::uint16_t u(std::size_t i) const { return le16(params, 2 * i); }
    std::int16_t s(std::size_t i) const { return static_cast<std::int16_t>(u(i)); }
};

struct WmfFile {
    bool placeableKeyOk = false;
    bool checksumOk = false;
    std::int16_t boxLeft = 0, boxTop = 0, boxRight = 0, boxBottom = 0;
    std::uint16_t inch = 0;
    std::uint16_t headerType = 0, headerWords = 0, version = 0;
    std::uint32_t sizeWords = 0;
    std::uint16_t objects = 0;
    std::uint32_t maxRecord = 0;
    std::vector<WmfRecord> records;
    std::string error; // empty when the record list reached the end of the bytes exactly
};

// Parses a placeable WMF; stops at the first record that does not fit.
inline WmfFile ReadWmf(const std::vector<std::uint8_t>& b)
{
    WmfFile f;
    if (b.size() < 40) {
        f.error = "too short";
        return f;
    }
    f.placeableKeyOk = le32(b, 0) == 0x9AC6CDD7u;
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        sum ^= le16(b, 2 * i);
    }
    f.checksumOk = sum == le16(b, 20);
    f.boxLeft = static_cast<std::int16_t>(le16(b, 6));
    f.boxTop = static_cast<std::int16_t>(le16(b, 8));
    f.boxRight = static_cast<std::int16_t>(le16(b, 10));
    f.boxBottom = static_cast<std::int16_t>(le16(b, 12));
    f.inch = le16(b, 14);
    f.headerType = le16(b, 22);
    f.headerWords = le16(b, 24);
    f.version = le16(b, 26);
    f.sizeWords = le32(b, 28);
    f.objects = le16(b, 32);
    f.maxRecord = le32(b, 34);
    std::size_t at = 22 + 18;
    while (at < b.size()) {
        if (at + 6 > b.size()) {
            f.error = "truncated record header";
            return f;
        }
        WmfRecord r;
        r.words = le32(b, at);
        r.function = le16(b, at + 4);
        if (r.words < 3 || at + 2 * static_cast<std::size_t>(r.words) > b.size()) {
            f.error = "bad record size";
            return f;
        }
        r.params.assign(b.begin() + static_cast<std::ptrdiff_t>(at + 6),
                        b.begin() + static_cast<std::ptrdiff_t>(at + 2 * r.words));
        at += 2 * static_cast<std::size_t>(r.words);
        f.records.push_back(std::move(r));
    }
    return f;
}

struct EmfRecord {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::size_t offset = 0;         // of the record in the file
    std::vector<std::uint8_t> data; // whole record, type and size included
    std::uint32_t u(std::size_t byteOffset) const { return le32(data, byteOffset); }
    std::int32_t s(std::size_t byteOffset) const { return static_cast<std::int32_t>(u(byteOffset)); }
};

struct EmfFile {
    std::vector<EmfRecord> records;
    std::string error;
};

inline EmfFile ReadEmf(const std::vector<std::uint8_t>& b)
{
    EmfFile f;
    std::size_t at = 0;
    while (at < b.size()) {
        if (at + 8 > b.size()) {
            f.error = "truncated record header";
            return f;
        }
        EmfRecord r;
        r.type = le32(b, at);
        r.size = le32(b, at + 4);
        r.offset = at;
        if (r.size < 8 || at + r.size > b.size()) {
            f.error = "bad record size";
            return f;
        }
        r.data.assign(b.begin() + static_cast<std::ptrdiff_t>(at),
                      b.begin() + static_cast<std::ptrdiff_t>(at + r.size));
        at += r.size;
        f.records.push_back(std::move(r));
    }
    return f;
}

// Replays object creation, selection and deletion the way a player keeps its object table.
// Slots are numbered from `base` (0 in WMF, 1 in EMF); a new object takes the lowest free slot.
class ObjectTable {
public:
    explicit ObjectTable(int base) : base_(base) {}

    // Returns the slot the player puts a new object in.
    int create(int kind)
    {
        int slot = base_;
        while (live_.count(slot) != 0) {
            ++slot;
        }
        live_[slot] = kind;
        highest_ = std::max(highest_, slot);
        return slot;
    }
    bool select(int slot)
    {
        const auto it = live_.find(slot);
        if (it == live_.end()) {
            return false;
        }
        selected_[it->second] = slot;
        return true;
    }
    // Deleting a missing or currently selected object is a fault.
    bool remove(int slot)
    {
        const auto it = live_.find(slot);
        if (it == live_.end()) {
            return false;
        }
        const auto sel = selected_.find(it->second);
        if (sel != selected_.end() && sel->second == slot) {
            return false;
        }
        live_.erase(it);
        return true;
    }
    int highest() const { return highest_; }
    std::size_t live() const { return live_.size(); }

private:
    int base_;
    int highest_ = -1;
    std::map<int, int> live_;
    std::map<int, int> selected_;
};

} // namespace kurvex::test
