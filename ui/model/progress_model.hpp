#pragma once
// The arithmetic of the progress window: its range, step and position, the percentage it
// shows, and the cancel request that its user polls.

#include <string>

namespace zelvo {

class ProgressModel {
public:
    void setRange(int lower, int upper);
    void setStep(int step) { step_ = step; }
    // Both return the previous position.
    int setPosition(int position);
    int stepBar() { return setPosition(position_ + step_); }

    int lower() const { return lower_; }
    int upper() const { return upper_; }
    int position() const { return position_; }
    // "p%" for the position: 100 at the percentage 100, otherwise the percentage modulo 100
    // (a position past the range wraps round, as the bar does); 0 for an empty range.
    std::string percentText() const;

    // The Cancel action only records the request; the user reads it, which clears it.
    void requestCancel() { cancel_ = true; }
    bool pollCancel();

private:
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    int position_ = 0;
    bool cancel_ = false;
};

}  // namespace zelvo
