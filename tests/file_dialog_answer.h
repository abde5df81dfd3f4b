#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Answers the next file dialog that opens while it lives: hands it to answer once, which closes
// it.
class TFileDialogAnswer {
public:
    explicit TFileDialogAnswer(std::function<void(QFileDialog&)> answer)
        : FAnswer(std::move(answer)) {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || FAnswered)
                return;
            FAnswered = true;
            FAnswer(*dialog);
        });
        FTimer.start(10);
    }
    bool Answered() const { return FAnswered; }

private:
    std::function<void(QFileDialog&)> FAnswer;
    QTimer FTimer;
    bool FAnswered = false;
};

// Types name (a path, or a name in the dialog's folder) and accepts it. The dialog opens a
// folder instead of accepting it; it is cancelled then.
inline void AcceptTyped(QFileDialog& dialog, const QString& name) {
    auto* typed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(typed, nullptr);
    typed->setText(name);
    static_cast<QDialog&>(dialog).accept();
    if (dialog.isVisible())
        dialog.reject();
}

// The names that the dialog lists in folder under its current name filter, once it has read
// the folder far enough to list expected.
inline QStringList Listed(QFileDialog& dialog, const QString& folder, const QString& expected) {
    dialog.setDirectory(folder);
    auto* files = dialog.findChild<QFileSystemModel*>();
    QStringList names;
    auto read = [&] {
        names.clear();
        const QModelIndex parent = files->index(folder);
        for (int row = 0; row < files->rowCount(parent); ++row) {
            const QModelIndex entry = files->index(row, 0, parent);
            if (entry.flags() & Qt::ItemIsEnabled)
                names << entry.data().toString();
        }
        return names.contains(expected);
    };
    EXPECT_TRUE(QTest::qWaitFor(read)) << "the dialog never listed " << expected.toStdString();
    return names;
}
