#pragma once
#include <QPixmap>

// Button pictures, drawn at run time so the program ships no image files.

// 24 x 18: a yellow folder with its front flap opening.
QPixmap openFolderPicture();

// 36 x 36: a green-headed sheet of cells, the mark of a spreadsheet file.
QPixmap spreadsheetPicture();
