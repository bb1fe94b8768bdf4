// Computations of the loci window: the family member of a parameter value, its special points, the
// step count of the parameter's bar, the spectrum preview and the fixed states of the object list.
#pragma once

#include "core/CurvePointSearch.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "core/term/Term.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace kurvex {

// ---- The parameter t ----

constexpr int kDefaultTSteps = 1000;
constexpr int kMinTSteps = 10;
constexpr int kMaxTSteps = 3000;
// The whole number in the field when it lies in 10..3000; otherwise 1000.
int ParseStepCount(std::string_view text);
// A range of t the bar and the animation can run over: finite, with its minimum below its maximum.
bool ValidTRange(double min, double max);

// ---- The family f_t(x) ----

// f at x with the parameter t and a..d of params; nothing where it is undefined.
std::optional<double> FamilyValue(const TermTree& f, double x, double t, const CurveParams& params);
// High, low and inflection points of the member t over [xFrom, xTo], of the kinds asked for.
std::vector<SpecialPoint> MemberSpecialPoints(const TermTree& f, double t, const CurveParams& params,
                                              double xFrom, double xTo, SpecialPointKinds kinds);

// ---- Spectrum preview ----

constexpr int kSpectrumPreviewColumns = 64;
// Colour of column 0..63 of the preview of spectrum 1..12 (others as 1).
TColor SpectrumPreviewColor(int spectrum, int column);

// ---- Fixed states (ObjectList) ----

struct LociObject {
    bool curve = false;  // the member's curve was fixed
    bool points = false; // its special points were fixed
    double t = 0.0;
    TColor color = 0;
    int width = 1;
    bool operator==(const LociObject&) const = default;
};
// A fix box left on during a sweep adds a state per step; the list stops growing at one whole sweep
// of the finest grid, so that a rebuild of the trace never has to replay without end.
constexpr std::size_t kMaxLociObjects = 3000;

ListRecord MakeLociRecord(const LociObject& object);
LociObject ReadLociRecord(const ListRecord& record);
// Inserts the state at the front; false (and nothing inserted) when the list is full.
bool InsertLociObject(RecordList& list, const LociObject& object);

} // namespace kurvex
