#include "player/ui/main_window.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include <string>
#include <tuple>

#include "player/engine/audio_object.h"
#include "player/ui/effects_window.h"
#include "player/ui/skin_look.h"
#include "player/ui/transport_glyphs.h"

namespace {

const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QColor kPurple(0x80, 0x00, 0x80);
const QColor kFuchsia(0xFF, 0x00, 0xFF);
const QColor kInk(0x0B, 0x2A, 0x55);
const QColor kLink(0x00, 0x00, 0xFF);

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
    CreateTimers();
    CreateMenus();
    CoolTrayIcon1 = new TCoolTrayIcon(this);
    CoolTrayIcon1->SetHint(QStringLiteral("MediaPlayer"));
    CoolTrayIcon1->PopupMenu = PopupMenu2;
    BindTransport();
    BindButtons();
    BindEffects();

    // Styled one by one: a sheet on the window would cut its colour off from the skin.
    const QString sheet = skin_look::StyleSheet();
    for (QWidget* control : findChildren<QWidget*>())
        if (qobject_cast<QSlider*>(control) || qobject_cast<QProgressBar*>(control) ||
            control == Label27 || control == Panel6 || control == ListBox1)
            control->setStyleSheet(sheet);
    Form5 = new TForm5(*this);
}

void TForm1::paintEvent(QPaintEvent*) {
    const QColor color = palette().color(QPalette::Window);
    const qreal scale = devicePixelRatioF();
    if (panelPicture_.size() != size() * scale || panelColor_ != color) {
        panelPicture_ = QPixmap(size() * scale);
        panelPicture_.setDevicePixelRatio(scale);
        panelPicture_.fill(Qt::transparent);
        QPainter picture(&panelPicture_);
        for (const TRoundRectSkinPart* panel :
             {RoundRectSkinPart1, RoundRectSkinPart2, RoundRectSkinPart3, RoundRectSkinPart4})
            skin_look::PaintPanel(picture, panel->geometry().translated(ParentSkin1->pos()),
                                  panel->CircleWidth(), panel->CircleHeight(), color);
        panelColor_ = color;
    }
    // Only the part to repaint is copied: the painter is clipped to it.
    QPainter(this).drawPixmap(0, 0, panelPicture_);
}

void TForm1::CreateSkin() {
    ParentSkin1 = new TParentSkin(this);
    ParentSkin1->setObjectName(QStringLiteral("ParentSkin1"));
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

template <class Control>
Control* TForm1::Place(Control* control, const char* name, QRect geometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QLabel* TForm1::CreateLabel(QWidget* on, const char* name, QPoint place, const QString& caption,
                            int width) {
    auto* label = new QLabel(caption, on);
    return Place(label, name, QRect(place, QSize(width, label->sizeHint().height())));
}

QSlider* TForm1::CreateSlider(QWidget* on, const char* name, QRect geometry, int min, int max,
                              const char* hint) {
    const auto orientation = geometry.width() > geometry.height() ? Qt::Horizontal : Qt::Vertical;
    auto* slider = Place(new QSlider(orientation, on), name, geometry);
    slider->setRange(min, max);
    // Vertical bars have their smallest position at the top.
    slider->setInvertedAppearance(orientation == Qt::Vertical);
    slider->setToolTip(QString::fromUtf8(hint));
    slider->setEnabled(false);
    return slider;
}

QCheckBox* TForm1::CreateCheckBox(QWidget* on, const char* name, QPoint place,
                                  const char* caption) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), on);
    Place(box, name, QRect(place, box->sizeHint()));
    box->setEnabled(false);
    return box;
}

QLabel* TForm1::CreateLink(QWidget* on, const char* name, QPoint place, const char* caption,
                           const char* hint) {
    QLabel* link = CreateLabel(on, name, place, QString::fromUtf8(caption), 100);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    QPalette colours = link->palette();
    colours.setColor(QPalette::WindowText, kLink);
    link->setPalette(colours);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(QString::fromUtf8(hint));
    link->setEnabled(false);
    return link;
}

