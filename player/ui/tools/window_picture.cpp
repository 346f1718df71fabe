// Shows the main window alone. With an output path it renders the window through its shape
// into a PNG with a transparent background (works on the offscreen platform); with --show N
// it keeps the window on screen for N seconds, for a screenshot of a real X server; with
// --glyphs OUT.png it draws every glyph of the button bar, enlarged, one list to a row.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "player/ui/main_window.h"

namespace {

// Each glyph as its button shows it: the key colour left out, over the window colour.
QImage glyphSheet(const TForm1& form) {
    constexpr int kScale = 6;
    constexpr int kCell = 34 * kScale;
    const ImageList* lists[] = {&form.ImageList1, &form.ImageList2, &form.ImageList3,
                                &form.ImageList4, &form.ImageList5, &form.ImageList6};
    QImage sheet(8 * kCell, 6 * kCell, QImage::Format_RGB32);
    sheet.fill(form.palette().color(QPalette::Window));
    QPainter painter(&sheet);
    for (int row = 0; row < 6; ++row) {
        for (int i = 0; i < lists[row]->Count(); ++i) {
            const QColor key(0x80, 0x00, 0x80);
            QImage glyph = lists[row]->GetBitmap(i, key).convertToFormat(QImage::Format_ARGB32);
            const QImage keyPixels = glyph.createMaskFromColor(key.rgb(), Qt::MaskInColor);
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x)
                    if (keyPixels.pixelIndex(x, y) == 1) glyph.setPixel(x, y, 0);
            painter.drawImage(QRect(i * kCell + kScale, row * kCell + kScale,
                                    glyph.width() * kScale, glyph.height() * kScale),
                              glyph);
        }
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool option =
        argc == 3 && (std::strcmp(argv[1], "--show") == 0 || std::strcmp(argv[1], "--glyphs") == 0);
    if (argc != 2 && !option) {
        std::fprintf(stderr, "usage: %s OUT.png | --show SECONDS | --glyphs OUT.png\n", argv[0]);
        return 2;
    }
    TForm1 form;
    if (option && std::strcmp(argv[1], "--glyphs") == 0)
        return glyphSheet(form).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    form.move(40, 40);
    form.show();
    if (option) {
        QTimer::singleShot(std::atoi(argv[2]) * 1000, &app, &QApplication::quit);
        return app.exec();
    }
    // The first paint lifts the panels' controls and sets the shape.
    for (int i = 0; i < 20 && form.mask().isEmpty(); ++i) QApplication::processEvents();
    if (form.mask().isEmpty()) {
        std::fprintf(stderr, "the window got no shape\n");
        return 1;
    }
    QImage full(form.size(), QImage::Format_ARGB32_Premultiplied);
    form.render(&full);
    QImage shaped(form.size(), QImage::Format_ARGB32_Premultiplied);
    shaped.fill(Qt::transparent);
    QPainter painter(&shaped);
    painter.setClipRegion(form.mask());
    painter.drawImage(0, 0, full);
    painter.end();
    return shaped.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
