#include "player/update/update_window.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHideEvent>
#include <QMessageBox>
#include <QShowEvent>
#include <system_error>

#include "platform/file_io.h"
#include "player/app/program_folder.h"
#include "player/app/settings_store.h"
#include "player/update/network_state.h"
#include "player/update/update_artwork.h"
#include "player/update/update_list.h"
#include "player/update/update_server.h"

UpdateOptions UpdateOptions::stored() {
    const SettingsStore store;
    std::string server = store.readString(settings::kMain, settings::kUpdateServer, {});
    if (server.empty()) server = update_server::kDefault;
    UpdateOptions options;
    options.server = QString::fromStdString(server);
    options.folder = programDataFolder();
    options.transfer.agent = "Tavrel FIG";
    return options;
}

const QString TForm2::kReady = QStringLiteral("Нажмите Далее, чтобы начать проверку");

namespace {

enum Page { kFolderPage, kCheckPage, kDonePage, kOfflinePage };

const QString kNext = QStringLiteral("Далее >>");
const QString kFinish = QStringLiteral("Finish");

QLabel* label(QWidget* page, const QString& text, QRect geometry, bool bold = false) {
    auto* l = new QLabel(text, page);
    l->setGeometry(geometry);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

void message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

TForm2::TForm2(UpdateOptions options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      options_(std::move(options)) {
    if (!options_.connected) options_.connected = network_state::isConnected;
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Провека обновлений"));
    setFixedSize(458, 247);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 8, 110, 180);
    Image1->setPixmap(update_artwork::wizardPicture(Image1->size()));
    Image1->setFrameShape(QFrame::Panel);
    Image1->setFrameShadow(QFrame::Sunken);

    PageControl1 = new QStackedWidget(this);
    PageControl1->setGeometry(126, 4, 324, 186);
    for (int i = 0; i < 4; ++i) PageControl1->addWidget(new QWidget);

    QWidget* page = PageControl1->widget(kFolderPage);
    label(page, QStringLiteral("Обновление программы"), {8, 4, 308, 20}, true);
    label(page, QStringLiteral("Выбирете папку для сохранения файлов"), {8, 32, 308, 16});
    Edit1 = new QLineEdit(page);
    Edit1->setGeometry(8, 52, 220, 22);
    Button1 = new QPushButton(QStringLiteral("Выбрать"), page);
    Button1->setGeometry(236, 51, 80, 24);
    label(page, QStringLiteral("Конфиденциальность"), {8, 88, 308, 16}, true);
    label(page,
          QStringLiteral("Обновление представляет собой закачку файла из Интернета. Никакие "
                         "пользовательские данные при этом не передаются."),
          {8, 108, 308, 60});

    page = PageControl1->widget(kCheckPage);
    Label5 = label(page, kReady, {8, 4, 308, 16});
    Label6 = label(page, QString(), {8, 24, 308, 16});
    Gauge1 = new QProgressBar(page);
    Gauge1->setGeometry(8, 44, 308, 16);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setTextVisible(false);
    CheckListBox1 = new QListWidget(page);
    CheckListBox1->setGeometry(8, 66, 308, 116);
    Animate1 = new BusyAnimation(page);
    Animate1->setGeometry(CheckListBox1->geometry());
    Animate1->hide();

    page = PageControl1->widget(kDonePage);
    label(page, QStringLiteral("Файлы успешно загружены"), {8, 4, 308, 20}, true);
    label(page, QStringLiteral("Для выполнения обновления:"), {8, 36, 308, 16});
    label(page, QStringLiteral("1) Закройте программу"), {20, 58, 296, 16});
    label(page, QStringLiteral("2) Замените старые файлы на новые"), {20, 78, 296, 16});

    page = PageControl1->widget(kOfflinePage);
    label(page, QStringLiteral("Ошибка"), {8, 4, 308, 20}, true);
    label(page,
          QStringLiteral("Не удалось выполнить проверку. Для проведения обновления компьютер "
                         "должен быть подключен к Интернет. В настоящее время подключения нет."),
          {8, 32, 308, 80});

    BackBtn = new QPushButton(QStringLiteral("<< Назад"), this);
    BackBtn->setGeometry(200, 196, 80, 25);
    NextBtn = new QPushButton(kNext, this);
    NextBtn->setGeometry(285, 196, 80, 25);
    NextBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Свалить"), this);
    CancelBtn->setGeometry(370, 196, 80, 25);
    StatusBar1 = new QLabel(this);
    StatusBar1->setGeometry(0, 228, 458, 19);
    StatusBar1->setFrameShape(QFrame::Panel);
    StatusBar1->setFrameShadow(QFrame::Sunken);

    actCheck = new QAction(QStringLiteral("Проверить"), this);
    actDownload = new QAction(QStringLiteral("Загрузить"), this);
    actDownload->setEnabled(false);

    connect(NextBtn, &QPushButton::clicked, this, &TForm2::NextBtnClick);
    connect(BackBtn, &QPushButton::clicked, this, &TForm2::BackBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::close);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(actCheck, &QAction::triggered, this, &TForm2::CheckExecute);
    connect(actDownload, &QAction::triggered, this, &TForm2::DownloadExecute);
}

TForm2::~TForm2() {
    if (!transfer_) return;
    transfer_->cancel();
    transfer_->wait();
    delete transfer_;
}

void TForm2::SetStatus(const QString& text) {
    StatusBar1->setText(text);
}

// A window restored from being minimised is shown (and hidden) by the system; only the
// program's own show and close start and end a run.
void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    NextBtn->setText(kNext);
    // The next button too: a run that ended on the empty list left it disabled.
    NextBtn->setEnabled(true);
    BackBtn->setEnabled(true);
    Edit1->setText(QFile::decodeName((options_.folder / "Update").c_str()));
    PageControl1->setCurrentIndex(kFolderPage);
    WizardStep = 0;
}

void TForm2::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous()) return;
    CheckListBox1->clear();
    Gauge1->setValue(0);
    Label5->setText(kReady);
    actCheck->setEnabled(true);
    CancelBtn->setEnabled(true);
    actDownload->setEnabled(false);
    showCheckList();
}