void TForm1::CreateTransportPanel() {
    QWidget* on = RoundRectSkinPart1;
    Label2 = CreateLabel(on, "Label2", {34, 8}, QString(), 230);
    Label27 = Place(new QLabel(QStringLiteral("0:00:00"), on), "Label27", {30, 24, 118, 22});
    Label27->setAlignment(Qt::AlignCenter);
    QFont timeFont(QStringLiteral("DejaVu Sans Mono"));
    timeFont.setPixelSize(17);
    timeFont.setBold(true);
    Label27->setFont(timeFont);
    Label26 = CreateLabel(on, "Label26", {440, 30}, QStringLiteral("0:00:00"), 80);
    Label26->setAlignment(Qt::AlignRight);

    Panel6 = Place(new QLabel(QStringLiteral("Быстрый доступ"), on), "Panel6", {290, 8, 120, 20});
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel6->setAlignment(Qt::AlignCenter);
    Panel6->installEventFilter(this);

    Button1 =
        Place(new QPushButton(QStringLiteral("Files Version"), on), "Button1", {190, 28, 96, 20});
    Button1->setToolTip(QStringLiteral("Версии файлов программы"));
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);

    Image1 = Place(new QLabel(on), "Image1", {512, 12, 14, 14});
    Image1->setPixmap(QPixmap::fromImage(transport_glyphs::CloseGlyph()));
    Image1->setToolTip(QStringLiteral("Закрыть"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    TrackBarEx1 = Place(new TrackBarEx(on), "TrackBarEx1", {26, 48, 501, 18});
    TrackBarEx1->setRange(0, 100);
    TrackBarEx1->setToolTip(QStringLiteral("Поиск"));
    TrackBar1 = CreateSlider(on, "TrackBar1", {300, 72, 130, 18}, 0, 100, "Громкость");
    TrackBar1->setEnabled(true);
    Label25 = CreateLabel(on, "Label25", {438, 73}, QStringLiteral("Громкость"), 100);
}

void TForm1::CreateInformationPanel() {
    QWidget* on = RoundRectSkinPart3;
    Label33 = CreateLabel(on, "Label33", {24, 14}, QStringLiteral("Информация о файле"), 220);
    QFont heading = Label33->font();
    heading.setBold(true);
    Label33->setFont(heading);
    const std::tuple<QLabel**, const char*, const char*> lines[] = {
        {&Label28, "Label28", "Исполнитель: "}, {&Label29, "Label29", "Название: "},
        {&Label30, "Label30", "Альбом: "},      {&Label31, "Label31", "Год: "},
        {&Label32, "Label32", "Дорожка: "},     {&Label4, "Label4", "Жанр: "},
    };
    int y = 38;
    for (const auto& [label, name, caption] : lines) {
        *label = CreateLabel(on, name, {24, y}, QString::fromUtf8(caption), 225);
        y += 18;
    }
    Label3 = CreateLabel(on, "Label3", {24, y + 6}, QString(), 225);

    Memo1 = Place(new QPlainTextEdit(on), "Memo1", {14, 10, 237, 165});
    Memo1->setReadOnly(true);
    Memo1->setToolTip(QStringLiteral("Слова песни"));
    Memo1->hide();
}

void TForm1::CreateAudioSettingsPanel() {
    Panel1 = Place(new QWidget(RoundRectSkinPart2), "Panel1", {14, 6, 525, 209});
    QWidget* on = Panel1;
    QFont bold = font();
    bold.setBold(true);
    CreateLabel(on, "", {10, 2}, QStringLiteral("Графический эквалайзер"), 200)->setFont(bold);
    CheckBox1 = CreateCheckBox(on, "CheckBox1", {8, 20}, "Эквалайзер");
    CheckBox1->setToolTip(QStringLiteral("Эквалайзер"));
    QFont underlined = CheckBox1->font();
    underlined.setUnderline(true);
    CheckBox1->setFont(underlined);
    QPalette linkColours = CheckBox1->palette();
    linkColours.setColor(QPalette::WindowText, kLink);
    CheckBox1->setPalette(linkColours);
    Label37 = CreateLink(on, "Label37", {120, 22}, "По умолчанию", "Выберите заготовку");
    Label40 =
        CreateLink(on, "Label40", {230, 22}, "Сброс", "Восстановить исходные значения регуляторов");

    QSlider** bands[] = {&TrackBar2, &TrackBar3, &TrackBar4, &TrackBar5, &TrackBar6,
                         &TrackBar7, &TrackBar8, &TrackBar9, &TrackBar10};
    QLabel** captions[] = {&Label12, &Label13, &Label14, &Label15, &Label16,
                           &Label17, &Label18, &Label19, &Label20};
    const char* bandCaptions[] = {"80", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"};
    for (int i = 0; i < 9; ++i) {
        const int x = 10 + 26 * i;
        const std::string sliderName = "TrackBar" + std::to_string(2 + i);
        const std::string labelName = "Label" + std::to_string(12 + i);
        *bands[i] = CreateSlider(on, sliderName.c_str(), {x + 3, 42, 20, 88}, -15, 15, "");
        *captions[i] =
            CreateLabel(on, labelName.c_str(), {x, 132}, QString::fromLatin1(bandCaptions[i]), 26);
        (*captions[i])->setAlignment(Qt::AlignHCenter);
    }
    TrackBar11 = CreateSlider(on, "TrackBar11", {268, 42, 20, 88}, 1, 36, "");
    TrackBar11->setValue(18);
    CreateLabel(on, "", {250, 132}, QStringLiteral("Глубина"), 56)->setAlignment(Qt::AlignHCenter);

    CheckBox2 = CreateCheckBox(on, "CheckBox2", {8, 152}, "Rotate");
    CheckBox3 = CreateCheckBox(on, "CheckBox3", {88, 152}, "Echo");
    CheckBox4 = CreateCheckBox(on, "CheckBox4", {160, 152}, "Flanger");
    trkSpeed = CreateSlider(on, "trkSpeed", {10, 180, 180, 18}, 50, 150, "Скорость");
    trkSpeed->setValue(100);
    trkSpeed->setPageStep(10);
    Label36 = CreateLabel(on, "Label36", {198, 181}, QStringLiteral("Скорость 50"), 120);

    CreateLabel(on, "", {312, 2}, QStringLiteral("Эффекты"), 120)->setFont(bold);
    const std::tuple<QCheckBox**, const char*, const char*> effects[] = {
        {&CheckBox5, "CheckBox5", "Chorus"},     {&CheckBox6, "CheckBox6", "Compression"},
        {&CheckBox7, "CheckBox7", "Distortion"}, {&CheckBox8, "CheckBox8", "Echo"},
        {&CheckBox9, "CheckBox9", "Flanger"},    {&CheckBox10, "CheckBox10", "Gargle"},
        {&CheckBox11, "CheckBox11", "Reverb"},
    };
    int y = 20;
    for (const auto& [box, name, caption] : effects) {
        *box = CreateCheckBox(on, name, {310, y}, caption);
        y += 19;
    }

    const auto levelBar = [on, this](const char* name, int x, const char* hint) {
        auto* bar = Place(new TLevelBar(on), name, {x, 22, 12, 140});
        bar->setOrientation(Qt::Vertical);
        bar->setRange(0, 128);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setToolTip(QString::fromUtf8(hint));
        return bar;
    };
    ProgressBar2 = levelBar("ProgressBar2", 476, "Уровень левого канала");
    ProgressBar1 = levelBar("ProgressBar1", 494, "Уровень правого канала");
    Label23 = CreateLabel(on, "Label23", {330, 181}, QStringLiteral("Загрузка CPU: "), 96);
    Label24 = CreateLabel(on, "Label24", {426, 181}, QString(), 50);
}

void TForm1::CreatePlaylistPanel() {
    QWidget* on = RoundRectSkinPart4;
    Label34 = CreateLabel(on, "Label34", {18, 10}, QStringLiteral("Название"), 220);
    ListBox1 = Place(new PlaylistBox(on), "ListBox1", {14, 30, 229, 210});
    ListBox1->setToolTip(QStringLiteral("Список песен"));
    QPalette colours = ListBox1->palette();
    colours.setColor(QPalette::Base, kSkyBlue);
    colours.setColor(QPalette::Text, Qt::white);
    ListBox1->setPalette(colours);
    ListBox1->setUniformItemSizes(true);
    // Rows are drawn to the box's width: nothing to scroll sideways to.
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont rowFont(QStringLiteral("MS Sans Serif"));
    rowFont.setPointSize(8);
    ListBox1->setFont(rowFont);
    ListBox1Rows = new PlaylistRowDelegate(
        {[] { return AudioObject ? AudioObject->GetCurrentIndex() : -1; },
         [](int row) { return AudioObject ? AudioObject->EntryLength(row) : 0LL; },
         [this] { return CdMode; }},
        ListBox1);
    ListBox1->setItemDelegate(ListBox1Rows);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBox1, &PlaylistBox::customContextMenuRequested, this,
            [this](QPoint pos) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(pos)); });
    connect(ListBox1, &PlaylistBox::doubleClicked, this, &TForm1::ListBox1DblClick);
    SaveDialog1 = CreateFileDialog(QString(), QString(), QFileDialog::AnyFile);
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    Label35 = CreateLabel(on, "Label35", {18, 246}, QStringLiteral("Общее время"), 232);
    FitTotalsLine();
}

