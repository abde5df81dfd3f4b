#pragma once

#include "ui/TDBGrid.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QTabWidget>
#include <QTest>

// Shows the restrictions page, clicks a cell and types text into it as a user does: each key goes
// where the focus is, so the first one opens the cell editor and the rest go into it.
inline void TypeIntoGridCell(QWidget& window, int row, int column, const QString& text) {
    window.findChild<QTabWidget*>(QStringLiteral("pc"))
        ->setCurrentWidget(window.findChild<QWidget*>(QStringLiteral("tsGird")));
    auto* grid = window.findChild<TDBGrid*>(QStringLiteral("DBGrid1"));
    const QModelIndex cell = grid->model()->index(row, column);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    for (const QChar c : text)
        QTest::keyClicks(QApplication::focusWidget(), QString(c));
}
