#include "editor/QtFilePicker.h"
#include "fakes/ModalDriver.h"
#include "fakes/TestSupport.h"
#include "fakes/TestRegistry.h"

#include <QtTest>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

namespace {
const QChar Nul(u'\0');

// Types a name into the file dialog's own name box and presses its OK button.
bool TypeAndAccept(QWidget* modal, const QString& name) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) {
        return false;
    }
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    return true;
}

bool Cancel(QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog) {
        dialog->reject();
    }
    return dialog != nullptr;
}

ModalDriver::Step AnswerBox(QMessageBox::StandardButton answer, QString* text = nullptr) {
    return [answer, text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            return false;
        }
        if (text) {
            *text = box->text();
        }
        QAbstractButton* button = box->button(answer);
        QMetaObject::invokeMethod(button ? button : box->buttons().constFirst(), &QAbstractButton::click,
                                  Qt::QueuedConnection);
        return true;
    };
}

void Touch(const QString& path) {
    QVERIFY(TestSupport::writeFile(path, "x"));
}
} // namespace

class TstDialogs : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_startFolder;
    QWidget m_owner;

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_startFolder = m_dir.path() + QStringLiteral("/start");
        QVERIFY(QDir().mkpath(m_startFolder));
        QVERIFY(QDir::setCurrent(m_startFolder));
    }

    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::addRow("layout name") << QStringLiteral("Layout Files (*.ini)") + Nul + QStringLiteral("*.ini")
                                     << QStringLiteral("Layout Files (*.ini)");
        QTest::addRow("function-key layouts")
            << QStringLiteral("Layout Files (*.*)") + Nul + QStringLiteral("*.ini")
            << QStringLiteral("Layout Files (*.*) (*.ini)");
        QTest::addRow("pictures") << QStringLiteral("Picture Files (*.*)") + Nul +
                                         QStringLiteral("*.gif;*.bmp;*.jpg;*.wmf;*.emf")
                                  << QStringLiteral("Picture Files (*.*) (*.gif *.bmp *.jpg *.wmf *.emf)");
        QTest::addRow("sounds") << QStringLiteral("Risorse Audio Files (*.wav)") + Nul +
                                       QStringLiteral("*.wav")
                                << QStringLiteral("Risorse Audio Files (*.wav)");
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(QtFilePicker::NameFilterOf(filter), expected);
    }

    // The dialog shows the title and the filter of its kind, opens in the
    // working folder, and returns the chosen file.
    void choosesFile_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectedName");
        QTest::addRow("open an existing file") << false << "lay1.ini"
                                               << "lay1.ini"
                                               << "lay1.ini";
        QTest::addRow("save a new name without extension") << true << ""
                                                           << "nuovo"
                                                           << "nuovo";
        QTest::addRow("save trims trailing blanks") << true << ""
                                                    << "nuovo.ini   "
                                                    << "nuovo.ini";
    }
    void choosesFile() {
        QFETCH(bool, save);
        QFETCH(QString, existing);
        QFETCH(QString, typed);
        QFETCH(QString, expectedName);
        const QString folder = m_dir.path() + QStringLiteral("/scelta");
        QVERIFY(QDir().mkpath(folder));
        if (!existing.isEmpty()) {
            Touch(folder + QLatin1Char('/') + existing);
        }
        QVERIFY(QDir::setCurrent(folder));
        QString title;
        QStringList filters;
        QString shownFolder;
        ModalDriver driver({[&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                return false;
            }
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            shownFolder = dialog->directory().absolutePath();
            return TypeAndAccept(modal, typed);
        }});
        QtFilePicker picker;
        const QString filter = QStringLiteral("Layout Files (*.ini)") + Nul + QStringLiteral("*.ini");
        const QString result =
            save ? picker.ShowSaveDialog(&m_owner, filter) : picker.ShowOpenDialog(&m_owner, filter);
        QVERIFY(!driver.timedOut());
        QCOMPARE(title, save ? QStringLiteral("Seleziona il file in cui salvare")
                             : QStringLiteral("Seleziona il file da aprire"));
        QCOMPARE(filters, QStringList{QStringLiteral("Layout Files (*.ini)")});
        QCOMPARE(shownFolder, QDir(folder).absolutePath());
        QCOMPARE(result, QDir(folder).absoluteFilePath(expectedName));
    }

    // A layout keeps 254 characters of a path: a longer one is no choice.
    void longPathGivesEmptyText_data() {
        QTest::addColumn<int>("length");
        QTest::addRow("254 characters") << 254;
        QTest::addRow("255 characters") << 255;
    }
    void longPathGivesEmptyText() {
        QFETCH(int, length);
        const QString folder = m_dir.path() + QLatin1Char('/') + QString(120, QLatin1Char('a')) +
                               QLatin1Char('/') + QString(100, QLatin1Char('b'));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QLatin1Char('/') +
                             QString(length - folder.size() - 5, QLatin1Char('c')) + QStringLiteral(".ini");
        QCOMPARE(path.size(), length);
        Touch(path);
        ModalDriver driver({[&](QWidget* modal) { return TypeAndAccept(modal, path); }});
        QtFilePicker picker;
        const QString result = picker.ShowOpenDialog(&m_owner, QStringLiteral("Layout Files (*.ini)") + Nul +
                                                                   QStringLiteral("*.ini"));
        QVERIFY(driver.finished());
        QCOMPARE(result, length <= 254 ? path : QString());
    }

    void cancelGivesEmptyText_data() {
        QTest::addColumn<bool>("save");
        QTest::addRow("open") << false;
        QTest::addRow("save") << true;
    }
    void cancelGivesEmptyText() {
        QFETCH(bool, save);
        ModalDriver driver({Cancel});
        QtFilePicker picker;
        const QString filter = QStringLiteral("Risorse Audio Files (*.wav)") + Nul + QStringLiteral("*.wav");
        const QString result =
            save ? picker.ShowSaveDialog(&m_owner, filter) : picker.ShowOpenDialog(&m_owner, filter);
        QVERIFY(driver.finished());
        QVERIFY(result.isEmpty());
        QCOMPARE(QDir::currentPath(), QDir(m_startFolder).absolutePath());
    }

    // After a file is accepted the working folder follows it, so the next
    // picker opens where the user last was.
    void workingFolderFollowsChoice() {
        const QString folder = m_dir.path() + QStringLiteral("/suoni");
        Touch(folder + QStringLiteral("/1.wav"));
        QString secondFolder;
        ModalDriver driver(
            {[&](QWidget* modal) { return TypeAndAccept(modal, folder + QStringLiteral("/1.wav")); },
             [&](QWidget* modal) {
                 auto* dialog = qobject_cast<QFileDialog*>(modal);
                 if (!dialog) {
                     return false;
                 }
                 secondFolder = dialog->directory().absolutePath();
                 return Cancel(modal);
             }});
        QtFilePicker picker;
        const QString filter = QStringLiteral("Risorse Audio Files (*.wav)") + Nul + QStringLiteral("*.wav");
        QCOMPARE(picker.ShowOpenDialog(&m_owner, filter), folder + QStringLiteral("/1.wav"));
        QCOMPARE(QDir::currentPath(), QDir(folder).absolutePath());
        QVERIFY(picker.ShowOpenDialog(&m_owner, filter).isEmpty());
        QVERIFY(driver.finished());
        QCOMPARE(secondFolder, QDir(folder).absolutePath());
    }

    // A typed name of a file that does not exist is refused by the open
    // picker, which stays open.
    void openRefusesMissingFile() {
        QString refusal;
        bool stillOpen = false;
        ModalDriver driver({[](QWidget* modal) { return TypeAndAccept(modal, QStringLiteral("manca.ini")); },
                            AnswerBox(QMessageBox::Ok, &refusal),
                            [&](QWidget* modal) {
                                stillOpen = qobject_cast<QFileDialog*>(modal) != nullptr;
                                return Cancel(modal);
                            }});
        QtFilePicker picker;
        const QString result = picker.ShowOpenDialog(&m_owner, QStringLiteral("Layout Files (*.ini)") + Nul +
                                                                   QStringLiteral("*.ini"));
        QVERIFY(driver.finished());
        QVERIFY(!refusal.isEmpty());
        QVERIFY(stillOpen);
        QVERIFY(result.isEmpty());
    }

    // Saving over an existing file asks first: No keeps the dialog open, Yes
    // returns the name.
    void saveAsksBeforeOverwriting() {
        Touch(m_startFolder + QStringLiteral("/lay1.ini"));
        QString question;
        ModalDriver driver({[](QWidget* modal) { return TypeAndAccept(modal, QStringLiteral("lay1.ini")); },
                            AnswerBox(QMessageBox::No, &question),
                            [](QWidget* modal) { return TypeAndAccept(modal, QStringLiteral("lay1.ini")); },
                            AnswerBox(QMessageBox::Yes)});
        QtFilePicker picker;
        const QString result = picker.ShowSaveDialog(&m_owner, QStringLiteral("Layout Files (*.ini)") + Nul +
                                                                   QStringLiteral("*.ini"));
        QVERIFY(driver.finished());
        QVERIFY(question.contains(QStringLiteral("lay1.ini")));
        QCOMPARE(result, m_startFolder + QStringLiteral("/lay1.ini"));
        QCOMPARE(TestSupport::readFile(result), QByteArray("x"));
    }
};

MIRELVA_TEST(TstDialogs)
#include "dialogs.moc"
