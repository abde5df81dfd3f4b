#pragma once

#include <QIcon>

// The window's image list: 17 icons of 32 x 32 pixels, by index.
inline constexpr int ImageListCount = 17;
QIcon ImageListIcon(int index);

// The window's own icon.
QIcon WindowIcon();
