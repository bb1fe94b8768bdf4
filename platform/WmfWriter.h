// Placeable Windows metafile (WMF) encoding of a recorded picture.
#pragma once

#include "platform/MetafileCanvas.h"

#include <cstdint>
#include <vector>

namespace kurvex {

// Record functions, for the writer and for readers in tests.
namespace wmf {
constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSaveDc = 0x001E;
constexpr std::uint16_t kSetBkColor = 0x0201;
constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetMapMode = 0x0103;
constexpr std::uint16_t kSetRop2 = 0x0104;
constexpr std::uint16_t kSetPolyFillMode = 0x0106;
constexpr std::uint16_t kSetTextColor = 0x0209;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kRestoreDc = 0x0127;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kLineTo = 0x0213;
constexpr std::uint16_t kMoveTo = 0x0214;
constexpr std::uint16_t kIntersectClipRect = 0x0416;
constexpr std::uint16_t kEllipse = 0x0418;
constexpr std::uint16_t kRectangle = 0x041B;
constexpr std::uint16_t kSetPixel = 0x041F;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kArc = 0x0817;
constexpr std::uint16_t kPie = 0x081A;
constexpr std::uint16_t kExtTextOut = 0x0A32;
constexpr std::uint16_t kCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kCreateFontIndirect = 0x02FB;
constexpr std::uint16_t kCreateBrushIndirect = 0x02FC;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
} // namespace wmf

// The file bytes: 22-byte placeable header (96 units per inch), the standard header, records.
std::vector<std::uint8_t> WriteWmf(const MetafileRecording& recording);

} // namespace kurvex
