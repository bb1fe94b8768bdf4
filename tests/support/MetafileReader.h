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

// What a player paints for one drawing record: lines (MoveTo/LineTo, polylines, each line of a
// polypolyline) and filled shapes (polygons, rectangles, ellipses, pies), with the pen and brush
// selected then. order is the record's place in the file: a later shape paints over an earlier one.
struct Drawn {
    enum class Kind { Line, Shape };
    Kind kind = Kind::Line;
    std::size_t order = 0;
    std::uint32_t penColor = 0;
    int penStyle = 0; // PS_SOLID 0, PS_DASH 1, PS_DOT 2, ..., PS_NULL 5
    int penWidth = 0;
    int brushStyle = 1; // BS_SOLID 0, BS_NULL 1, BS_HATCHED 2
    std::uint32_t brushColor = 0;
    std::vector<std::pair<int, int>> points; // lines: the path; rectangles, ellipses: two corners
};

namespace detail {

struct PenState {
    std::uint32_t color = 0;
    int style = 0;
    int width = 1;
};
struct BrushState {
    int style = 0;
    std::uint32_t color = 0xFFFFFF;
};

// The selected pen and brush as a player keeps them through creations, selections and deletions.
struct Selection {
    std::map<int, PenState> pens;
    std::map<int, BrushState> brushes;
    PenState pen;
    BrushState brush;
    void select(int slot)
    {
        if (pens.count(slot) != 0) {
            pen = pens[slot];
        } else if (brushes.count(slot) != 0) {
            brush = brushes[slot];
        }
    }
    void remove(int slot)
    {
        pens.erase(slot);
        brushes.erase(slot);
    }
    Drawn drawn(Drawn::Kind kind, std::size_t order) const
    {
        Drawn d;
        d.kind = kind;
        d.order = order;
        d.penColor = pen.color;
        d.penStyle = pen.style;
        d.penWidth = pen.width;
        d.brushStyle = brush.style;
        d.brushColor = brush.color;
        return d;
    }
};

} // namespace detail

inline std::vector<Drawn> DrawnOf(const WmfFile& f)
{
    std::vector<Drawn> out;
    detail::Selection sel;
    std::vector<bool> used;
    std::pair<int, int> position{0, 0};
    const auto freeSlot = [&used] {
        const auto it = std::find(used.begin(), used.end(), false);
        const int slot = static_cast<int>(it - used.begin());
        if (it == used.end()) {
            used.push_back(true);
        } else {
            *it = true;
        }
        return slot;
    };
    for (std::size_t i = 0; i < f.records.size(); ++i) {
        const WmfRecord& r = f.records[i];
        switch (r.kind) {
        case 0x02FA: // CREATEPENINDIRECT
            sel.pens[freeSlot()] = {le32(r.params, 6), r.s(0), r.s(1)};
            break;
        case 0x02FC: // CREATEBRUSHINDIRECT
            sel.brushes[freeSlot()] = {r.s(0), le32(r.params, 2)};
            break;
        case 0x02FB: // CREATEFONTINDIRECT
            freeSlot();
            break;
        case 0x012D: // SELECTOBJECT
            sel.select(r.u(0));
            break;
        case 0x01F0: // DELETEOBJECT
            sel.remove(r.u(0));
            if (r.u(0) < used.size()) {
                used[r.u(0)] = false;
            }
            break;
        case 0x0214: // MOVETO
            position = {r.s(1), r.s(0)};
            break;
        case 0x0213: { // LINETO
            Drawn d = sel.drawn(Drawn::Kind::Line, i);
            d.points = {position, {r.s(1), r.s(0)}};
            position = d.points.back();
            out.push_back(d);
            break;
        }
        case 0x0325:   // POLYLINE
        case 0x0324: { // POLYGON
            Drawn d = sel.drawn(r.kind == 0x0325 ? Drawn::Kind::Line : Drawn::Kind::Shape, i);
            for (int k = 0; k < r.s(0); ++k) {
                d.points.emplace_back(r.s(1 + 2 * k), r.s(2 + 2 * k));
            }
            out.push_back(d);
            break;
        }
        case 0x041B:   // RECTANGLE
        case 0x0418:   // ELLIPSE
        case 0x081A: { // PIE
            const std::size_t box = r.kind == 0x081A ? 4 : 0;
            Drawn d = sel.drawn(Drawn::Kind::Shape, i);
            d.points = {{r.s(box + 3), r.s(box + 2)}, {r.s(box + 1), r.s(box)}};
            out.push_back(d);
            break;
        }
        default:
            break;
        }
    }
    return out;
}

