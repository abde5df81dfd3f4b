#include "ui/TVeskApplication.h"
#include "ui/TfrmVeskIn.h"

int main(int argc, char** argv) {
    TVeskApplication application(argc, argv);
    TfrmVeskIn frmVeskIn;
    frmVeskIn.show();
    return application.exec();
}
