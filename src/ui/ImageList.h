#pragma once

#include <QIcon>

// The window's image list: 17 icons of 32 x 32 pixels, in the order of their files.
enum TImageIndex : int {
    iiExit,
    iiSheet,
    iiOpen,
    iiNote,
    iiResult,
    iiModel,
    iiCalc,
    iiPrint,
    iiBold,
    iiItalic,
    iiFont,
    iiSave,
    iiTable,
    iiCancel,
    iiEdit,
    iiPost,
    iiSpreadsheet,
    ImageListCount
};
QIcon ImageListIcon(TImageIndex index);

// The window's own icon.
QIcon WindowIcon();
