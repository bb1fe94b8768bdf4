// The three picture handlers every lesson window offers: print, metafile file, metafile clipboard.
#include "app/PrintExport.h"

#include "app/PictureSource.h"

namespace kurvex {

void PrintPicture(PictureSource&) {}
void ExportMetafileFile(PictureSource&) {}
void ExportMetafileClipboard(PictureSource&) {}

}  // namespace kurvex
