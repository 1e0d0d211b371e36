#include "ui/transformation_page.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTextEdit>

#include "app/application.hpp"
#include "ui/dialog_template.hpp"

namespace zelvo::ui {
namespace {

enum class Kind { Label, Edit, Display, List, Radio, Check, Button, Group, Comment };

// A control of the page's template: id, kind, caption, place in dialog units.
struct Control {
    int id;
    Kind kind;
    const char* caption;
    int x, y, width, height;
};

// The departure group's coordinate rows and the arrival group's are laid out alike, the arrival
// ones 122 units lower. The minutes' label has room for "mn" of the hours-minutes-seconds unit.
constexpr Control kControls[] = {
    // Top of the page.
    {1119, Kind::Label, "Nom du point", 6, 9, 46, 8},
    {1118, Kind::Edit, "", 54, 7, 120, 12},
    {1137, Kind::Group, "Mode ", 190, 0, 184, 24},
    {1139, Kind::Radio, "Interactif", 204, 10, 60, 10},
    {1140, Kind::Radio, "Fichier", 290, 10, 60, 10},

    // Departure group.
    {1000, Kind::Group, "Système de départ", 1, 25, 373, 95},
    {1024, Kind::Group, "", 140, 47, 82, 17},
    {1025, Kind::Group, "", 140, 64, 82, 17},
    {1046, Kind::Group, "Méridien Origine", 228, 66, 142, 27},
    {1130, Kind::Group, "Fichier de départ", 4, 47, 222, 46},
    {1002, Kind::List, "", 6, 35, 120, 12},
    {1010, Kind::Label, "Type", 131, 37, 19, 8},
    {1004, Kind::List, "", 152, 35, 72, 12},
    {1014, Kind::Label, "Projection", 228, 37, 35, 8},
    {1007, Kind::List, "", 264, 35, 106, 12},
    {1033, Kind::Label, "Unité", 228, 52, 35, 8},
    {1012, Kind::List, "", 264, 50, 106, 12},
    {1018, Kind::Radio, "Est", 145, 52, 34, 10},
    {1021, Kind::Radio, "Ouest", 182, 52, 38, 10},
    {1022, Kind::Radio, "Nord", 145, 69, 34, 10},
    {1023, Kind::Radio, "Sud", 182, 69, 38, 10},
    {1053, Kind::Label, "X(m)", 6, 52, 21, 8},
    {1050, Kind::Edit, "", 28, 50, 104, 12},
    {1054, Kind::Label, "Y(m)", 6, 67, 21, 8},
    {1051, Kind::Edit, "", 28, 65, 104, 12},
    {1055, Kind::Label, "Z(m)", 6, 82, 21, 8},
    {1052, Kind::Edit, "", 28, 80, 104, 12},
    {1059, Kind::Label, "E(m)", 6, 52, 31, 8},
    {1056, Kind::Edit, "", 38, 50, 94, 12},
    {1060, Kind::Label, "N(m)", 6, 67, 31, 8},
    {1057, Kind::Edit, "", 38, 65, 94, 12},
    {1065, Kind::Label, "Lon", 6, 52, 21, 8},
    {1062, Kind::Edit, "", 28, 50, 22, 12},
    {1068, Kind::Label, "°", 51, 51, 9, 8},
    {1069, Kind::Edit, "", 60, 50, 15, 12},
    {1070, Kind::Label, "'", 76, 51, 11, 8},
    {1071, Kind::Edit, "", 87, 50, 38, 12},
    {1072, Kind::Label, "\"", 126, 51, 6, 8},
    {1079, Kind::Edit, "", 60, 50, 65, 12},
    {1080, Kind::Label, "'", 126, 51, 6, 8},
    {1066, Kind::Label, "Lat", 6, 67, 21, 8},
    {1073, Kind::Edit, "", 28, 65, 22, 12},
    {1074, Kind::Label, "°", 51, 66, 9, 8},
    {1075, Kind::Edit, "", 60, 65, 15, 12},
    {1076, Kind::Label, "'", 76, 66, 11, 8},
    {1077, Kind::Edit, "", 87, 65, 38, 12},
    {1078, Kind::Label, "\"", 126, 66, 6, 8},
    {1081, Kind::Edit, "", 60, 65, 65, 12},
    {1082, Kind::Label, "'", 126, 66, 6, 8},
    {1017, Kind::List, "", 234, 76, 130, 12},
    {1067, Kind::Label, "Hauteur Ellipsoïdale", 6, 101, 84, 8},
    {1064, Kind::Edit, "", 92, 99, 60, 12},
    {1061, Kind::Label, "Altitude", 160, 101, 30, 8},
    {1058, Kind::Edit, "", 192, 99, 68, 12},
    {1127, Kind::Edit, "", 10, 58, 150, 12},
    {1128, Kind::Button, "Parcourir", 164, 57, 56, 14},
    {1141, Kind::Label, "Format des données", 10, 76, 70, 8},
    {1135, Kind::List, "", 82, 74, 138, 12},

    // Vertical component.
    {1123, Kind::Group, "Composante Verticale (mètres)", 1, 121, 226, 25},
    {1124, Kind::Radio, "pas d'info", 8, 131, 60, 10},
    {1125, Kind::Radio, "Hauteur", 76, 131, 60, 10},
    {1126, Kind::Radio, "Altitude", 146, 131, 60, 10},
    {1143, Kind::Label, "Système altimétrique", 232, 124, 90, 8},
    {1142, Kind::List, "", 232, 133, 138, 12},

    // Arrival group.
    {1001, Kind::Group, "Système d'arrivée", 1, 147, 373, 105},
    {1037, Kind::Group, "", 140, 169, 82, 17},
    {1040, Kind::Group, "", 140, 186, 82, 17},
    {1045, Kind::Group, "Méridien Origine", 228, 188, 142, 27},
    {1131, Kind::Group, "Fichiers d'arrivée", 4, 169, 222, 46},
    {1003, Kind::List, "", 6, 157, 120, 12},
    {1011, Kind::Label, "Type", 131, 159, 19, 8},
    {1005, Kind::List, "", 152, 157, 72, 12},
    {1015, Kind::Label, "Projection", 228, 159, 35, 8},
    {1008, Kind::List, "", 264, 157, 106, 12},
    {1034, Kind::Label, "Unité :", 228, 174, 35, 8},
    {1013, Kind::List, "", 264, 172, 106, 12},
    {1038, Kind::Radio, "Est", 145, 174, 34, 10},
    {1039, Kind::Radio, "Ouest", 182, 174, 38, 10},
    {1041, Kind::Radio, "Nord", 145, 191, 34, 10},
    {1042, Kind::Radio, "Sud", 182, 191, 38, 10},
    {1086, Kind::Label, "X(m)", 6, 174, 21, 8},
    {1083, Kind::Display, "", 28, 172, 104, 12},
    {1087, Kind::Label, "Y(m)", 6, 189, 21, 8},
    {1084, Kind::Display, "", 28, 187, 104, 12},
    {1088, Kind::Label, "Z(m)", 6, 204, 21, 8},
    {1085, Kind::Display, "", 28, 202, 104, 12},
    {1092, Kind::Label, "E(m)", 6, 174, 31, 8},
    {1089, Kind::Display, "", 38, 172, 94, 12},
    {1093, Kind::Label, "N(m)", 6, 189, 31, 8},
    {1090, Kind::Display, "", 38, 187, 94, 12},
    {1096, Kind::Label, "Lon", 6, 174, 21, 8},
    {1099, Kind::Display, "", 28, 172, 22, 12},
    {1100, Kind::Label, "°", 51, 173, 9, 8},
    {1101, Kind::Display, "", 60, 172, 15, 12},
    {1102, Kind::Label, "'", 76, 173, 11, 8},
    {1103, Kind::Display, "", 87, 172, 38, 12},
    {1104, Kind::Label, "\"", 126, 173, 6, 8},
    {1111, Kind::Display, "", 60, 172, 65, 12},
    {1112, Kind::Label, "'", 126, 173, 6, 8},
    {1097, Kind::Label, "Lat", 6, 189, 21, 8},
    {1105, Kind::Display, "", 28, 187, 22, 12},
    {1106, Kind::Label, "°", 51, 188, 9, 8},
    {1107, Kind::Display, "", 60, 187, 15, 12},
    {1108, Kind::Label, "'", 76, 188, 11, 8},
    {1109, Kind::Display, "", 87, 187, 38, 12},
    {1110, Kind::Label, "\"", 126, 188, 6, 8},
    {1113, Kind::Display, "", 60, 187, 65, 12},
    {1114, Kind::Label, "'", 126, 188, 6, 8},
    {1019, Kind::List, "", 234, 198, 130, 12},
    {1098, Kind::Label, "Hauteur Ellipsoïdale(m)", 6, 221, 84, 8},
    {1095, Kind::Display, "", 92, 219, 60, 12},
    {1094, Kind::Label, "Altitude", 160, 221, 30, 8},
    {1091, Kind::Display, "", 192, 219, 68, 12},
    {1122, Kind::Label, "Convergence des méridiens", 6, 237, 96, 8},
    {1116, Kind::Display, "", 104, 235, 56, 12},
    {1121, Kind::Label, "Altération linéaire", 166, 237, 64, 8},
    {1117, Kind::Display, "", 232, 235, 42, 12},
    {1120, Kind::Label, "mm/km", 277, 237, 26, 8},
    {1016, Kind::Check, "Impression de \nl'altération  linéaire", 280, 217, 90, 20},
    {1129, Kind::Edit, "", 10, 180, 150, 12},
    {1132, Kind::Button, "Parcourir", 164, 179, 56, 14},
    {1138, Kind::Label, "Format des données", 10, 198, 70, 8},
    {1136, Kind::List, "", 82, 196, 138, 12},

    // Bottom.
    {1006, Kind::Group, "", 1, 252, 373, 37},
    {1031, Kind::Comment, "", 6, 259, 363, 27},
};

constexpr int kPageWidth = 378, kPageHeight = 290;

// The file dialogs of the window, owned by the main window.
class WindowFileDialogs : public FileDialogs {
public:
    explicit WindowFileDialogs(QWidget* page) : page_(page) {}

