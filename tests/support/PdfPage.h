// A printed page as pixels: the PDF that printing to a file writes, rendered by poppler's pdftoppm,
// which the set-up installs, so tests look at paper as a reader would show it.
#pragma once

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace kurvex::test {

struct PdfPage {
    QImage image;
    QString error; // empty when the page was rendered
};

// The first page at the resolution, in dots per inch.
inline PdfPage RenderPdfPage(const QString& pdf, int dpi)
{
    PdfPage out;
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty()) {
        out.error = QStringLiteral("pdftoppm is missing: run scripts/setup.sh");
        return out;
    }
    const QString base = pdf + QStringLiteral(".page");
    QProcess p;
    p.start(tool, {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                   QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1"),
                   QStringLiteral("-l"), QStringLiteral("1"), pdf, base});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        out.error = QStringLiteral("pdftoppm failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return out;
    }
    out.image = QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    if (out.image.isNull()) {
        out.error = QStringLiteral("no page rendered from ") + pdf;
    }
    return out;
}

} // namespace kurvex::test
