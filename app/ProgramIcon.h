#pragma once
// The program's icon, the same pictures as its menu entry's.
#include <QIcon>

QIcon ProgramIcon();
