#include "runtime/ForcedInputGate.h"

#include "fakes/TestRegistry.h"

#include <QtTest>

// Each row is a run of choices with the sequence of a layout; the expected
// column lists, per choice, "k" (key output), "k+B" (key output then bonus)
// or "-" (nothing) and the position reached afterwards.
class TstForcedInput : public QObject {
    Q_OBJECT
private slots:
    void gate_data() {
        QTest::addColumn<QList<qint16>>("sequence");
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QStringList>("expected");

        // The layout stores one slot more than it has keys; that slot holds 0.
        QTest::addRow("worked example 2,4,1,3")
            << QList<qint16>{2, 4, 1, 3, 0} << QList<int>{2, 4, 3, 2, 4, 1, 3, 2, 2}
            << QStringList{"2@1", "4@2", "-@0", "2@1", "4@2", "1@3", "3+B@4", "-@0", "2@1"};
        QTest::addRow("one key, sequence 1: odd choices play with the bonus")
            << QList<qint16>{1, 0} << QList<int>{1, 1, 1, 1} << QStringList{"1+B@1", "-@0", "1+B@1", "-@0"};
        QTest::addRow("repeated keys 1,1,2")
            << QList<qint16>{1, 1, 2, 0} << QList<int>{1, 1, 2} << QStringList{"1@1", "1@2", "2+B@3"};
        QTest::addRow("key beyond the layout can never be completed")
            << QList<qint16>{7, 1, 0} << QList<int>{1, 2, 2, 1} << QStringList{"-@0", "-@0", "-@0", "-@0"};
        QTest::addRow("the wrong key is not taken as a new first step")
            << QList<qint16>{1, 2, 0} << QList<int>{1, 1, 1, 2} << QStringList{"1@1", "-@0", "1@1", "2+B@2"};
    }
    void gate() {
        QFETCH(QList<qint16>, sequence);
        QFETCH(QList<int>, choices);
        const int keyCount = int(sequence.size()) - 1;
        ForcedInputGate gate;
        QStringList got;
        for (int k : choices) {
            QString out = QStringLiteral("-");
            if (gate.Gate(sequence, k)) {
                out = QString::number(k) + (gate.Completed(keyCount) ? QStringLiteral("+B") : QString());
            }
            got << out + QLatin1Char('@') + QString::number(gate.SequencePos());
        }
        QTEST(got, "expected");
    }

    // The position survives a change of layout. Reaching a position that the
    // new, shorter sequence does not have counts as a wrong choice.
    void positionBeyondNewLayout() {
        for (const int choice : {1, 2}) {
            ForcedInputGate gate;
            for (int k : {1, 2, 1}) {
                QVERIFY(gate.Gate({1, 2, 1, 2, 0}, k));
            }
            QVERIFY(!gate.Gate({1, 0}, choice));
            QCOMPARE(gate.SequencePos(), qint16(0));
            QVERIFY(gate.Gate({1, 0}, 1) && gate.Completed(1));
        }
    }
};

MIRELVA_TEST(TstForcedInput)
#include "forced_input.moc"
