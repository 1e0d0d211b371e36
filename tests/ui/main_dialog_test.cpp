// The main window on the offscreen platform: its tabs, "C&alculer", the quit action with its
// saving, tool tips, the presentation page and the about box, and that no text is cut.

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>
#include <filesystem>

#include "app/application.hpp"
#include "geodesy/grid_open_report.hpp"
#include "platform/profile.hpp"
#include "ui/about_dialog.hpp"
#include "ui/dialog_template.hpp"
#include "ui/main_dialog.hpp"
#include "ui/transformation_page.hpp"
#include "ui/window_mode.hpp"
#include "ui/window_user_interface.hpp"
#include "ui_test_support.hpp"

using namespace zelvo;
using zelvo::ui::CZelvoDlg;

namespace {

const std::string kInformations =
    "[INFORMATIONS]\nTitre=Zelvo - transformation de coordonnées\nVersion=3.2.1\nCopyright=(c) les auteurs\n"
    "Standard=Première description, assez longue pour passer à la ligne dans la page de présentation : "
    "référentiels, ellipsoïdes, méridiens.\nGrille=Deuxième description.\n";
const std::string kStandard = "[Standard]\nMode=0\nNom du point=Point 1\n";
const std::string kGrid = "[Grille]\nMode=1\nNom du point=Point 2\n";

// A main window over a configuration holding the given sections.
struct Window {
    explicit Window(const std::string& sections) : configured(configure(sections)), dialog(app, ui) {
        ui.setMainWindow(&dialog);
    }
    bool configure(const std::string& sections) {
        app.iniPath = test::writeIni(dir, kInformations + sections);
        app.title = "Zelvo - transformation de coordonnées";
        return true;
    }
    test::TempDir dir;
    CZelvoApp app;
    bool configured;  // before the window, which reads the configuration
    zelvo::ui::WindowUserInterface ui;
    CZelvoDlg dialog;

