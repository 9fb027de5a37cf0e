#pragma once

#include <QString>

class QWidget;

// The modal choice of a folder ("Cartelle di immagini"): a test scripts it.
class IFolderPicker {
public:
    virtual ~IFolderPicker() = default;
    // The chosen folder's absolute path, or empty when the user cancels.
    virtual QString chooseFolder(QWidget* owner) = 0;
};
