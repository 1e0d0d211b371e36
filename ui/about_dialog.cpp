#include "ui/about_dialog.hpp"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "resources/window_texts.hpp"
#include "ui/dialog_template.hpp"
#include "ui/pictures.hpp"

namespace zelvo::ui {
namespace {

// A font whose character cell (ascent and descent) is cellHeight pixels tall, as a font asked
// for by its cell height is.
QFont fontByCellHeight(const QString& family, int cellHeight, QFont::Weight weight) {
    QFont font(family);
    font.setWeight(weight);
    font.setPixelSize(cellHeight);
    const int measured = QFontMetrics(font).height();
    if (measured > cellHeight) font.setPixelSize(std::max(1, cellHeight * cellHeight / measured));
    return font;
}

// A configured title too long for its place is written smaller rather than cut.
void shrinkToFit(QLabel* label) {
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height() && font.pixelSize() > 8) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
}

}  // namespace

CAboutDlg::CAboutDlg(const ProfileFile& profile, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      texts_(readAboutTexts(profile)) {
    setFont(templateFont());
    setWindowTitle(qText(texts::kAboutCaption));
    const DialogTemplate t(font());
    setFixedSize(t.size(260, 200));
    const QFont titleFont = fontByCellHeight(QStringLiteral("Comic Sans MS"), 30, QFont::Bold);
    const QFont bodyFont = fontByCellHeight(QStringLiteral("Arial"), 14, QFont::Normal);

    auto* picture = t.place(new QLabel(this), 0, 4, 4, 107, 87);
    picture->setPixmap(programPicture(picture->size()));
    picture->setAlignment(Qt::AlignCenter);
    auto* title = t.place(new QLabel(qText(texts_.titleText), this), 1027, 111, 5, 137, 71);
    title->setFont(titleFont);
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    shrinkToFit(title);
    auto* version = t.place(new QLabel(qText(texts_.versionText), this), 1030, 111, 83, 134, 8);
    auto* developed = t.place(new QLabel(qText(texts::kDevelopedBy), this), 1028, 5, 97, 164, 8);
    auto* contact = t.place(new QLabel(qText(texts::kContactLines), this), 1029, 22, 112, 212, 63);
    contact->setAlignment(Qt::AlignCenter);
    contact->setFrameShape(QFrame::Box);
    for (QLabel* label : {version, developed, contact}) label->setFont(bodyFont);
    auto* ok = t.place(new QPushButton(qText(texts::kOk), this), 1, 111, 181, 60, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace zelvo::ui