    QTabWidget* tabs() { return dialog.findChild<QTabWidget*>("c1200"); }
    QPushButton* button(int id) { return dialog.findChild<QPushButton*>(QStringLiteral("c%1").arg(id)); }
};

// Every visible label and button shows its whole text in its place, inside its window.
void expectNothingCut(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->parentWidget() == nullptr) continue;
        const QRect inParent = w->geometry();
        if (w->parentWidget() == window || qobject_cast<QGroupBox*>(w) != nullptr || qobject_cast<QLabel*>(w))
            QVERIFY2(w->parentWidget()->rect().contains(inParent), qPrintable(w->objectName() + " leaves its window"));
        if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && !label->text().isEmpty()) {
            const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                                : label->sizeHint().width() <= label->width() + 2 &&
                                                      label->sizeHint().height() <= label->height() + 2;
            QVERIFY2(fits, qPrintable("text cut: " + label->text().left(40)));
        }
        if (auto* button = qobject_cast<QPushButton*>(w))
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text().remove('&')) < button->width(),
                     qPrintable("button text cut: " + button->text()));
    }
    // Sibling controls with ids never overlap.
    for (QWidget* a : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        for (QWidget* b : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (a < b && !a->objectName().isEmpty() && !b->objectName().isEmpty() && a->isVisibleTo(window) &&
                b->isVisibleTo(window))
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " overlaps " + b->objectName()));
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT
private slots:
    void tabsFollowTheSections_data() {
        QTest::addColumn<QString>("sections");
        QTest::addColumn<QStringList>("labels");
        // Without an accelerator: Alt+A belongs to "C&alculer".
        const QString about = "A propos de Zelvo";
        QTest::newRow("neither") << QString() << QStringList{about};
        QTest::newRow("standard") << QString::fromStdString(kStandard) << QStringList{about, "Transformation standard"};
        QTest::newRow("grid") << QString::fromStdString(kGrid) << QStringList{about, "Transformation grille"};
        QTest::newRow("both") << QString::fromStdString(kGrid + kStandard)
                              << QStringList{about, "Transformation standard", "Transformation grille"};
    }
    void tabsFollowTheSections() {
        QFETCH(QString, sections);
        QFETCH(QStringList, labels);
        Window w(sections.toStdString());
        QStringList shown;
        for (int i = 0; i < w.tabs()->count(); ++i) shown << w.tabs()->tabText(i);
        QCOMPARE(shown, labels);
        QCOMPARE(w.tabs()->currentIndex(), 0);
        // "C&alculer" is disabled exactly on the presentation tab, whatever the order of visits.
        const int last = static_cast<int>(labels.size()) - 1;
        for (int i : {0, last, 0, std::min(1, last)}) {
            w.tabs()->setCurrentIndex(i);
            QCOMPARE(w.button(1)->isEnabled(), i != 0);
            QCOMPARE(w.tabs()->currentWidget(), w.dialog.pageWindow(w.dialog.model().visiblePage()));
        }
    }

    void computingOnThePresentationTabIsRefused() {
        Window w(kStandard + kGrid);
        QSignalSpy standard(w.dialog.transformationPage(Page::Standard), &zelvo::ui::CZelvoPage::computeRequested);
        QSignalSpy grid(w.dialog.transformationPage(Page::Grid), &zelvo::ui::CZelvoPage::computeRequested);
        test::ModalRobot robot;
        w.dialog.compute();  // the button is disabled there, but the action can still be invoked
        QCOMPARE(robot.boxes.size(), 1u);
        QCOMPARE(robot.boxes[0].text.toStdString(),
                 "\n\nDésolé, mais ce n'est pas ici que l'on calcule.\nRéessayez, mais dans les pages standard ou "
                 "grille,pas dans la page de présentation !!!\n\n");
        QCOMPARE(robot.boxes[0].icon, QMessageBox::NoIcon);
        QCOMPARE(standard.count() + grid.count(), 0);
    }

    void computeGoesToThePageOnScreen_data() {
        QTest::addColumn<QString>("sections");
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("page");
        QTest::newRow("grid alone, tab 1") << QString::fromStdString(kGrid) << 1 << 2;
        QTest::newRow("both, tab 1") << QString::fromStdString(kStandard + kGrid) << 1 << 1;
        QTest::newRow("both, tab 2") << QString::fromStdString(kStandard + kGrid) << 2 << 2;
    }
    void computeGoesToThePageOnScreen() {
        QFETCH(QString, sections);
        QFETCH(int, tab);
        QFETCH(int, page);
        Window w(sections.toStdString());
        w.dialog.show();
        w.tabs()->setCurrentIndex(tab);
        auto* target = w.dialog.transformationPage(static_cast<Page>(page));
        QVERIFY(target != nullptr);
        QCOMPARE(target->transformationType(), page);
        QSignalSpy spy(target, &zelvo::ui::CZelvoPage::computeRequested);
        test::ModalRobot robot;  // whatever the page says about computing nothing
        QTest::mouseClick(w.button(1), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        // The default button answers the Enter key in a page.
        QTest::keyClick(target, Qt::Key_Return);
        QCOMPARE(spy.count(), 2);
    }

    void altAComputesThePageOnScreen() {
        Window w(kStandard + kGrid);
        w.dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        w.tabs()->setCurrentIndex(2);
        QSignalSpy spy(w.dialog.transformationPage(Page::Grid), &zelvo::ui::CZelvoPage::computeRequested);
        test::ModalRobot robot;
        QTest::keyClick(w.dialog.transformationPage(Page::Grid), Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(spy.count(), 1);  // the button's click follows its animation
        QCOMPARE(w.tabs()->currentIndex(), 2);
        w.dialog.reject();
    }

    void helpWithoutABrowserNamesTheHelpFile() {
        Window w(kStandard);
        w.app.programName = "zelvo";
        w.app.workingDirectory = w.dir.str() + "/";
        test::writeFile(w.dir.file("zelvo.html"), "<html></html>");
        QList<QUrl> asked;
        w.dialog.setUrlOpener([&](const QUrl& url) {
            asked << url;
            return false;
        });
        w.dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        test::ModalRobot robot;
        QTest::keyClick(&w.dialog, Qt::Key_F1);
        QCOMPARE(asked, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(w.dir.file("zelvo.html")))});
        QCOMPARE(robot.boxes.size(), 1u);
        QCOMPARE(robot.boxes[0].text.toStdString(), "Aucun navigateur n'a pu afficher l'aide géodésique.\n\n"
                                                    "Ouvrez vous-même le fichier d'aide :\n" +
                                                        w.dir.file("zelvo.html"));
        // A browser that opens it: nothing to say.
        w.dialog.setUrlOpener([](const QUrl&) { return true; });
        w.button(57670)->click();
        QCOMPARE(robot.boxes.size(), 1u);
        w.dialog.reject();
    }

    void escapeInAPageQuitsAndSavesEveryPage() {
        Window w(kStandard + kGrid);
        w.dialog.show();
        w.tabs()->setCurrentIndex(2);
        w.dialog.transformationPage(Page::Standard)->settings().pointName = "Borne é";
        w.dialog.transformationPage(Page::Grid)->settings().verticalChoice = 2;
        test::ModalRobot robot;
        QTest::keyClick(w.dialog.transformationPage(Page::Grid), Qt::Key_Escape);
        QVERIFY(!w.dialog.isVisible());
        QCOMPARE(w.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(robot.boxes.size(), 0u);
        const ProfileFile saved(w.app.iniPath);
        QCOMPARE(saved.readString("Standard", "Nom du point", "", 260), std::string("Borne é"));
        QCOMPARE(saved.readInt("Grille", "Verticale", 0), 2);
        QCOMPARE(saved.readSection("Grille", 4096).size(), 22u);
    }

    void quittingWithOnlyOnePageSavesOnlyThatOne() {
        Window w(kGrid);
        QTest::mouseClick(w.button(2), Qt::LeftButton);
        const ProfileFile saved(w.app.iniPath);
        QCOMPARE(saved.readSection("Grille", 4096).size(), 22u);
        QVERIFY(saved.readSection("Standard", 4096).empty());
    }

    void aFailedSaveIsWarnedOnceAndTheWindowCloses() {
        Window w(kStandard + kGrid);
        w.dialog.show();
        std::filesystem::remove_all(w.dir.file("conf"));
        test::ModalRobot robot;
        w.dialog.reject();
        w.dialog.reject();
        QCOMPARE(robot.boxes.size(), 1u);
        QCOMPARE(robot.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(robot.boxes[0].text.toStdString(),
                 "Les données de configuration n'ont pu être sauvegardées correctement !\nVerifiez que Zelvo.ini "
                 "est accessible en ecriture...");
        QVERIFY(!w.dialog.isVisible());
    }

    void quittingReleasesTheApplicationsGrids() {
        Window w(kStandard);
        test::writeFile(w.dir.file("g.mnt"), "0 2 0 1 1 1 4 0 1 0 0\r\n0 1 2\r\n10 11 12\r\n");
        test::writeFile(w.dir.file("g.xml"),
                        "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>");
        w.app.geoidGrid.header.NAME = w.dir.file("g.mnt");
        QCOMPARE(openGridFor(w.app.geoidGrid, 0, &w.ui).message, std::string());
        QVERIFY(w.app.geoidGrid.hasNodeData());
        test::ModalRobot robot;
        w.dialog.reject();
        QVERIFY(!w.app.geoidGrid.hasNodeData());
    }

    void toolTipsById() {
        Window w(kStandard);
        const std::pair<const char*, const char*> tips[] = {
            {"c1", "Calcule la transformation de coordonnées précisée"},
            {"c2", "Quitte le programme et ferme tout"},
            {"c57670", "Explication géodésique sur les systèmes, projections, coordonnées...."},
            {"c1200", "Choix du type de transformation : standard ou grille."},
        };
        for (const auto& [name, tip] : tips) {
            auto* control = w.dialog.findChild<QWidget*>(name);
            QVERIFY2(control != nullptr, name);
            QCOMPARE(control->toolTip(), QString::fromUtf8(tip));
        }
    }

    void theWindowIsOfFixedSizeWithItsTitle() {
        Window w(kStandard);
        QCOMPARE(w.dialog.minimumSize(), w.dialog.maximumSize());
        QVERIFY(!(w.dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(w.dialog.windowTitle(), QStringLiteral("Zelvo - transformation de coordonnées"));
        QCOMPARE(w.button(1)->text(), QStringLiteral("C&alculer"));
        QVERIFY(w.button(1)->isDefault());
    }

    void presentationTextsComeFromTheConfiguration() {
        Window w(kStandard);
        QWidget* page = w.dialog.pageWindow(Page::Presentation);
        const auto text = [&](const char* name) { return page->findChild<QLabel*>(name)->text().toStdString(); };
        QCOMPARE(text("c1023"),
                 "Première description, assez longue pour passer à la ligne dans la page de présentation : "
                 "référentiels, ellipsoïdes, méridiens.\n\nDeuxième description.");
        QCOMPARE(text("c1024"), std::string("Deuxième description."));
        QVERIFY(!page->findChild<QLabel*>("c1024")->isVisibleTo(page));
        QCOMPARE(text("c1025"), std::string("(c) les auteurs"));
        QCOMPARE(text("c1026"), std::string("3.2.1"));
    }

    void theAboutBoxShowsTheTitleAndVersion() {
        Window w(kStandard);
        std::string title, version;
        test::ModalRobot robot;
        robot.onDialog = [&](QWidget* modal) {
            title = modal->findChild<QLabel*>("c1027")->text().toStdString();
            version = modal->findChild<QLabel*>("c1030")->text().toStdString();
            QCOMPARE(modal->windowTitle(), QStringLiteral("A propos de Zelvo"));
            QTest::mouseClick(modal->findChild<QPushButton*>("c1"), Qt::LeftButton);
        };
        w.dialog.showAbout();
        QCOMPARE(title, std::string("Zelvo - transformation de coordonnées"));
        QCOMPARE(version, std::string("3.2.1"));
    }

    // The about item is on the window's own menu and on Ctrl+F1.
    void theAboutBoxIsReachableFromTheKeyboardAndTheMenu() {
        Window w(kStandard);
        w.dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
        QStringList items;
        for (QAction* action : w.dialog.actions()) items << action->text();
        QVERIFY(items.contains("&A propos de Zelvo"));
        QCOMPARE(w.dialog.contextMenuPolicy(), Qt::ActionsContextMenu);
        int opened = 0;
        test::ModalRobot robot;
        robot.onDialog = [&](QWidget* modal) {
            opened += qobject_cast<zelvo::ui::CAboutDlg*>(modal) != nullptr;
            static_cast<QDialog*>(modal)->accept();
        };
        QTest::keyClick(&w.dialog, Qt::Key_F1, Qt::ControlModifier);
        QCOMPARE(opened, 1);
        w.dialog.reject();
    }

    // Last, as the translation stays installed: Qt's own texts follow the locale.
    void stockTextsFollowTheLocale() {
        QVERIFY(!zelvo::ui::installQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates)) ||
                QMessageBox(QMessageBox::Question, "", "", QMessageBox::Yes).button(QMessageBox::Yes)->text() ==
                    "&Yes");
        QVERIFY2(zelvo::ui::installQtTranslations(QLocale(QLocale::French, QLocale::France)),
                 "qtbase_fr.qm is missing from Qt's translations folder");
        QMessageBox box(QMessageBox::Question, "Zelvo", "?", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Oui"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Non"));
        QFileDialog dialog(nullptr, QString(), QDir::tempPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(dialog.findChild<QLabel*>("fileNameLabel")->text(), QStringLiteral("&Nom de fichier :"));
        QCOMPARE(dialog.findChild<QLabel*>("lookInLabel")->text(), QStringLiteral("Voir dans :"));
    }

    // In the template's font and in larger ones; also run at 125 % and 150 % scale
    // (tests/CMakeLists.txt).
    void noTextIsCutNorControlsOverlap_data() {
        QTest::addColumn<double>("points");
        for (const double points : {8.0, 9.0, 10.0, 12.0}) QTest::addRow("%g points", points) << points;
    }
    void noTextIsCutNorControlsOverlap() {
        QFETCH(double, points);
        zelvo::ui::setTemplateFontSize(points);
        const auto restore = qScopeGuard([] { zelvo::ui::setTemplateFontSize(8); });
        Window w(kStandard + kGrid);
        w.dialog.show();
        expectNothingCut(&w.dialog);
        expectNothingCut(w.dialog.pageWindow(Page::Presentation));
        zelvo::ui::CAboutDlg about(ProfileFile(w.app.iniPath), &w.dialog);
        about.show();
        expectNothingCut(&about);
        test::ModalRobot robot;
        w.dialog.reject();
    }
};

QTEST_MAIN(MainDialogTest)
#include "main_dialog_test.moc"
