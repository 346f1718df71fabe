// Shows the main window alone. With an output path it renders the window through its shape
// into a PNG with a transparent background (works on the offscreen platform); with --show N
// it keeps the window on screen for N seconds, for a screenshot of a real X server.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "player/ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2 && !(argc == 3 && std::strcmp(argv[1], "--show") == 0)) {
        std::fprintf(stderr, "usage: %s OUT.png | --show SECONDS\n", argv[0]);
        return 2;
    }
    TForm1 form;
    form.move(40, 40);
    form.show();
    if (argc == 3) {
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
