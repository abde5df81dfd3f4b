#pragma once

#include <QWidget>

// A page of the window's tabs that tells when it becomes visible: when its tab is selected, and
// when the window first shows it.
class TTabSheet : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    void shown();

protected:
    void showEvent(QShowEvent* event) override;
};