void TForm2::reject() {
    if (CancelBtn->isEnabled()) QDialog::reject();
}

void TForm2::NextBtnClick() {
    if (PageControl1->currentIndex() >= kDonePage) {
        close();
        return;
    }
    switch (WizardStep) {
        case 0: {
            const QString folder = Edit1->text();
            if (folder.isEmpty()) {
                message(this, QStringLiteral("Выбирете папку для сохранения"));
                return;
            }
            std::error_code error;
            if (!std::filesystem::is_directory(folder.toStdString(), error)) {
                const auto answer =
                    QMessageBox::question(this, QApplication::applicationName(),
                                          QStringLiteral("Папка не существует! Хотите создать?"),
                                          QMessageBox::Yes | QMessageBox::No);
                if (answer != QMessageBox::Yes) return;
                std::filesystem::create_directories(folder.toStdString(), error);
            }
            PageControl1->setCurrentIndex(kCheckPage);
            WizardStep = 1;
            break;
        }
        case 1:
            BackBtn->setEnabled(false);
            NextBtn->setEnabled(false);
            CancelBtn->setEnabled(false);
            actCheck->trigger();
            WizardStep = 2;
            break;
        case 2:
            actDownload->trigger();
            NextBtn->setEnabled(false);
            BackBtn->setEnabled(false);
            WizardStep = 3;
            break;
        case 3:
            NextBtn->setText(kFinish);
            PageControl1->setCurrentIndex(kDonePage);
            WizardStep = 4;
            break;
    }
}

void TForm2::BackBtnClick() {
    const int page = PageControl1->currentIndex();
    if (page == kFolderPage) return;
    PageControl1->setCurrentIndex(page - 1);
    --WizardStep;
}

void TForm2::Button1Click() {
    QFileDialog dialog(this, QStringLiteral("Download Location"), Edit1->text());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Edit1->setText(dialog.selectedFiles().first());
}

