#include "fakes/RecordingMessages.h"

#include <QtTest>

class TstSkeleton : public QObject {
    Q_OBJECT
private slots:
    void recordsMessages() {
        RecordingMessages m;
        m.showMessage("a", MsgIcon::Exclamation, "Mirelva");
        QCOMPARE(m.texts(), QStringList{"a"});
    }
};

QTEST_GUILESS_MAIN(TstSkeleton)
#include "tst_skeleton.moc"
