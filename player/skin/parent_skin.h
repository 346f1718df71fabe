#pragma once

#include "player/skin/main_skin.h"

// The container that shapes a borderless window. It lies on a top-level widget (the form);
// on its first paint it lifts the controls placed on its skin parts onto itself and joins
// the parts' regions into its own region, kept from then on. The form's mask becomes the
// union of the regions of all the form's containers, each at its place on the form, so the
// shape does not depend on which container paints first.
class TParentSkin : public TMainSkin {
    Q_OBJECT
public:
    // Throws std::invalid_argument "Drop the ParentSkin on a FORM!" when `form` is not a
    // top-level widget.
    explicit TParentSkin(QWidget* form);

    // Sets the parent; the parent must be a form (same exception as the constructor). The
    // form loses its border and the container covers its client area from (0, 0).
    void SetParent(QWidget* form);

    // The first-paint step: lifting, the region, the form's mask. Does nothing once the
    // region exists, and nothing (so it repeats) while the container has no children.
    void ShapeForm();

    // Moves the form with the mouse: the window system's move when it offers one, otherwise
    // the form follows this container's mouse moves until the button is released.
    void DragForm(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PlaceOnForm();
    void LiftPartChildren();
    // Builds Region from the skin parts; false when there is nothing to build from yet.
    bool BuildRegion();

    std::optional<QPoint> dragOffset_;
};
