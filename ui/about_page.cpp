#include "ui/about_page.hpp"

#include <QGroupBox>
#include <QLabel>

#include "resources/window_texts.hpp"
#include "ui/dialog_template.hpp"
#include "ui/pictures.hpp"

namespace zelvo::ui {

CAboutPage::CAboutPage(const ProfileFile& profile, QWidget* parent)
    : QWidget(parent), texts_(readPresentationTexts(profile)) {
    setFont(templateFont());
    const DialogTemplate t(font());
    t.place(new QGroupBox(this), 0, 7, 0, 362, 285);
    auto* heading = t.place(new QLabel(qText(texts::kPresentationHeading), this), 0, 29, 14, 318, 35);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* picture = t.place(new QLabel(this), 1033, 127, 51, 111, 101);
    picture->setPixmap(programPicture(picture->size()));
    picture->setAlignment(Qt::AlignCenter);
    auto* descriptions = t.place(new QLabel(qText(texts_.descriptions), this), 1023, 29, 152, 318, 87);
    descriptions->setWordWrap(true);
    descriptions->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* grid = t.place(new QLabel(qText(texts_.gridText), this), 1024, 29, 241, 318, 11);
    grid->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    grid->hide();
    auto* notice = t.place(new QLabel(qText(texts_.noticeText), this), 1025, 117, 257, 142, 8);
    notice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* version = t.place(new QLabel(qText(texts_.versionText), this), 1026, 194, 268, 152, 8);
    version->setAlignment(Qt::AlignRight | Qt::AlignTop);
}

}  // namespace zelvo::ui
