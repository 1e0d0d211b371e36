#include "ui/window_user_interface.hpp"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "resources/string_table.hpp"
#include "resources/window_texts.hpp"
#include "ui/dialog_template.hpp"
#include "ui/progress_dialog.hpp"

namespace zelvo::ui {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None: return QMessageBox::NoIcon;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString productName() {
    return qText(loadString(texts::kProductNameId));
}

}  // namespace

WindowUserInterface::WindowUserInterface() = default;
WindowUserInterface::~WindowUserInterface() = default;

void WindowUserInterface::message(const std::string& text, MessageIcon icon) {
    QMessageBox box(boxIcon(icon), productName(), qText(text), QMessageBox::Ok, mainWindow_);
    box.exec();
}

bool WindowUserInterface::question(const std::string& text, MessageIcon icon, bool yesIsDefault) {
    QMessageBox box(boxIcon(icon), productName(), qText(text), QMessageBox::Yes | QMessageBox::No, mainWindow_);
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    // Escape answers No, as closing the box does.
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void WindowUserInterface::write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void WindowUserInterface::progressBegin(const std::string& status, int steps) {
    progressEnd();
    progress_ = std::make_unique<CProgressDlg>();
    // A window that cannot be shown leaves the work to go on without it.
    if (!progress_->Open(mainWindow_)) {
        progress_.reset();
        return;
    }
    if (!progressCaption_.empty()) progress_->setWindowTitle(qText(progressCaption_));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    progress_->SetBarRange(1, steps);
    progress_->SetBarPosition(1);
    progress_->SetBarStep(1);
    progress_->SetStatusText(qText(status));
}

void WindowUserInterface::progressStep() {
    if (progress_) progress_->StepBar();
}

void WindowUserInterface::progressEnd() {
    if (!progress_) return;
    QApplication::restoreOverrideCursor();
    progress_.reset();
}

bool WindowUserInterface::cancelRequested() { return progress_ && progress_->PollCancel(); }

}  // namespace zelvo::ui
