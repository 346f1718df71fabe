#include "player/skin/object_skin.h"

#include <stdexcept>

#include "player/skin/parent_skin.h"

TObjectSkin::TObjectSkin(QWidget* parent) : TMainSkin(parent) {
    hide();
    CheckParent();
}

void TObjectSkin::SetParent(QWidget* parent) {
    if (parent != parentWidget()) {
        const bool hidden = isHidden();
        setParent(parent);
        setVisible(!hidden);  // reparenting hides a widget
    }
    CheckParent();
}

void TObjectSkin::CheckParent() const {
    if (qobject_cast<TParentSkin*>(parentWidget()) == nullptr)
        throw std::invalid_argument("Drop the Skin Part on a ParentSkin!");
}
