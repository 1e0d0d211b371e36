#pragma once
// The about box: the program's title and version from the configuration file, and who made it.

#include <QDialog>

#include "ui/model/configured_texts.hpp"

namespace zelvo {
class ProfileFile;
}

namespace zelvo::ui {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const ProfileFile& profile, QWidget* parent);
    const AboutTexts& texts() const { return texts_; }

private:
    AboutTexts texts_;
};

}  // namespace zelvo::ui
