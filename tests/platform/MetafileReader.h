// Small WMF and EMF readers for the tests: record lists, header fields and an object-table replay.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
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

// The bytes of a file, none when it cannot be read.
inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The records of one kind, in file order.
template <class File, class Kind> auto RecordsOf(const File& file, Kind kind)
{
    std::vector<const typename decltype(file.records)::value_type*> out;
    for (const auto& r : file.records) {
        if (r.kind == kind) {
            out.push_back(&r);
        }
    }
    return out;
}

struct WmfRecord {
    std::uint32_t words = 0;
    std::uint16_t kind = 0; // the record function
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
    for (std::size_t at = 22 + 18; at < b.size();) {
        WmfRecord r;
        r.words = at + 6 <= b.size() ? le32(b, at) : 0;
        if (r.words < 3 || at + 2 * static_cast<std::size_t>(r.words) > b.size()) {
            f.error = "bad record size";
            return f;
        }
        r.kind = le16(b, at + 4);
        r.params.assign(b.begin() + static_cast<std::ptrdiff_t>(at + 6),
                        b.begin() + static_cast<std::ptrdiff_t>(at + 2 * r.words));
        at += 2 * static_cast<std::size_t>(r.words);
        f.records.push_back(std::move(r));
    }
    return f;
}

struct EmfRecord {
    std::uint32_t kind = 0; // the record type
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
    for (std::size_t at = 0; at < b.size();) {
        EmfRecord r;
        r.size = at + 8 <= b.size() ? le32(b, at + 4) : 0;
        if (r.size < 8 || at + r.size > b.size()) {
            f.error = "bad record size";
            return f;
        }
        r.kind = le32(b, at);
        r.offset = at;
        r.data.assign(b.begin() + static_cast<std::ptrdiff_t>(at),
                      b.begin() + static_cast<std::ptrdiff_t>(at + r.size));
        at += r.size;
        f.records.push_back(std::move(r));
    }
    return f;
}

// What a player's object table went through: the slot of each new object in order, the highest
// slot, and the first fault (use of a missing object, deletion of a selected one, an EMF index
// other than the lowest free one).
struct ObjectReplay {
    std::vector<int> created;
    int highest = -1;
    std::string fault;
};

enum class ObjectCall { None, Create, Select, Delete };
struct ObjectStep {
    ObjectCall call = ObjectCall::None;
    int kind = 0; // Create: pen 0, brush 1, font 2
    int slot = 0; // Select, Delete; Create in EMF, which names the slot itself
};

// New objects take the lowest free slot from `base` (0 in WMF, 1 in EMF).
template <class File, class Classify>
ObjectReplay ReplayObjects(const File& file, int base, Classify classify)
{
    ObjectReplay replay;
    std::map<int, int> live;     // slot -> kind
    std::map<int, int> selected; // kind -> slot
    for (const auto& r : file.records) {
        const ObjectStep step = classify(r);
        if (step.call == ObjectCall::Create) {
            int slot = base;
            while (live.count(slot) != 0) {
                ++slot;
            }
            if (base == 1 && step.slot != slot) {
                replay.fault = "created in slot " + std::to_string(step.slot);
                return replay;
            }
            live[slot] = step.kind;
            replay.created.push_back(slot);
            replay.highest = std::max(replay.highest, slot);
            continue;
        }
        if (step.call == ObjectCall::None) {
            continue;
        }
        const auto it = live.find(step.slot);
        if (it == live.end()) {
            replay.fault = "missing object " + std::to_string(step.slot);
            return replay;
        }
        if (step.call == ObjectCall::Select) {
            selected[it->second] = step.slot;
        } else if (selected.count(it->second) != 0 && selected[it->second] == step.slot) {
            replay.fault = "deleted while selected " + std::to_string(step.slot);
            return replay;
        } else {
            live.erase(it);
        }
    }
    return replay;
}

// Pens, brushes and fonts are the object kinds 0, 1 and 2.
inline ObjectReplay ReplayObjects(const WmfFile& f)
{
    return ReplayObjects(f, 0, [](const WmfRecord& r) -> ObjectStep {
        const int kind = r.kind == 0x02FA ? 0 : r.kind == 0x02FC ? 1 : r.kind == 0x02FB ? 2 : -1;
        if (kind >= 0) {
            return {ObjectCall::Create, kind, 0};
        }
        if (r.kind == 0x012D || r.kind == 0x01F0) { // SELECTOBJECT, DELETEOBJECT
            return {r.kind == 0x012D ? ObjectCall::Select : ObjectCall::Delete, 0, r.u(0)};
        }
        return {};
    });
}

inline ObjectReplay ReplayObjects(const EmfFile& f)
{
    return ReplayObjects(f, 1, [](const EmfRecord& r) -> ObjectStep {
        // CREATEPEN and EXTCREATEPEN, CREATEBRUSHINDIRECT, EXTCREATEFONTINDIRECTW
        const int kind = r.kind == 38 || r.kind == 95 ? 0 : r.kind == 39 ? 1 : r.kind == 82 ? 2 : -1;
        const int slot = r.data.size() >= 12 ? static_cast<int>(r.u(8)) : 0;
        if (kind >= 0) {
            return {ObjectCall::Create, kind, slot};
        }
        if (r.kind == 37 || r.kind == 40) { // SELECTOBJECT, DELETEOBJECT
            return {r.kind == 37 ? ObjectCall::Select : ObjectCall::Delete, 0, slot};
        }
        return {};
    });
}

} // namespace kurvex::test
