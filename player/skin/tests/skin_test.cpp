#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <memory>
#include <stdexcept>
#include <string>

#include "player/skin/bitmap_skin_part.h"
#include "player/skin/image_list.h"
#include "player/skin/parent_skin.h"
#include "player/skin/round_rect_skin_part.h"

namespace {

const QColor kPurple(0x80, 0x00, 0x80);

// Rows of a glyph: '#' an opaque pixel, '.' the purple key.
QImage glyphFrom(std::initializer_list<const char*> rows) {
    const int width = static_cast<int>(std::string(*rows.begin()).size());
    QImage image(width, static_cast<int>(rows.size()), QImage::Format_RGB32);
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, row[x] == '#' ? Qt::white : kPurple);
        ++y;
    }
    return image;
}

class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<QWidget>();
        form->resize(400, 300);
        skin = new TParentSkin(form.get());
    }

    TRoundRectSkinPart* roundPart(QRect geometry, TParentSkin* on = nullptr) {
        auto* part = new TRoundRectSkinPart(on ? on : skin);
        part->setGeometry(geometry);
        return part;
    }

    std::unique_ptr<QWidget> form;
    TParentSkin* skin = nullptr;
};

TEST_F(SkinTest, ContainerCoversTheFormWithoutBorder) {
    EXPECT_EQ(skin->geometry(), QRect(0, 0, 400, 300));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(SkinTest, FormShapeIsTheUnionOfRoundedParts) {
    roundPart(QRect(0, 80, 200, 100));
    roundPart(QRect(250, 0, 100, 150))->SetCircleWidth(20);
    skin->ShapeForm();
    const QRegion mask = form->mask();
    struct Case {
        QPoint point;
        bool inside;
    };
    for (const Case& c : {Case{{100, 130}, true}, Case{{0, 130}, true}, Case{{100, 80}, true},
                          Case{{199, 130}, true}, Case{{300, 75}, true},
                          Case{{0, 80}, false},  // rounded off by the 50 x 50 ellipse
                          Case{{5, 84}, false}, Case{{199, 179}, false},
                          Case{{250, 10}, false},   // rounded by 20 x 50
                          Case{{260, 25}, true},    // inside the narrower corner
                          Case{{225, 100}, false},  // the gap between the parts
                          Case{{100, 180}, false}, Case{{100, 50}, false}})
        EXPECT_EQ(mask.contains(c.point), c.inside) << c.point.x() << "," << c.point.y();
}

TEST_F(SkinTest, BitmapPartRegionIsItsOpaquePixelsAtItsPlace) {
    auto* part = new TBitmapSkinPart(skin);
    part->setGeometry(30, 40, 4, 3);
    part->SetGlyph(glyphFrom({"#..#", ".##.", "...."}));
    const auto region = part->GetRegion();
    ASSERT_TRUE(region);
    EXPECT_EQ(*region, QRegion(30, 40, 1, 1) + QRegion(33, 40, 1, 1) + QRegion(31, 41, 2, 1));

    skin->ShapeForm();
    EXPECT_EQ(form->mask(), *region);
}

TEST_F(SkinTest, GlyphOfOnlyTheKeyColourAddsNothingToTheShape) {
    auto* panel = roundPart(QRect(0, 0, 100, 100));
    auto* part = new TBitmapSkinPart(skin);
    part->setGeometry(200, 200, 3, 2);
    part->SetGlyph(glyphFrom({"...", "..."}));
    ASSERT_TRUE(part->GetRegion());
    EXPECT_TRUE(part->GetRegion()->isEmpty());
    skin->ShapeForm();
    EXPECT_EQ(form->mask(), *panel->GetRegion());
}

TEST_F(SkinTest, BitmapRegionKeepsItsShapeOverGlyphChangesButNotOverKeyChanges) {
    auto* part = new TBitmapSkinPart(skin);
    part->setGeometry(0, 0, 3, 1);
    part->SetGlyph(glyphFrom({"#.."}));
    const QRegion first = *part->GetRegion();
    part->SetGlyph(glyphFrom({"..#"}));
    EXPECT_EQ(*part->GetRegion(), first);
    part->SetTransparentColor(Qt::white);
    EXPECT_EQ(*part->GetRegion(), QRegion(0, 0, 2, 1));
}

TEST_F(SkinTest, BitmapPartPaintsOnlyItsOpaquePixels) {
    auto* part = new TBitmapSkinPart(skin);
    part->setGeometry(0, 0, 2, 1);
    part->SetGlyph(glyphFrom({"#."}));
    QImage shot(2, 1, QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    part->render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(shot.pixel(0, 0), QColor(Qt::white).rgba());
    EXPECT_EQ(qAlpha(shot.pixel(1, 0)), 0);
}

TEST_F(SkinTest, ShowImageSetsTheVisibility) {
    auto* part = new TBitmapSkinPart(skin);
    EXPECT_TRUE(part->ShowImage());
    EXPECT_FALSE(part->isHidden());
    part->SetShowImage(false);
    EXPECT_TRUE(part->isHidden());
    EXPECT_TRUE(roundPart(QRect(0, 0, 5, 5))->isHidden());
}

TEST_F(SkinTest, ControlsOnRoundedPartsAreLiftedOntoTheContainer) {
    auto* panel = roundPart(QRect(10, 20, 100, 100));
    auto* label = new QLabel("x", panel);
    label->move(5, 6);
    auto* memo = new QLabel("hidden", panel);
    memo->move(1, 1);
    memo->hide();
    auto* nested = roundPart(QRect(0, 0, 10, 10));
    EXPECT_THROW(nested->SetParent(panel), std::invalid_argument);
    ASSERT_EQ(nested->parentWidget(), panel);

    form->show();
    skin->ShapeForm();
    EXPECT_EQ(label->parentWidget(), skin);
    EXPECT_EQ(label->pos(), QPoint(15, 26));
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(memo->parentWidget(), skin);
    EXPECT_TRUE(memo->isHidden());
    EXPECT_EQ(nested->parentWidget(), panel);
}

TEST_F(SkinTest, PlacementChecksRaiseTheirMessages) {
    QWidget notAForm(form.get());
    try {
        TParentSkin misplaced(&notAForm);
        ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Drop the ParentSkin on a FORM!");
    }
    EXPECT_THROW(skin->SetParent(&notAForm), std::invalid_argument);
    try {
        TBitmapSkinPart misplaced(form.get());
        ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Drop the Skin Part on a ParentSkin!");
    }
}

TEST_F(SkinTest, CircleWidthChangeRebuildsThePartButNotTheFormShape) {
    auto* panel = roundPart(QRect(0, 0, 100, 100));
    skin->ShapeForm();
    const QRegion shape = form->mask();
    EXPECT_FALSE(shape.contains(QPoint(2, 2)));

    panel->move(50, 0);  // a kept region follows no move until it is rebuilt
    panel->SetCircleWidth(50);
    EXPECT_EQ(*panel->GetRegion(), shape);
    panel->SetCircleWidth(4);
    panel->SetCircleHeight(4);
    EXPECT_TRUE(panel->GetRegion()->contains(QPoint(52, 2)));
    EXPECT_FALSE(panel->GetRegion()->contains(QPoint(10, 10)));
    skin->ShapeForm();
    EXPECT_EQ(form->mask(), shape);
}

TEST(SkinContainer, WithoutChildrenLeavesTheFormRectangularAndTriesAgain) {
    QWidget form;
    form.resize(100, 100);
    auto* skin = new TParentSkin(&form);
    skin->ShapeForm();
    EXPECT_TRUE(form.mask().isEmpty());
    EXPECT_FALSE(skin->GetRegion());

    new QLabel("no skin part", skin);
    skin->ShapeForm();
    ASSERT_TRUE(skin->GetRegion());
    EXPECT_TRUE(skin->GetRegion()->isEmpty());
    EXPECT_TRUE(form.mask().isEmpty());  // an empty shape would hide the whole window
}

TEST_F(SkinTest, ShapeJoinsEveryContainerWhicheverPaintsFirst) {
    roundPart(QRect(0, 0, 100, 100));
    auto* bar = new TParentSkin(form.get());
    bar->setGeometry(150, 150, 10, 10);
    auto* button = new TBitmapSkinPart(bar);
    button->setGeometry(2, 3, 2, 1);
    button->SetGlyph(glyphFrom({"##"}));

    bar->ShapeForm();
    const QRegion mask = form->mask();
    EXPECT_TRUE(mask.contains(QPoint(50, 50)));
    EXPECT_TRUE(mask.contains(QPoint(153, 153)));
    EXPECT_FALSE(mask.contains(QPoint(2, 3)));
    skin->ShapeForm();
    EXPECT_EQ(form->mask(), mask);
}

TEST_F(SkinTest, PressOnTheContainerDragsTheForm) {
    form->move(100, 100);
    form->show();
    QObject::connect(skin, &TMainSkin::MouseDown, skin, [this](Qt::MouseButton, QPoint pos) {
        skin->DragForm(skin->mapToGlobal(pos));
    });
    const auto send = [this](QEvent::Type type, QPoint local, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(local), QPointF(skin->mapToGlobal(local)), Qt::LeftButton,
                          held, Qt::NoModifier);
        QCoreApplication::sendEvent(skin, &event);
    };
    send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    send(QEvent::MouseMove, {40, 30}, Qt::LeftButton);
    EXPECT_EQ(form->pos(), QPoint(130, 120));
    send(QEvent::MouseButtonRelease, {40, 30}, Qt::NoButton);
    send(QEvent::MouseMove, {0, 0}, Qt::NoButton);
    EXPECT_EQ(form->pos(), QPoint(130, 120));
}

TEST(ImageList, HandsOutGlyphsOnTheKeyColour) {
    const QColor matte(0xA6, 0xCA, 0xF0);
    ImageList list(QSize(4, 1), matte);
    QImage glyph(4, 1, QImage::Format_ARGB32);
    glyph.setPixel(0, 0, qRgba(0, 0, 0, 0));
    glyph.setPixel(1, 0, qRgba(0, 0, 255, 255));
    glyph.setPixel(2, 0, qRgba(255, 0, 0, 128));  // soft edge: laid over the matte
    glyph.setPixel(3, 0, qRgba(0x80, 0x00, 0x80, 255));
    list.Add(glyph);
    EXPECT_EQ(list.Count(), 1);
    const QImage bitmap = list.GetBitmap(0, kPurple);
    EXPECT_EQ(bitmap.pixel(0, 0), kPurple.rgb());
    EXPECT_EQ(bitmap.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_NEAR(qRed(bitmap.pixel(2, 0)), (255 + 0xA6) / 2, 2);
    EXPECT_NE(bitmap.pixel(3, 0), kPurple.rgb());
    EXPECT_TRUE(list.GetBitmap(1, kPurple).isNull());
}

}  // namespace
