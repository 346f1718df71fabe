#include "player/ui/main_window.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "player/ui/skin_look.h"
#include "player/ui/transport_glyphs.h"

namespace {

const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QColor kPurple(0x80, 0x00, 0x80);
const QColor kFuchsia(0xFF, 0x00, 0xFF);
const QColor kInk(0x0B, 0x2A, 0x55);

// The window colours the colour button steps through.
const QColor kWindowColors[] = {QColor(0x00, 0x00, 0xFF), QColor(0x00, 0xFF, 0x00),
                                QColor(0xFF, 0xFF, 0x00), QColor(0x00, 0x80, 0x00),
                                QColor(0xFF, 0x00, 0x00), kSkyBlue};

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent),
      ImageList1(transport_glyphs::PlayGlyphs()),
      ImageList2(transport_glyphs::StopGlyphs()),
      ImageList3(transport_glyphs::StepAndSoundGlyphs()),
      ImageList4(transport_glyphs::ColourAndShuffleGlyphs()),
      ImageList5(transport_glyphs::LyricsGlyphs()),
      ImageList6(transport_glyphs::PanelGlyphs()) {
    setWindowTitle(QStringLiteral("Tavrel"));
    resize(854, 497);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kSkyBlue);
    colours.setColor(QPalette::WindowText, kInk);
    setPalette(colours);
    setAutoFillBackground(true);

    CreateSkin();
    CreateTransportPanel();
    CreateInformationPanel();
    CreateAudioSettingsPanel();
    CreatePlaylistPanel();
    CreateButtonBar();
    NameControls();
}

void TForm1::NameControls() {
    const std::pair<QObject*, const char*> names[] = {
        {ParentSkin1, "ParentSkin1"},
        {ParentSkin2, "ParentSkin2"},
        {Label2, "Label2"},
        {Label27, "Label27"},
        {Label26, "Label26"},
        {Panel6, "Panel6"},
        {Image1, "Image1"},
        {TrackBarEx1, "TrackBarEx1"},
        {TrackBar1, "TrackBar1"},
        {Label25, "Label25"},
        {Label33, "Label33"},
        {Label28, "Label28"},
        {Label29, "Label29"},
        {Label30, "Label30"},
        {Label31, "Label31"},
        {Label32, "Label32"},
        {Label4, "Label4"},
        {Label3, "Label3"},
        {Memo1, "Memo1"},
        {Panel1, "Panel1"},
        {ProgressBar1, "ProgressBar1"},
        {ProgressBar2, "ProgressBar2"},
        {Label23, "Label23"},
        {Label24, "Label24"},
        {Label34, "Label34"},
        {ListBox1, "ListBox1"},
        {Label35, "Label35"},
    };
    for (const auto& [control, name] : names) control->setObjectName(QString::fromLatin1(name));
    // Styled one by one: a sheet on the window would cut its colour off from the skin.
    const QString sheet = skin_look::StyleSheet();
    for (QWidget* control : std::initializer_list<QWidget*>{Label27, Panel6, TrackBarEx1, TrackBar1,
                                                            ProgressBar1, ProgressBar2, ListBox1})
        control->setStyleSheet(sheet);
}

void TForm1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor color = palette().color(QPalette::Window);
    for (const TRoundRectSkinPart* panel :
         {RoundRectSkinPart1, RoundRectSkinPart2, RoundRectSkinPart3, RoundRectSkinPart4})
        skin_look::PaintPanel(painter, panel->geometry().translated(ParentSkin1->pos()),
                              panel->CircleWidth(), panel->CircleHeight(), color);
}

void TForm1::CreateSkin() {
    ParentSkin1 = new TParentSkin(this);
    ParentSkin1->setGeometry(0, 0, 841, 489);
    const auto panel = [this](QRect geometry) {
        auto* part = new TRoundRectSkinPart(ParentSkin1);
        part->setGeometry(geometry);
        return part;
    };
    RoundRectSkinPart1 = panel({0, 80, 553, 105});
    RoundRectSkinPart2 = panel({0, 208, 553, 225});
    RoundRectSkinPart3 = panel({568, 0, 265, 185});
    RoundRectSkinPart4 = panel({576, 208, 257, 273});
    connect(ParentSkin1, &TMainSkin::MouseDown, this, &TForm1::ParentSkin1MouseDown);
}

