#include "startup/frmSplash.h"

#include "platform/AppInfo.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace {
// The window was laid out in twips; 15 twips make one pixel at 96 dpi.
int Px(int twips) {
    return twips / 15;
}
} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Frame1(new QFrame(this)), lblProductName(new QLabel(QStringLiteral("Prodotto"), Frame1)),
      lblVersion(new QLabel(QStringLiteral("Versione"), Frame1)), m_hourglass(std::in_place) {
    setFixedSize(Px(7380), Px(1935));
    Frame1->setGeometry(Px(150), Px(60), Px(7080), Px(1755));
    // An etched rectangle without caption, drawn by the frame itself: a group
    // box's frame is a picture of the style, and reading the first picture
    // loads every image plugin installed, which the start should not wait for.
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    QFont productFont(QStringLiteral("Arial"));
    productFont.setPointSizeF(32.25);
    productFont.setBold(true);
    lblProductName->setFont(productFont);
    lblProductName->setGeometry(Px(120), Px(240), Px(6855), Px(765));

    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPointSizeF(12);
    versionFont.setBold(true);
    lblVersion->setFont(versionFont);
    lblVersion->setGeometry(Px(120), Px(1200), Px(6885), Px(285));
}

void frmSplash::Form_Load() {
    lblVersion->setText(QStringLiteral("Versione ") + AppInfo::Version());
    lblProductName->setText(AppInfo::Title);
    if (const QScreen* s = screen()) {
        move(s->geometry().center() - rect().center());
    }
    show();
    raise();
    QCoreApplication::processEvents();
}

void frmSplash::Unload() {
    close();
}

QString frmSplash::ProductName() const {
    return lblProductName->text();
}

QString frmSplash::Version() const {
    return lblVersion->text();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    event->accept();
    Unload();
}

void frmSplash::closeEvent(QCloseEvent* event) {
    m_hourglass.reset();
    QWidget::closeEvent(event);
}
