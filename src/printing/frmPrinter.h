#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QSizeF>

class IFilePicker;
class IMessages;
class IPrinters;
class PreviewPage;
class PrintButton;
class QAction;
class QComboBox;
class QLabel;
class QMenuBar;
class TiledStrip;

// The print window "Stampa . . .": a preview page with the picture of the
// table, the choice of printer, placement, orientation and zoom step, and the
// print button. The caller takes the picture (the runtime window's own),
// builds the window and shows it modally; a null picture gives an empty page
// and a disabled print button.
class frmPrinter : public QDialog {
    Q_OBJECT
public:
    frmPrinter(const QImage& tablePicture, IPrinters& printers, IFilePicker& picker, IMessages& messages,
               QWidget* parent = nullptr);

    static const QString Caption;
    // The filter of the file picker that chooses where the PDF printer writes.
    static const QString PdfFilter;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The four menus, in the numbering UncheckMenuGroup uses.
    enum class MenuGroup { Printers = 0, Placements = 1, Orientations = 2, ZoomSteps = 3 };

    void buildStrip();
    void buildMenus();
    void FillChoiceLists();
    void MarkFunctionKeys();
    void SetupPage(bool exchange);
    void DrawPreview();
    void UncheckMenuGroup(MenuGroup group);
    void markChoice(MenuGroup group, int index);
    void NextPrinter();
    void NextPosition();
    void NextOrientation();
    void NextZoom(bool move);
    void SelectPrinter(int index);
    void choosePrinter(int index);
    void choosePosition(int index);
    void chooseOrientation(int index);
    void chooseZoom(int index);
    void PrintTable();
    QString choosePdfFile();
    void warn(const QString& text);
    void updatePrintButton();

    IPrinters& m_printers;
    IFilePicker& m_picker;
    IMessages& m_messages;

    QImage TablePicture;
    int ZoomIndex = 9;
    int PositionIndex = 0;
    int m_printerIndex = -1;
    int m_orientationIndex = 0;
    QSizeF m_twipsPerPixel;

    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    TiledStrip* picControl = nullptr;
    PreviewPage* picPreview = nullptr;
    PrintButton* cmdPrint = nullptr;
    QLabel* m_labels[4] = {};
    QComboBox* m_lists[4] = {};
    QList<QAction*> m_items[4];
};
