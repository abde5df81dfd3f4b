#include "ui/RunVesk.h"

#include "ui/TVeskApplication.h"
#include "ui/TfrmVeskIn.h"

#include <QFile>

#include <algorithm>
#include <iostream>
#include <optional>

namespace {

const char* const Usage = "Uso: vesk [ARCHIVO]\n";

// No argument, or one that names a file: the program has no options, and an empty name names no
// file.
bool ValidArguments(int argc, char** argv) {
    return argc <= 1 || (argc == 2 && argv[1][0] != '\0' && argv[1][0] != '-');
}

} // namespace

// Qt sees the program's name only, so that the file named is never taken for one of its options.
int RunVesk(int argc, char** argv, const std::function<void()>& shown) {
    if (!ValidArguments(argc, argv)) {
        std::cerr << Usage;
        return 2;
    }
    const QString modelFile = argc == 2 ? QFile::decodeName(argv[1]) : QString();
    int qtArgc = std::min(argc, 1);
    // The widget tests start the program inside their own application object.
    std::optional<TVeskApplication> application;
    if (!QCoreApplication::instance())
        application.emplace(qtArgc, argv);
    TfrmVeskIn frmVeskIn;
    frmVeskIn.show();
    if (!modelFile.isEmpty())
        Reported([&] { frmVeskIn.FileOpen1Accept(modelFile); });
    if (shown)
        shown();
    return QApplication::exec();
}
