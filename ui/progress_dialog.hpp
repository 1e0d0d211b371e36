#pragma once
// The progress window: a modeless window with a bar (1003), its percentage (1004) and a status
// line (1005), which disables its owner while it is open. Its user's loop keeps the interface
// alive through SetBarPosition, StepBar and PollCancel, which run the pending events; Escape,
// the close box and "Annuler" only record a cancel request, read by PollCancel.

#include <QDialog>
#include <QPointer>

#include "ui/model/progress_model.hpp"

class QLabel;
class QProgressBar;

namespace zelvo::ui {

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    // captionId: the string table's caption text, 0 for the product name.
    explicit CProgressDlg(int captionId = 0);
    ~CProgressDlg() override;

    // Disables parent's window while open; false (the owner left enabled) when the window
    // could not be shown.
    bool Open(QWidget* parent);
    void SetStatusText(const QString& text);
    void SetBarRange(int lower, int upper);
    void SetBarStep(int step);
    int SetBarPosition(int position);
    int StepBar();
    bool PollCancel();

    const ProgressModel& model() const { return model_; }
    // Progress windows alive at the moment.
    static int liveCount() { return live_; }

public slots:
    void accept() override {}
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showPosition();
    void releaseOwner();

    ProgressModel model_;
    QProgressBar* bar_;
    QLabel* percent_;
    QLabel* status_;
    QPointer<QWidget> owner_;
    bool ownerDisabled_ = false;
    static int live_;
};

}  // namespace zelvo::ui
