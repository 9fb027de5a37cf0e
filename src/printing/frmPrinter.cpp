#include "printing/frmPrinter.h"

#include "grid/GdiRound.h"
#include "platform/AppInfo.h"
#include "platform/IFilePicker.h"
#include "platform/IMessages.h"
#include "platform/IPrinters.h"
#include "platform/WaitCursor.h"
#include "printing/PageArithmetic.h"
#include "printing/PreviewPage.h"
#include "printing/PrintButton.h"
#include "printing/TiledStrip.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include <functional>

const QString frmPrinter::Caption = QStringLiteral("Stampa . . .");
const QString frmPrinter::PdfFilter =
    QStringLiteral("PDF Files (*.pdf)") + QChar('\0') + QStringLiteral("*.pdf");

namespace {
const char* const PlacementCaptions[PageArithmetic::PlacementCount] = {
    "In alto a sinistra", "In alto al centro",  "In alto a destra",    "Al centro a sinistra",
    "Al centro",          "Al centro a destra", "In basso a sinistra", "In basso al centro",
    "In basso a destra",  "Pagina intera"};
const char* const OrientationCaptions[2] = {"Verticale", "Orizzontale"};
const char* const LabelCaptions[4] = {"Stampante", "Posizione Immagine", "Orientamento", "Zoom"};
const char* const KeyHints[4] = {"( F5 )", "( F6 )", "( F7 )", "( F8 )"};
const char* const MenuCaptions[4] = {"&Stampanti", "&Posizione Immagine", "&Orientamento", "&Zoom"};
const char* const MenuNames[4] = {"mnuTipoStampante", "mnuPos", "mnuOrienta", "mnuIngrandimento"};
const char* const ListNames[4] = {"cboPrinters", "cboPosition", "cboOrientation", "cboZoom"};
const char* const LabelNames[4] = {"lblPrinters", "lblPosition", "lblOrientation", "lblZoom"};

const QString NotAFile = QStringLiteral("«%1» non è un file: la tabella non è stata stampata.");
const QString PdfExists =
    QStringLiteral("Il file «%1» esiste già: la tabella non è stata stampata. Scegliere un altro nome.");
const QString PdfNotWritten =
    QStringLiteral("Impossibile scrivere il file PDF «%1»: la tabella non è stata stampata.");
const QString PrinterFailed =
    QStringLiteral("La stampante «%1» ha segnalato un errore: la tabella non è stata stampata.");

constexpr int OrientationCount = 2;
constexpr int Landscape = 1;
constexpr int FullZoom = 9;

QString ZoomCaption(int index) {
    return QStringLiteral("%1 %").arg((index + 1) * 10);
}
} // namespace

