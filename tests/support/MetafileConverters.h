// The independent metafile readers the set-up installs (libwmf's wmf2svg, emf2svg-conv): a file
// rendered to SVG text, so tests check what another program makes of our WMF and EMF.
#pragma once

#include "core/PrintGeometry.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace kurvex::test {

struct SvgRendering {
    QString svg;
    QString error; // empty when the reader ran and wrote its file
    // libwmf copies single-byte text (the Greek 0xF0 of π) into its output as it is.
    bool latin1 = false;
};

inline SvgRendering RenderMetafileAsSvg(const QString& metafile, MetafileKind kind)
{
    SvgRendering out;
    const bool wmf = kind == MetafileKind::Wmf;
    out.latin1 = wmf;
    const QString toolName = wmf ? QStringLiteral("wmf2svg") : QStringLiteral("emf2svg-conv");
    // The set-up script installs both readers; a missing one is a failure, never a skip.
    const QString tool = QStandardPaths::findExecutable(toolName);
    if (tool.isEmpty()) {
        out.error = toolName + QStringLiteral(" is missing: run scripts/setup.sh");
        return out;
    }
    const QString svgPath = metafile + QStringLiteral(".svg");
    const QStringList arguments =
        wmf ? QStringList{QStringLiteral("-o"), svgPath, metafile}
            : QStringList{QStringLiteral("-i"), metafile, QStringLiteral("-o"), svgPath};
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        out.error = toolName + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return out;
    }
    QFile f(svgPath);
    if (!f.open(QIODevice::ReadOnly)) {
        out.error = QStringLiteral("no SVG written by ") + toolName;
        return out;
    }
    const QByteArray bytes = f.readAll();
    out.svg = wmf ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
    return out;
}

// How each reader marks a stroke in pure red ($0000FF), the colour of curves and of the slope
// triangle's vertical leg in the tests.
inline QString RedStrokeMark(MetafileKind kind)
{
    return kind == MetafileKind::Wmf ? QStringLiteral("stroke:red") : QStringLiteral("stroke=\"#FF0000\"");
}

// Number of points of the longest element whose markup holds the marker (e.g. the red pen).
inline qsizetype LongestStroke(const QString& svg, const QString& marker)
{
    qsizetype best = 0;
    const QRegularExpression element(QStringLiteral("<[^<>]*") + QRegularExpression::escape(marker) +
                                     "[^<>]*>");
    for (const auto& m : element.globalMatch(svg)) {
        best = std::max(best, m.captured().count(QLatin1Char(',')));
    }
    return best;
}

// The text of all <text> elements in order (libwmf writes one element per character).
inline QString SvgText(const QString& svg)
{
    QString out;
    const QRegularExpression element(QStringLiteral("<text[^>]*>(.*?)</text>"),
                                     QRegularExpression::DotMatchesEverythingOption);
    for (const auto& m : element.globalMatch(svg)) {
        out += m.captured(1);
    }
    return out.remove(QRegularExpression(QStringLiteral("<!\\[CDATA\\[|\\]\\]>|[\\n\\t]")));
}

} // namespace kurvex::test
