#pragma once

#include "player/skin/main_skin.h"

// Base of the skin parts. A part lies on a TParentSkin and is created hidden; its region is
// in the coordinates of that container.
class TObjectSkin : public TMainSkin {
    Q_OBJECT
public:
    // Throws std::invalid_argument "Drop the Skin Part on a ParentSkin!" when `parent` is not
    // a TParentSkin.
    explicit TObjectSkin(QWidget* parent);

    // Sets the parent, then checks it as the constructor does: after the exception the part
    // stays where it was put, as a control dropped on the wrong container would.
    void SetParent(QWidget* parent);

private:
    void CheckParent() const;
};
