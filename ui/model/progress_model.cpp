#include "ui/model/progress_model.hpp"

#include <fmt/format.h>

namespace zelvo {

void ProgressModel::setRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
}

int ProgressModel::setPosition(int position) {
    const int previous = position_;
    position_ = position;
    return previous;
}

std::string ProgressModel::percentText() const {
    const long long span = static_cast<long long>(upper_) - lower_;
    const long long percent = span == 0 ? 0 : (static_cast<long long>(position_) - lower_) * 100 / span;
    return fmt::format("{}%", percent == 100 ? 100 : percent % 100);
}

bool ProgressModel::pollCancel() {
    const bool asked = cancel_;
    cancel_ = false;
    return asked;
}

}  // namespace zelvo
