// The progress window and the window user interface on the offscreen platform: range, steps,
// percentage, cancel and owner, message boxes and questions, and the start-up grid check of
// the window mode with its progress and its cancel.

#include <QLabel>
#include <QProgressBar>
#include <QtTest>
#include <filesystem>

#include "app/application.hpp"
#include "app/window_mode.hpp"
#include "ui/main_dialog.hpp"
#include "ui/progress_dialog.hpp"
#include "ui/window_user_interface.hpp"
#include "ui_test_support.hpp"

using namespace zelvo;
using zelvo::ui::CProgressDlg;
using zelvo::ui::WindowUserInterface;

namespace {

QString percentOf(const CProgressDlg& window) { return window.findChild<QLabel*>("c1004")->text(); }
QProgressBar* barOf(const CProgressDlg& window) { return window.findChild<QProgressBar*>("c1003"); }

// A text grid of 40 × 25 nodes: its binary version is made in 100 steps.
std::string writeThousandNodeGrid(const test::TempDir& dir) {
    std::string data = "0 39 0 24 1 1 4 0 1 0 0\r\n";
    for (int j = 0; j < 25; ++j)
        for (int i = 0; i < 40; ++i) data += std::to_string(i + 100 * j) + (i == 39 ? "\r\n" : " ");
    test::writeFile(dir.file("grids/geoid.mnt"), data);
    test::writeFile(dir.file("grids/geoid.xml"),
                    "<GRID_HEADER><INTERPOLATION_TYPE>BILINEAR</INTERPOLATION_TYPE></GRID_HEADER>");
    return dir.file("grids/geoid.mnt");
}

// The window mode of start-up, with a main window that records being run instead of waiting.
class RecordingWindowMode : public WindowMode {
public:
    explicit RecordingWindowMode(WindowUserInterface& ui) : ui_(ui) {}
    void createMainWindow(CZelvoApp& app) override {
        dialog = std::make_unique<zelvo::ui::CZelvoDlg>(app, ui_);
        ui_.setMainWindow(dialog.get());
        ui_.setProgressCaption(app.title);
    }
    void runMainWindow() override { ran = true; }
    std::unique_ptr<zelvo::ui::CZelvoDlg> dialog;
    bool ran = false;

private:
    WindowUserInterface& ui_;
};

}  // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT
private slots:
    void rangeStepsAndPercentage() {
        QWidget owner;
        owner.show();
        {
            CProgressDlg window;
            QCOMPARE(window.windowTitle(), QStringLiteral("Zelvo"));
            QCOMPARE(window.findChild<QLabel*>("c1005")->text(), QStringLiteral("Travail en cours ... patience"));
            QVERIFY(window.Open(&owner));
            QVERIFY(!owner.isEnabled());
            QVERIFY(window.isVisible());
            window.SetBarRange(1, 100);
            QCOMPARE(window.SetBarPosition(1), 0);
            QCOMPARE(percentOf(window), QStringLiteral("0%"));
            window.SetBarStep(1);
            QCOMPARE(window.SetBarPosition(51), 1);
            QCOMPARE(percentOf(window), QStringLiteral("50%"));
            QCOMPARE(barOf(window)->value(), 51);
            QCOMPARE(window.StepBar(), 51);
            QCOMPARE(percentOf(window), QStringLiteral("51%"));
            window.SetBarPosition(100);
            QCOMPARE(percentOf(window), QStringLiteral("100%"));
            window.SetBarRange(0, 100);
            window.SetBarPosition(150);
            QCOMPARE(percentOf(window), QStringLiteral("50%"));
            // The bar stays full.
            QCOMPARE(barOf(window)->value(), 100);
        }
        // The owner is enabled again when the window goes.
        QVERIFY(owner.isEnabled());
    }

    void cancelOnlyRecordsARequest() {
        CProgressDlg window;
        QVERIFY(window.Open(nullptr));
        QVERIFY(!window.PollCancel());
        QTest::mouseClick(window.findChild<QPushButton*>("c2"), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QVERIFY(window.PollCancel());
        QVERIFY(!window.PollCancel());
        QTest::keyClick(&window, Qt::Key_Escape);
        window.close();
        // Neither Escape nor the close box closes it.
        QVERIFY(window.isVisible());
        QVERIFY(window.PollCancel());
    }

    void aSecondWindowOpensBelowTheFirst() {
        CProgressDlg first;
        QVERIFY(first.Open(nullptr));
        CProgressDlg second;
        QVERIFY(second.Open(nullptr));
        QCOMPARE(CProgressDlg::liveCount(), 2);
        QCOMPARE(second.pos().y() - first.pos().y(), 200);
        QCOMPARE(second.pos().x(), first.pos().x());
    }

    void theWindowUserInterfaceShowsProgressOverItsMainWindow() {
        QWidget main;
        main.show();
        WindowUserInterface ui;
        ui.setMainWindow(&main);
        ui.setProgressCaption("Zelvo - essai");
        ui.progressBegin("Creation du fichier binaire  /un/dossier/geoid.bin ...", 100);
        CProgressDlg* window = ui.progressWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), QStringLiteral("Zelvo - essai"));
        QVERIFY(!main.isEnabled());
        QCOMPARE(barOf(*window)->minimum(), 1);
        QCOMPARE(barOf(*window)->maximum(), 100);
        QCOMPARE(window->model().position(), 1);
        QVERIFY(window->findChild<QLabel*>("c1005")->text().remove(QChar(0x200B)).contains("/un/dossier/geoid.bin"));
        for (int i = 0; i < 49; ++i) ui.progressStep();
        QCOMPARE(percentOf(*window), QStringLiteral("49%"));
        QVERIFY(!ui.cancelRequested());
        QTest::mouseClick(window->findChild<QPushButton*>("c2"), Qt::LeftButton);
        QVERIFY(ui.cancelRequested());
        ui.progressEnd();
        QVERIFY(ui.progressWindow() == nullptr);
        QVERIFY(main.isEnabled());
        // Nothing to cancel without a progress.
        QVERIFY(!ui.cancelRequested());
    }

    void messagesAndQuestions() {
        WindowUserInterface ui;
        const struct {
            MessageIcon icon;
            QMessageBox::Icon shown;
        } icons[] = {{MessageIcon::None, QMessageBox::NoIcon},
                     {MessageIcon::Error, QMessageBox::Critical},
                     {MessageIcon::Warning, QMessageBox::Warning},
                     {MessageIcon::Information, QMessageBox::Information}};
        for (const auto& c : icons) {
            test::ModalRobot robot;
            ui.message("Fichier créé", c.icon);
            QCOMPARE(robot.boxes.size(), 1u);
            QCOMPARE(robot.boxes[0].icon, c.shown);
            QCOMPARE(robot.boxes[0].text, QStringLiteral("Fichier créé"));
        }
        // The default button answers when the user just presses Enter.
        for (bool yesIsDefault : {true, false}) {
            test::ModalRobot robot;
            QCOMPARE(ui.question("Continuer ?", MessageIcon::Error, yesIsDefault), yesIsDefault);
            QCOMPARE(robot.boxes[0].defaultButton, yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
            QCOMPARE(robot.boxes[0].icon, QMessageBox::Critical);
        }
        for (auto answer : {QMessageBox::Yes, QMessageBox::No}) {
            test::ModalRobot robot(answer);
            QCOMPARE(ui.question("Continuer ?", MessageIcon::Warning, false), answer == QMessageBox::Yes);
        }
    }

    // Start-up in window mode: the main window is made, the grids are checked with the progress
    // window over it, then it runs; a cancel stops the start-up and leaves no binary version.
    void theStartupGridCheckShowsItsProgressAndCancels_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("to the end") << false;
        QTest::newRow("cancelled") << true;
    }
    void theStartupGridCheckShowsItsProgressAndCancels() {
        QFETCH(bool, cancel);
        test::TempDir work, profile;
        const std::string grid = writeThousandNodeGrid(work);
        test::writeFile(work.file("cat.dat"), "ELG 1 6378137 0 0 0.00669438 GRS 1980\r\nLGO 1 2 0 Greenwich\r\n"
                                              "REG 1 1 1 3D Réf\r\nGR1D " + grid + " 1 1\r\n");
        test::writeAllUsersConfiguration(profile.path(), work.file("cat.dat"), "[Standard]\r\nMode=0\r\n");
        qputenv("ALLUSERSPROFILE", QByteArray::fromStdString(profile.str()));

        CZelvoApp app;
        // At each step, what the progress window shows; a click on its cancel when asked.
        struct WatchedUi : WindowUserInterface {
            void progressStep() override {
                WindowUserInterface::progressStep();
                CProgressDlg* progress = progressWindow();
                seenSteps = progress->model().position() - 1;
                ownerDisabled = ownerDisabled || !mode->dialog->isEnabled();
                caption = progress->windowTitle();
                if (cancel && seenSteps == 10)
                    QTest::mouseClick(progress->findChild<QPushButton*>("c2"), Qt::LeftButton);
            }
            const RecordingWindowMode* mode = nullptr;
            bool cancel = false;
            int seenSteps = 0;
            bool ownerDisabled = false;
            QString caption;
        } ui;
        ui.cancel = cancel;
        RecordingWindowMode window(ui);
        ui.mode = &window;
        test::ModalRobot robot;
        const int code = startup(app, {"zelvo"}, ui, &window);
        QCOMPARE(code, 0);
        QCOMPARE(app.consoleMode, 0);
        QCOMPARE(ui.seenSteps, cancel ? 10 : 100);
        QVERIFY(ui.ownerDisabled);
        QCOMPARE(ui.caption, QStringLiteral("Essai"));
        QVERIFY(ui.progressWindow() == nullptr);
        QVERIFY(window.dialog->isEnabled());
        QCOMPARE(window.ran, !cancel);
        QCOMPARE(std::filesystem::exists(work.file("grids/geoid.mnt.bin")), !cancel);
        if (cancel) {
            QCOMPARE(robot.boxes.size(), 1u);
            QCOMPARE(robot.boxes[0].icon, QMessageBox::Critical);
            QVERIFY2(robot.boxes[0].text.contains("interrompue"), qPrintable(robot.boxes[0].text));
        } else {
            QCOMPARE(robot.boxes.size(), 0u);
            QCOMPARE(app.catalogue.grids1D[0].fileName, work.file("grids/geoid.mnt.bin"));
        }
        for (const auto& entry : std::filesystem::directory_iterator(work.path() / "grids"))
            QVERIFY2(entry.path().string().find(".part") == std::string::npos, "no partial binary version is left");
        qunsetenv("ALLUSERSPROFILE");
    }
};

QTEST_MAIN(ProgressWindowTest)
#include "progress_window_test.moc"
