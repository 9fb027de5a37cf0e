#include "runtime/ScreenPointer.h"
#include "runtime/cMouse.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QtTest>

// A pointer object gives back, when it goes, the screen pointer from before its first change;
// the screen pointer is one value, never a stack of overrides.
class TstMouse : public QObject {
    Q_OBJECT
private slots:
    void init() { SetScreenMousePointer(PointerShape::Default); }

    void releaseRestoresShapeBeforeFirstChange_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QList<int>>("assignments");
        QTest::addColumn<Qt::CursorShape>("cursorWhileHeld");
        QTest::addRow("hourglass, released without reset") << 0 << QList<int>{11} << Qt::WaitCursor;
        QTest::addRow("start-up hourglass kept through the object's life")
            << int(PointerShape::Hourglass) << QList<int>{0, 11, 0} << Qt::ArrowCursor;
        QTest::addRow("later assignments never overwrite the saved shape")
            << 2 << QList<int>{11, 3, 11} << Qt::WaitCursor;
        QTest::addRow("untouched object restores nothing")
            << int(PointerShape::Hourglass) << QList<int>{} << Qt::WaitCursor;
    }
    void releaseRestoresShapeBeforeFirstChange() {
        QFETCH(int, before);
        QFETCH(QList<int>, assignments);
        QFETCH(Qt::CursorShape, cursorWhileHeld);
        SetScreenMousePointer(before);
        {
            cMouse mouse;
            for (int shape : assignments) {
                mouse.SetMousePointer(shape);
            }
            const QCursor* c = QGuiApplication::overrideCursor();
            QCOMPARE(c ? c->shape() : Qt::ArrowCursor, cursorWhileHeld);
        }
        QCOMPARE(ScreenMousePointer(), before);
        QCOMPARE(QGuiApplication::overrideCursor() != nullptr, before != PointerShape::Default);
        SetScreenMousePointer(PointerShape::Hourglass);
        SetScreenMousePointer(PointerShape::Default);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};

MIRELVA_TEST(TstMouse)
#include "mouse.moc"
