#include "player/ui/settings_dialog.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>

#include "platform/process_priority.h"
#include "player/engine/audio_object.h"
#include "player/ui/main_window.h"
#include "player/ui/tool_window.h"
#include "soundlib/soundlib.h"

TForm8::TForm8(TForm1& form1) : QWidget(nullptr, tool_window::kFlags), form1_(form1) {
    tool_window::SetUp(this, "Form8", QStringLiteral("Настройки"), {367, 241}, 8);

    const auto label = [this](const char* name, const char* caption, QRect geometry) {
        auto* l = new QLabel(QString::fromUtf8(caption), this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geometry);
        return l;
    };
    const auto box = [this](const char* name, const char* caption, int top) {
        auto* b = new QCheckBox(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(16, top, 340, 20);
        return b;
    };
    Label1 = label("Label1", "Приоритет", {16, 8, 120, 16});
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setGeometry(16, 26, 335, 26);
    TrackBar1->setRange(0, 3);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setValue(1);
    Label2 = label("Label2", "Низкий", {16, 54, 100, 16});
    Label3 = label("Label3", "Высокий", {251, 54, 100, 16});
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label4 = label("Label4", "Параметры трей иконки", {16, 80, 200, 16});
    QPalette blue = Label4->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label4->setPalette(blue);
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 98, 351, 76);
    CheckBox1 = box("CheckBox1", "Показать иконку", 104);
    CheckBox4 = box("CheckBox4", "Меню при нажатии как правой так и левой кнопки", 126);
    CheckBox2 = box("CheckBox2", "Отображать информацию о композиции в трее", 148);
    CheckBox3 = box("CheckBox3", "Показывать номера песен в плей-листе", 182);
    Button1 = new QPushButton(QStringLiteral("Button1"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(276, 208, 75, 25);

    CheckBox1->setChecked(form1_.CoolTrayIcon1->IconVisible());
    CheckBox2->setChecked(AudioObject->ShowInfoInTray);
    CheckBox4->setChecked(form1_.CoolTrayIcon1->LeftPopup);

    connect(TrackBar1, &QSlider::valueChanged, this, &TForm8::TrackBar1Change);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm8::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm8::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &TForm8::CheckBox3Click);
    connect(CheckBox4, &QCheckBox::toggled, this, &TForm8::CheckBox4Click);
    connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
    connect(&form1_, &TForm1::SettingsCommand, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
}

void TForm8::TrackBar1Change(int position) {
    platform::setProcessPriority(position);
}

void TForm8::CheckBox1Click() {
    form1_.CoolTrayIcon1->SetIconVisible(CheckBox1->isChecked());
}

void TForm8::CheckBox2Click() {
    AudioObject->ShowInfoInTray = CheckBox2->isChecked();
}

void TForm8::CheckBox3Click() {
    form1_.ListBox1Rows->SetNumbered(CheckBox3->isChecked());
    form1_.ListBox1->viewport()->update();
}

void TForm8::CheckBox4Click() {
    form1_.CoolTrayIcon1->LeftPopup = CheckBox4->isChecked();
}

void TForm8::Button1Click() {
    if (BASS_SetConfig(SOUND_CONFIG_RESAMPLE, 3) == -1) ShowMessage(QStringLiteral("Error"));
    if (BASS_SetConfig(SOUND_CONFIG_MUSIC_STOP, 1) == -1) ShowMessage(QStringLiteral("Error"));
    ShowMessage(QString::number(BASS_GetConfig(SOUND_CONFIG_RESAMPLE)));
}

void TForm8::StoreTrayOptions(SavedSettings& settings) const {
    settings.main.showTrayIcon = CheckBox1->isChecked();
    settings.main.showInfoInTray = CheckBox2->isChecked();
    settings.main.leftPopUp = CheckBox4->isChecked();
}

void TForm8::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    this);
    box.exec();
}
