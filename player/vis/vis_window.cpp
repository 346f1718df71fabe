#include "player/vis/vis_window.h"

#include <array>
#include <cstdint>

#include "player/engine/audio_object.h"
#include "player/vis/digit_strip.h"
#include "player/vis/picture_label.h"
#include "player/vis/time_readout.h"
#include "soundlib/soundlib.h"

namespace {

const QSize kDrawingSize(537, 290);
const QColor kGreen(0x00, 0xFF, 0x00);
const QColor kOrange(0xFF, 0x88, 0x44);
const QColor kCyan(0x00, 0xFF, 0xFF);
const QColor kLightGreen(0x88, 0xFF, 0x44);

// The display menu: submenu, item, and what the item sets.
struct DisplayItem {
    const char* submenu;
    const char* caption;
    void (*apply)(TForm4& form);
};

const DisplayItem kDisplayItems[] = {
    {"Диаграмма", "Частотная",
     [](TForm4& f) {
         f.Spectrum.Style = 1;
         f.Spectrum.BarColor = kGreen;
         f.VisMode = 2;
     }},
    {"Диаграмма", "Сплошная",
     [](TForm4& f) {
         f.Spectrum.Style = 0;
         f.Spectrum.BarColor = kGreen;
         f.VisMode = 2;
     }},
    {"Диаграмма", "Огненная Буря",
     [](TForm4& f) {
         f.Spectrum.Style = 0;
         f.Spectrum.BarColor = kOrange;
         f.VisMode = 2;
     }},
    {"Диаграмма", "Небесная",
     [](TForm4& f) {
         f.Spectrum.Style = 0;
         f.Spectrum.BarColor = kCyan;
         f.VisMode = 2;
     }},
    {"Круговая", "Бабочка",
     [](TForm4& f) {
         f.CircleScope.Style = 1;
         f.CircleScope.TraceColor = kLightGreen;
         f.VisMode = 0;
     }},
    {"Круговая", "Силует",
     [](TForm4& f) {
         f.CircleScope.Style = 0;
         f.CircleScope.TraceColor = kLightGreen;
         f.VisMode = 0;
     }},
    {"Временная", "Двойная",
     [](TForm4& f) {
         f.OcilloScope.Style = 3;
         f.VisMode = 1;
     }},
    {"Временная", "Сплошная",
     [](TForm4& f) {
         f.OcilloScope.Style = 1;
         f.VisMode = 1;
     }},
    {"Временная", "Линейная",
     [](TForm4& f) {
         f.OcilloScope.Style = 0;
         f.VisMode = 1;
     }},
};

QLabel* whiteLabel(QWidget* on, const char* name, QPoint place, int pixelSize, bool bold) {
    auto* label = new PictureLabel(on);
    label->setObjectName(QString::fromLatin1(name));
    label->move(place);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    // The drawing shows through, and its menu and drag work over the texts too.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// A label sized to its text, as an auto-sized label is; unchanged texts cost nothing.
void setLabelText(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    label->adjustSize();
}

}  // namespace

TForm4::TForm4(QWidget* parent)
    : QWidget(parent, Qt::Tool),
      Spectrum(kDrawingSize.width(), kDrawingSize.height()),
      OcilloScope(kDrawingSize.width(), kDrawingSize.height()),
      CircleScope(kDrawingSize.width(), kDrawingSize.height()),
      Nums(digit_strip::Make()) {
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(592, 300);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setAutoFillBackground(true);

    ParentSkin1 = new TParentSkin(this);
    ParentSkin1->setObjectName(QStringLiteral("ParentSkin1"));
    ParentSkin1->resize(575, 295);
    RoundRectSkinPart1 = new TRoundRectSkinPart(ParentSkin1);
    RoundRectSkinPart1->setGeometry(-1, 0, 553, 290);
    PaintBox1 = new PaintBox(kDrawingSize, RoundRectSkinPart1);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    Label2 = whiteLabel(RoundRectSkinPart1, "Label2", {50, 37}, 16, true);
    Label1 = whiteLabel(RoundRectSkinPart1, "Label1", {48, 57}, 13, false);
    connect(ParentSkin1, &TMainSkin::MouseDown, this, &TForm4::ParentSkin1MouseDown);
    connect(PaintBox1, &PaintBox::DblClick, this, &QWidget::close);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TForm4::Timer1Timer);
    CreateMenu();
}

void TForm4::CreateMenu() {
    PopupMenu1 = new QMenu(this);
    QMenu* submenu = nullptr;
    for (const DisplayItem& item : kDisplayItems) {
        const QString title = QString::fromUtf8(item.submenu);
        if (submenu == nullptr || submenu->title() != title) submenu = PopupMenu1->addMenu(title);
        const auto apply = item.apply;
        connect(submenu->addAction(QString::fromUtf8(item.caption)), &QAction::triggered, this,
                [this, apply] { apply(*this); });
    }
    PaintBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PaintBox1, &QWidget::customContextMenuRequested, this,
            [this](QPoint pos) { PopupMenu1->popup(PaintBox1->mapToGlobal(pos)); });
}

void TForm4::Timer1Timer() {
    if (AudioObject == nullptr) return;
    setLabelText(Label2, AudioObject->Title);
    setLabelText(Label1, AudioObject->Artist);
    const std::uint32_t channel = AudioObject->Channel;
    if (BASS_ChannelIsActive(channel) != SOUND_ACTIVE_PLAYING) return;
    // A failed fetch leaves the zeros: silence is drawn, never stale memory.
    QImage& canvas = PaintBox1->Canvas;
    if (VisMode == 2) {
        std::array<float, TSpectrum::kBins> fft{};
        BASS_ChannelGetData(channel, fft.data(), SOUND_DATA_FFT1024);
        Spectrum.Draw(canvas, fft.data(), 20, -10);
    } else if (VisMode == 0 || VisMode == 1) {
        std::array<std::int16_t, 2 * TOcilloScope::kFrames> samples{};
        BASS_ChannelGetData(channel, samples.data(), sizeof samples);
        if (VisMode == 0)
            CircleScope.Draw(canvas, samples.data(), 250, 145);
        else
            OcilloScope.Draw(canvas, samples.data(), 20, 145);
    }
    time_readout::Draw(canvas, Nums, AudioObject->GetPosition(), VisMode == 2 ? 50 : 250);
    PaintBox1->update();
}

void TForm4::showEvent(QShowEvent* event) {
    Timer1->start();
    QWidget::showEvent(event);
}

void TForm4::hideEvent(QHideEvent* event) {
    Timer1->stop();
    QWidget::hideEvent(event);
}

void TForm4::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit Closed();
}

void TForm4::ParentSkin1MouseDown(Qt::MouseButton button, QPoint pos) {
    // The right button stays free for the display menu.
    if (button == Qt::LeftButton) ParentSkin1->DragForm(ParentSkin1->mapToGlobal(pos));
}
