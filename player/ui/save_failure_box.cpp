#include "player/ui/save_failure_box.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>

namespace {

QMessageBox* makeBox(QWidget* owner, const QStringList& files) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, owner ? owner->window()->windowTitle() : QString(),
                        SaveFailureText(files), QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

}  // namespace

QString SaveFailureText(const QStringList& files) {
    return QStringLiteral("Не удалось сохранить:\n") + files.join(QLatin1Char('\n')) +
           QStringLiteral(
               "\n\nВозможно, диск заполнен или папка защищена от записи. Изменения этого "
               "сеанса в этих файлах потеряны.");
}

void ShowSaveFailure(QWidget* owner, const QStringList& files) {
    QMessageBox* box = makeBox(owner, files);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void ShowSaveFailureAtClose(QWidget* owner, const QStringList& files, int seconds) {
    QMessageBox* box = makeBox(owner, files);
    QTimer::singleShot(seconds * 1000, box, &QMessageBox::accept);
    box->exec();
}
