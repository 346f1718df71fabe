// Writes the program's icon as an icon theme lays it out, for installing:
// FOLDER/hicolor/NxN/apps/zorvan.png at each size and FOLDER/hicolor/scalable/apps/zorvan.svg.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

#include "player/ui/application_icon.h"
#include "player/ui/transport_glyphs.h"

namespace {

constexpr int kScalableSize = 256;

bool writeScalable(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize({kScalableSize, kScalableSize});
    svg.setViewBox(QRect(0, 0, kScalableSize, kScalableSize));
    svg.setTitle(QStringLiteral("Zorvan"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    transport_glyphs::PaintPlayButton(painter, kScalableSize);
    return painter.end();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvan_icon_files FOLDER\n");
        return 2;
    }
    const QDir theme(QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor"));
    for (const int size : kApplicationIconSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!theme.mkpath(folder) || !applicationIconImage(size).save(
                                         theme.filePath(folder + QStringLiteral("/zorvan.png")))) {
            std::fprintf(stderr, "zorvan_icon_files: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    if (!theme.mkpath(QStringLiteral("scalable/apps")) ||
        !writeScalable(theme.filePath(QStringLiteral("scalable/apps/zorvan.svg")))) {
        std::fprintf(stderr, "zorvan_icon_files: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}
