// The picture handlers every lesson window offers (print, metafile file, metafile clipboard), and the
// picture as an image for documents.
#pragma once

#include "core/PrintGeometry.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace kurvex {

class PictureSource;

// "Drucken": printer setup on the application's printer, then the picture at the print size.
void PrintPicture(PictureSource& source);
// "WMF - Datei": save dialog, then a WMF or EMF file of the picture.
void ExportMetafileFile(PictureSource& source);
// "WMF - Clipb.": the picture as a WMF (and a raster fallback) on the clipboard.
void ExportMetafileClipboard(PictureSource& source);
// The picture as an image drawn as the metafile is (its scale and size), white behind it. The
// device state is back afterwards; the caller refreshes the screen.
QImage PictureImage(PictureSource& source);
// The picture as the bytes of a WMF or EMF file, recorded as "WMF - Datei" records it. The device
// state is back afterwards; the caller refreshes the screen.
std::vector<std::uint8_t> PictureMetafile(PictureSource& source, MetafileKind kind);

} // namespace kurvex
