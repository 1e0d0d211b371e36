#include "ui/main_dialog.hpp"

#include <fmt/printf.h>

#include <QAction>
#include <QDesktopServices>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

#include "app/application.hpp"
#include "platform/user_interface.hpp"
#include "resources/string_table.hpp"
#include "resources/window_texts.hpp"
#include "ui/about_dialog.hpp"
#include "ui/about_page.hpp"
#include "ui/dialog_template.hpp"
#include "ui/model/help_file.hpp"
#include "ui/pictures.hpp"
#include "ui/transformation_page.hpp"

namespace zelvo::ui {
namespace {

constexpr int kTabControl = 1200;
constexpr int kComputeButton = 1;
constexpr int kQuitButton = 2;
constexpr int kHelpButton = 57670;

// A tab's label without its accelerator: Alt and a letter belong to the window's buttons
// ("C&alculer" answers Alt+A). A doubled '&' stays a written one.
QString withoutAccelerator(QString label) {
    label.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    label.remove(QLatin1Char('&'));
    label.replace(QStringLiteral("\x01"), QStringLiteral("&&"));
    return label;
}

}  // namespace

CZelvoDlg::CZelvoDlg(CZelvoApp& app, UserInterface& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      app_(app),
      ui_(ui),
      model_(ProfileFile(app.iniPath),
             app.configuration.found ? std::optional<ConfigurationSearch>(app.configuration) : std::nullopt) {
    setFont(templateFont());
    const DialogTemplate t(font());
    setFixedSize(t.size(389, 334));
    setWindowTitle(qText(app.title));
    setWindowIcon(programIcon());

    tabs_ = t.place(new QTabWidget(this), kTabControl, 5, 0, 379, 308);
    computeButton_ = t.place(new QPushButton(qText(texts::kComputeButton), this), kComputeButton, 155, 314, 50, 14);
    computeButton_->setDefault(true);
    auto* quit = t.place(new QPushButton(qText(texts::kQuitButton), this), kQuitButton, 15, 314, 50, 14);
    auto* help = t.place(new QPushButton(qText(texts::kHelpButton), this), kHelpButton, 295, 315, 72, 14);
    quit->setAutoDefault(false);
    help->setAutoDefault(false);
    addToolTips(this, {kComputeButton, kQuitButton, kHelpButton, kTabControl});

    const ProfileFile profile(app.iniPath);
    for (const Tab& tab : model_.tabs()) {
        QWidget* page = nullptr;
        switch (tab.page) {
            case Page::Presentation: page = presentation_ = new CAboutPage(profile, tabs_); break;
            case Page::Standard: page = standard_ = new CStandardPage(model_.settings(tab.page), app_, ui_, tabs_); break;
            case Page::Grid: page = grid_ = new CGrillePage(model_.settings(tab.page), app_, ui_, tabs_); break;
        }
        tabs_->addTab(page, withoutAccelerator(qText(tab.label)));
    }
    tabs_->setCurrentIndex(0);
    showTab(0);
    connect(tabs_, &QTabWidget::currentChanged, this, &CZelvoDlg::showTab);
    connect(computeButton_, &QPushButton::clicked, this, &CZelvoDlg::compute);
    connect(quit, &QPushButton::clicked, this, &CZelvoDlg::reject);
    connect(help, &QPushButton::clicked, this, &CZelvoDlg::showHelp);

    // The about item and the help, from the window's own menu and from the keyboard.
    auto* about = new QAction(qText(loadString(texts::kAboutItemId)), this);
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    connect(about, &QAction::triggered, this, &CZelvoDlg::showAbout);
    auto* helpItem = new QAction(qText(texts::kHelpItem), this);
    helpItem->setShortcut(QKeySequence(Qt::Key_F1));
    connect(helpItem, &QAction::triggered, this, &CZelvoDlg::showHelp);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addActions({helpItem, separator, about});
    setContextMenuPolicy(Qt::ActionsContextMenu);
    openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

CZelvoDlg::~CZelvoDlg() = default;

QWidget* CZelvoDlg::pageWindow(Page page) const {
    switch (page) {
        case Page::Presentation: return presentation_;
        case Page::Standard: return standard_;
        case Page::Grid: return grid_;
    }
    return nullptr;
}

CZelvoPage* CZelvoDlg::transformationPage(Page page) const {
    return page == Page::Standard ? standard_ : page == Page::Grid ? grid_ : nullptr;
}

void CZelvoDlg::showTab(int index) {
    model_.selectTab(index);
    computeButton_->setEnabled(model_.computeEnabled());
}

void CZelvoDlg::compute() {
    model_.selectTab(tabs_->currentIndex());
    const MainDialogModel::ComputeAction action = model_.compute();
    if (!action.page) {
        ui_.message(action.refusal, MessageIcon::None);
        return;
    }
    transformationPage(*action.page)->compute();
}

void CZelvoDlg::reject() {
    if (closing_) return;
    closing_ = true;
    const std::string warning = model_.quit();
    if (!warning.empty()) ui_.message(warning, MessageIcon::Warning);
    app_.translationGrid.release();
    app_.geoidGrid.release();
    QDialog::reject();
}

void CZelvoDlg::showAbout() {
    CAboutDlg about(ProfileFile(app_.iniPath), this);
    about.exec();
}

void CZelvoDlg::showHelp() {
    const std::string path = helpFilePath(app_);
    if (path.empty()) return;
    if (!openUrl_(QUrl::fromLocalFile(qText(path))))
        ui_.message(fmt::sprintf(texts::kNoBrowser, path), MessageIcon::Information);
}

}  // namespace zelvo::ui