inline std::vector<Drawn> DrawnOf(const EmfFile& f)
{
    std::vector<Drawn> out;
    detail::Selection sel;
    std::pair<int, int> position{0, 0};
    const auto point16 = [](const EmfRecord& r, std::size_t at) {
        return std::pair<int, int>(static_cast<std::int16_t>(le16(r.data, at)),
                                   static_cast<std::int16_t>(le16(r.data, at + 2)));
    };
    for (std::size_t i = 0; i < f.records.size(); ++i) {
        const EmfRecord& r = f.records[i];
        switch (r.kind) {
        case 38: // CREATEPEN
            sel.pens[r.s(8)] = {r.u(24), r.s(12), r.s(16)};
            break;
        case 95: // EXTCREATEPEN
            sel.pens[r.s(8)] = {r.u(40), r.s(28) & 0xFF, r.s(32)};
            break;
        case 39: // CREATEBRUSHINDIRECT
            sel.brushes[r.s(8)] = {r.s(12), r.u(16)};
            break;
        case 37: // SELECTOBJECT
            sel.select(r.s(8));
            break;
        case 40: // DELETEOBJECT
            sel.remove(r.s(8));
            break;
        case 27: // MOVETOEX
            position = {r.s(8), r.s(12)};
            break;
        case 54: { // LINETO
            Drawn d = sel.drawn(Drawn::Kind::Line, i);
            d.points = {position, {r.s(8), r.s(12)}};
            position = d.points.back();
            out.push_back(d);
            break;
        }
        case 87:   // POLYLINE16
        case 86: { // POLYGON16
            Drawn d = sel.drawn(r.kind == 87 ? Drawn::Kind::Line : Drawn::Kind::Shape, i);
            for (std::uint32_t k = 0; k < r.u(24); ++k) {
                d.points.push_back(point16(r, 28 + 4 * k));
            }
            out.push_back(d);
            break;
        }
        case 90: { // POLYPOLYLINE16: one line each
            const std::uint32_t lines = r.u(24);
            std::size_t at = 32 + 4 * std::size_t{lines};
            for (std::uint32_t k = 0; k < lines; ++k) {
                Drawn d = sel.drawn(Drawn::Kind::Line, i);
                for (std::uint32_t n = 0; n < r.u(32 + 4 * k); ++n, at += 4) {
                    d.points.push_back(point16(r, at));
                }
                out.push_back(d);
            }
            break;
        }
        case 43:   // RECTANGLE
        case 42:   // ELLIPSE
        case 47: { // PIE
            Drawn d = sel.drawn(Drawn::Kind::Shape, i);
            d.points = {{r.s(8), r.s(12)}, {r.s(16), r.s(20)}};
            out.push_back(d);
            break;
        }
        default:
            break;
        }
    }
    return out;
}

// What a player paints for the file: a placeable WMF by its key, otherwise an EMF.
inline std::vector<Drawn> DrawnInFile(const std::string& path)
{
    const Bytes bytes = ReadFileBytes(path);
    return bytes.size() >= 4 && le32(bytes, 0) == 0x9AC6CDD7u ? DrawnOf(ReadWmf(bytes))
                                                              : DrawnOf(ReadEmf(bytes));
}

} // namespace kurvex::test
