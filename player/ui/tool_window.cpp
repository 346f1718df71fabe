#include "player/ui/tool_window.h"

namespace tool_window {

void SetUp(QWidget* window, const char* name, const QString& caption, QSize size, int pointSize) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(caption);
    window->setFixedSize(size);
    if (pointSize > 0) {
        QFont font = window->font();
        font.setPointSize(pointSize);
        window->setFont(font);
    }
}

}  // namespace tool_window
