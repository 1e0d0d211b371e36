// The transformation pages on the offscreen platform: the real combo boxes, buttons and edits show
// what the page model decides; nothing is cut or overlapping in any layout; every reference case
// typed into the window gives PROJ's values; a file run through the window writes the batch's
// arrival file, with its report and log. With ZELVO_PICTURES_DIR set (scripts/screenshots.sh runs
// it under Xvfb), pictures of the pages are written there.

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>
#include <array>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "app/application.hpp"
#include "app/grid_check.hpp"
#include "catalogue/loader.hpp"
#include "files/command_line.hpp"
#include "files/data_formats.hpp"
#include "geodesy/angles.hpp"
#include "ui/dialog_template.hpp"
#include "ui/main_dialog.hpp"
#include "ui/progress_dialog.hpp"
#include "ui/transformation_page.hpp"
#include "ui/window_mode.hpp"
#include "ui/window_user_interface.hpp"
#include "ui_test_support.hpp"

using namespace zelvo;
using zelvo::ui::CZelvoDlg;
using zelvo::ui::CZelvoPage;
namespace fs = std::filesystem;

namespace {

const std::string kBothPages = "[Standard]\nMode=0\n[Grille]\nMode=0\n";

// The main window over a copy of a catalogue folder (its catalogue.dat, and its grids/ when it has
// some), with a user interface that records what it is told and answers from a script.
struct PageWindow {
    PageWindow(const fs::path& folder, const std::string& sections = kBothPages) {
        fs::copy_file(folder / "catalogue.dat", dir.path() / "catalogue.dat");
        app.workingDirectory = dir.str() + "/";
        app.iniPath = test::writeIni(dir, "[INFORMATIONS]\nTitre=Zelvo\n" + sections);
        app.title = "Zelvo";
        loaded = loadCatalogue(dir.file("catalogue.dat"), app.catalogue).status == CatalogueLoadStatus::Loaded;
        if (fs::exists(folder / "grids")) {
            fs::create_directories(dir.path() / "grids");
            for (const auto& entry : fs::directory_iterator(folder / "grids"))
                fs::copy_file(entry.path(), dir.path() / "grids" / entry.path().filename());
            loaded = loaded && checkGrids(app, ui) == GridCheck::Passed;
        }
        app.ui = &ui;
        app.log.open(dir.file("log.txt"));
        ui.answer = true;
        dialog = std::make_unique<CZelvoDlg>(app, ui);
    }

    CZelvoPage* page(Page p) const { return dialog->transformationPage(p); }
    // Shows the page's tab and presses "C&alculer".
    void compute(Page p) {
        auto* tabs = dialog->findChild<QTabWidget*>("c1200");
        tabs->setCurrentWidget(page(p));
        dialog->findChild<QPushButton*>("c1")->click();
    }