QLabel* TForm1::CreateLabel(QWidget* on, QPoint place, const QString& caption) {
    auto* label = new QLabel(caption, on);
    label->move(place);
    label->adjustSize();
    return label;
}

void TForm1::CreateTransportPanel() {
    QWidget* on = RoundRectSkinPart1;
    Label2 = CreateLabel(on, {34, 10}, QString());
    Label2->setFixedWidth(230);
    Label27 = new QLabel(QStringLiteral("0:00:00"), on);
    Label27->setGeometry(30, 24, 118, 22);
    Label27->setAlignment(Qt::AlignCenter);
    QFont timeFont(QStringLiteral("DejaVu Sans Mono"));
    timeFont.setPixelSize(17);
    timeFont.setBold(true);
    Label27->setFont(timeFont);
    Label26 = CreateLabel(on, {440, 30}, QStringLiteral("0:00:00"));
    Label26->setFixedWidth(80);
    Label26->setAlignment(Qt::AlignRight);

    Panel6 = new QLabel(QStringLiteral("Быстрый доступ"), on);
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel6->setLineWidth(1);
    Panel6->setAlignment(Qt::AlignCenter);
    Panel6->setGeometry(290, 8, 120, 20);
    Panel6->setEnabled(false);

    Image1 = new QLabel(on);
    Image1->setPixmap(QPixmap::fromImage(transport_glyphs::CloseGlyph()));
    Image1->setGeometry(512, 12, 14, 14);
    Image1->setToolTip(QStringLiteral("Закрыть"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    TrackBarEx1 = new QSlider(Qt::Horizontal, on);
    TrackBarEx1->setGeometry(26, 48, 501, 18);
    TrackBarEx1->setRange(0, 100);
    TrackBarEx1->setToolTip(QStringLiteral("Поиск"));
    TrackBarEx1->setEnabled(false);

    TrackBar1 = new QSlider(Qt::Horizontal, on);
    TrackBar1->setGeometry(300, 72, 130, 18);
    TrackBar1->setRange(0, 100);
    TrackBar1->setToolTip(QStringLiteral("Громкость"));
    TrackBar1->setEnabled(false);
    Label25 = CreateLabel(on, {438, 73}, QStringLiteral("Громкость"));
    Label25->setFixedWidth(100);
}

void TForm1::CreateInformationPanel() {
    QWidget* on = RoundRectSkinPart3;
    Label33 = CreateLabel(on, {24, 14}, QStringLiteral("Информация о файле"));
    QFont heading = Label33->font();
    heading.setBold(true);
    Label33->setFont(heading);
    Label33->setFixedWidth(220);
    int y = 38;
    for (QLabel** label : {&Label28, &Label29, &Label30, &Label31, &Label32, &Label4}) {
        *label = CreateLabel(on, {24, y}, QString());
        (*label)->setFixedWidth(225);
        y += 18;
    }
    Label28->setText(QStringLiteral("Исполнитель: "));
    Label29->setText(QStringLiteral("Название: "));
    Label30->setText(QStringLiteral("Альбом: "));
    Label31->setText(QStringLiteral("Год: "));
    Label32->setText(QStringLiteral("Дорожка: "));
    Label4->setText(QStringLiteral("Жанр: "));
    Label3 = CreateLabel(on, {24, y + 6}, QString());
    Label3->setFixedWidth(225);

    Memo1 = new QPlainTextEdit(on);
    Memo1->setGeometry(14, 10, 237, 165);
    Memo1->setReadOnly(true);
    Memo1->setToolTip(QStringLiteral("Слова песни"));
    Memo1->hide();
}

void TForm1::CreateAudioSettingsPanel() {
    Panel1 = new QWidget(RoundRectSkinPart2);
    Panel1->setGeometry(14, 10, 525, 205);
    const auto levelBar = [this](int x, const char* hint) {
        auto* bar = new QProgressBar(Panel1);
        bar->setOrientation(Qt::Vertical);
        bar->setRange(0, 128);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setGeometry(x, 20, 12, 140);
        bar->setToolTip(QString::fromUtf8(hint));
        return bar;
    };
    ProgressBar2 = levelBar(478, "Уровень левого канала");
    ProgressBar1 = levelBar(496, "Уровень правого канала");
    Label23 = CreateLabel(Panel1, {400, 172}, QStringLiteral("Загрузка CPU: "));
    Label24 = CreateLabel(Panel1, {Label23->x() + Label23->width(), 172}, QString());
    Label24->setFixedWidth(40);
}

void TForm1::CreatePlaylistPanel() {
    QWidget* on = RoundRectSkinPart4;
    Label34 = CreateLabel(on, {18, 10}, QStringLiteral("Название"));
    Label34->setFixedWidth(220);
    ListBox1 = new QListWidget(on);
    ListBox1->setGeometry(14, 30, 229, 210);
    ListBox1->setToolTip(QStringLiteral("Список песен"));
    ListBox1->setFrameShape(QFrame::NoFrame);
    QPalette colours = ListBox1->palette();
    colours.setColor(QPalette::Base, kSkyBlue);
    colours.setColor(QPalette::Text, Qt::white);
    ListBox1->setPalette(colours);
    ListBox1->setEnabled(false);
    Label35 = CreateLabel(on, {18, 246}, QStringLiteral("Общее время"));
    Label35->setFixedWidth(225);
}

TBitmapSkinPart* TForm1::CreateButton(QRect geometry, const char* hint, QColor transparentColor,
                                      const TImageList& glyphs, int glyph) {
    auto* part = new TBitmapSkinPart(ParentSkin2);
    part->setGeometry(geometry);
    part->setToolTip(QString::fromUtf8(hint));
    part->SetTransparentColor(transparentColor);
    part->SetGlyph(glyphs.GetBitmap(glyph, transparentColor));
    part->setEnabled(false);
    return part;
}

void TForm1::CreateButtonBar() {
    ParentSkin2 = new TParentSkin(this);
    ParentSkin2->setGeometry(15, 148, 258, 29);
    BitmapSkinPart2 = CreateButton({0, 0, 29, 29}, "Воспроизвести", kSkyBlue, ImageList1, 0);
    BitmapSkinPart3 = CreateButton({29, 2, 20, 27}, "Остановить", kPurple, ImageList2, 0);
    BitmapSkinPart5 = CreateButton({48, 5, 20, 20}, "Предыдущая дорожка", kPurple, ImageList3, 0);
    BitmapSkinPart6 = CreateButton({66, 5, 20, 20}, "Следующая дорожка", kPurple, ImageList3, 2);
    BitmapSkinPart1 = CreateButton({85, 5, 20, 20}, "Выключить", kPurple, ImageList3, 4);
    BitmapSkinPart4 = CreateButton({104, 3, 20, 24}, "Изменить цвет", kFuchsia, ImageList4, 0);
    BitmapSkinPart8 = CreateButton({130, 2, 20, 24}, "Перемешивание", kPurple, ImageList4, 2);
    BitmapSkinPart9 = CreateButton({152, 5, 20, 18}, "Слова песни", kPurple, ImageList5, 0);
    BitmapSkinPart7 =
        CreateButton({173, 5, 18, 18}, "Список воспроизведения", kPurple, ImageList6, 0);
    BitmapSkinPart10 = CreateButton({200, 5, 18, 18}, "Визуализация", kPurple, ImageList6, 4);
    BitmapSkinPart11 = CreateButton({224, 5, 18, 18}, "Аудио настройки", kPurple, ImageList6, 7);

    BitmapSkinPart4->setEnabled(true);
    connect(BitmapSkinPart4, &TMainSkin::MouseDown, this, &TForm1::BitmapSkinPart4MouseDown);
    connect(BitmapSkinPart4, &TMainSkin::MouseUp, this, &TForm1::BitmapSkinPart4MouseUp);
}

void TForm1::ParentSkin1MouseDown(Qt::MouseButton button, QPoint pos) {
    // The right button stays free for the window's context menu.
    if (button == Qt::LeftButton) ParentSkin1->DragForm(ParentSkin1->mapToGlobal(pos));
}

void TForm1::BitmapSkinPart4MouseDown() {
    BitmapSkinPart4->SetGlyph(ImageList4.GetBitmap(1, BitmapSkinPart4->TransparentColor()));
}

void TForm1::BitmapSkinPart4MouseUp() {
    BitmapSkinPart4->SetGlyph(ImageList4.GetBitmap(0, BitmapSkinPart4->TransparentColor()));
    ColorIndex = ColorIndex == 5 ? 0 : ColorIndex + 1;
    SetWindowColor(kWindowColors[ColorIndex]);
}

void TForm1::SetWindowColor(QColor color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
