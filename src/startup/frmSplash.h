#pragma once

#include "platform/WaitCursor.h"

#include <QWidget>

#include <optional>

class QFrame;
class QLabel;

// The small window without caption that names the program and its version
// while the program starts, the first-run installation included. The
// hourglass shows from the window's making until it closes.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Topmost, labels filled, shown, and one pass of the event loop so that it
    // paints before start-up goes on.
    void Form_Load();
    // Closes the window; this also gives the screen its default pointer back.
    void Unload();

    QString ProductName() const;
    QString Version() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QFrame* Frame1;
    QLabel* lblProductName;
    QLabel* lblVersion;
    std::optional<WaitCursor> m_hourglass;
};