void TForm2::CheckExecute() {
    if (!options_.connected()) {
        QApplication::beep();
        PageControl1->setCurrentIndex(kOfflinePage);
        NextBtn->setText(kFinish);
        BackBtn->setEnabled(false);
        // "Finish" and "Свалить" close the window; the next step left both disabled.
        NextBtn->setEnabled(true);
        CancelBtn->setEnabled(true);
        return;
    }
    ListMode = true;
    Label5->setText(QStringLiteral("Проверка обновлений....Подождите"));
    std::error_code error;
    std::filesystem::create_directories(updatesFolder(), error);
    startTransfer(QString::fromStdString(update_server::listUrl(options_.server.toStdString())),
                  updatesFolder() / "update.upd");
    actCheck->setEnabled(false);
    actDownload->setEnabled(true);
}

void TForm2::DownloadExecute() {
    if (CheckListBox1->count() == 0) {
        message(this,
                QStringLiteral("Вы имеете самую последнюю версию программы и её компонентов!"));
        return;
    }
    ListMode = false;
    SetStatus(QString());
    Gauge1->setValue(0);
    Label5->setText(QStringLiteral("Загрузка обновлений..."));
    actCheck->setEnabled(false);
    CancelBtn->setEnabled(false);
    actDownload->setEnabled(false);
    for (int i = CheckListBox1->count() - 1; i >= 0; --i) {
        if (CheckListBox1->item(i)->checkState() != Qt::Checked) delete CheckListBox1->item(i);
    }
    Animate1->show();
    CheckListBox1->hide();
    DownloadNextUpdate();
}

void TForm2::DownloadNextUpdate() {
    Animate1->setActive(true);
    while (CheckListBox1->count() > 0) {
        CheckListBox1->setCurrentRow(0);
        const QString name = CheckListBox1->item(0)->text();
        delete CheckListBox1->takeItem(0);
        // The list comes from the network: a name that could leave "updates" is refused.
        if (!update_list::isPlainFileName(name.toStdString())) {
            SetStatus(QStringLiteral("Недопустимое имя файла: ") + name);
            continue;
        }
        startTransfer(QString::fromStdString(update_server::fileUrl(options_.server.toStdString(),
                                                                    name.toStdString())),
                      updatesFolder() / name.toStdString());
        Label6->setText(QStringLiteral("Загрузка файла: \\updates\\") + name);
        return;
    }
    Label5->setText(QStringLiteral("Обновления загружены нажмите Далее"));
    CancelBtn->setEnabled(true);
    NextBtn->setEnabled(true);
    actDownload->setEnabled(false);
    showCheckList();
}

void TForm2::startTransfer(const QString& url, const std::filesystem::path& target) {
    auto* thread = new TFindWebThread(url, QFile::decodeName(target.c_str()), options_.transfer);
    transfer_ = thread;
    connect(thread, &TFindWebThread::statusShown, this, &TForm2::transferStatus,
            Qt::QueuedConnection);
    connect(thread, &TFindWebThread::completed, this, &TForm2::transferCompleted,
            Qt::QueuedConnection);
    connect(thread, &TFindWebThread::failed, this, &TForm2::transferFailed, Qt::QueuedConnection);
    thread->start();
}

void TForm2::transferStatus(const QString& text, qint64 received, qint64 size) {
    SetStatus(text);
    if (size > 0) Gauge1->setMaximum(static_cast<int>(size));
    Gauge1->setValue(static_cast<int>(received));
}

void TForm2::transferCompleted() {
    if (!ListMode) {
        DownloadNextUpdate();
        return;
    }
    Label5->setText(QStringLiteral("Доступны следующие обновления:"));
    NextBtn->setEnabled(true);
    CancelBtn->setEnabled(true);
    std::error_code error;
    const auto bytes = platform::readFileBytes(updatesFolder() / "update.upd", error);
    CheckListBox1->clear();
    for (const auto& entry : update_list::parse(bytes.value_or(std::string()))) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry), CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TForm2::transferFailed() {
    // The wizard can always be closed, also when a transfer has failed.
    CancelBtn->setEnabled(true);
    if (!ListMode) showCheckList();
}

void TForm2::showCheckList() {
    Animate1->setActive(false);
    Animate1->hide();
    CheckListBox1->show();
}

std::filesystem::path TForm2::updatesFolder() const {
    return options_.folder / "updates";
}