    test::TempDir dir;
    CZelvoApp app;
    test::RecordingUserInterface ui;
    std::unique_ptr<CZelvoDlg> dialog;
    bool loaded = false;
};

fs::path defaultData() { return fs::path(ZELVO_SOURCE_DIR) / "data"; }

template <typename Widget>
Widget* control(QWidget* page, int id) {
    return page->findChild<Widget*>(QStringLiteral("c%1").arg(id));
}

// Chooses an entry of a list as the user does; false when the list offers no such entry.
bool select(QWidget* page, int id, const std::string& entry) {
    auto* list = control<QComboBox>(page, id);
    const int index = list != nullptr ? list->findText(QString::fromStdString(entry), Qt::MatchExactly) : -1;
    if (index < 0) return false;
    list->setCurrentIndex(index);
    emit list->activated(index);
    return true;
}

// NTF Lambert II étendu to RGF93 Lambert 93, the choices of the file runs through the window.
bool selectLambertIIToLambert93(QWidget* page) {
    return select(page, 1002, "NTF") && select(page, 1003, "RGF93") && select(page, 1004, "Planes") &&
           select(page, 1005, "Planes") && select(page, 1007, "Lambert II Étendu") && select(page, 1008, "Lambert 93");
}

QStringList entriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

// Replaces the text of an edit by typing.
void type(QWidget* page, int id, const QString& text) {
    auto* edit = control<QLineEdit>(page, id);
    QVERIFY2(edit != nullptr, qPrintable(QStringLiteral("no edit %1").arg(id)));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void click(QWidget* page, int id) { control<QAbstractButton>(page, id)->click(); }

QString number(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

// Every control with an id shows the model's state: shown, enabled, checked, its list's entries
// and selection, its text; and the comment box the model's comment.
void expectShowsModel(CZelvoPage* page) {
    const PageModel& model = page->model();
    const std::vector<int> texts = PageModel::textControls();
    for (QWidget* w : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        bool isControl = false;
        const int id = w->objectName().mid(1).toInt(&isControl);
        if (!isControl) continue;
        const QString name = w->objectName();
        QVERIFY2(w->isHidden() == !model.control(id).visible, qPrintable(name + " shown"));
        QVERIFY2(w->isEnabled() == model.control(id).enabled, qPrintable(name + " enabled"));
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            QStringList entries;
            for (const std::string& entry : model.entries(id)) entries << QString::fromStdString(entry);
            QCOMPARE(entriesOf(list), entries);
            QCOMPARE(list->currentText(), QString::fromStdString(model.selection(id)));
        } else if (auto* button = qobject_cast<QAbstractButton*>(w); button != nullptr && button->isCheckable()) {
            QVERIFY2(button->isChecked() == model.checked(id), qPrintable(name + " checked"));
        } else if (auto* edit = qobject_cast<QLineEdit*>(w);
                   edit != nullptr && std::find(texts.begin(), texts.end(), id) != texts.end()) {
            QCOMPARE(edit->text(), QString::fromStdString(model.text(id)));
        }
    }
    QCOMPARE(control<QTextEdit>(page, 1031)->toPlainText(), QString::fromStdString(model.comment()));
}

// Every visible text fits its control, and no two visible controls overlap (group boxes frame
// others and are left out).
void expectNothingCutOrOverlapping(CZelvoPage* page) {
    std::vector<QWidget*> shown;
    for (QWidget* w : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (w->isHidden() || w->objectName().isEmpty()) continue;
        QVERIFY2(page->rect().contains(w->geometry()), qPrintable(w->objectName() + " leaves the page"));
        if (qobject_cast<QGroupBox*>(w) != nullptr) continue;
        if (qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QAbstractButton*>(w) != nullptr)
            QVERIFY2(w->sizeHint().width() <= w->width() + 2,
                     qPrintable(QStringLiteral("%1 cut: %2 (%3 pixels wide, %4 needed)")
                                    .arg(w->objectName(), w->property("text").toString())
                                    .arg(w->width())
                                    .arg(w->sizeHint().width())));
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                              QStyle::SC_ComboBoxEditField, list);
            QVERIFY2(list->fontMetrics().horizontalAdvance(list->currentText()) <= field.width(),
                     qPrintable(w->objectName() + " cut: " + list->currentText()));
        }
        shown.push_back(w);
    }
    for (QWidget* a : shown)
        for (QWidget* b : shown)
            if (a < b)
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " overlaps " + b->objectName()));
}