TBitmapSkinPart* TForm1::CreateButton(QRect geometry, const char* hint, QColor transparentColor,
                                      const ImageList& glyphs, int glyph) {
    auto* part = new TBitmapSkinPart(ParentSkin2);
    part->setGeometry(geometry);
    part->setToolTip(QString::fromUtf8(hint));
    part->SetTransparentColor(transparentColor);
    ShowGlyph(part, glyphs, glyph);
    part->setEnabled(false);
    return part;
}

void TForm1::CreateButtonBar() {
    ParentSkin2 = Place(new TParentSkin(this), "ParentSkin2", {15, 148, 258, 29});
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
}

void TForm1::ShowGlyph(TBitmapSkinPart* button, const ImageList& glyphs, int index) {
    button->SetGlyph(glyphs.GetBitmap(index, button->TransparentColor()));
}

void TForm1::ShowWindow(QWidget* window) {
    if (!window) return;
    window->showNormal();
    window->raise();
    window->activateWindow();
}

void TForm1::ParentSkin1MouseDown(Qt::MouseButton button, QPoint pos) {
    // The right button stays free for the window's context menu.
    if (button == Qt::LeftButton) ParentSkin1->DragForm(ParentSkin1->mapToGlobal(pos));
}

void TForm1::SetWindowColor(QColor color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Only a press or a release is a mouse event: any other event must not be cast.
    const auto* mouse =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
            ? static_cast<QMouseEvent*>(event)
            : nullptr;
    const bool left = mouse && mouse->button() == Qt::LeftButton;
    if (watched == Image1 && left && event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    if ((watched == Label37 || watched == Label40) && left &&
        event->type() == QEvent::MouseButtonRelease) {
        if (watched == Label37)
            Label37Click();
        else
            Label40Click();
        return true;
    }
    if (watched == Panel6 && left) {
        const bool pressed = event->type() == QEvent::MouseButtonPress;
        Panel6->setFrameShadow(pressed ? QFrame::Sunken : QFrame::Raised);
        if (!pressed && Panel6->rect().contains(mouse->position().toPoint()))
            PopupMenu4->popup(geometry().topLeft() + QPoint(290, 80));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
