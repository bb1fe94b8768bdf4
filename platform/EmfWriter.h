// Enhanced metafile (EMF) encoding of a recorded picture.
#pragma once

#include "platform/MetafileCanvas.h"

#include <cstdint>
#include <vector>

namespace kurvex {

// Record types, for the writer and for readers in tests.
namespace emf {
constexpr std::uint32_t kHeader = 1;
constexpr std::uint32_t kSetWindowExtEx = 9;
constexpr std::uint32_t kSetWindowOrgEx = 10;
constexpr std::uint32_t kSetViewportExtEx = 11;
constexpr std::uint32_t kSetViewportOrgEx = 12;
constexpr std::uint32_t kEof = 14;
constexpr std::uint32_t kSetPixelV = 15;
constexpr std::uint32_t kSetMapMode = 17;
constexpr std::uint32_t kSetBkMode = 18;
constexpr std::uint32_t kSetPolyFillMode = 19;
constexpr std::uint32_t kSetRop2 = 20;
constexpr std::uint32_t kSetTextAlign = 22;
constexpr std::uint32_t kSetTextColor = 24;
constexpr std::uint32_t kSetBkColor = 25;
constexpr std::uint32_t kMoveToEx = 27;
constexpr std::uint32_t kIntersectClipRect = 30;
constexpr std::uint32_t kSaveDc = 33;
constexpr std::uint32_t kRestoreDc = 34;
constexpr std::uint32_t kSelectObject = 37;
constexpr std::uint32_t kCreatePen = 38;
constexpr std::uint32_t kCreateBrushIndirect = 39;
constexpr std::uint32_t kDeleteObject = 40;
constexpr std::uint32_t kEllipse = 42;
constexpr std::uint32_t kRectangle = 43;
constexpr std::uint32_t kArc = 45;
constexpr std::uint32_t kPie = 47;
constexpr std::uint32_t kLineTo = 54;
constexpr std::uint32_t kExtCreateFontIndirectW = 82;
constexpr std::uint32_t kExtTextOutW = 84;
constexpr std::uint32_t kPolygon16 = 86;
constexpr std::uint32_t kPolyline16 = 87;
constexpr std::uint32_t kPolyPolyline16 = 90;
constexpr std::uint32_t kExtCreatePen = 95;
constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
// The reference device every file claims: 96 pixels per inch.
constexpr int kDeviceWidthPx = 1920;
constexpr int kDeviceHeightPx = 1080;
constexpr int kDeviceWidthMm = 508;
constexpr int kDeviceHeightMm = 286;
} // namespace emf

// The file bytes: header with bounds and a frame in 0.01 mm, records, end record.
std::vector<std::uint8_t> WriteEmf(const MetafileRecording& recording);

} // namespace kurvex