// File dialogs answered from a script.
class ScriptedDialogs : public FileDialogs {
public:
    std::optional<std::string> choose(const FileDialogRequest&) override {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class TransformationPageTest : public QObject {
    Q_OBJECT
private slots:
    void controlsShowTheModel() {
        PageWindow w(defaultData());
        QVERIFY(w.loaded);
        CZelvoPage* page = w.page(Page::Standard);
        QVERIFY(page != nullptr);
        expectShowsModel(page);
        struct Step {
            int id;
            const char* entry;  // a list's entry; none: a click
            std::vector<int> shown, hidden, disabled;
        } steps[] = {
            {1002, "RGF93", {1050, 1051}, {1062}, {}},
            {1003, "RGF93", {1083, 1084}, {1099}, {}},
            {1004, "Géographiques", {1050, 1051, 1065}, {1053, 1056}, {1007}},
            {1012, "Degrés Minutes Secondes", {1062, 1069, 1071, 1072}, {1050, 1079}, {}},
            {1012, "Heures Minutes Secondes", {1062, 1069, 1071}, {1050}, {}},
            {1012, "Degrés Minutes décimales", {1062, 1079, 1081}, {1069, 1071}, {}},
            {1005, "Planes", {1089, 1090, 1116, 1117}, {1083, 1099}, {1019}},
            {1008, "LAEA Europe", {1116, 1117}, {}, {1116, 1117, 1013}},
            {1008, "Lambert 93", {1116, 1117}, {}, {1019}},
            {1140, nullptr, {1127, 1128, 1129, 1132, 1135, 1136, 1016}, {1062, 1089, 1118}, {1019}},
            {1139, nullptr, {1062, 1079, 1089, 1118}, {1127, 1016}, {}},
            {1003, "WGS84", {1089}, {}, {}},
            {1002, "NTF", {1062, 1079}, {1056}, {}},
        };
        for (const Step& s : steps) {
            const QByteArray what = QByteArray::number(s.id) + " " + (s.entry ? s.entry : "clicked");
            if (s.entry != nullptr)
                QVERIFY2(select(page, s.id, s.entry),
                         (what + " among " + entriesOf(control<QComboBox>(page, s.id)).join(", ").toUtf8()).constData());
            else click(page, s.id);
            expectShowsModel(page);
            if (QTest::currentTestFailed()) QFAIL(what.constData());
            for (const int id : s.shown)
                QVERIFY2(!control<QWidget>(page, id)->isHidden(), (what + " shows " + QByteArray::number(id)).constData());
            for (const int id : s.hidden)
                QVERIFY2(control<QWidget>(page, id)->isHidden(), (what + " hides " + QByteArray::number(id)).constData());
            for (const int id : s.disabled)
                QVERIFY2(!control<QWidget>(page, id)->isEnabled(),
                         (what + " disables " + QByteArray::number(id)).constData());
        }
        QCOMPARE(control<QComboBox>(page, 1017)->currentText(), QStringLiteral("Paris"));
        // The unit labels follow the unit.
        QVERIFY(select(page, 1002, "RGF93"));
        QVERIFY(select(page, 1004, "Géographiques"));
        QVERIFY(select(page, 1012, "Heures Minutes Secondes"));
        QCOMPARE(control<QLabel>(page, 1068)->text(), QStringLiteral("h"));
        QCOMPARE(control<QLabel>(page, 1070)->text(), QStringLiteral("mn"));
        QVERIFY(select(page, 1012, "Degrés Minutes Secondes"));
        QCOMPARE(control<QLabel>(page, 1068)->text(), QStringLiteral("°"));
        // A 2-D departure refuses heights, through the radio button.
        QVERIFY(select(page, 1002, "NTF"));
        w.ui.messages.clear();
        click(page, 1125);
        QCOMPARE(w.ui.messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(w.ui.messages[0].text),
                 QStringLiteral("Il est interdit de rentrer des hauteurs sur l'ellipsoïde dans le système NTF.\n"));
        QVERIFY(control<QRadioButton>(page, 1126)->isChecked());
        QVERIFY(!control<QRadioButton>(page, 1125)->isChecked());
        // The two pages offer different departure systems.
        QVERIFY(control<QComboBox>(w.page(Page::Grid), 1002)->findText("WGS84") < 0);
        QVERIFY(control<QComboBox>(page, 1002)->findText("WGS84") >= 0);
        // Tool tips come with the controls.
        QCOMPARE(control<QWidget>(page, 1002)->toolTip(), QStringLiteral("Liste des systèmes de référence (SRG)"));
        QCOMPARE(control<QLineEdit>(page, 1118)->maxLength(), 30);
    }

    void choicesSurviveQuittingTheWindow() {
        PageWindow w(defaultData());
        QVERIFY(w.loaded);
        CZelvoPage* page = w.page(Page::Grid);
        QVERIFY(select(page, 1002, "NTF"));
        QVERIFY(select(page, 1003, "RGF93"));
        QVERIFY(select(page, 1004, "Planes"));
        QVERIFY(select(page, 1007, "Lambert II Étendu"));
        QVERIFY(select(page, 1005, "Géographiques"));
        QVERIFY(select(page, 1013, "Degrés Minutes Secondes"));
        type(page, 1118, "Borne 7");
        click(page, 1140);
        w.dialog->findChild<QPushButton*>("c2")->click();  // "&Quitter"

        const CZelvoDlg again(w.app, w.ui);
        CZelvoPage* reopened = again.transformationPage(Page::Grid);
        for (const auto& [id, entry] : std::vector<std::pair<int, QString>>{{1002, "NTF"},
                                                                           {1003, "RGF93"},
                                                                           {1004, "Planes"},
                                                                           {1007, "Lambert II Étendu"},
                                                                           {1005, "Géographiques"},
                                                                           {1013, "Degrés Minutes Secondes"}})
            QCOMPARE(control<QComboBox>(reopened, id)->currentText(), entry);
        QCOMPARE(control<QLineEdit>(reopened, 1118)->text(), QStringLiteral("Borne 7"));
        QVERIFY(control<QRadioButton>(reopened, 1140)->isChecked());
        QVERIFY(!control<QLineEdit>(reopened, 1127)->isHidden());
    }

    // In the template's font and in larger ones; also run at 125 % and 150 % scale
    // (tests/CMakeLists.txt).
    void nothingCutOrOverlappingInAnyLayout_data() {
        QTest::addColumn<double>("points");
        for (const double points : {8.0, 9.0, 10.0, 12.0}) QTest::addRow("%g points", points) << points;
    }
    void nothingCutOrOverlappingInAnyLayout() {
        QFETCH(double, points);
        zelvo::ui::setTemplateFontSize(points);
        const auto restore = qScopeGuard([] { zelvo::ui::setTemplateFontSize(8); });
        PageWindow w(defaultData());
        QVERIFY(w.loaded);
        w.dialog->show();
        CZelvoPage* page = w.page(Page::Standard);
        qInfo("page of %dx%d, font of %d pixels, %g device pixels a pixel", page->width(), page->height(),
              page->fontMetrics().height(), page->devicePixelRatioF());
        w.dialog->findChild<QTabWidget*>("c1200")->setCurrentWidget(page);
        QVERIFY(select(page, 1002, "RGF93"));
        QVERIFY(select(page, 1003, "WGS84"));
        struct Layout {
            const char* type;
            const char* unit;
        } layouts[] = {{"Cartésiennes", ""},
                       {"Géographiques", "Degrés décimaux"},
                       {"Géographiques", "Degrés Minutes Secondes"},
                       {"Géographiques", "Degrés Minutes décimales"},
                       {"Géographiques", "Heures Minutes Secondes"},
                       {"Planes", ""}};
        for (const Layout& l : layouts) {
            for (const int types : {1004, 1005}) QVERIFY(select(page, types, l.type));
            if (*l.unit != '\0')
                for (const int units : {1012, 1013}) QVERIFY(select(page, units, l.unit));
            expectNothingCutOrOverlapping(page);
            if (QTest::currentTestFailed()) QFAIL(qPrintable(QString::fromUtf8(l.type) + " " + l.unit));
        }
        click(page, 1140);
        expectNothingCutOrOverlapping(page);
    }

    // Every case of each reference table (the project's own, the shared one when present, the
    // one ZELVO_REFERENCE_CASES names) selected, typed and computed through the window.
    void referenceCasesThroughTheWindow() {
        for (const test::ReferenceSet& set : test::referenceSets()) {
            referenceCasesOf(set);
            if (QTest::currentTestFailed()) return;
        }
    }

private:
    void referenceCasesOf(const test::ReferenceSet& set) {
        const QString path = QString::fromStdString(set.cases);
        const std::vector<test::ReferenceCase> cases = test::loadReferenceCases(set.cases);
        QVERIFY2(!cases.empty(), qPrintable("no case in " + path));

        PageWindow w(set.dir);
        QVERIFY(w.loaded);
        const Catalogue& catalogue = w.app.catalogue;
        const auto systemName = [&](int n) {
            const CReg* s = findByNumber(catalogue.systems, n);
            return s ? s->name : std::string();
        };
        int passed = 0;
        for (const test::ReferenceCase& c : cases) {
            const QString caseId = QString::fromStdString(c.id);
            CZelvoCommandLine r;
            std::vector<std::string> args{"zelvo"};  // the program, then its arguments
            args.insert(args.end(), c.args.begin(), c.args.end());
            QVERIFY2(parseCommandLine(args, r, "", w.ui), qPrintable(caseId));
            deriveVerticalKind(r);
            const Page pageOfCase = r.type == 2 ? Page::Grid : Page::Standard;
            CZelvoPage* page = w.page(pageOfCase);
            const auto choose = [&](int id, const std::string& entry) {
                QVERIFY2(select(page, id, entry), qPrintable(caseId + QStringLiteral(": %1 has no '%2'").arg(id).arg(
                                                                      QString::fromStdString(entry))));
            };
            const int unit1 = r.unit1 == 0 ? kDecimalDegrees : r.unit1;
            const int unit2 = r.unit2 == 0 ? kDecimalDegrees : r.unit2;
            choose(1002, systemName(r.sys1));
            choose(1003, systemName(r.sys2));
            choose(1004, std::string(coordinateTypeName(r.typcoor1)));
            choose(1005, std::string(coordinateTypeName(r.typcoor2)));
            for (const auto& [typ, unit, meridian, projection, lists] :
                 {std::tuple{r.typcoor1, unit1, r.meridian1, r.projection1, std::array{1012, 1017, 1007}},
                  std::tuple{r.typcoor2, unit2, r.meridian2, r.projection2, std::array{1013, 1019, 1008}}}) {
                if (typ == kGeographic) {
                    choose(lists[0], std::string(unitName(unit)));
                    if (const CLgo* m = findByNumber(catalogue.meridians, meridian)) choose(lists[1], m->name);
                } else if (typ == kProjected) {
                    choose(lists[2], findByNumber(catalogue.projections, projection)->name);
                }
            }
            if (QTest::currentTestFailed()) return;
            if (r.typcoor1 != kCartesian)
                click(page, r.verticalKind == 1 ? 1125 : r.verticalKind == 2 ? 1126 : 1124);
            if (const CRea* vertical = findByNumber(catalogue.verticalSystems, r.verticalSystem))
                choose(1142, vertical->name);

            // The departure values, typed as the user types them: geographic ones without a sign.
            if (r.typcoor1 == kCartesian) {
                type(page, 1050, number(r.x));
                type(page, 1051, number(r.y));
                type(page, 1052, number(r.z));
            } else if (r.typcoor1 == kProjected) {
                type(page, 1056, number(r.E));
                type(page, 1057, number(r.N));
            } else {
                click(page, r.lon < 0 ? 1021 : 1018);
                click(page, r.lat < 0 ? 1023 : 1022);
                if (unit1 == kPackedDms || unit1 == kPackedHms) {
                    const DmsParts lon = splitDms(r.lon), lat = splitDms(r.lat);
                    type(page, 1062, number(lon.degrees));
                    type(page, 1069, number(lon.minutes));
                    type(page, 1071, number(lon.seconds));
                    type(page, 1073, number(lat.degrees));
                    type(page, 1075, number(lat.minutes));
                    type(page, 1077, number(lat.seconds));
                } else if (unit1 == kPackedDm) {
                    const DmParts lon = splitDm(r.lon), lat = splitDm(r.lat);
                    type(page, 1062, number(lon.degrees));
                    type(page, 1079, number(lon.minutes));
                    type(page, 1073, number(lat.degrees));
                    type(page, 1081, number(lat.minutes));
                } else {
                    type(page, 1050, number(std::abs(r.lon)));
                    type(page, 1051, number(std::abs(r.lat)));
                }
            }
            if (r.verticalKind == 1) type(page, 1064, number(r.he));
            if (r.verticalKind == 2) type(page, 1058, number(r.H));
            w.ui.messages.clear();
            w.compute(pageOfCase);

            // The values shown, in the order the batch prints them.
            const auto shown = [&](int id) { return control<QLineEdit>(page, id)->text().toDouble(); };
            std::vector<double> got;
            if (r.typcoor2 == kCartesian) {
                got = {shown(1083), shown(1084), shown(1085)};
            } else {
                if (r.typcoor2 == kProjected) {
                    got = {shown(1089), shown(1090)};
                } else {
                    const double lonSign = control<QRadioButton>(page, 1039)->isChecked() ? -1 : 1;
                    const double latSign = control<QRadioButton>(page, 1042)->isChecked() ? -1 : 1;
                    if (unit2 == kPackedDms || unit2 == kPackedHms) {
                        got = {lonSign * composeDms({false, int(shown(1099)), int(shown(1101)), shown(1103)}),
                               latSign * composeDms({false, int(shown(1105)), int(shown(1107)), shown(1109)})};
                    } else if (unit2 == kPackedDm) {
                        got = {lonSign * composeDm({false, int(shown(1099)), shown(1111)}),
                               latSign * composeDm({false, int(shown(1105)), shown(1113)})};
                    } else {
                        got = {lonSign * shown(1083), latSign * shown(1084)};
                    }
                }
                if (r.verticalKind != 0) {
                    if (r.verticalSystem != 0) got.insert(got.end(), {shown(1095), shown(1091)});
                    else got.push_back(shown(r.verticalKind == 1 ? 1095 : 1091));
                }
            }
            bool ok = got.size() == c.expected.size();
            QString detail;
            for (std::size_t i = 0; ok && i < got.size(); ++i) {
                ok = std::abs(got[i] - c.expected[i]) <= c.tolerance[i] * (1 + 1e-6);
                detail += QStringLiteral(" %1 (PROJ %2)").arg(got[i], 0, 'f', 9).arg(c.expected[i], 0, 'f', 9);
            }
            for (const auto& m : w.ui.messages) detail += " | " + QString::fromStdString(m.text);
            if (ok) ++passed;
            else qWarning().noquote() << caseId << "differs:" << detail;
        }
        qInfo().noquote() << QStringLiteral("reference cases from %1: %2 of %3 passed through the window")
                                 .arg(path)
                                 .arg(passed)
                                 .arg(cases.size());
        QCOMPARE(passed, static_cast<int>(cases.size()));
    }

private slots:
    void fileRunThroughTheWindowIsTheBatchRun() {
        PageWindow w(test::referenceDir());
        QVERIFY(w.loaded);
        const std::string departure = w.dir.file("mesures.txt"), arrival = w.dir.file("resultat.txt"),
                          report = w.dir.file("rapport.prt");
        test::writeFile(departure, "* chantier\r\nP1 814149.529 1887019.768 10\r\nmauvaise ligne\r\n"
                                   "P2 601234.5 2428123.25 35.5\r\n");
        CZelvoPage* page = w.page(Page::Standard);
        ScriptedDialogs dialogs;
        page->setFileDialogs(&dialogs);
        QVERIFY(selectLambertIIToLambert93(page));
        click(page, 1140);
        dialogs.answers = {departure, arrival, report};
        click(page, 1128);
        click(page, 1132);
        QCOMPARE(control<QLineEdit>(page, 1127)->text(), QStringLiteral("mesures.txt"));
        QVERIFY(select(page, 1135, "Nom E N Altitude"));
        QVERIFY(select(page, 1136, "Nom E N Altitude"));
        click(page, 1016);  // the linear alteration too, as the batch writes it
        QVERIFY(control<QCheckBox>(page, 1016)->isChecked());
        w.ui.answers = {true};  // a report
        w.compute(Page::Standard);
        QVERIFY(!w.ui.messages.empty());
        QVERIFY2(w.ui.messages.back().text.starts_with("Transformation TERMINEE"), w.ui.messages.back().text.c_str());

        // The report and the log hold the run's points (read before the batch, which starts a new log
        // in its working folder).
        const std::string reportText = readAll(report);
        for (const char* part : {"NTF", "RGF93", "Lambert 93", "P1", "P2"})
            QVERIFY2(reportText.find(part) != std::string::npos, part);
        w.app.log.flush();
        const std::string log = readAll(w.dir.file("log.txt"));
        QVERIFY2(log.find("POINT : P1") != std::string::npos, log.c_str());
        QVERIFY2(log.find("POINT : P2") != std::string::npos, log.c_str());

        // The batch on the same choices (annotated, as the window's file is).
        test::TempDir profile;
        test::writeAllUsersConfiguration(profile.path(), "catalogue.dat");
        test::RunOptions options;
        options.workingDirectory = w.dir.str();
        options.env["ALLUSERSPROFILE"] = profile.str();
        const std::string batchArrival = w.dir.file("batch.txt");
        QCOMPARE(control<QComboBox>(page, 1142)->currentText(), QStringLiteral("NGF69"));
        const auto run = test::run({"-v", "-type", "1", "-mode", "1", "-sys1", "2", "-sys2", "1", "-alt", "2", "1",
                                    "-typcoor1", "3", "6",
                                    "-typcoor2", "3", "9", "-f1", "1", departure, "-f2", "1", batchArrival},
                                   options);
        QVERIFY2(run.exitCode == 0, run.err.c_str());
        // Both files open on the time of their run.
        const std::string windowFile = test::withoutDatedLines(readAll(arrival));
        QVERIFY(windowFile.find("P1") != std::string::npos);
        QCOMPARE(QString::fromLatin1(windowFile), QString::fromLatin1(test::withoutDatedLines(readAll(batchArrival))));

    }

    void annulerStopsAFileRun_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Annuler") << false;
        QTest::newRow("Escape") << true;
    }
    void annulerStopsAFileRun() {
        // The run of a large file, through the progress window over the main window: "Annuler" (or
        // Escape) stops it; the previous arrival file stays, no file is left, and the page says so.
        QFETCH(bool, escape);
        PageWindow w(defaultData());
        QVERIFY(w.loaded);
        const std::string departure = w.dir.file("mesures.txt"), arrival = w.dir.file("resultat.txt");
        std::string lines;
        for (int i = 0; i < 40000; ++i)
            lines += "P" + std::to_string(i) + " " + std::to_string(600000 + i) + ".5 " +
                     std::to_string(2400000 + i) + ".25 10\r\n";
        test::writeFile(departure, lines);
        test::writeFile(arrival, "previous\r\n");
        std::set<std::string> before;
        for (const auto& entry : fs::directory_iterator(w.dir.path())) before.insert(entry.path().filename());

        // The drivers' progress goes to the real progress window.
        struct ProgressWindowUi : test::RecordingUserInterface {
            zelvo::ui::WindowUserInterface window;
            void progressBegin(const std::string& status, int steps) override { window.progressBegin(status, steps); }
            void progressStep() override { window.progressStep(); }
            void progressEnd() override { window.progressEnd(); }
            bool cancelRequested() override { return window.cancelRequested(); }
        } driverUi;
        driverUi.window.setMainWindow(w.dialog.get());
        w.app.ui = &driverUi;
        bool stopped = false;
        QTimer stopper;
        stopper.setInterval(0);
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            zelvo::ui::CProgressDlg* progress = driverUi.window.progressWindow();
            if (stopped || progress == nullptr || !progress->isVisible()) return;
            stopped = true;
            if (escape) QTest::keyClick(progress, Qt::Key_Escape);
            else progress->findChild<QPushButton*>("c2")->click();
        });
        stopper.start();