frmPrinter::frmPrinter(const QImage& tablePicture, IPrinters& printers, IFilePicker& picker,
                       IMessages& messages, QWidget* parent)
    : QDialog(parent), m_printers(printers), m_picker(picker), m_messages(messages) {
    setWindowTitle(Caption);
    setFocusPolicy(Qt::StrongFocus);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    outer->setMenuBar(m_menuBar);
    m_client = new QWidget(this);
    m_client->setAutoFillBackground(true);
    QPalette gray = m_client->palette();
    gray.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    m_client->setPalette(gray);
    m_client->setMouseTracking(true);
    outer->addWidget(m_client, 1);
    buildStrip();
    buildMenus();

    QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    m_twipsPerPixel =
        PageArithmetic::TwipsPerPixel(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
    const QSize size(RoundHalfEven(area.width() * 0.9), RoundHalfEven(area.height() * 0.9));
    setGeometry(
        QRect(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
              size));
    outer->activate();
    picControl->setGeometry(0, 0, m_client->width(), picControl->sizeHint().height());

    // Nothing of the page shows before it has been set up.
    picPreview->move(-20000, -20000);
    FillChoiceLists();
    MarkFunctionKeys();
    TablePicture = tablePicture;
    picPreview->setPicture(TablePicture);
    updatePrintButton();
    choosePosition(1);
    NextOrientation();

    m_client->installEventFilter(this);
    picControl->installEventFilter(this);
    picPreview->installEventFilter(this);
}

void frmPrinter::buildStrip() {
    picControl = new TiledStrip(m_client);
    picControl->setObjectName(QStringLiteral("picControl"));
    auto* row = new QHBoxLayout(picControl);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(16);
    for (int i = 0; i < 4; ++i) {
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        m_labels[i] = new QLabel(QString::fromUtf8(LabelCaptions[i]), picControl);
        m_labels[i]->setObjectName(QString::fromUtf8(LabelNames[i]));
        m_lists[i] = new QComboBox(picControl);
        m_lists[i]->setObjectName(QString::fromUtf8(ListNames[i]));
        m_lists[i]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        column->addWidget(m_labels[i]);
        column->addWidget(m_lists[i]);
        row->addLayout(column);
    }
    row->addStretch(1);
    cmdPrint = new PrintButton(picControl);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->hide();
    row->addWidget(cmdPrint, 0, Qt::AlignVCenter);
    connect(cmdPrint, &PrintButton::clicked, this, &frmPrinter::PrintTable);

    // A choice made in a list counts as the same choice made in its menu, so
    // that list, menu check and page never disagree.
    connect(m_lists[0], &QComboBox::activated, this, &frmPrinter::choosePrinter);
    connect(m_lists[1], &QComboBox::activated, this, &frmPrinter::choosePosition);
    connect(m_lists[2], &QComboBox::activated, this, [this](int index) {
        if (index != m_orientationIndex) {
            chooseOrientation(index);
        }
    });
    connect(m_lists[3], &QComboBox::activated, this, &frmPrinter::chooseZoom);

    picPreview = new PreviewPage(m_client);
    picPreview->setObjectName(QStringLiteral("picPreview"));
}

void frmPrinter::buildMenus() {
    for (int i = 0; i < 4; ++i) {
        QMenu* menu = m_menuBar->addMenu(QString::fromUtf8(MenuCaptions[i]));
        menu->setObjectName(QString::fromUtf8(MenuNames[i]));
    }
    QAction* quit = m_menuBar->addAction(QStringLiteral("&Esci"));
    quit->setObjectName(QStringLiteral("mnuEsci"));
    connect(quit, &QAction::triggered, this, &QDialog::reject);
}

void frmPrinter::FillChoiceLists() {
    const auto menus = m_menuBar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    auto addItem = [this, &menus](MenuGroup group, const QString& caption, auto handler) {
        const int g = static_cast<int>(group);
        const int index = m_lists[g]->count();
        m_lists[g]->addItem(caption);
        QAction* item = menus.at(g)->addAction(caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this,
                [this, handler, index] { std::invoke(handler, this, index); });
        m_items[g].append(item);
    };
    m_printers.refresh();
    const QStringList names = m_printers.names();
    for (const QString& name : names) {
        addItem(MenuGroup::Printers, name, &frmPrinter::choosePrinter);
    }
    for (const char* caption : PlacementCaptions) {
        addItem(MenuGroup::Placements, QString::fromUtf8(caption), &frmPrinter::choosePosition);
    }
    // Any orientation item switches the orientation, the checked one too.
    for (const char* caption : OrientationCaptions) {
        addItem(MenuGroup::Orientations, QString::fromUtf8(caption),
                [](frmPrinter* self, int) { self->NextOrientation(); });
    }
    for (int i = 0; i < PageArithmetic::ZoomStepCount; ++i) {
        addItem(MenuGroup::ZoomSteps, ZoomCaption(i), &frmPrinter::chooseZoom);
    }

    if (!names.isEmpty()) {
        m_printerIndex = qBound(0, m_printers.defaultIndex(), int(names.size()) - 1);
        markChoice(MenuGroup::Printers, m_printerIndex);
    }
    markChoice(MenuGroup::Placements, 0);
    markChoice(MenuGroup::Orientations, 0);
    markChoice(MenuGroup::ZoomSteps, FullZoom);
}

void frmPrinter::MarkFunctionKeys() {
    for (int i = 0; i < 4; ++i) {
        m_labels[i]->setText(m_labels[i]->text() + QLatin1Char(' ') + QString::fromUtf8(KeyHints[i]));
    }
    cmdPrint->show();
}

void frmPrinter::UncheckMenuGroup(MenuGroup group) {
    for (QAction* item : m_items[static_cast<int>(group)]) {
        item->setChecked(false);
    }
}

void frmPrinter::markChoice(MenuGroup group, int index) {
    const int g = static_cast<int>(group);
    m_lists[g]->setCurrentIndex(index);
    UncheckMenuGroup(group);
    m_items[g].at(index)->setChecked(true);
}

void frmPrinter::SetupPage(bool exchange) {
    picPreview->setUpdatesEnabled(false);
    const WaitCursor hourglass;
    QSize page;
    if (m_printerIndex >= 0) {
        page = m_printers.printableTwips(m_printerIndex, QPageLayout::Portrait);
        if (exchange) {
            page.transpose();
        }
    }
    picPreview->setGeometry(
        PageArithmetic::PreviewPageRect(page, m_twipsPerPixel, m_client->size(), picControl->height()));
    picPreview->setUpdatesEnabled(true);
}

void frmPrinter::DrawPreview() {
    picPreview->setChoices(ZoomIndex, PositionIndex);
}

void frmPrinter::NextPrinter() {
    if (m_printerIndex < 0) {
        return;
    }
    const int next = (m_printerIndex + 1) % int(m_items[0].size());
    markChoice(MenuGroup::Printers, next);
    SelectPrinter(next);
}

void frmPrinter::NextPosition() {
    choosePosition((PositionIndex + 1) % PageArithmetic::PlacementCount);
}

void frmPrinter::NextOrientation() {
    chooseOrientation((m_orientationIndex + 1) % OrientationCount);
}

void frmPrinter::NextZoom(bool move) {
    chooseZoom(move ? (ZoomIndex + 1) % PageArithmetic::ZoomStepCount : ZoomIndex);
}

void frmPrinter::SelectPrinter(int index) {
    // The printer's paper (A4) and unit (twips) are fixed by IPrinters.
    m_printerIndex = index;
    SetupPage(m_orientationIndex == Landscape);
}

void frmPrinter::choosePrinter(int index) {
    markChoice(MenuGroup::Printers, index);
    SelectPrinter(index);
    DrawPreview();
}

void frmPrinter::choosePosition(int index) {
    markChoice(MenuGroup::Placements, index);
    PositionIndex = index;
    DrawPreview();
}

void frmPrinter::chooseOrientation(int index) {
    markChoice(MenuGroup::Orientations, index);
    m_orientationIndex = index;
    SetupPage(index == Landscape);
    // Every change of orientation brings the zoom back to 100 %.
    chooseZoom(FullZoom);
}

void frmPrinter::chooseZoom(int index) {
    markChoice(MenuGroup::ZoomSteps, index);
    ZoomIndex = index;
    DrawPreview();
}

void frmPrinter::updatePrintButton() {
    cmdPrint->setEnabled(!TablePicture.isNull() && m_printerIndex >= 0);
}

void frmPrinter::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers shift =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool none = shift == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (none) {
            reject();
        }
        return;
    case Qt::Key_F5:
        if (none) {
            NextPrinter();
        }
        return;
    case Qt::Key_F6:
        if (none) {
            NextPosition();
        }
        return;
    case Qt::Key_F7:
        if (none) {
            NextOrientation();
        }
        return;
    case Qt::Key_F8:
        if (none) {
            NextZoom(true);
        } else if (shift == Qt::ControlModifier) {
            NextZoom(false);
        }
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool frmPrinter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        cmdPrint->setLook(PrintButton::Look::Normal);
    } else if (watched == m_client && event->type() == QEvent::Resize) {
        // Under a window manager the window may still be resized: the strip
        // follows the width and the page is set up again.
        picControl->setGeometry(0, 0, m_client->width(), picControl->sizeHint().height());
        SetupPage(m_orientationIndex == Landscape);
    }
    return QDialog::eventFilter(watched, event);
}

