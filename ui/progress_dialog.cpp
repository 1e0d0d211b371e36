#include "ui/progress_dialog.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "resources/string_table.hpp"
#include "resources/window_texts.hpp"
#include "ui/dialog_template.hpp"

namespace zelvo::ui {
namespace {

// How far from where it would open a progress window is moved: up when it is the only one,
// down when another is open, so that two never cover each other.
constexpr int kPlacementOffset = 100;

}  // namespace

int CProgressDlg::live_ = 0;

CProgressDlg::CProgressDlg(int captionId)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    ++live_;
    setFont(templateFont());
    const DialogTemplate t(font());
    // The template's window, with a row added under the bar for a cancel that can be clicked.
    setFixedSize(t.size(200, 93));
    status_ = t.place(new QLabel(qText(texts::kProgressStatus), this), 1005, 14, 4, 172, 26);
    status_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    status_->setWordWrap(true);
    percent_ = t.place(new QLabel(qText(texts::kProgressPercent), this), 1004, 86, 35, 28, 9);
    percent_->setAlignment(Qt::AlignCenter);
    bar_ = t.place(new QProgressBar(this), 1003, 23, 48, 154, 13);
    bar_->setTextVisible(false);
    auto* cancel = t.place(new QPushButton(qText(texts::kProgressCancel), this), 2, 75, 70, 50, 14);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &CProgressDlg::reject);
    setWindowTitle(qText(loadString(captionId != 0 ? captionId : texts::kProductNameId)));
    bar_->setRange(model_.lower(), model_.upper());
    bar_->setValue(model_.lower());
}

CProgressDlg::~CProgressDlg() {
    releaseOwner();
    --live_;
}

bool CProgressDlg::Open(QWidget* parent) {
    QWidget* owner = parent != nullptr ? parent->window() : nullptr;
    if (owner != nullptr && owner->isEnabled()) {
        owner->setEnabled(false);
        owner_ = owner;
        ownerDisabled_ = true;
    }
    // Where it would open: centred over its owner, or on the screen without one.
    const QRect area = owner != nullptr && owner->isVisible() ? owner->frameGeometry()
                                                              : QGuiApplication::primaryScreen()->availableGeometry();
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(area.center());
    frame.translate(0, live_ == 1 ? -kPlacementOffset : kPlacementOffset);
    move(frame.topLeft());
    show();
    if (windowHandle() == nullptr) {
        releaseOwner();
        return false;
    }
    if (owner != nullptr && owner->windowHandle() != nullptr) windowHandle()->setTransientParent(owner->windowHandle());
    QCoreApplication::processEvents();
    return true;
}

void CProgressDlg::SetStatusText(const QString& text) {
    // A long path may break after any of its folders rather than run out of the window.
    QString shown = text;
    status_->setText(shown.replace(QLatin1Char('/'), QStringLiteral("/\u200B")));
}

void CProgressDlg::SetBarRange(int lower, int upper) {
    model_.setRange(lower, upper);
    bar_->setRange(lower, upper);
}

void CProgressDlg::SetBarStep(int step) { model_.setStep(step); }

int CProgressDlg::SetBarPosition(int position) {
    QCoreApplication::processEvents();
    const int previous = model_.setPosition(position);
    showPosition();
    return previous;
}

int CProgressDlg::StepBar() {
    QCoreApplication::processEvents();
    const int previous = model_.stepBar();
    showPosition();
    return previous;
}

bool CProgressDlg::PollCancel() {
    QCoreApplication::processEvents();
    return model_.pollCancel();
}

void CProgressDlg::reject() { model_.requestCancel(); }

void CProgressDlg::closeEvent(QCloseEvent* event) {
    // The close box asks to cancel; the window stays until its user's work ends.
    event->ignore();
    reject();
}

void CProgressDlg::showPosition() {
    bar_->setValue(std::clamp(model_.position(), model_.lower(), model_.upper()));
    const QString text = QString::fromStdString(model_.percentText());
    if (percent_->text() != text) percent_->setText(text);
}

void CProgressDlg::releaseOwner() {
    if (ownerDisabled_ && owner_ != nullptr) owner_->setEnabled(true);
    ownerDisabled_ = false;
    owner_ = nullptr;
}

}  // namespace zelvo::ui