        w.dialog->show();
        CZelvoPage* page = w.page(Page::Standard);
        ScriptedDialogs dialogs;
        page->setFileDialogs(&dialogs);
        QVERIFY(selectLambertIIToLambert93(page));
        click(page, 1140);
        dialogs.answers = {departure, arrival};
        click(page, 1128);
        click(page, 1132);
        QVERIFY(select(page, 1135, "Nom E N Altitude"));
        QVERIFY(select(page, 1136, "Nom E N Altitude"));
        w.ui.answer = false;  // no report
        w.compute(Page::Standard);
        QCOMPARE(w.ui.questions.size(), std::size_t(1));  // the report; the dialog asked about replacing
        QVERIFY2(stopped, qPrintable(control<QTextEdit>(page, 1031)->toPlainText() +
                                     QString::fromStdString(driverUi.messages.empty() ? "" : " | " + driverUi.messages[0].text)));
        QCOMPARE(readAll(arrival), std::string("previous\r\n"));
        std::set<std::string> after;
        for (const auto& entry : fs::directory_iterator(w.dir.path())) after.insert(entry.path().filename());
        QVERIFY2(after == before, "a file was left behind");
        QVERIFY2(driverUi.messages.empty(), driverUi.messages.empty() ? "" : driverUi.messages[0].text.c_str());
        const QString comment = control<QTextEdit>(page, 1031)->toPlainText();
        const QRegularExpression said(QStringLiteral("^Transformation interrompue après (\\d+) point\\(s\\) "
                                                     "transformé\\(s\\) : le fichier d'arrivée (.*) et le rapport "
                                                     "sont restés tels qu'ils étaient\\.$"));
        const QRegularExpressionMatch match = said.match(comment);
        QVERIFY2(match.hasMatch(), qPrintable(comment));
        QVERIFY2(match.captured(1).toInt() > 0 && match.captured(1).toInt() < 40000, qPrintable(comment));
        QCOMPARE(match.captured(2), QString::fromStdString(arrival));
        QCOMPARE(zelvo::ui::CProgressDlg::liveCount(), 0);
        QVERIFY(w.dialog->isEnabled());
        if (const QByteArray folder = qgetenv("ZELVO_PICTURES_DIR"); !folder.isEmpty() && !escape) {
            QApplication::processEvents();
            QVERIFY(w.dialog->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath("file-run-interrupted.png")));
        }
        w.dialog->hide();
    }

    void theReportDialogGivesItsSuffix() {
        // The window's own save dialog for the report, in the working folder: a name typed without
        // an extension is saved as a report (".prt").
        PageWindow w(defaultData());
        QVERIFY(w.loaded);
        test::writeFile(w.dir.file("mesures.txt"), "P1 600000.5 2400000.25 10\r\n");
        w.app.workingDirectory = w.dir.str() + "/";
        CZelvoPage* page = w.page(Page::Standard);
        ScriptedDialogs dialogs;
        page->setFileDialogs(&dialogs);
        QVERIFY(select(page, 1002, "NTF"));
        QVERIFY(select(page, 1003, "RGF93"));
        QVERIFY(select(page, 1004, "Planes"));
        QVERIFY(select(page, 1005, "Planes"));
        click(page, 1140);
        dialogs.answers = {w.dir.file("mesures.txt"), w.dir.file("resultat.txt")};
        click(page, 1128);
        click(page, 1132);
        QVERIFY(select(page, 1135, "Nom E N Altitude"));
        QVERIFY(select(page, 1136, "Nom E N Altitude"));
        page->setFileDialogs(nullptr);  // the window's own
        QString startFolder;
        test::ModalRobot robot;
        robot.onDialog = [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) return;
            startFolder = dialog->directory().absolutePath();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("rapport");
            QMetaObject::invokeMethod(dialog, "accept");
        };
        w.ui.answers = {true};  // a report
        w.compute(Page::Standard);
        QCOMPARE(startFolder, QString::fromStdString(w.dir.str()));
        QVERIFY2(fs::exists(w.dir.file("rapport.prt")), w.ui.messages.empty() ? "" : w.ui.messages.back().text.c_str());
        QVERIFY(!fs::exists(w.dir.file("rapport")));
    }

    // Pictures for scripts/screenshots.sh: each page in each type, results, file mode.
    void pictures() {
        const QByteArray folder = qgetenv("ZELVO_PICTURES_DIR");
        if (folder.isEmpty()) QSKIP("ZELVO_PICTURES_DIR is not set");
        // At another scale (QT_SCALE_FACTOR), the names say which.
        const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR");
        const QString suffix = scale.isEmpty() ? QString() : "-x" + scale;
        PageWindow w(defaultData());
        QVERIFY(w.loaded);
        w.dialog->show();
        const auto saveWidget = [&](QWidget* widget, const QString& name) {
            QApplication::processEvents();
            QVERIFY(widget->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name + suffix + ".png")));
        };
        const auto save = [&](const QString& name) { saveWidget(w.dialog.get(), name); };
        w.dialog->findChild<QTabWidget*>("c1200")->setCurrentIndex(0);
        save("page-presentation");
        struct Layout {
            const char* name;
            const char* type;
            const char* unit;
        } layouts[] = {{"cartesian", "Cartésiennes", ""},
                       {"geographic-dd", "Géographiques", "Degrés décimaux"},
                       {"geographic-dms", "Géographiques", "Degrés Minutes Secondes"},
                       {"projected", "Planes", ""}};
        for (const Page p : {Page::Standard, Page::Grid}) {
            CZelvoPage* page = w.page(p);
            w.dialog->findChild<QTabWidget*>("c1200")->setCurrentWidget(page);
            QVERIFY(select(page, 1002, "RGF93"));
            QVERIFY(select(page, 1003, "RGF93"));
            for (const Layout& l : layouts) {
                for (const int types : {1004, 1005}) QVERIFY(select(page, types, l.type));
                if (*l.unit != '\0')
                    for (const int units : {1012, 1013}) QVERIFY(select(page, units, l.unit));
                save(QStringLiteral("page-%1-%2").arg(p == Page::Standard ? "standard" : "grille", l.name));
            }
        }
        // Results in each arrival type, from a point typed in decimal degrees.
        CZelvoPage* page = w.page(Page::Standard);
        QVERIFY(select(page, 1002, "RGF93"));
        QVERIFY(select(page, 1003, "WGS84"));
        QVERIFY(select(page, 1004, "Géographiques"));
        QVERIFY(select(page, 1012, "Degrés décimaux"));
        click(page, 1018);
        click(page, 1022);
        type(page, 1118, "Borne 12");
        type(page, 1050, "2.35");
        type(page, 1051, "48.85");
        type(page, 1064, "100");
        const struct Result {
            const char* name;
            const char* type;
            const char* unit;
            const char* projection;
        } results[] = {{"cartesian", "Cartésiennes", "", ""},
                       {"geographic-dms", "Géographiques", "Degrés Minutes Secondes", ""},
                       {"projected", "Planes", "Degrés Minutes Secondes", "UTM 31 Nord"}};
        for (const Result& r : results) {
            QVERIFY(select(page, 1005, r.type));
            if (*r.unit != '\0') QVERIFY(select(page, 1013, r.unit));
            if (*r.projection != '\0') QVERIFY(select(page, 1008, r.projection));
            w.compute(Page::Standard);
            save(QStringLiteral("result-%1").arg(r.name));
        }
        // A refused entry: its message, then no result.
        type(page, 1051, "48,85x");
        w.compute(Page::Standard);
        QVERIFY(control<QLineEdit>(page, 1089)->text().isEmpty());
        save("refused-entry");
        type(page, 1051, "48.85");
        // File mode with its controls.
        ScriptedDialogs dialogs;
        page->setFileDialogs(&dialogs);
        click(page, 1140);
        dialogs.answers = {w.dir.file("mesures.txt"), w.dir.file("resultat.txt")};
        test::writeFile(w.dir.file("mesures.txt"), "P1 2.35 48.85 100\r\n");
        click(page, 1128);
        click(page, 1132);
        save("file-mode");

        // Qt's own texts in French: a question box, the save dialog of the arrival file.
        QVERIFY(zelvo::ui::installQtTranslations(QLocale(QLocale::French, QLocale::France)));
        zelvo::ui::WindowUserInterface windowUi;
        windowUi.setMainWindow(w.dialog.get());
        // Each modal window, once shown, is pictured and closed (a box answered No).
        QString shot;
        QTimer shooter;
        shooter.setInterval(100);
        QObject::connect(&shooter, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (modal == nullptr || !modal->isVisible() || shot.isEmpty()) return;
            saveWidget(modal, shot);
            shot.clear();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::No)->click();
            else modal->reject();
        });
        shooter.start();
        shot = "question-box";
        windowUi.question("Vous n'avez pas changé le fichier d'arrivée depuis le dernier calcul !\nVoulez-vous "
                          "continuer ?",
                          MessageIcon::Warning, true);
        page->setFileDialogs(nullptr);
        shot = "file-dialog";
        click(page, 1132);
        w.dialog->hide();

        // A result in US survey feet: the default data with a projection in feet on WGS84.
        test::TempDir feetData;
        test::writeFile(feetData.file("catalogue.dat"),
                        readAll((defaultData() / "catalogue.dat").string()) +
                            "PRC 90 0 4 656166.667 0 1 2 -81 24.3333333333333 0.999941177 0 0 0 9807 9003 "
                            "Floride Est (ftUS)\nPROJ 4 90 2 -88 24 -79 31\n");
        PageWindow feet(feetData.path());
        QVERIFY(feet.loaded);
        feet.dialog->show();
        page = feet.page(Page::Standard);
        QVERIFY(select(page, 1002, "WGS84"));
        QVERIFY(select(page, 1003, "WGS84"));
        QVERIFY(select(page, 1004, "Géographiques"));
        QVERIFY(select(page, 1012, "Degrés décimaux"));
        click(page, 1021);
        click(page, 1022);
        type(page, 1118, "Miami");
        type(page, 1050, "80.5");
        type(page, 1051, "27.5");
        QVERIFY(select(page, 1005, "Planes"));
        QVERIFY(select(page, 1008, "Floride Est (ftUS)"));
        feet.compute(Page::Standard);
        QCOMPARE(control<QLineEdit>(page, 1089)->text(), QStringLiteral("818251.398"));
        QCOMPARE(control<QLabel>(page, 1092)->text(), QStringLiteral("E(ftUS)"));
        QApplication::processEvents();
        QVERIFY(feet.dialog->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath("result-projected-feet.png")));
        feet.dialog->hide();
    }
};

QTEST_MAIN(TransformationPageTest)
#include "transformation_page_test.moc"
