#include "editor/QtFilePicker.h"
#include "fakes/ModalDriver.h"
#include "fakes/TestRegistry.h"
#include "fakes/TestSupport.h"

#include <QtTest>

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {
// Types a name into the file dialog's own name box and accepts it, or cancels.
ModalDriver::Step Answer(const QString& name, QString* folder = nullptr) {
    return [name, folder](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog && folder) {
            *folder = dialog->directory().absolutePath();
        }
        if (dialog && name.isEmpty()) {
            dialog->reject();
        } else if (dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
        return dialog != nullptr;
    };
}
const QString Filter = QStringLiteral("Layout Files (*.*)") + QChar(u'\0') + QStringLiteral("*.ini");
} // namespace

class TstDialogs : public QObject {
    Q_OBJECT
private slots:
    void nameFilters() {
        QCOMPARE(QtFilePicker::NameFilterOf(Filter), QStringLiteral("Layout Files (*.*) (*.ini)"));
        QCOMPARE(QtFilePicker::NameFilterOf(QStringLiteral("Picture Files (*.*)") + QChar(u'\0') +
                                            QStringLiteral("*.gif;*.bmp;*.jpg;*.wmf;*.emf")),
                 QStringLiteral("Picture Files (*.*) (*.gif *.bmp *.jpg *.wmf *.emf)"));
        QCOMPARE(QtFilePicker::NameFilterOf(QStringLiteral("Risorse Audio Files (*.wav)") + QChar(u'\0') +
                                            QStringLiteral("*.wav")),
                 QStringLiteral("Risorse Audio Files (*.wav)"));
    }

    // A layout keeps 254 characters of a path: a longer one is no choice. After
    // a choice the working folder follows it, so the next picker opens there;
    // a cancelled one gives no text.
    void choices() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/') + QString(120, QLatin1Char('a')) +
                               QLatin1Char('/') + QString(100, QLatin1Char('b'));
        QVERIFY(QDir().mkpath(folder));
        const QString longest =
            folder + QLatin1Char('/') + QString(254 - folder.size() - 5, QLatin1Char('c'));
        QVERIFY(TestSupport::writeFile(longest + QStringLiteral(".ini"), "x"));
        QVERIFY(TestSupport::writeFile(longest + QStringLiteral("c.ini"), "x"));
        QString shown;
        ModalDriver driver({Answer(longest + QStringLiteral("c.ini")),
                            Answer(longest + QStringLiteral(".ini")), Answer(QString(), &shown),
                            Answer(dir.path() + QStringLiteral("/nuovo.ini  "))});
        QtFilePicker picker;
        QWidget owner;
        QCOMPARE(picker.ShowOpenDialog(&owner, Filter), QString());
        QCOMPARE(picker.ShowOpenDialog(&owner, Filter), longest + QStringLiteral(".ini"));
        QCOMPARE(picker.ShowOpenDialog(&owner, Filter), QString());
        QCOMPARE(shown, folder);
        QCOMPARE(picker.ShowSaveDialog(&owner, Filter), dir.path() + QStringLiteral("/nuovo.ini"));
        QVERIFY(driver.finished());
    }
};

MIRELVA_TEST(TstDialogs)
#include "dialogs.moc"
