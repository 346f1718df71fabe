#pragma once

#include "player/skin/object_skin.h"

// A rounded-rectangle skin part: its region is its own rectangle with corners rounded by an
// ellipse of CircleWidth x CircleHeight. It stays hidden; the controls placed on it are lifted
// onto the TParentSkin on the container's first paint.
class TRoundRectSkinPart : public TObjectSkin {
    Q_OBJECT
public:
    explicit TRoundRectSkinPart(QWidget* parent);

    int CircleWidth() const { return circleWidth_; }
    int CircleHeight() const { return circleHeight_; }
    // A changed value rebuilds the part's region at once; an unchanged one does nothing.
    void SetCircleWidth(int width);
    void SetCircleHeight(int height);

    // Built on the first request from the part's geometry at that time, then kept.
    std::optional<QRegion> GetRegion() override;

private:
    void Rebuild();

    int circleWidth_ = 50;
    int circleHeight_ = 50;
};
