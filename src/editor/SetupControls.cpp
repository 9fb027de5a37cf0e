#include "editor/SetupControls.h"

#include "editor/FormControls.h"
#include "editor/MissingFileMark.h"
#include "editor/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

namespace {
// Values longer than this are cut when a layout is read back, so the boxes
// take no more (the pickers never return a longer path).
constexpr int MaxValueLength = 254;

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setMaxLength(MaxValueLength);
    return box;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, int top) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(name);
    check->setAccessibleName(caption);
    // Narrow enough to leave room for "Tabella da parole..." beside them.
    Twips::Place(*check, 120, top, 1740, 285);
    return check;
}
} // namespace

SetupControls::SetupControls(QDialog& window) {
    window.setObjectName(QStringLiteral("frmSetup"));
    window.setWindowTitle(QStringLiteral("Impostazioni"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    window.setFont(font);
    // Taller than the pages by one row at the bottom: the key-count warning has a place of its own.
    window.setFixedSize(Twips::ToPixels(window, 0, 0, 11895, 9075).size());
    BuildLeftColumn(window);
    BuildSequenceFrame(window);

    // The pages lie on top of each other; only the pictures page shows at first.
    pages = new QStackedWidget(&window);
    pages->setObjectName(QStringLiteral("Pages"));
    Twips::Place(*pages, 3720, 480, 8055, 7935);
    pages->addWidget(
        BuildKeyPage(1, QStringLiteral("Sezione 1 - Immagini"), txtSez1, QStringLiteral("Immagine")));
    pages->addWidget(
        BuildKeyPage(2, QStringLiteral("Sezione 2 - Sonoro"), txtSez2, QStringLiteral("Sonoro")));
    pages->addWidget(BuildKeyPage(3, QStringLiteral("Sezione 3 - Testo"), txtSez3, QStringLiteral("Testo")));
    pages->addWidget(BuildFunctionKeyPage());
    pages->addWidget(BuildBonusPage());
    pages->addWidget(BuildLinksPage());
    pages->setCurrentIndex(PicturesPage);

    keyCountWarning = new QLabel(&window);
    keyCountWarning->setObjectName(QStringLiteral("KeyCountWarning"));
    keyCountWarning->setWordWrap(true);
    keyCountWarning->setStyleSheet(QStringLiteral("color: #d00000;"));
    Twips::Place(*keyCountWarning, 120, 8520, 6000, 435);
    // How the table draws every layout's pictures (kept with the access options).
    chkProportions = MakeCheck(&window, QStringLiteral("chkProportions"),
                               QStringLiteral("Mantieni le proporzioni delle immagini sulla tabella"), 8595);
    Twips::Place(*chkProportions, 6240, 8595, 5535, 285);
}

void SetupControls::BuildLeftColumn(QDialog& window) {
    auto* label2 = new QLabel(QStringLiteral("Layout:"), &window);
    label2->setObjectName(QStringLiteral("Label2"));
    Twips::Place(*label2, 120, 120, 855, 285);
    txtPathLayout = MakeBox(&window, QStringLiteral("txtPathLayout"), QStringLiteral("Layout"));
    Twips::Place(*txtPathLayout, 1080, 90, 10695, 315);
    label2->setBuddy(txtPathLayout);
    cmdPathBrowse = MakeBrowseButton(*txtPathLayout, QStringLiteral("Sfoglia: file del layout"));

    // The count is shown, not typed: it is the number of pictures inserted.
    auto* picture1 = new QFrame(&window);
    picture1->setObjectName(QStringLiteral("Picture1"));
    Twips::Place(*picture1, 120, 480, 3480, 435);
    auto* label1 = new QLabel(QStringLiteral("Numero Tasti:"), picture1);
    label1->setObjectName(QStringLiteral("Label1"));
    Twips::Place(*label1, 60, 75, 1500, 285);
    lblTasti = new QLabel(picture1);
    lblTasti->setObjectName(QStringLiteral("lblTasti"));
    lblTasti->setAccessibleName(QStringLiteral("Numero Tasti"));
    lblTasti->setToolTip(QStringLiteral("Il numero delle immagini inserite"));
    Twips::Place(*lblTasti, 1620, 75, 600, 285);
    QFont bold = lblTasti->font();
    bold.setBold(true);
    lblTasti->setFont(bold);

    auto* frame3 = new QGroupBox(QStringLiteral("Sezioni"), &window);
    frame3->setObjectName(QStringLiteral("Frame3"));
    Twips::Place(*frame3, 120, 990, 3480, 780);
    const std::array<QString, 4> pageCaptions{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                              QStringLiteral("Tasti Funzione")};
    const std::array<QString, 4> pageNames{
        QStringLiteral("Sezione 1 - Immagini"), QStringLiteral("Sezione 2 - Sonoro"),
        QStringLiteral("Sezione 3 - Testo"), QStringLiteral("Tasti Funzione")};
    const std::array<int, 4> pageLefts{120, 675, 1230, 1785};
    for (std::size_t i = 0; i < 4; ++i) {
        cmdSez[i] = MakeButton(frame3, QStringLiteral("cmdSez_%1").arg(i), pageCaptions[i]);
        cmdSez[i]->setAccessibleName(pageNames[i]);
        Twips::Place(*cmdSez[i], pageLefts[i], 300, i < 3 ? 495 : 1575, 375);
    }

    chkSez1 = MakeCheck(&window, QStringLiteral("chkSez1"), QStringLiteral("Attiva Sezione 1"), 1860);
    chkSez2 = MakeCheck(&window, QStringLiteral("chkSez2"), QStringLiteral("Attiva Sezione 2"), 2160);
    chkSez3 = MakeCheck(&window, QStringLiteral("chkSez3"), QStringLiteral("Attiva Sezione 3"), 2460);
    chkInput = MakeCheck(&window, QStringLiteral("chkInput"), QStringLiteral("Input obbligato"), 2760);

    cmdImporta = MakeButton(&window, QStringLiteral("cmdImporta"), QStringLiteral("Importa..."));
    Twips::Place(*cmdImporta, 120, 7410, 1695, 435);
    cmdEsporta = MakeButton(&window, QStringLiteral("cmdEsporta"), QStringLiteral("Esporta..."));
    Twips::Place(*cmdEsporta, 1905, 7410, 1695, 435);
    cmdParole = MakeButton(&window, QStringLiteral("cmdParole"), QStringLiteral("Tabella da parole..."));
    Twips::Place(*cmdParole, 1905, 1845, 1695, 435);
    // The links page is shown by its own button: the four above name the sections of the old layout.
    cmdLinks = MakeButton(&window, QStringLiteral("cmdLinks"), QStringLiteral("Collegamenti"));
    Twips::Place(*cmdLinks, 1905, 2340, 1695, 345);
    // The same layout edited on the board as the table shows it.
    cmdBoard = MakeButton(&window, QStringLiteral("cmdBoard"), QStringLiteral("Modifica tabella"));
    Twips::Place(*cmdBoard, 1905, 2730, 1695, 345);
    cmdSave = MakeButton(&window, QStringLiteral("cmdSave"), QStringLiteral("Salva layout"));
    Twips::Place(*cmdSave, 120, 7920, 1695, 495);
    cmdAnnulla = MakeButton(&window, QStringLiteral("cmdAnnulla"), QStringLiteral("Annulla"));
    Twips::Place(*cmdAnnulla, 1905, 7920, 1695, 495);
}

QWidget* SetupControls::BuildKeyPage(int section, const QString& caption,
                                     std::array<QLineEdit*, MaxKeys>& boxes,
                                     const QString& accessiblePrefix) {
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(QStringLiteral("frmSez%1").arg(section));
    for (int i = 0; i < MaxKeys; ++i) {
        boxes[std::size_t(i)] = MakeBox(frame, QStringLiteral("txtSez%1_%2").arg(section).arg(i),
                                        QStringLiteral("%1 tasto %2").arg(accessiblePrefix).arg(i + 1));
        Twips::Place(*boxes[std::size_t(i)], 120, 270 + i * 360, 7815, 315);
    }
    return frame;
}

QWidget* SetupControls::BuildFunctionKeyPage() {
    auto* frame = new QGroupBox(QStringLiteral("Tasti Funzione"));
    frame->setObjectName(QStringLiteral("frmSez4"));
    for (int i = 0; i < FunctionKeys; ++i) {
        const QString key = QStringLiteral("F%1").arg(i + 1);
        auto* label = new QLabel(key, frame);
        label->setObjectName(QStringLiteral("lblTF_%1").arg(i));
        Twips::Place(*label, 120, 330 + i * 480, 495, 255);
        QLineEdit*& box = txtTF[std::size_t(i)];
        box =
            MakeBox(frame, QStringLiteral("txtTF_%1").arg(i), QStringLiteral("Layout del tasto %1").arg(key));
        Twips::Place(*box, 720, 300 + i * 480, 7215, 315);
        label->setBuddy(box);
    }
    return frame;
}

QWidget* SetupControls::BuildBonusPage() {
    auto* frame = new QGroupBox(QStringLiteral("Bonus"));
    frame->setObjectName(QStringLiteral("frmSez5"));
    txtBonus = MakeBox(frame, QStringLiteral("txtBonus"), QStringLiteral("Bonus"));
    Twips::Place(*txtBonus, 120, 300, 7815, 315);
    return frame;
}

const QStringList& SetupControls::LinkChoices() {
    static const QStringList choices{QStringLiteral("Nessuno"), QStringLiteral("Indietro"),
                                     QStringLiteral("Inizio"), QStringLiteral("Layout")};
    return choices;
}

QWidget* SetupControls::BuildLinksPage() {
    auto* frame = new QGroupBox(QStringLiteral("Collegamenti"));
    frame->setObjectName(QStringLiteral("frmLinks"));
    frame->setToolTip(QStringLiteral("La tabella che ogni tasto apre: nessuna, quella di prima (Indietro), "
                                     "la prima aperta (Inizio) o un layout"));
    for (int i = 0; i < MaxKeys; ++i) {
        const int top = 270 + i * 360;
        auto* label = new QLabel(QString::number(i + 1), frame);
        label->setObjectName(QStringLiteral("lblLink_%1").arg(i));
        Twips::Place(*label, 120, top + 30, 360, 255);
        QComboBox*& choice = cmbLink[std::size_t(i)];
        choice = new QComboBox(frame);
        choice->setObjectName(QStringLiteral("cmbLink_%1").arg(i));
        choice->setAccessibleName(QStringLiteral("Collegamento tasto %1").arg(i + 1));
        choice->addItems(LinkChoices());
        Twips::Place(*choice, 480, top, 1500, 315);
        label->setBuddy(choice);
        txtLink[std::size_t(i)] = MakeBox(frame, QStringLiteral("txtLink_%1").arg(i),
                                          QStringLiteral("Layout collegato al tasto %1").arg(i + 1));
        Twips::Place(*txtLink[std::size_t(i)], 2040, top, 5895, 315);
    }
    return frame;
}

void SetupControls::BuildSequenceFrame(QDialog& window) {
    Frame1 = new QGroupBox(QStringLiteral("Configura input obbligato"), &window);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::Place(*Frame1, 120, 3120, 3480, 4230);
    Frame1->setEnabled(false);
    // Keys 1-20 in four rows of five, key 21 alone on the fifth row beside "Bonus".
    for (int k = 1; k <= MaxKeys; ++k) {
        const int row = (k - 1) / 5;
        const int column = (k - 1) % 5;
        QPushButton*& toggle = chkNum[std::size_t(k - 1)];
        toggle = MakeButton(Frame1, QStringLiteral("chkNum_%1").arg(k), QString::number(k));
        toggle->setAccessibleName(QStringLiteral("Tasto %1 della sequenza").arg(k));
        toggle->setCheckable(true);
        toggle->setEnabled(false);
        Twips::Place(*toggle, 120 + column * 600, 300 + row * 555, 500, 495);
    }
    cmdBonus = MakeButton(Frame1, QStringLiteral("cmdBonus"), QStringLiteral("Bonus"));
    Twips::Place(*cmdBonus, 720, 300 + 4 * 555, 1695, 495);
    cmdBonus->setEnabled(false);
    // Eight labels to a row below the toggles: 1-8, 9-16, 17-21.
    for (int k = 1; k <= MaxKeys; ++k) {
        const int row = (k - 1) / 8;
        const int column = (k - 1) % 8;
        auto* label = new QLabel(Frame1);
        label->setObjectName(QStringLiteral("lblInput_%1").arg(k));
        label->setAccessibleName(QStringLiteral("Passo %1 della sequenza").arg(k));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        Twips::Place(*label, 120 + column * 360, 3135 + row * 360, 255, 255);
        lblInput[std::size_t(k - 1)] = label;
    }
}

void SetupControls::AddPathTools(std::array<QPushButton*, FunctionKeys>& functionKeyBrowse,
                                 QPushButton*& bonusBrowse, std::array<QPushButton*, MaxKeys>& linkBrowse) {
    for (int i = 0; i < MaxKeys; ++i) {
        QLineEdit* box = txtLink[std::size_t(i)];
        const int top = 270 + i * 360;
        Twips::Place(*box, 2040, top, 5430, 315);
        new MissingFileMark(*box, 7650, top, 285, 315);
        linkBrowse[std::size_t(i)] =
            MakeBrowseButton(*box, QStringLiteral("Sfoglia: layout collegato al tasto %1").arg(i + 1));
    }
    Twips::Place(*txtBonus, 120, 300, 7470, 315);
    new MissingFileMark(*txtBonus, 7650, 300, 285, 315);
    bonusBrowse = MakeBrowseButton(*txtBonus, QStringLiteral("Sfoglia: suono del bonus"));
    for (int i = 0; i < FunctionKeys; ++i) {
        QLineEdit* box = txtTF[std::size_t(i)];
        Twips::Place(*box, 720, 300 + i * 480, 6870, 315);
        new MissingFileMark(*box, 7650, 300 + i * 480, 285, 315);
        functionKeyBrowse[std::size_t(i)] =
            MakeBrowseButton(*box, QStringLiteral("Sfoglia: layout del tasto F%1").arg(i + 1));
    }
}
