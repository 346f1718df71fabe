#include "player/ui/startup_error.h"

#include <QMessageBox>
#include <cstdio>

QString startupErrorText(const QString& message, int code) {
    return message + QStringLiteral("\n(error code: ") + QString::number(code) + ")";
}

void showStartupError(QWidget* owner, const QString& message, int code) {
    const QString text = startupErrorText(message, code);
    std::fprintf(stderr, "Error: %s\n", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, owner);
    box.exec();
}
