#include "player/skin/round_rect_skin_part.h"

#include <algorithm>

namespace {

QRegion roundedRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight) {
    const int w = std::clamp(ellipseWidth, 0, rect.width());
    const int h = std::clamp(ellipseHeight, 0, rect.height());
    if (w < 2 || h < 2) return QRegion(rect);
    QRegion region(rect.adjusted(w / 2, 0, -(w / 2), 0));
    region += QRegion(rect.adjusted(0, h / 2, 0, -(h / 2)));
    const int right = rect.x() + rect.width() - w;
    const int bottom = rect.y() + rect.height() - h;
    for (const QPoint corner :
         {rect.topLeft(), QPoint(right, rect.y()), QPoint(rect.x(), bottom), QPoint(right, bottom)})
        region += QRegion(QRect(corner, QSize(w, h)), QRegion::Ellipse);
    return region;
}

}  // namespace

TRoundRectSkinPart::TRoundRectSkinPart(QWidget* parent) : TObjectSkin(parent) {}

void TRoundRectSkinPart::SetCircleWidth(int width) {
    if (width == circleWidth_) return;
    circleWidth_ = width;
    Rebuild();
}

void TRoundRectSkinPart::SetCircleHeight(int height) {
    if (height == circleHeight_) return;
    circleHeight_ = height;
    Rebuild();
}

void TRoundRectSkinPart::Rebuild() {
    FreeRegion();
    GetRegion();
    update();
}

std::optional<QRegion> TRoundRectSkinPart::GetRegion() {
    if (!Region) Region = roundedRectRegion(geometry(), circleWidth_, circleHeight_);
    return Region;
}
