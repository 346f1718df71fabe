#include "player/ui/transport_glyphs.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <functional>

namespace transport_glyphs {
namespace {

const QColor kSkyBlue(0xA6, 0xCA, 0xF0);

enum class Look { Raised, Pressed };
enum class Ink { White, Lit, Red };

using Painter = std::function<void(QPainter&)>;

QImage draw(QSize size, const Painter& paint) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return image;
}

ImageList listOf(QSize size, std::initializer_list<Painter> glyphs) {
    ImageList list(size, kSkyBlue);
    for (const Painter& paint : glyphs) list.Add(draw(size, paint));
    return list;
}

// A stroked line or curve as an area, so every symbol is filled the same way.
QPainterPath stroked(const QPainterPath& line, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    // Softened corners read better at this size than sharp tips.
    return path.united(stroked(path, 1.0));
}

QPainterPath roundedRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath mirrored(const QPainterPath& path, qreal width) {
    return QTransform(-1, 0, 0, 1, width, 0).map(path);
}

// The button: a dark rim, a blue gradient lit from above and a glossy highlight on the
// upper half; pressed, the gradient turns over and the gloss fades, as if pushed in.
void paintBody(QPainter& p, const QRectF& rect, qreal radius, Look look) {
    const bool pressed = look == Look::Pressed;
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    if (pressed) {
        fill.setColorAt(0.0, QColor(0x10, 0x2E, 0x62));
        fill.setColorAt(0.6, QColor(0x1E, 0x4A, 0x90));
        fill.setColorAt(1.0, QColor(0x3C, 0x76, 0xC6));
    } else {
        fill.setColorAt(0.0, QColor(0x8C, 0xBE, 0xF6));
        fill.setColorAt(0.5, QColor(0x30, 0x6A, 0xC2));
        fill.setColorAt(1.0, QColor(0x17, 0x40, 0x86));
    }
    p.setPen(QPen(QColor(0x0A, 0x22, 0x4A), 1.0));
    p.setBrush(fill);
    p.drawPath(roundedRect(rect, radius));

    const QRectF glossRect(rect.x() + 1.6, rect.y() + 1.1, rect.width() - 3.2,
                           rect.height() * 0.46);
    QLinearGradient gloss(glossRect.topLeft(), glossRect.bottomLeft());
    gloss.setColorAt(0.0, QColor(255, 255, 255, pressed ? 45 : 175));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    const qreal glossRadius = std::min(radius, glossRect.height() / 2) * 0.9;
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawPath(roundedRect(glossRect, glossRadius));
}

// A symbol on the button: a soft shadow below it, then the symbol in its ink; lit symbols
// get an amber glow. Pressed, the symbol sinks half a pixel.
void paintSymbol(QPainter& p, const QPainterPath& symbol, Look look, Ink ink) {
    QPainterPath s = symbol;
    if (look == Look::Pressed) s.translate(0.4, 0.6);
    const QRectF box = s.boundingRect();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(4, 18, 44, 150));
    p.drawPath(s.translated(0, 0.9));
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    switch (ink) {
        case Ink::White:
            fill.setColorAt(0.0, look == Look::Pressed ? QColor(0xD2, 0xE8, 0xFF) : Qt::white);
            fill.setColorAt(
                1.0, look == Look::Pressed ? QColor(0xA2, 0xC8, 0xF0) : QColor(0xD0, 0xE6, 0xFF));
            break;
        case Ink::Lit:
            p.setPen(QPen(QColor(255, 190, 60, 90), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawPath(s);
            p.setPen(Qt::NoPen);
            fill.setColorAt(0.0, QColor(0xFF, 0xF6, 0xC8));
            fill.setColorAt(1.0, QColor(0xFF, 0xB0, 0x28));
            break;
        case Ink::Red:
            fill.setColorAt(0.0, QColor(0xFF, 0x8A, 0x78));
            fill.setColorAt(1.0, QColor(0xE0, 0x22, 0x14));
            break;
    }
    p.setBrush(fill);
    p.drawPath(s);
}

// Symbols, in the coordinates of their glyph.

QPainterPath playSymbol() {
    return polygon({{11.5, 8.5}, {11.5, 20.5}, {21.0, 14.5}});
}

QPainterPath pauseSymbol() {
    return roundedRect({9.6, 8.6, 3.8, 11.8}, 1.0) + roundedRect({15.6, 8.6, 3.8, 11.8}, 1.0);
}

QPainterPath previousSymbol() {
    return roundedRect({5.2, 6.0, 1.9, 8.0}, 0.6) +
           polygon({{14.6, 6.0}, {14.6, 14.0}, {8.4, 10.0}});
}

QPainterPath speakerSymbol() {
    return roundedRect({3.6, 7.8, 3.0, 4.4}, 0.6) +
           polygon({{6.4, 7.8}, {10.0, 5.0}, {10.0, 15.0}, {6.4, 12.2}});
}

QPainterPath wavesSymbol() {
    QPainterPath waves;
    for (const qreal radius : {3.0, 5.6}) {
        const QRectF circle(10.0 - radius, 10.0 - radius, 2 * radius, 2 * radius);
        QPainterPath arc;
        arc.arcMoveTo(circle, 45);
        arc.arcTo(circle, 45, -90);
        waves += stroked(arc, 1.3);
    }
    return waves;
}

QPainterPath crossSymbol() {
    QPainterPath cross;
    cross.moveTo(12.6, 7.6);
    cross.lineTo(16.6, 12.4);
    cross.moveTo(16.6, 7.6);
    cross.lineTo(12.6, 12.4);
    return stroked(cross, 1.6);
}

QPainterPath shuffleSymbol() {
    QPainterPath lines;
    lines.moveTo(3.6, 8.0);
    lines.cubicTo(8.0, 8.0, 9.0, 16.0, 13.6, 16.0);
    lines.moveTo(3.6, 16.0);
    lines.cubicTo(8.0, 16.0, 9.0, 8.0, 13.6, 8.0);
    return stroked(lines, 1.5) + polygon({{13.2, 5.4}, {16.8, 8.0}, {13.2, 10.6}}) +
           polygon({{13.2, 13.4}, {16.8, 16.0}, {13.2, 18.6}});
}

QPainterPath lyricsSymbol() {
    QPainterPath note;
    note.addEllipse(QRectF(3.6, 10.2, 3.6, 2.8));
    note += roundedRect({6.3, 4.4, 1.0, 7.4}, 0.3);
    QPainterPath flag;
    flag.moveTo(6.8, 4.8);
    flag.quadTo(8.8, 5.6, 8.6, 8.0);
    note += stroked(flag, 1.1);
    QPainterPath text;
    for (const auto& [y, right] : {std::pair{5.8, 15.6}, {8.8, 14.0}, {11.8, 15.6}}) {
        text.moveTo(10.6, y);
        text.lineTo(right, y);
    }
    return note + stroked(text, 1.4);
}

QPainterPath playlistSymbol() {
    QPainterPath rows;
    QPainterPath lines;
    for (const qreal y : {5.4, 9.0, 12.6}) {
        rows.addEllipse(QPointF(4.8, y), 1.0, 1.0);
        lines.moveTo(7.4, y);
        lines.lineTo(13.4, y);
    }
    return rows + stroked(lines, 1.4);
}

QPainterPath spectrumSymbol() {
    QPainterPath bars;
    const qreal heights[] = {5.0, 8.6, 4.0, 7.0};
    for (int i = 0; i < 4; ++i)
        bars += roundedRect({3.6 + 2.8 * i, 13.6 - heights[i], 2.0, heights[i]}, 0.5);
    return bars;
}

QPainterPath slidersSymbol() {
    QPainterPath tracks;
    const qreal knobs[] = {10.4, 6.0, 8.6};
    QPainterPath result;
    for (int i = 0; i < 3; ++i) {
        const qreal x = 5.0 + 4.0 * i;
        tracks.moveTo(x, 4.2);
        tracks.lineTo(x, 13.8);
        result += roundedRect({x - 1.7, knobs[i] - 1.2, 3.4, 2.4}, 0.6);
    }
    return result + stroked(tracks, 0.9);
}

// Square glyph of the panel switches.
Painter panelButton(const QPainterPath& symbol, Look look, Ink ink) {
    return [=](QPainter& p) {
        paintBody(p, {0.5, 0.5, 17.0, 17.0}, 5.0, look);
        paintSymbol(p, symbol, look, ink);
    };
}

Painter roundButton(const QPainterPath& symbol, Look look, Ink ink = Ink::White) {
    return [=](QPainter& p) {
        paintBody(p, {0.5, 0.5, 19.0, 19.0}, 9.5, look);
        paintSymbol(p, symbol, look, ink);
    };
}

Painter colourButton(Look look) {
    return [=](QPainter& p) {
        paintBody(p, {0.5, 0.5, 19.0, 23.0}, 9.5, look);
        const QPointF centre = look == Look::Pressed ? QPointF(10.4, 12.6) : QPointF(10.0, 12.0);
        QConicalGradient wheel(centre, 90);
        const QColor hues[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta};
        for (int i = 0; i < 6; ++i) wheel.setColorAt(i / 6.0, hues[i]);
        wheel.setColorAt(1.0, Qt::red);
        p.setPen(QPen(QColor(4, 18, 44, 150), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre + QPointF(0, 0.7), 5.2, 5.2);
        p.setPen(QPen(QColor(255, 255, 255, look == Look::Pressed ? 150 : 230), 1.0));
        p.setBrush(wheel);
        p.drawEllipse(centre, 5.2, 5.2);
        QRadialGradient shine(centre - QPointF(1.6, 2.0), 4.0);
        shine.setColorAt(0.0, QColor(255, 255, 255, look == Look::Pressed ? 60 : 150));
        shine.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.drawEllipse(centre, 4.6, 4.6);
        if (look == Look::Pressed) {
            p.setBrush(QColor(0, 10, 40, 60));
            p.drawEllipse(centre, 5.2, 5.2);
        }
    };
}

void paintPlayBody(QPainter& p, const QPainterPath& symbol, Look look) {
    paintBody(p, {0.5, 0.5, 28.0, 28.0}, 14.0, look);
    paintSymbol(p, symbol, look, Ink::White);
}

}  // namespace

ImageList PlayGlyphs() {
    const auto button = [](const QPainterPath& symbol, Look look) -> Painter {
        return [=](QPainter& p) { paintPlayBody(p, symbol, look); };
    };
    return listOf({29, 29},
                  {button(playSymbol(), Look::Raised), button(playSymbol(), Look::Pressed),
                   button(pauseSymbol(), Look::Raised), button(pauseSymbol(), Look::Pressed)});
}

void PaintPlayButton(QPainter& painter, qreal size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 29.0, size / 29.0);
    paintPlayBody(painter, playSymbol(), Look::Raised);
    painter.restore();
}

ImageList StopGlyphs() {
    const auto button = [](Look look) -> Painter {
        return [=](QPainter& p) {
            paintBody(p, {0.5, 0.5, 19.0, 26.0}, 9.5, look);
            paintSymbol(p, roundedRect({6.0, 9.5, 8.0, 8.0}, 1.3), look, Ink::White);
        };
    };
    return listOf({20, 27}, {button(Look::Raised), button(Look::Pressed)});
}

ImageList StepAndSoundGlyphs() {
    const QPainterPath next = mirrored(previousSymbol(), 20.0);
    const Painter muted = [](QPainter& p) {
        paintBody(p, {0.5, 0.5, 19.0, 19.0}, 9.5, Look::Raised);
        paintSymbol(p, speakerSymbol(), Look::Raised, Ink::White);
        paintSymbol(p, crossSymbol(), Look::Raised, Ink::Red);
    };
    return listOf({20, 20}, {roundButton(previousSymbol(), Look::Raised),
                             roundButton(previousSymbol(), Look::Pressed),
                             roundButton(next, Look::Raised), roundButton(next, Look::Pressed),
                             roundButton(speakerSymbol() + wavesSymbol(), Look::Raised), muted});
}

ImageList ColourAndShuffleGlyphs() {
    const auto shuffle = [](Ink ink) -> Painter {
        return [=](QPainter& p) {
            paintBody(p, {0.5, 0.5, 19.0, 23.0}, 9.5, Look::Raised);
            paintSymbol(p, shuffleSymbol(), Look::Raised, ink);
        };
    };
    return listOf({20, 24}, {colourButton(Look::Raised), colourButton(Look::Pressed),
                             shuffle(Ink::White), shuffle(Ink::Lit)});
}

ImageList LyricsGlyphs() {
    const auto button = [](Ink ink) -> Painter {
        return [=](QPainter& p) {
            paintBody(p, {0.5, 0.5, 19.0, 17.0}, 6.0, Look::Raised);
            paintSymbol(p, lyricsSymbol(), Look::Raised, ink);
        };
    };
    return listOf({20, 18}, {button(Ink::White), button(Ink::Lit)});
}

ImageList PanelGlyphs() {
    const QPainterPath list = playlistSymbol();
    return listOf(
        {18, 18},
        {panelButton(list, Look::Raised, Ink::Lit), panelButton(list, Look::Pressed, Ink::Lit),
         panelButton(list, Look::Raised, Ink::White), panelButton(list, Look::Pressed, Ink::White),
         panelButton(spectrumSymbol(), Look::Raised, Ink::White),
         panelButton(spectrumSymbol(), Look::Raised, Ink::Lit),
         panelButton(slidersSymbol(), Look::Raised, Ink::White),
         panelButton(slidersSymbol(), Look::Raised, Ink::Lit)});
}

QImage CloseGlyph() {
    return draw({14, 14}, [](QPainter& p) {
        QLinearGradient fill(0, 0, 0, 14);
        fill.setColorAt(0.0, QColor(0xF2, 0x7A, 0x6C));
        fill.setColorAt(1.0, QColor(0xA8, 0x1E, 0x14));
        p.setPen(QPen(QColor(0x4A, 0x0C, 0x08), 1.0));
        p.setBrush(fill);
        p.drawEllipse(QRectF(0.5, 0.5, 13.0, 13.0));
        QPainterPath cross;
        cross.moveTo(4.6, 4.6);
        cross.lineTo(9.4, 9.4);
        cross.moveTo(9.4, 4.6);
        cross.lineTo(4.6, 9.4);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(stroked(cross, 1.6));
    });
}

}  // namespace transport_glyphs
