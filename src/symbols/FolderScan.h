#pragma once

#include "symbols/Symbol.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

// What a walk through one of the family's picture folders found.
struct FolderListing {
    QString root;
    // The picture files' paths relative to the root, in the order found.
    QStringList files;
    // False when the root itself could not be read (missing, not a folder, no permission).
    bool readable = false;
};

// Walks a picture folder on a worker thread. Only names are read, never a
// file's content; folders that cannot be read are passed over, links are
// followed but every folder is entered once (a link back to a parent is no
// loop), hidden files and folders are left out, and the walk stops early when
// `stop` is set or when it has found MaxFiles pictures.
namespace FolderScan {

constexpr int MaxFiles = 100000;

// True for the names of the picture kinds the program takes: GIF, JPEG, BMP, PNG and SVG.
bool IsPictureName(const QString& name);

FolderListing Scan(const QString& root, const std::atomic_bool& stop);

// The listing's pictures as symbols: named after the file without its
// extension, with the names of the folders it lies in as tags.
std::vector<Symbol> ToSymbols(const FolderListing& listing);

} // namespace FolderScan
