#include "access/AccessOptionsDialog.h"

#include "access/FavouritesDialog.h"
#include "access/VoiceOptionsWidget.h"
#include "platform/AppInfo.h"
#include "platform/IMessages.h"
#include "platform/Log.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

#include <type_traits>

namespace {
// A row of a form: the label's text is also the control's accessible name.
template <typename Control> Control* AddRow(QFormLayout* form, const QString& label, Control* control) {
    control->setAccessibleName(label);
    form->addRow(label, control);
    return control;
}
} // namespace

AccessOptionsDialog::AccessOptionsDialog(const QString& dataFolder, IMessages& messages, QWidget* parent,
                                         IAudioOutput* audio)
    : QDialog(parent), m_dataFolder(dataFolder), m_messages(messages),
      m_loaded(AccessOptions::Load(dataFolder)) {
    setWindowTitle(QStringLiteral("Opzioni di accesso"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);
    QVBoxLayout* column = nullptr;
    const auto group = [&](const QString& title) {
        auto* box = new QGroupBox(title, this);
        box->setAccessibleName(title);
        column->addWidget(box);
        return new QFormLayout(box);
    };
    const auto choice = [&](QFormLayout* form, const QString& label, const QStringList& names, auto member) {
        auto* combo = AddRow(form, label, new QComboBox(this));
        combo->addItems(names);
        combo->setCurrentIndex(int(m_loaded.*member));
        m_readers.push_back([combo, member](AccessOptions& o) {
            o.*member = std::remove_reference_t<decltype(o.*member)>(combo->currentIndex());
        });
    };
    const auto number = [&](QFormLayout* form, const QString& label, int AccessOptions::*member, int min,
                            int max, const QString& suffix) {
        auto* spin = AddRow(form, label, new QSpinBox(this));
        spin->setRange(min, max);
        spin->setSuffix(suffix);
        spin->setValue(m_loaded.*member);
        m_readers.push_back([spin, member](AccessOptions& o) { o.*member = spin->value(); });
    };
    // Times in seconds on screen, milliseconds in the file; `scale` 100 shows a percentage as a factor.
    const auto decimal = [&](QFormLayout* form, const QString& label, int AccessOptions::*member, int min,
                             int max, double scale, const QString& suffix) {
        auto* spin = AddRow(form, label, new QDoubleSpinBox(this));
        spin->setDecimals(1);
        spin->setSingleStep(0.1);
        spin->setRange(min / scale, max / scale);
        spin->setSuffix(suffix);
        spin->setValue(m_loaded.*member / scale);
        m_readers.push_back(
            [spin, member, scale](AccessOptions& o) { o.*member = qRound(spin->value() * scale); });
    };
    const auto flag = [&](QFormLayout* form, const QString& label, bool AccessOptions::*member) {
        auto* check = new QCheckBox(label, this);
        check->setAccessibleName(label);
        check->setChecked(m_loaded.*member);
        form->addRow(check);
        m_readers.push_back([check, member](AccessOptions& o) { o.*member = check->isChecked(); });
    };
    // A flag left unset stays unset unless the user changes it, so its default keeps following the method.
    const auto optionalFlag = [&](QFormLayout* form, const QString& label,
                                  std::optional<bool> AccessOptions::*member, bool shown) {
        auto* check = new QCheckBox(label, this);
        check->setAccessibleName(label);
        check->setChecked(shown);
        form->addRow(check);
        m_readers.push_back([check, member, shown](AccessOptions& o) {
            if (o.*member || check->isChecked() != shown) {
                o.*member = check->isChecked();
            }
        });
    };
    const QString seconds = QStringLiteral(" s");
    const QString pixels = QStringLiteral(" px");
    const QString ms = QStringLiteral(" ms");

    column = new QVBoxLayout;
    columns->addLayout(column);
    QFormLayout* form = group(QStringLiteral("Selezione"));
    choice(form, QStringLiteral("Metodo di selezione"), AccessOptions::MethodNames(), &AccessOptions::method);

    form = group(QStringLiteral("Sosta"));
    decimal(form, QStringLiteral("Tempo di sosta"), &AccessOptions::dwellMs, 500, 5000, 1000, seconds);
    number(form, QStringLiteral("Tolleranza del movimento"), &AccessOptions::dwellRadius, 0, 50, pixels);
    flag(form, QStringLiteral("Ripetere il tasto con una nuova sosta, senza uscirne"),
         &AccessOptions::dwellRepeats);

    form = group(QStringLiteral("Scansione"));
    choice(form, QStringLiteral("Ordine"), AccessOptions::OrderNames(), &AccessOptions::order);
    decimal(form, QStringLiteral("Intervallo"), &AccessOptions::scanIntervalMs, 300, 5000, 1000, seconds);
    decimal(form, QStringLiteral("Sosta sul primo elemento (volte l'intervallo)"),
            &AccessOptions::firstItemPercent, 100, 300, 100, QStringLiteral(" x"));
    number(form, QStringLiteral("Giri senza pressione prima di fermarsi"), &AccessOptions::scanRounds, 1, 10,
           {});
    choice(form, QStringLiteral("Tasto del sensore (un sensore)"), AccessOptions::SwitchKeyNames(),
           &AccessOptions::scanKey);
    flag(form, QStringLiteral("Anche un clic del mouse vale come sensore"), &AccessOptions::clickIsSwitch);
    choice(form, QStringLiteral("Tasto per avanzare (due sensori)"), AccessOptions::SwitchKeyNames(),
           &AccessOptions::stepKey);
    choice(form, QStringLiteral("Tasto per selezionare (due sensori)"), AccessOptions::SwitchKeyNames(),
           &AccessOptions::selectKey);
    flag(form, QStringLiteral("Dopo la scelta riprendere dal tasto scelto"),
         &AccessOptions::resumeAtSelected);

    column->addStretch();
    column = new QVBoxLayout;
    columns->addLayout(column);
    form = group(QStringLiteral("Evidenziatore"));
    number(form, QStringLiteral("Spessore"), &AccessOptions::highlightWidth, 4, 20, pixels);
    choice(form, QStringLiteral("Colore"), AccessOptions::ColourNames(), &AccessOptions::highlightColour);

    form = group(QStringLiteral("Scansione uditiva"));
    flag(form, QStringLiteral("Leggere sottovoce il tasto evidenziato"), &AccessOptions::auditory);
    number(form, QStringLiteral("Volume"), &AccessOptions::auditoryVolume, 10, 100, QStringLiteral(" %"));
    number(form, QStringLiteral("Velocità"), &AccessOptions::auditoryRate, 0, 10, {});

    form = group(QStringLiteral("Filtri per il tremore"));
    number(form, QStringLiteral("Tempo di accettazione"), &AccessOptions::acceptanceMs, 0, 1000, ms);
    number(form, QStringLiteral("Ritardo di ripetizione"), &AccessOptions::repeatDelayMs, 0, 2000, ms);

    form = group(QStringLiteral("Striscia della frase"));
    optionalFlag(form, QStringLiteral("Mostrare la striscia della frase"), &AccessOptions::messageBar,
                 m_loaded.showBar());
    optionalFlag(form, QStringLiteral("costruzione silenziosa"), &AccessOptions::quietBuilding,
                 m_loaded.quietBuilding.value_or(false));
    optionalFlag(form, QStringLiteral("Nei layout a input obbligato i passi giusti entrano nella frase"),
                 &AccessOptions::trainingJoinsBar, m_loaded.trainingJoinsBar.value_or(false));
    optionalFlag(form, QStringLiteral("Mostrare i layout dei tasti funzione sullo schermo"),
                 &AccessOptions::functionStrip, m_loaded.showStrip());
    optionalFlag(form, QStringLiteral("La scansione offre le strisce prima della tabella"),
                 &AccessOptions::edgesFirst, m_loaded.edgesFirst.value_or(false));
    auto* favourites = new QPushButton(QStringLiteral("Frasi preferite..."), this);
    favourites->setAccessibleName(QStringLiteral("Frasi preferite"));
    form->addRow(favourites);
    connect(favourites, &QPushButton::clicked, this, [this] {
        FavouritesDialog dialog(m_dataFolder, m_messages, this);
        dialog.exec();
    });

    column->addStretch();
    if (audio != nullptr) {
        columns->addWidget(m_voice = new VoiceOptionsWidget(dataFolder, *audio, this), 0, Qt::AlignTop);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* cmdSalva = buttons->addButton(QStringLiteral("Salva"), QDialogButtonBox::AcceptRole);
    QPushButton* cmdAnnulla = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    cmdSalva->setAccessibleName(QStringLiteral("Salva"));
    cmdAnnulla->setAccessibleName(QStringLiteral("Annulla"));
    cmdSalva->setDefault(true);
    layout->addWidget(buttons);
    connect(cmdSalva, &QPushButton::clicked, this, &AccessOptionsDialog::save);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

AccessOptions AccessOptionsDialog::options() const {
    AccessOptions o = m_loaded;
    for (const auto& read : m_readers) {
        read(o);
    }
    return o;
}

void AccessOptionsDialog::save() {
    // The voice is saved once the options are; the first failure is told.
    Outcome saved = options().Save(m_dataFolder);
    if (saved && m_voice != nullptr) {
        saved = m_voice->save();
    }
    if (!saved) {
        Log::Failure(lcFiles, saved);
        m_messages.showMessage(saved.message(), MsgIcon::Exclamation, AppInfo::Title);
        return;
    }
    accept();
}