QString frmPrinter::choosePdfFile() {
    QString path = m_picker.ShowSaveDialog(this, PdfFilter).trimmed();
    if (path.isEmpty()) {
        return {};
    }
    const QFileInfo chosen(path);
    if (chosen.exists() && !chosen.isFile()) {
        warn(NotAFile.arg(QDir::toNativeSeparators(path)));
        return {};
    }
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        // The picker confirmed overwriting the name as typed, not this one.
        path += QStringLiteral(".pdf");
        if (QFileInfo::exists(path)) {
            warn(PdfExists.arg(QDir::toNativeSeparators(path)));
            return {};
        }
    }
    return path;
}

void frmPrinter::PrintTable() {
    if (TablePicture.isNull() || m_printerIndex < 0) {
        return;
    }
    const int printer = m_printerIndex;
    QString file;
    if (m_printers.writesToFile(printer)) {
        file = choosePdfFile();
        if (file.isEmpty()) {
            return;
        }
    }
    bool printed = false;
    {
        const WaitCursor hourglass;
        cmdPrint->setEnabled(false);
        const auto orientation =
            m_orientationIndex == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
        const QSize page = m_printers.printableTwips(printer, orientation);
        const QRect target =
            PageArithmetic::PrintRect(TablePicture.size(), ZoomIndex, PositionIndex, m_twipsPerPixel, page);
        printed = !page.isEmpty() && m_printers.printPage(printer, orientation, TablePicture, target, file);
        cmdPrint->setEnabled(true);
    }
    if (!printed) {
        warn(file.isEmpty() ? PrinterFailed.arg(m_printers.names().value(printer))
                            : PdfNotWritten.arg(QDir::toNativeSeparators(file)));
    }
}

void frmPrinter::warn(const QString& text) {
    m_messages.showMessage(text, MsgIcon::Exclamation, AppInfo::Title);
}
