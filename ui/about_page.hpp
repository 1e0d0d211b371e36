#pragma once
// The presentation page, on the main window's first tab: what the program does, the two kinds
// of transformation as the configuration file describes them, its notice and its version.

#include <QWidget>

#include "ui/model/configured_texts.hpp"

namespace zelvo {
class ProfileFile;
}

namespace zelvo::ui {

class CAboutPage : public QWidget {
    Q_OBJECT
public:
    CAboutPage(const ProfileFile& profile, QWidget* parent);
    const PresentationTexts& texts() const { return texts_; }

private:
    PresentationTexts texts_;
};

}  // namespace zelvo::ui
