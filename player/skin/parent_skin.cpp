#include "player/skin/parent_skin.h"

#include <QMouseEvent>
#include <QWindow>

#include <stdexcept>

#include "player/skin/object_skin.h"

TParentSkin::TParentSkin(QWidget* form) : TMainSkin(form) {
    PlaceOnForm();
}

void TParentSkin::SetParent(QWidget* form) {
    if (form != parentWidget()) {
        setParent(form);
        show();  // reparenting hides a widget
    }
    PlaceOnForm();
}

void TParentSkin::PlaceOnForm() {
    QWidget* form = parentWidget();
    if (form == nullptr || !form->isWindow())
        throw std::invalid_argument("Drop the ParentSkin on a FORM!");
    form->setWindowFlag(Qt::FramelessWindowHint);
    setGeometry(0, 0, form->width(), form->height());
}

void TParentSkin::paintEvent(QPaintEvent*) {
    ShapeForm();
}

void TParentSkin::ShapeForm() {
    if (Region || !BuildRegion()) return;
    QWidget* form = parentWidget();
    QRegion shape;
    for (TParentSkin* skin : form->findChildren<TParentSkin*>(Qt::FindDirectChildrenOnly)) {
        if (!skin->Region) skin->BuildRegion();
        if (skin->Region) shape += skin->Region->translated(skin->pos());
    }
    // An empty shape clears the mask: the form stays rectangular rather than vanishing.
    form->setMask(shape);
    form->update();
}

bool TParentSkin::BuildRegion() {
    if (children().isEmpty()) return false;
    LiftPartChildren();
    QRegion region;
    for (QObject* child : children()) {
        auto* part = qobject_cast<TObjectSkin*>(child);
        if (part == nullptr) continue;
        if (const auto partRegion = part->GetRegion()) region += *partRegion;
    }
    Region = region;
    return true;
}

void TParentSkin::LiftPartChildren() {
    bool moved = true;
    while (moved) {
        moved = false;
        for (QObject* child : children()) {
            auto* part = qobject_cast<TObjectSkin*>(child);
            if (part == nullptr) continue;
            QList<QWidget*> carried;
            for (QObject* grandChild : part->children()) {
                auto* control = qobject_cast<QWidget*>(grandChild);
                if (control != nullptr && qobject_cast<TObjectSkin*>(control) == nullptr)
                    carried.append(control);
            }
            for (QWidget* control : carried) {
                const bool hidden =
                    control->testAttribute(Qt::WA_WState_ExplicitShowHide) && control->isHidden();
                const QPoint place = control->pos() + part->pos();
                control->setParent(this);
                control->move(place);
                if (!hidden) control->show();
            }
            if (!carried.isEmpty()) {
                moved = true;
                break;
            }
        }
    }
}

void TParentSkin::DragForm(QPoint globalPos) {
    QWidget* form = parentWidget();
    QWindow* window = form->windowHandle();
    if (window != nullptr && window->startSystemMove()) return;
    dragOffset_ = globalPos - form->pos();
}

void TParentSkin::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_) parentWidget()->move(event->globalPosition().toPoint() - *dragOffset_);
    TMainSkin::mouseMoveEvent(event);
}

void TParentSkin::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    TMainSkin::mouseReleaseEvent(event);
}
