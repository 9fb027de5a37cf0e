#include "runtime/ScreenPointer.h"
#include "runtime/cMouse.h"
#include "fakes/TestRegistry.h"

#include <QApplication>
#include <QtTest>

class TstMouse : public QObject {
    Q_OBJECT
private slots:
    void init() { SetScreenMousePointer(PointerShape::Default); }

    void releaseRestoresShapeBeforeFirstChange_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QList<int>>("assignments");
        QTest::addColumn<int>("whileHeld");
        QTest::addColumn<Qt::CursorShape>("cursorWhileHeld");

        QTest::addRow("hourglass, released without reset")
            << PointerShape::Default << QList<int>{11} << 11 << Qt::WaitCursor;
        QTest::addRow("hourglass then default")
            << PointerShape::Default << QList<int>{11, 0} << 0 << Qt::ArrowCursor;
        QTest::addRow("start-up hourglass kept through the object's life")
            << PointerShape::Hourglass << QList<int>{0, 11, 0} << 0 << Qt::ArrowCursor;
        QTest::addRow("later assignments never overwrite the saved shape")
            << 2 << QList<int>{11, 3, 11} << 11 << Qt::WaitCursor;
    }
    void releaseRestoresShapeBeforeFirstChange() {
        QFETCH(int, before);
        QFETCH(QList<int>, assignments);
        QFETCH(int, whileHeld);
        QFETCH(Qt::CursorShape, cursorWhileHeld);
        SetScreenMousePointer(before);
        {
            cMouse mouse;
            for (int shape : assignments) {
                mouse.SetMousePointer(shape);
            }
            QCOMPARE(mouse.MousePointer(), whileHeld);
            const QCursor* c = QGuiApplication::overrideCursor();
            QCOMPARE(c ? c->shape() : Qt::ArrowCursor, cursorWhileHeld);
        }
        QCOMPARE(ScreenMousePointer(), before);
        QCOMPARE(QGuiApplication::overrideCursor() != nullptr, before != PointerShape::Default);
    }

    void untouchedObjectRestoresNothing() {
        SetScreenMousePointer(PointerShape::Hourglass);
        { cMouse mouse; }
        QCOMPARE(ScreenMousePointer(), PointerShape::Hourglass);
        SetScreenMousePointer(PointerShape::Default);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // The screen pointer is one value, never a stack of overrides.
    void repeatedHourglassNeedsOneReset() {
        for (int i = 0; i < 3; ++i) {
            SetScreenMousePointer(PointerShape::Hourglass);
        }
        SetScreenMousePointer(PointerShape::Default);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }
};

MIRELVA_TEST(TstMouse)
#include "mouse.moc"
