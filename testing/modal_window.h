#pragma once
// Answering the modal windows (message boxes, file dialogs) that a widget test's action
// opens: the answer runs from the event loop once the window shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>

namespace testing_support {

// Runs `answer` on the next modal window of kind W once it shows. A modal window that
// stays unanswered for five seconds is closed, so a wrong expectation fails the test
// instead of hanging it.
template <class W>
void whenShown(std::function<void(W*)> answer) {
    auto* poll = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, ticks, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* window = qobject_cast<W*>(modal)) {
            poll->deleteLater();
            poll->stop();
            answer(window);
        } else if (++*ticks > 500) {
            poll->deleteLater();
            poll->stop();
            if (modal) modal->close();
            ADD_FAILURE() << "no dialog of the expected kind";
        }
    });
    poll->start(10);
}

// Catches the text of the next message box and closes it.
inline std::shared_ptr<QString> catchMessage() {
    auto text = std::make_shared<QString>();
    whenShown<QMessageBox>([text](QMessageBox* box) {
        *text = box->text();
        box->accept();
    });
    return text;
}

}  // namespace testing_support
