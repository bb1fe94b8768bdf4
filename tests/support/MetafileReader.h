// Small WMF and EMF readers for the tests: record lists, header fields and an object-table replay.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace kurvex::test {

using Bytes = std::vector<std::uint8_t>;

inline std::uint16_t le16(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
inline std::uint32_t le32(const Bytes& b, std::size_t at)
{
    return le16(b, at) | (std::uint32_t{le16(b, at + 2)} << 16);
}

// The bytes of a file, none when it cannot be read.
inline Bytes ReadFileBytes(const std::string& path)
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
    Bytes params;
    std::uint16_t u(std::size_t i) const { return le16(params, 2 * i); }
    std::int16_t s(std::size_t i) const { return static_cast<std::int16_t>(u(i)); }
};

struct WmfFile {
    bool placeableKeyOk = false, checksumOk = false;
    std::int16_t boxLeft = 0, boxTop = 0, boxRight = 0, boxBottom = 0;
    std::uint16_t inch = 0, headerType = 0, headerWords = 0, version = 0, objects = 0;
    std::uint32_t sizeWords = 0, maxRecord = 0;
    std::vector<WmfRecord> records;
    std::string error; // empty when the record list reached the end of the bytes exactly
};

// Parses a placeable WMF; stops at the first record that does not fit.
inline WmfFile ReadWmf(const Bytes& b)
{
    WmfFile f;
    if (b.size() < 40) {
        f.error = "too short";
        return f;
    }
    const auto s16 = [&b](std::size_t at) { return static_cast<std::int16_t>(le16(b, at)); };
    std::uint16_t sum = 0;
    for (std::size_t at = 0; at < 20; at += 2) {
        sum ^= le16(b, at);
    }
    f.placeableKeyOk = le32(b, 0) == 0x9AC6CDD7u;
    f.checksumOk = sum == le16(b, 20);
    std::tie(f.boxLeft, f.boxTop, f.boxRight, f.boxBottom) = std::tuple(s16(6), s16(8), s16(10), s16(12));
    std::tie(f.inch, f.headerType, f.headerWords, f.version, f.objects) =
        std::tuple(le16(b, 14), le16(b, 22), le16(b, 24), le16(b, 26), le16(b, 32));
    std::tie(f.sizeWords, f.maxRecord) = std::tuple(le32(b, 28), le32(b, 34));
    for (std::size_t at = 40; at < b.size();) {
        const std::uint32_t words = at + 6 <= b.size() ? le32(b, at) : 0;
        const std::size_t end = at + 2 * std::size_t{words};
        if (words < 3 || end > b.size()) {
            f.error = "bad record size";
            return f;
        }
        f.records.push_back({words, le16(b, at + 4), Bytes(b.begin() + (at + 6), b.begin() + end)});
        at = end;
    }
    return f;
}

struct EmfRecord {
    std::uint32_t kind = 0; // the record type
    std::uint32_t size = 0;
    std::size_t offset = 0; // of the record in the file
    Bytes data;             // whole record, type and size included
    std::uint32_t u(std::size_t byteOffset) const { return le32(data, byteOffset); }
    std::int32_t s(std::size_t byteOffset) const { return static_cast<std::int32_t>(u(byteOffset)); }
};

struct EmfFile {
    std::vector<EmfRecord> records;
    std::string error;
};

inline EmfFile ReadEmf(const Bytes& b)
{
    EmfFile f;
    for (std::size_t at = 0; at < b.size();) {
        const std::uint32_t size = at + 8 <= b.size() ? le32(b, at + 4) : 0;
        if (size < 8 || at + size > b.size()) {
            f.error = "bad record size";
            return f;
        }
        f.records.push_back({le32(b, at), size, at, Bytes(b.begin() + at, b.begin() + (at + size))});
        at += size;
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

// Replays creations (kind: pen 0, brush 1, font 2; EMF names the slot itself), selections and
// deletions; new objects take the lowest free slot from `base` (0 in WMF, 1 in EMF).
template <class File, class Classify>
ObjectReplay ReplayObjects(const File& file, int base, Classify classify)
{
    ObjectReplay replay;
    std::map<int, int> live;     // slot -> kind
    std::map<int, int> selected; // kind -> slot
    for (const auto& r : file.records) {
        const auto [call, kind, named] = classify(r); // call: 'c'reate, 's'elect, 'd'elete
        int slot = base;
        while (call == 'c' && live.count(slot) != 0) {
            ++slot;
        }
        const auto it = live.find(named);
        if (call == 'c' && base == 1 && named != slot) {
            replay.fault = "created in slot " + std::to_string(named);
        } else if (call == 'c') {
            live[slot] = kind;
            replay.created.push_back(slot);
            replay.highest = std::max(replay.highest, slot);
        } else if (call != 0 && it == live.end()) {
            replay.fault = "missing object " + std::to_string(named);
        } else if (call == 's') {
            selected[it->second] = named;
        } else if (call == 'd' && selected.count(it->second) != 0 && selected[it->second] == named) {
            replay.fault = "deleted while selected " + std::to_string(named);
        } else if (call == 'd') {
            live.erase(it);
        }
        if (!replay.fault.empty()) {
            return replay;
        }
    }
    return replay;
}

inline ObjectReplay ReplayObjects(const WmfFile& f)
{
    return ReplayObjects(f, 0, [](const WmfRecord& r) {
        // CREATEPENINDIRECT, CREATEBRUSHINDIRECT, CREATEFONTINDIRECT; SELECTOBJECT, DELETEOBJECT
        const int kind = r.kind == 0x02FA ? 0 : r.kind == 0x02FC ? 1 : r.kind == 0x02FB ? 2 : -1;
        const char call = kind >= 0 ? 'c' : r.kind == 0x012D ? 's' : r.kind == 0x01F0 ? 'd' : 0;
        return std::tuple(call, kind, call == 's' || call == 'd' ? int{r.u(0)} : 0);
    });
}

inline ObjectReplay ReplayObjects(const EmfFile& f)
{
    return ReplayObjects(f, 1, [](const EmfRecord& r) {
        // CREATEPEN and EXTCREATEPEN, CREATEBRUSHINDIRECT, EXTCREATEFONTINDIRECTW; SELECTOBJECT, DELETEOBJECT
        const int kind = r.kind == 38 || r.kind == 95 ? 0 : r.kind == 39 ? 1 : r.kind == 82 ? 2 : -1;
        const char call = kind >= 0 ? 'c' : r.kind == 37 ? 's' : r.kind == 40 ? 'd' : 0;
        return std::tuple(call, kind, r.data.size() >= 12 ? static_cast<int>(r.u(8)) : 0);
    });
}

} // namespace kurvex::test
