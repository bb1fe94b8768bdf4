// The three picture handlers every lesson window offers: print, metafile file, metafile clipboard.
#pragma once

namespace kurvex {

class PictureSource;

// "Drucken": printer setup on the application's printer, then the picture at the print size.
void PrintPicture(PictureSource& source);
// "WMF - Datei": save dialog, then a WMF or EMF file of the picture.
void ExportMetafileFile(PictureSource& source);
// "WMF - Clipb.": the picture as a WMF (and a raster fallback) on the clipboard.
void ExportMetafileClipboard(PictureSource& source);

} // namespace kurvex
