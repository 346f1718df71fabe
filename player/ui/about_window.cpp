#include "player/ui/about_window.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QVBoxLayout>

#include "player/ui/version_report.h"

namespace {

// The maker's site. The project keeps no site of its own yet, so this is a reserved
// name that resolves nowhere rather than somebody else's address.
constexpr const char* kMakerSite = "https://tavrel.example/business.html";

QPlainTextEdit* readOnlyBox(QWidget* page) {
    auto* box = new QPlainTextEdit(page);
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box);
    return box;
}

}  // namespace

TForm9::TForm9(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(400, 270);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 8, 384, 218);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Программа"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Версия"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Дополнительно"));

    Image1 = new QLabel(TabSheet1);
    Image1->setGeometry(16, 16, 32, 32);
    const QIcon icon = QApplication::windowIcon().isNull()
                           ? style()->standardIcon(QStyle::SP_MediaPlay)
                           : QApplication::windowIcon();
    Image1->setPixmap(icon.pixmap(32, 32));
    Label1 = new QLabel(QStringLiteral("Zorvan v2.1 (январь 2004)"), TabSheet1);
    Label1->setGeometry(64, 20, 300, 24);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 2);
    Label1->setFont(title);
    Label2 = new QLabel(QStringLiteral("Using FFmpeg, libopenmpt, SDL, libcdio and libcurl from:"),
                        TabSheet1);
    Label2->setGeometry(16, 62, 352, 20);
    Label3 = new LinkLabel(
        QStringLiteral(
            "<a href=\"https://ffmpeg.org/\">ffmpeg.org</a>, "
            "<a href=\"https://lib.openmpt.org/\">lib.openmpt.org</a>, "
            "<a href=\"https://www.libsdl.org/\">libsdl.org</a>,<br>"
            "<a href=\"https://www.gnu.org/software/libcdio/\">gnu.org/software/libcdio</a>, "
            "<a href=\"https://curl.se/\">curl.se</a>"),
        TabSheet1);
    Label3->setGeometry(16, 84, 352, 36);
    Label4 = new LinkLabel(QStringLiteral("<a href=\"%1\">Tavrel</a>").arg(kMakerSite), TabSheet1);
    Label4->setGeometry(16, 128, 200, 20);
    Button1 = new QPushButton(QStringLiteral("Обновить"), TabSheet1);
    Button1->setGeometry(272, 146, 96, 26);
    Button1->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, [this] {
        if (!updateWindow_) return;
        updateWindow_->show();
        close();
    });

    Memo1 = readOnlyBox(TabSheet2);
    ReportProgramFiles(Memo1);
    Memo1->moveCursor(QTextCursor::Start);
    Memo2 = readOnlyBox(TabSheet3);
    Memo2->setPlainText(QStringLiteral("Приятного прослушивания"));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(312, 234, 80, 28);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::close);
}

void TForm9::SetUpdateWindow(QWidget* window) {
    updateWindow_ = window;
    Button1->setEnabled(window != nullptr);
}

void TForm9::showEvent(QShowEvent* event) {
    PageControl1->setCurrentIndex(0);
    QDialog::showEvent(event);
}
