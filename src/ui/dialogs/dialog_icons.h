#pragma once
// The pictures of the start-up boxes, drawn here so that they are sharp at every size: the
// program's icon (a tuning curve on a dark plate), an opened folder and a new blank page.

#include <QIcon>
#include <QPixmap>

namespace korvath::ui {

QPixmap DrawProgramIcon(int size);
QPixmap DrawOpenFilePicture(int size);
QPixmap DrawNewFilePicture(int size);

// The program's icon at the usual sizes.
QIcon ProgramIcon();

}  // namespace korvath::ui