    std::optional<std::string> choose(const FileDialogRequest& request) override {
        const bool open = request.kind == FileDialogRequest::Kind::Open;
        QFileDialog dialog(page_->window(), QString(), qText(request.folder), qtFilter(request.filter));
        dialog.setObjectName(QStringLiteral("fileDialog"));
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // A name typed without an extension takes the first one of the request ("*.prt;*.rpt").
        dialog.setDefaultSuffix(defaultSuffix(request.defaultExtension));
        if (!request.fileName.empty()) dialog.selectFile(qText(request.fileName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().constFirst().toStdString();
    }

private:
    // "label|patterns|…||" as Qt's filters: the label, then its patterns in parentheses, separated
    // by spaces.
    static QString qtFilter(const std::string& filter) {
        const QStringList parts = qText(filter).trimmed().split(QLatin1Char('|'));
        QStringList filters;
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            if (parts[i].isEmpty()) break;
            QString label = parts[i];
            const qsizetype open = label.indexOf(QLatin1Char('('));
            if (open > 0) label = label.left(open).trimmed();
            filters << QStringLiteral("%1 (%2)").arg(label, QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')));
        }
        return filters.join(QStringLiteral(";;"));
    }

    static QString defaultSuffix(const std::string& extensions) {
        QString first = qText(extensions).section(QLatin1Char(';'), 0, 0).trimmed();
        if (first.startsWith(QStringLiteral("*."))) first.remove(0, 2);
        return first.contains(QLatin1Char('*')) ? QString() : first;
    }

    QWidget* page_;
};

}  // namespace

CZelvoPage::CZelvoPage(Page page, PageSettings& settings, CZelvoApp& app, UserInterface& ui, QWidget* parent)
    : QWidget(parent), page_(page), settings_(settings) {
    setFont(templateFont());
    services_ = std::make_unique<ApplicationServices>(app);
    windowDialogs_ = std::make_unique<WindowFileDialogs>(this);
    model_ = std::make_unique<PageModel>(app.catalogue, transformationType(), settings_, ui, services_.get(),
                                         windowDialogs_.get());
    createControls();
    model_->initialise();
    refresh();
    connectControls();
}

CZelvoPage::~CZelvoPage() = default;

void CZelvoPage::setFileDialogs(FileDialogs* dialogs) {
    model_->setFileDialogs(dialogs != nullptr ? dialogs : windowDialogs_.get());
}

void CZelvoPage::createControls() {
    const DialogTemplate t(font());
    setFixedSize(t.size(kPageWidth, kPageHeight));
    for (const Control& c : kControls) {
        const QString caption = qText(c.caption);
        QWidget* widget = nullptr;
        switch (c.kind) {
            case Kind::Label: widget = new QLabel(caption, this); break;
            case Kind::Edit: {
                auto* edit = new QLineEdit(this);
                if (c.id == page::kPointName) edit->setMaxLength(page::kPointNameLength);
                widget = edit;
                break;
            }
            case Kind::Display: {
                auto* edit = new QLineEdit(this);
                edit->setReadOnly(true);
                widget = edit;
                break;
            }
            case Kind::List: widget = new QComboBox(this); break;
            case Kind::Radio: {
                // The model keeps each group's one checked button.
                auto* radio = new QRadioButton(caption, this);
                radio->setAutoExclusive(false);
                widget = radio;
                break;
            }
            case Kind::Check: widget = new QCheckBox(caption, this); break;
            case Kind::Button: {
                auto* button = new QPushButton(caption, this);
                button->setAutoDefault(false);
                widget = button;
                break;
            }
            case Kind::Group: widget = new QGroupBox(caption, this); break;
            case Kind::Comment: {
                auto* comment = new QTextEdit(this);
                comment->setReadOnly(true);
                comment->setFrameShape(QFrame::NoFrame);
                comment->setAlignment(Qt::AlignCenter);
                widget = comment;
                break;
            }
        }
        t.place(widget, c.id, c.x, c.y, c.width, c.height);
        controls_[c.id] = widget;
        const std::string_view tip = PageModel::toolTip(c.id);
        if (!tip.empty()) widget->setToolTip(qText(tip));
    }
    // Group boxes are frames behind their controls.
    for (const Control& c : kControls)
        if (c.kind == Kind::Group) controls_[c.id]->lower();
}

void CZelvoPage::connectControls() {
    for (const auto& [id, widget] : controls_) {
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            connect(list, &QComboBox::activated, this,
                    [this, id = id](int index) { entryChosen(id, index); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, [this, id = id] { clicked(id); });
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget); edit != nullptr && !edit->isReadOnly()) {
            // What the model makes of the text (the files' comment) is shown at once.
            connect(edit, &QLineEdit::textEdited, this, [this, id = id](const QString& text) {
                model_->setText(id, text.toStdString());
                refresh();
            });
        }
    }
}

void CZelvoPage::entryChosen(int id, int index) {
    if (refreshing_ || index < 0) return;
    model_->entryChosen(id, static_cast<std::size_t>(index));
    refresh();
}

void CZelvoPage::clicked(int id) {
    if (refreshing_) return;
    model_->clicked(id);
    refresh();
}

void CZelvoPage::compute() {
    emit computeRequested();
    model_->compute();
    refresh();
    if (const int focus = model_->focus(); focus != 0) controls_[focus]->setFocus();
}

void CZelvoPage::refresh() {
    refreshing_ = true;
    for (const auto& [id, widget] : controls_) {
        const ControlState state = model_->control(id);
        widget->setVisible(state.visible);
        widget->setEnabled(state.enabled);
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            QStringList entries;
            for (const ListEntry& entry : model_->listEntries(id)) entries << qText(entry.name);
            QStringList shown;
            for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
            if (shown != entries) {
                list->clear();
                list->addItems(entries);
            }
            const std::optional<std::size_t> selected = model_->selectedIndex(id);
            list->setCurrentIndex(selected ? static_cast<int>(*selected) : -1);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (button->isCheckable()) button->setChecked(model_->checked(id));
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            const QString text = qText(model_->text(id));
            if (edit->text() != text) edit->setText(text);
        } else if (auto* comment = qobject_cast<QTextEdit*>(widget)) {
            const QString text = qText(model_->comment());
            if (comment->toPlainText() != text) {
                comment->setPlainText(text);
                comment->selectAll();
                comment->setAlignment(Qt::AlignCenter);
                QTextCursor cursor = comment->textCursor();
                cursor.clearSelection();
                comment->setTextCursor(cursor);
            }
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            const std::string& text = model_->text(id);
            if (!text.empty()) label->setText(qText(text));
        }
    }
    refreshing_ = false;
}

}  // namespace zelvo::ui
