#pragma once
// What the widget tests share: a robot that answers the modal windows the code under test opens
// (message boxes, the about box), and small configuration folders.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "support/test_support.hpp"

namespace zelvo::test {

// Polls for modal windows while the code under test runs its event loops: each message box is
// recorded and answered with `button` (its default button when NoButton); any other modal
// window is handed to `onDialog` (which should close it), else rejected.
class ModalRobot {
public:
    struct Box {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
    };

    explicit ModalRobot(QMessageBox::StandardButton button = QMessageBox::NoButton) : button_(button) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

    std::vector<Box> boxes;
    std::function<void(QWidget*)> onDialog;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QAbstractButton* def = box->defaultButton();
            boxes.push_back({box->text(), box->icon(),
                             def != nullptr ? box->standardButton(def) : QMessageBox::NoButton});
            QAbstractButton* answer = button_ != QMessageBox::NoButton ? box->button(button_) : def;
            if (answer == nullptr) answer = box->buttons().value(0);
            answer->click();
            return;
        }
        if (onDialog) onDialog(modal);
        else if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    }

    QMessageBox::StandardButton button_;
    QTimer timer_;
};

// A configuration folder whose zelvo.ini holds the given text.
inline std::string writeIni(const TempDir& dir, const std::string& text) {
    writeFile(dir.file("conf/zelvo.ini"), text);
    return dir.file("conf/zelvo.ini");
}

}  // namespace zelvo::test
